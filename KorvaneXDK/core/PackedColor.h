/** @file PackedColor.h A colour in one 32-bit word 0xAARRGGBB, as vertices carry it. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Color4.h"

namespace korvane
{

struct PackedColor
{
    std::uint32_t argb = 0;

    constexpr PackedColor() = default;
    constexpr PackedColor(std::uint32_t value) : argb(value) {}
    /// Each component: 1.0 or more gives 255, 0.0 or less gives 0 (NaN too), else
    /// component x 255 + 0.5, truncated.
    constexpr PackedColor(const Color4<float>& color)
        : argb(Component(color.a) << 24 | Component(color.r) << 16 | Component(color.g) << 8 | Component(color.b))
    {}

    constexpr operator std::uint32_t() const { return argb; }

    constexpr std::uint32_t GetAlpha() const { return argb >> 24; }
    constexpr std::uint32_t GetRed() const { return (argb >> 16) & 0xFFu; }
    constexpr std::uint32_t GetGreen() const { return (argb >> 8) & 0xFFu; }
    constexpr std::uint32_t GetBlue() const { return argb & 0xFFu; }

    static constexpr std::uint32_t Component(float value)
    {
        if (value >= 1.0f) {
            return 255u;
        }
        if (!(value > 0.0f)) {
            return 0u;
        }
        return static_cast<std::uint32_t>(value * 255.0f + 0.5f);
    }
};

} // namespace korvane
