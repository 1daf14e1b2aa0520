/** @file CanvasRasterizer.h Fills recorded canvas draws by Direct3D 9's rules, to check pixel coverage headless. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/RecordingCanvasDevice.h"

namespace korvane::test
{

/// Positions go through the draw's World (row vectors, as the shader applies it) straight to
/// pixels: the projection of a canvas drawing in screen pixels. A pixel (x, y) has its centre at
/// the whole coordinates (x, y); a centre on an edge is covered only by a top or left edge, so
/// triangles sharing an edge never both cover a pixel. Each pixel counts how often it was covered.
class CanvasRasterizer
{
public:
    CanvasRasterizer(int width, int height);

    void Draw(const CanvasDraw& draw);
    void DrawAll(const std::vector<CanvasDraw>& draws);

    /// "#" for once, digits for more, "." for none; one line per row (for failure messages).
    std::string Picture() const;
    /// The map a set of rectangles {left, top, right, bottom} (exclusive) covered once each would give.
    static std::string PictureOf(int width, int height, const std::vector<os::gfx::Rect>& rects);

private:
    void FillTriangle(const float (&x)[3], const float (&y)[3]);
    static std::string Render(int width, int height, const std::vector<int>& counts);

    int width_;
    int height_;
    std::vector<int> coverage_;
};

} // namespace korvane::test
