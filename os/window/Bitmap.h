/** @file Bitmap.h A 32-bit pixel image: decoded bitmaps, icons, cursors and the paint surface. */
#pragma once

#include <cstdint>
#include <vector>

namespace os::window
{

/// Pixels are 0xAARRGGBB words, rows top-down, no padding between rows.
class Bitmap
{
public:
    Bitmap() = default;
    /// A bitmap of the given size filled with one colour; sizes below 0 count as 0.
    Bitmap(int width, int height, std::uint32_t fill = 0);

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }

    std::uint32_t* GetPixels() { return pixels_.data(); }
    const std::uint32_t* GetPixels() const { return pixels_.data(); }
    /// Row y; y must lie inside the bitmap.
    std::uint32_t* GetRow(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* GetRow(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    /// The pixel at (x, y), or 0 outside the bitmap.
    std::uint32_t GetPixel(int x, int y) const;
    /// Sets the pixel at (x, y); nothing outside the bitmap.
    void SetPixel(int x, int y, std::uint32_t argb);

    /// Resizes; the contents become the fill colour.
    void Reset(int width, int height, std::uint32_t fill = 0);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

} // namespace os::window
