/** @file Color4.h A colour as four components, red, green, blue and alpha, each 0 to 1. */
#pragma once

namespace korvane
{

template <typename T>
struct Color4
{
    T r{};
    T g{};
    T b{};
    T a{};

    constexpr Color4() = default;
    constexpr Color4(T r_, T g_, T b_, T a_) : r(r_), g(g_), b(b_), a(a_) {}

    constexpr Color4 operator+(const Color4& o) const { return Color4(r + o.r, g + o.g, b + o.b, a + o.a); }
    constexpr Color4 operator-(const Color4& o) const { return Color4(r - o.r, g - o.g, b - o.b, a - o.a); }
    constexpr Color4 operator*(T s) const { return Color4(r * s, g * s, b * s, a * s); }
    /// Component by component (a colour tinted by another).
    constexpr Color4 operator*(const Color4& o) const { return Color4(r * o.r, g * o.g, b * o.b, a * o.a); }
    constexpr bool operator==(const Color4& o) const = default;
};

} // namespace korvane
