/** @file Rect2f.h A rectangle of the 2D canvas: left, top, width and height as floats. */
#pragma once

#include "KorvaneXDK/core/Vector2.h"

namespace korvane::canvas
{

/// A value: left and top are the corner nearest the origin; width and height are never made
/// negative by the canvas itself, but a caller's rectangle may have any size.
struct Rect2f
{
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    constexpr Rect2f() = default;
    constexpr Rect2f(float left_, float top_, float width_, float height_)
        : left(left_), top(top_), width(width_), height(height_)
    {}

    constexpr float GetRight() const { return left + width; }
    constexpr float GetBottom() const { return top + height; }

    /// Half-open: left <= x < left + width and top <= y < top + height.
    constexpr bool Contains(const Vector2<float>& point) const
    {
        return left <= point.x && point.x < left + width && top <= point.y && point.y < top + height;
    }

    /// The overlap of a and b in 32-bit floats; a size that would not be above 0 is 0, so
    /// disjoint rectangles give an empty rectangle at the larger left and top.
    static constexpr Rect2f Intersect(const Rect2f& a, const Rect2f& b)
    {
        const float l = a.left > b.left ? a.left : b.left;
        const float t = a.top > b.top ? a.top : b.top;
        const float r = a.left + a.width < b.left + b.width ? a.left + a.width : b.left + b.width;
        const float bm = a.top + a.height < b.top + b.height ? a.top + a.height : b.top + b.height;
        const float w = r - l;
        const float h = bm - t;
        return Rect2f(l, t, w > 0.0f ? w : 0.0f, h > 0.0f ? h : 0.0f);
    }

    constexpr bool operator==(const Rect2f& o) const = default;
};

} // namespace korvane::canvas
