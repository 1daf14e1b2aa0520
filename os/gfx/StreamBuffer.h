/** @file StreamBuffer.h A GL buffer that draws from client memory stream their data through. */
#pragma once

#include <cstdint>

#include "os/gfx/GlObject.h"

namespace os::gfx
{

/// Each upload lands after the previous one (16-byte aligned) without waiting for the draws
/// that still read earlier data; when the buffer is full its storage is orphaned and filling
/// starts again at the front. Used for vertices and for indices; needs the context current.
class StreamBuffer
{
public:
    /// `target` is the GL binding point; the buffer starts at `initialBytes` and grows to fit the largest upload.
    StreamBuffer(std::uint32_t target, std::uint32_t initialBytes) : target_(target), initialBytes_(initialBytes) {}

    /// Makes the buffer and binds it to its target (for indices, while the vertex array is bound).
    void Create();
    /// Copies `bytes` bytes into the buffer; returns their offset in it.
    std::uint32_t Upload(const void* data, std::uint32_t bytes);

private:
    std::uint32_t target_;
    std::uint32_t initialBytes_;
    GlObject buffer_;
    std::uint32_t size_ = 0;
    std::uint32_t offset_ = 0;
};

} // namespace os::gfx
