/** @file Images.h The program's pictures: wallpapers, logos, menu decorations, icons and banners. */
#pragma once

#include "tools/assetgen/OutputFolder.h"

namespace assetgen
{

/// Draws every picture and writes it under its archive name.
void MakeImages(OutputFolder& out);

} // namespace assetgen
