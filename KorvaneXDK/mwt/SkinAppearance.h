/** @file SkinAppearance.h The appearance of a nine-piece skin cut from one texture. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/TextureSkinAppearance.h"

namespace korvane::mwt
{

/// Named "Skin" (registered as "CSkinAppearance"); serves every control and exists only as loaded definitions.
/// Draws the nine-piece skin of the body rectangle; the brush is not touched, so a disabled control draws unchanged.
class CSkinAppearance : public CTextureSkinAppearance
{
public:
    CSkinAppearance() : CTextureSkinAppearance("Skin", EPieces::Nine) {}
    ~CSkinAppearance() override = default;

    /// A new instance (the registry's creation function).
    static boost::shared_ptr<IControlAppearance> Create()
    {
        return boost::shared_ptr<IControlAppearance>(new CSkinAppearance());
    }
};

} // namespace korvane::mwt
