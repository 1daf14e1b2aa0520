/** @file MemoryStream.h A growable in-memory byte stream. */
#pragma once

#include <cstddef>

#include "KorvaneXDK/core/StandardStream.h"

namespace korvane
{

/// A heap buffer with a size and a position. Never throws: a failed growth keeps the old
/// contents and size and makes Write return 0. Bytes added by growth read as zero.
class CMemoryStream : public CStandardStream
{
public:
    CMemoryStream();
    /// A copy of the source's bytes, positioned at the source's position.
    CMemoryStream(const CMemoryStream& source);
    CMemoryStream& operator=(const CMemoryStream&) = delete;
    ~CMemoryStream() override;

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int32_t GetSize() const override { return size_; }
    /// Resizes to n bytes keeping the contents up to the smaller size; new bytes are zero.
    /// The position is not touched; a negative n is ignored; 0 frees the buffer.
    void SetSize(std::int32_t size) override;
    /// Clamps the position to [0, size].
    std::int32_t Seek(std::int32_t position) override;
    std::int32_t GetPosition() const override { return position_; }
    CMemoryStream* Clone() const override;

    /// The first byte of the buffer (null while empty); valid until the next resize.
    std::uint8_t* GetBuffer() { return buffer_; }
    const std::uint8_t* GetBuffer() const { return buffer_; }

protected:
    /// Allocation hook: behaves as realloc. Tests override it to simulate exhausted memory.
    virtual void* Reallocate(void* block, std::size_t bytes);

private:
    bool Grow(std::int32_t size);

    std::uint8_t* buffer_ = nullptr;
    std::int32_t size_ = 0;
    std::int32_t capacity_ = 0;
    std::int32_t position_ = 0;
};

} // namespace korvane
