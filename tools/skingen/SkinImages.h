/** @file SkinImages.h The pictures of the program's skin, drawn from shapes at build time. */
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/Raster.h"

namespace skingen
{

/// One picture: its name inside the skin folder and its drawing. Every side is a power of two
/// (and so a multiple of 4, since skins are cut in quarters).
struct SkinImage
{
    std::string name;
    int width = 0;
    int height = 0;
    std::function<void(assetgen::Raster&)> draw;
};

/// Every picture of the skin, in a fixed order.
std::vector<SkinImage> SkinImages();

} // namespace skingen
