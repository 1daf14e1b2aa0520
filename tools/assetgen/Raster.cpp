/** @file Raster.cpp Anti-aliased shapes in coverage masks, and compositing them onto pictures. */
#include "tools/assetgen/Raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen
{

namespace
{

double SegmentDistance(Point p, Point a, Point b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = p.x - (a.x + t * dx);
    const double ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

bool InsidePolygon(const std::vector<Point>& points, double x, double y)
{
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

std::uint8_t ToByte(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

} // namespace

Mask::Mask(int width, int height)
    : width_(width), height_(height), cover_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0.0f)
{}

void Mask::Put(int x, int y, float value)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    float& cell = cover_[static_cast<std::size_t>(y) * width_ + x];
    cell = std::max(cell, std::clamp(value, 0.0f, 1.0f));
}

void Mask::Stroke(Point a, Point b, double width)
{
    const double half = width * 0.5;
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - half - 1));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + half + 1));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - half - 1));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + half + 1));
    for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y) {
        for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
            const double d = SegmentDistance({x + 0.5, y + 0.5}, a, b);
            Put(x, y, static_cast<float>(half + 0.5 - d));
        }
    }
}

void Mask::Polyline(const std::vector<Point>& points, double width)
{
    for (std::size_t i = 1; i < points.size(); ++i) {
        Stroke(points[i - 1], points[i], width);
    }
    if (points.size() == 1) {
        Stroke(points[0], points[0], width);
    }
}

void Mask::FillPolygon(const std::vector<Point>& points)
{
    if (points.size() < 3) {
        return;
    }
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const Point& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    for (int y = std::max(static_cast<int>(std::floor(minY)), 0); y <= std::min(static_cast<int>(maxY), height_ - 1);
         ++y) {
        for (int x = std::max(static_cast<int>(std::floor(minX)), 0); x <= std::min(static_cast<int>(maxX), width_ - 1);
             ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    hits += InsidePolygon(points, x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0) ? 1 : 0;
                }
            }
            Put(x, y, static_cast<float>(hits) / 16.0f);
        }
    }
}

void Mask::Disc(Point centre, double radius)
{
    for (int y = std::max(static_cast<int>(centre.y - radius - 1), 0);
         y <= std::min(static_cast<int>(centre.y + radius + 1), height_ - 1); ++y) {
        for (int x = std::max(static_cast<int>(centre.x - radius - 1), 0);
             x <= std::min(static_cast<int>(centre.x + radius + 1), width_ - 1); ++x) {
            const double d = std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y);
            Put(x, y, static_cast<float>(radius + 0.5 - d));
        }
    }
}

void Mask::Ring(Point centre, double radius, double width)
{
    const double outer = radius + width * 0.5;
    for (int y = std::max(static_cast<int>(centre.y - outer - 1), 0);
         y <= std::min(static_cast<int>(centre.y + outer + 1), height_ - 1); ++y) {
        for (int x = std::max(static_cast<int>(centre.x - outer - 1), 0);
             x <= std::min(static_cast<int>(centre.x + outer + 1), width_ - 1); ++x) {
            const double d = std::abs(std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y) - radius);
            Put(x, y, static_cast<float>(width * 0.5 + 0.5 - d));
        }
    }
}

void Mask::Subtract(const Mask& other)
{
    for (int y = 0; y < std::min(height_, other.height_); ++y) {
        for (int x = 0; x < std::min(width_, other.width_); ++x) {
            cover_[static_cast<std::size_t>(y) * width_ + x] *= 1.0f - other.At(x, y);
        }
    }
}

Raster::Raster(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{}

void Raster::Shade(const std::function<Color(double x, double y)>& shader)
{
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            At(x, y) = shader(x + 0.5, y + 0.5);
        }
    }
}

void Raster::Blend(int x, int y, Color color, float coverage)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0f) {
        return;
    }
    Color& dst = At(x, y);
    const float sa = color.a * std::min(coverage, 1.0f);
    const float outA = sa + dst.a * (1.0f - sa);
    if (outA <= 0.0f) {
        dst = Color();
        return;
    }
    dst.r = (color.r * sa + dst.r * dst.a * (1.0f - sa)) / outA;
    dst.g = (color.g * sa + dst.g * dst.a * (1.0f - sa)) / outA;
    dst.b = (color.b * sa + dst.b * dst.a * (1.0f - sa)) / outA;
    dst.a = outA;
}

void Raster::Paint(const Mask& mask, Color color, int offsetX, int offsetY)
{
    Paint(
        mask, [color](double, double) { return color; }, offsetX, offsetY);
}

void Raster::Paint(const Mask& mask, const std::function<Color(double x, double y)>& colorAt, int offsetX, int offsetY)
{
    for (int y = 0; y < mask.Height(); ++y) {
        for (int x = 0; x < mask.Width(); ++x) {
            const float cover = mask.At(x, y);
            if (cover > 0.0f) {
                Blend(x + offsetX, y + offsetY, colorAt(x + 0.5, y + 0.5), cover);
            }
        }
    }
}

std::vector<std::uint8_t> Raster::ToBytes(bool alpha) const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(pixels_.size() * (alpha ? 4 : 3));
    for (const Color& c : pixels_) {
        bytes.push_back(ToByte(c.r));
        bytes.push_back(ToByte(c.g));
        bytes.push_back(ToByte(c.b));
        if (alpha) {
            bytes.push_back(ToByte(c.a));
        }
    }
    return bytes;
}

Color Mix(Color a, Color b, double t)
{
    const float u = static_cast<float>(std::clamp(t, 0.0, 1.0));
    return {a.r + (b.r - a.r) * u, a.g + (b.g - a.g) * u, a.b + (b.b - a.b) * u, a.a + (b.a - a.a) * u};
}

} // namespace assetgen
