/** @file MemoryStream.cpp A growable in-memory byte stream. */
#include "KorvaneXDK/core/MemoryStream.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace korvane
{

CMemoryStream::CMemoryStream() = default;

CMemoryStream::CMemoryStream(const CMemoryStream& source) : CObject(source), CStandardStream(source)
{
    if (source.size_ > 0 && Grow(source.size_)) {
        std::memcpy(buffer_, source.buffer_, static_cast<std::size_t>(source.size_));
        size_ = source.size_;
    }
    position_ = std::clamp(source.position_, 0, size_);
}

CMemoryStream::~CMemoryStream()
{
    std::free(buffer_);
}

void* CMemoryStream::Reallocate(void* block, std::size_t bytes)
{
    return std::realloc(block, bytes);
}

// Makes room for `size` bytes, exactly: a stream built piece by piece pays one reallocation per
// write past the end rather than holding up to half as much again unused.
bool CMemoryStream::Grow(std::int32_t size)
{
    if (size <= capacity_)
        return true;
    void* grown = Reallocate(buffer_, static_cast<std::size_t>(size));
    if (grown == nullptr)
        return false; // the old buffer is still valid and unchanged
    buffer_ = static_cast<std::uint8_t*>(grown);
    capacity_ = size;
    return true;
}

std::int32_t CMemoryStream::Read(void* buffer, std::int32_t count)
{
    const std::int32_t available = std::min(count, size_ - position_);
    if (available < 1)
        return 0;
    std::memcpy(buffer, buffer_ + position_, static_cast<std::size_t>(available));
    position_ += available;
    return available;
}

std::int32_t CMemoryStream::Write(const void* buffer, std::int32_t count)
{
    if (count < 1)
        return 0;
    const std::int64_t end = static_cast<std::int64_t>(position_) + count;
    if (end > INT32_MAX)
        return 0;
    if (end > size_) {
        if (!Grow(static_cast<std::int32_t>(end)))
            return 0;
        // Bytes between the old end and the position (after a shrink) read as zero.
        if (position_ > size_)
            std::memset(buffer_ + size_, 0, static_cast<std::size_t>(position_ - size_));
        size_ = static_cast<std::int32_t>(end);
    }
    std::memcpy(buffer_ + position_, buffer, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

void CMemoryStream::SetSize(std::int32_t size)
{
    if (size < 0 || size == size_)
        return;
    if (size == 0) {
        std::free(buffer_);
        buffer_ = nullptr;
        size_ = capacity_ = 0;
        return;
    }
    if (size > size_) {
        if (!Grow(size))
            return;
        std::memset(buffer_ + size_, 0, static_cast<std::size_t>(size - size_));
    } else if (size < capacity_ / 2) {
        // Give back memory after a large shrink; a failed shrink just keeps the block.
        if (void* shrunk = Reallocate(buffer_, static_cast<std::size_t>(size))) {
            buffer_ = static_cast<std::uint8_t*>(shrunk);
            capacity_ = size;
        }
    }
    size_ = size;
}

std::int32_t CMemoryStream::Seek(std::int32_t position)
{
    position_ = std::clamp(position, 0, size_);
    return position_;
}

CMemoryStream* CMemoryStream::Clone() const
{
    return new CMemoryStream(*this);
}

} // namespace korvane
