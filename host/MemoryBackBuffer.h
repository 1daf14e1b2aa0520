/** @file MemoryBackBuffer.h A CPU pixel buffer of 32-bit colour words. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/PackedColor.h"

class CMemoryBackBuffer : public virtual korvane::CNonCopyable
{
public:
    /// height x pitch bytes, all zero. Throws EInvalidParameter for a negative size, a pitch
    /// below 4 x width or more than 2 GiB, and std::bad_alloc when the bytes cannot be had.
    CMemoryBackBuffer(std::int32_t width, std::int32_t height, std::int32_t pitch);
    ~CMemoryBackBuffer() override;

    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }
    /// Bytes from one row to the next.
    std::int32_t GetPitch() const { return pitch_; }
    korvane::CMemoryStream& GetPixels() { return pixels_; }
    const korvane::CMemoryStream& GetPixels() const { return pixels_; }

    /// The first pixel of row y; rows are pitch bytes apart. A pixel is stored little-endian
    /// (blue, green, red, alpha bytes).
    korvane::PackedColor* GetRow(std::int32_t y)
    {
        return reinterpret_cast<korvane::PackedColor*>(pixels_.GetBuffer() + static_cast<std::int64_t>(y) * pitch_);
    }
    const korvane::PackedColor* GetRow(std::int32_t y) const
    {
        return reinterpret_cast<const korvane::PackedColor*>(pixels_.GetBuffer() +
                                                             static_cast<std::int64_t>(y) * pitch_);
    }

private:
    korvane::CMemoryStream pixels_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t pitch_;
};
