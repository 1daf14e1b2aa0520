/** @file StreamBuffer.cpp A GL buffer that draws from client memory stream their data through. */
#include "os/gfx/StreamBuffer.h"

#include <algorithm>
#include <cstring>

#include <epoxy/gl.h>

namespace os::gfx
{

void StreamBuffer::Create()
{
    buffer_ = GlObject(GlKind::Buffer);
    glBindBuffer(target_, buffer_.Get());
}

std::uint32_t StreamBuffer::Upload(const void* data, std::uint32_t bytes)
{
    const std::uint32_t aligned = (offset_ + 15u) & ~15u;
    if (size_ == 0 || bytes > size_ || aligned + bytes > size_) {
        // Orphan the storage: draws still queued keep the old block, new data goes to a fresh one.
        size_ = std::max({size_, initialBytes_, bytes});
        glBufferData(target_, size_, nullptr, GL_STREAM_DRAW);
        offset_ = 0;
    } else {
        offset_ = aligned;
    }
    void* memory = glMapBufferRange(target_, offset_, bytes,
                                    GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
    if (memory != nullptr) {
        std::memcpy(memory, data, bytes);
        glUnmapBuffer(target_);
    } else {
        glBufferSubData(target_, offset_, bytes, data);
    }
    const std::uint32_t at = offset_;
    offset_ += bytes;
    return at;
}

} // namespace os::gfx
