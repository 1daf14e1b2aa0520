/** @file Raster.h Floating-point RGBA pictures and coverage masks that the image generators draw on. */
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen
{

struct Color
{
    float r = 0, g = 0, b = 0, a = 0;
};

struct Point
{
    double x = 0, y = 0;
};

/// Coverage in 0..1 per pixel. Shapes are merged with max, so overlapping strokes of one
/// drawing never darken their joints when the mask is painted.
class Mask
{
public:
    Mask(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    float At(int x, int y) const { return cover_[static_cast<std::size_t>(y) * width_ + x]; }

    /// A segment with round ends, `width` pixels thick, anti-aliased by distance.
    void Stroke(Point a, Point b, double width);
    void Polyline(const std::vector<Point>& points, double width);
    /// A filled polygon (even-odd rule), sampled 4 x 4 per pixel.
    void FillPolygon(const std::vector<Point>& points);
    void Disc(Point centre, double radius);
    void Ring(Point centre, double radius, double width);
    /// Removes coverage: this = this * (1 - other).
    void Subtract(const Mask& other);

private:
    void Put(int x, int y, float value);

    int width_;
    int height_;
    std::vector<float> cover_;
};

class Raster
{
public:
    Raster(int width, int height, Color fill = Color());

    int Width() const { return width_; }
    int Height() const { return height_; }
    Color& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Color& At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

    /// Every pixel from a function of its centre.
    void Shade(const std::function<Color(double x, double y)>& shader);
    /// Source-over of `color` with its alpha scaled by `coverage`.
    void Blend(int x, int y, Color color, float coverage);
    /// Paints the mask with one colour, or with a colour that depends on the pixel.
    void Paint(const Mask& mask, Color color, int offsetX = 0, int offsetY = 0);
    void Paint(const Mask& mask, const std::function<Color(double x, double y)>& colorAt, int offsetX = 0,
               int offsetY = 0);

    /// 8-bit rows, top-down: RGBA, or RGB when `alpha` is false.
    std::vector<std::uint8_t> ToBytes(bool alpha) const;

private:
    int width_;
    int height_;
    std::vector<Color> pixels_;
};

/// Linear mix of two colours, t in 0..1.
Color Mix(Color a, Color b, double t);

} // namespace assetgen
