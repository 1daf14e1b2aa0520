/** @file PagePacker.h Places glyph rectangles in shelves on the smallest power-of-two page. */
#pragma once

#include <cstdint>
#include <vector>

namespace fontbuild
{

/// One rectangle to place; x and y are set by the packer (left at 0 for empty rectangles).
struct PackItem
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
};

struct PageSize
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

/// The largest page the builder makes (each side).
constexpr std::uint32_t kMaxPageSide = 4096;

/// Shelves of rectangles, tallest first, with one empty pixel before every rectangle and every
/// shelf (so the first row and column stay empty and filtering never mixes two glyphs, nor a
/// glyph with the opposite edge). Tries pages by increasing area, the most nearly square first, wide before tall;
/// throws Error when nothing up to kMaxPageSide holds them all.
PageSize PackOnSmallestPage(std::vector<PackItem>& items);

} // namespace fontbuild
