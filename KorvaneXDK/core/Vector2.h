/** @file Vector2.h A pair of values: a point or a size on the 2D canvas. */
#pragma once

namespace korvane
{

template <typename T>
struct Vector2
{
    T x{};
    T y{};

    constexpr Vector2() = default;
    constexpr Vector2(T x_, T y_) : x(x_), y(y_) {}

    constexpr Vector2 operator+(const Vector2& o) const { return Vector2(x + o.x, y + o.y); }
    constexpr Vector2 operator-(const Vector2& o) const { return Vector2(x - o.x, y - o.y); }
    constexpr Vector2 operator*(T s) const { return Vector2(x * s, y * s); }
    constexpr Vector2& operator+=(const Vector2& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr Vector2& operator-=(const Vector2& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr bool operator==(const Vector2& o) const = default;
};

} // namespace korvane
