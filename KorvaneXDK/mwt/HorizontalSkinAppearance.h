/** @file HorizontalSkinAppearance.h The appearance of a skin stretched across: two caps and a middle. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/TextureSkinAppearance.h"

namespace korvane::mwt
{

/// Named "HorizontalSkin" (registered as "CHorizontalSkinAppearance"); serves every control and exists only as
/// loaded definitions. Draws the horizontal three-piece skin (the texture's height kept, the body centred
/// vertically), at half opacity while the control is disabled.
class CHorizontalSkinAppearance : public CTextureSkinAppearance
{
public:
    CHorizontalSkinAppearance() : CTextureSkinAppearance("HorizontalSkin", EPieces::ThreeAcross) {}
    ~CHorizontalSkinAppearance() override = default;

    /// A new instance (the registry's creation function).
    static boost::shared_ptr<IControlAppearance> Create()
    {
        return boost::shared_ptr<IControlAppearance>(new CHorizontalSkinAppearance());
    }
};

} // namespace korvane::mwt
