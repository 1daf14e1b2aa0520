/** @file BuiltinFont.h The fixed-size font of the paint surface (5 x 7 glyphs in a 6 x 13 cell). */
#pragma once

#include <cstdint>

namespace os::window::builtin_font
{

constexpr int kColumns = 5;
constexpr int kRows = 7;
/// Offsets of the glyph inside its cell.
constexpr int kLeft = 0;
constexpr int kTop = 3;

/// Seven row bytes, the leftmost column in the top bit; bytes outside 0x20..0x7E give '?'.
const std::uint8_t* GetGlyph(unsigned char c);

} // namespace os::window::builtin_font
