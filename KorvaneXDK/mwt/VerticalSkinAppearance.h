/** @file VerticalSkinAppearance.h The appearance of a skin stretched down: two caps and a middle. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/TextureSkinAppearance.h"

namespace korvane::mwt
{

/// Named "VerticalSkin" (registered as "CVerticalSkinAppearance"); serves every control and exists only as
/// loaded definitions. Draws the vertical three-piece skin (the texture's width kept, the body centred
/// horizontally), at half opacity while the control is disabled.
class CVerticalSkinAppearance : public CTextureSkinAppearance
{
public:
    CVerticalSkinAppearance() : CTextureSkinAppearance("VerticalSkin", EPieces::ThreeDown) {}
    ~CVerticalSkinAppearance() override = default;

    /// A new instance (the registry's creation function).
    static boost::shared_ptr<IControlAppearance> Create()
    {
        return boost::shared_ptr<IControlAppearance>(new CVerticalSkinAppearance());
    }
};

} // namespace korvane::mwt
