/** @file CanvasRasterizer.cpp Direct3D 9's fill rules on recorded canvas draws. */
#include "support/CanvasRasterizer.h"

#include <algorithm>
#include <cmath>

namespace korvane::test
{

CanvasRasterizer::CanvasRasterizer(int width, int height)
    : width_(width), height_(height), coverage_(static_cast<std::size_t>(width * height), 0)
{}

void CanvasRasterizer::Draw(const CanvasDraw& draw)
{
    const std::vector<canvas::CanvasVertex> corners = draw.Triangles();
    const float* w = draw.world.m;
    for (std::size_t i = 0; i + 2 < corners.size(); i += 3) {
        float x[3], y[3];
        for (std::size_t j = 0; j < 3; ++j) {
            const canvas::CanvasVertex& v = corners[i + j];
            x[j] = v.x * w[0] + v.y * w[4] + v.z * w[8] + w[12];
            y[j] = v.x * w[1] + v.y * w[5] + v.z * w[9] + w[13];
        }
        FillTriangle(x, y);
    }
}

void CanvasRasterizer::DrawAll(const std::vector<CanvasDraw>& draws)
{
    for (const CanvasDraw& draw : draws) {
        Draw(draw);
    }
}

void CanvasRasterizer::FillTriangle(const float (&xs)[3], const float (&ys)[3])
{
    double x[3] = {xs[0], xs[1], xs[2]};
    double y[3] = {ys[0], ys[1], ys[2]};
    // Screen y grows down: make the corners run clockwise on screen, so that the edge function
    // is positive inside.
    const double area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0.0 || !std::isfinite(area)) {
        return;
    }
    if (area < 0.0) {
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
    }
    const int minX = std::max(0, static_cast<int>(std::floor(std::min({x[0], x[1], x[2]}))));
    const int maxX = std::min(width_ - 1, static_cast<int>(std::ceil(std::max({x[0], x[1], x[2]}))));
    const int minY = std::max(0, static_cast<int>(std::floor(std::min({y[0], y[1], y[2]}))));
    const int maxY = std::min(height_ - 1, static_cast<int>(std::ceil(std::max({y[0], y[1], y[2]}))));
    for (int py = minY; py <= maxY; ++py) {
        for (int px = minX; px <= maxX; ++px) {
            bool inside = true;
            for (int e = 0; e < 3 && inside; ++e) {
                const double ax = x[e], ay = y[e];
                const double bx = x[(e + 1) % 3], by = y[(e + 1) % 3];
                const double dx = bx - ax, dy = by - ay;
                const double value = dx * (py - ay) - dy * (px - ax);
                // Clockwise on screen: a top edge runs right along a row, a left edge runs up.
                const bool topLeft = (dy == 0.0 && dx > 0.0) || dy < 0.0;
                inside = value > 0.0 || (value == 0.0 && topLeft);
            }
            coverage_[static_cast<std::size_t>(py * width_ + px)] += inside ? 1 : 0;
        }
    }
}

std::string CanvasRasterizer::Picture() const
{
    return Render(width_, height_, coverage_);
}

std::string CanvasRasterizer::PictureOf(int width, int height, const std::vector<os::gfx::Rect>& rects)
{
    std::vector<int> counts(static_cast<std::size_t>(width * height), 0);
    for (const os::gfx::Rect& r : rects) {
        for (int y = std::max(0, r.top); y < std::min(height, r.bottom); ++y) {
            for (int x = std::max(0, r.left); x < std::min(width, r.right); ++x) {
                ++counts[static_cast<std::size_t>(y * width + x)];
            }
        }
    }
    return Render(width, height, counts);
}

std::string CanvasRasterizer::Render(int width, int height, const std::vector<int>& counts)
{
    std::string out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int n = counts[static_cast<std::size_t>(y * width + x)];
            out += n == 0 ? '.' : n == 1 ? '#' : static_cast<char>('0' + std::min(n, 9));
        }
        out += '\n';
    }
    return out;
}

} // namespace korvane::test
