/** @file PaintSurface.cpp Fills, copies and text on the software paint surface. */
#include "os/window/PaintSurface.h"

#include <algorithm>

#include "os/window/BuiltinFont.h"

namespace os::window
{

void PaintSurface::FillRect(int x, int y, int width, int height, std::uint32_t rgb)
{
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const long long rightEdge = std::min<long long>(static_cast<long long>(x) + width, GetWidth());
    const long long bottomEdge = std::min<long long>(static_cast<long long>(y) + height, GetHeight());
    const std::uint32_t colour = 0xFF000000u | (rgb & 0x00FFFFFFu);
    if (left >= rightEdge)
        return;
    for (long long row = top; row < bottomEdge; ++row) {
        std::uint32_t* line = GetRow(static_cast<int>(row));
        std::fill(line + left, line + rightEdge, colour);
    }
}

void PaintSurface::Blit(const Bitmap& source, int x, int y, int width, int height, int sourceX, int sourceY)
{
    // Clip against the source first, then against the target, moving both origins together.
    long long dx = x, dy = y, sx = sourceX, sy = sourceY, w = width, h = height;
    auto clip = [&](long long& target, long long& src, long long& extent, long long limitTarget,
                    long long limitSource) {
        if (src < 0) {
            target -= src;
            extent += src;
            src = 0;
        }
        if (target < 0) {
            src -= target;
            extent += target;
            target = 0;
        }
        extent = std::min(extent, limitSource - src);
        extent = std::min(extent, limitTarget - target);
    };
    clip(dx, sx, w, GetWidth(), source.GetWidth());
    clip(dy, sy, h, GetHeight(), source.GetHeight());
    if (w <= 0 || h <= 0)
        return;
    for (long long row = 0; row < h; ++row) {
        const std::uint32_t* from = source.GetRow(static_cast<int>(sy + row)) + sx;
        std::copy(from, from + w, GetRow(static_cast<int>(dy + row)) + dx);
    }
}

void PaintSurface::DrawText(int x, int y, const std::string& text, std::uint32_t rgb)
{
    const std::uint32_t colour = 0xFF000000u | (rgb & 0x00FFFFFFu);
    int penX = x;
    for (char c : text) {
        const std::uint8_t* glyph = builtin_font::GetGlyph(static_cast<unsigned char>(c));
        for (int row = 0; row < builtin_font::kRows; ++row) {
            for (int column = 0; column < builtin_font::kColumns; ++column) {
                if (glyph[row] & (0x80 >> column))
                    SetPixel(penX + builtin_font::kLeft + column, y + builtin_font::kTop + row, colour);
            }
        }
        penX += kGlyphWidth;
    }
}

void PaintSurface::MeasureText(const std::string& text, int& width, int& height)
{
    width = static_cast<int>(text.size()) * kGlyphWidth;
    height = kGlyphHeight;
}

} // namespace os::window
