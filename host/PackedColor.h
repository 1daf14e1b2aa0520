/** @file PackedColor.h The 32-bit colour word of the console palettes and pixel buffers. */
#pragma once

#include <cstdint>

/// 0xAARRGGBB, stored little-endian (blue, green, red, alpha bytes). The console only stores
/// and copies whole words, so a plain word serves until the engine's own colour types are in;
/// this alias is then the one line to point at them.
using PackedColor = std::uint32_t;
