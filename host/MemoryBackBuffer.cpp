/** @file MemoryBackBuffer.cpp A CPU pixel buffer of 32-bit colour words. */
#include "host/MemoryBackBuffer.h"

#include <climits>
#include <new>

#include "KorvaneXDK/core/Exception.h"

CMemoryBackBuffer::CMemoryBackBuffer(std::int32_t width, std::int32_t height, std::int32_t pitch)
    : width_(width), height_(height), pitch_(pitch)
{
    const std::int64_t bytes = static_cast<std::int64_t>(height) * pitch;
    if (width < 0 || height < 0 || static_cast<std::int64_t>(pitch) < static_cast<std::int64_t>(width) * 4 ||
        pitch % 4 != 0 || bytes > INT32_MAX)
        throw korvane::EInvalidParameter(this, "CMemoryBackBuffer: invalid size");
    pixels_.SetSize(static_cast<std::int32_t>(bytes));
    if (pixels_.GetSize() != bytes)
        throw std::bad_alloc();
}

CMemoryBackBuffer::~CMemoryBackBuffer() = default;
