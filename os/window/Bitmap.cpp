/** @file Bitmap.cpp A 32-bit pixel image. */
#include "os/window/Bitmap.h"

namespace os::window
{

Bitmap::Bitmap(int width, int height, std::uint32_t fill)
{
    Reset(width, height, fill);
}

std::uint32_t Bitmap::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Bitmap::SetPixel(int x, int y, std::uint32_t argb)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = argb;
}

void Bitmap::Reset(int width, int height, std::uint32_t fill)
{
    width_ = width > 0 && height > 0 ? width : 0;
    height_ = width > 0 && height > 0 ? height : 0;
    pixels_.assign(static_cast<std::size_t>(width_) * height_, fill);
}

} // namespace os::window
