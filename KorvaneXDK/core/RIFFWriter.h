/** @file RIFFWriter.h Collects chunks in memory and writes them as one RIFF file. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/RIFFReader.h"

namespace korvane
{

/// Writes "RIFF" (little-endian sizes) or "RIFX" (big-endian sizes) files. Chunks are
/// written in the order they were added, never padded to an even size.
class CRIFFWriter : public virtual CNonCopyable, public virtual CObject
{
public:
    CRIFFWriter();
    ~CRIFFWriter() override;

    /// 0 or 1: "RIFF", little-endian sizes; 2: "RIFX", big-endian sizes; others change nothing.
    virtual void SetByteOrder(std::int32_t order);
    /// Writes the header and the chunks at the stream's position; returns the body bytes copied.
    virtual std::int32_t WriteTo(IKorvaneStream& out);
    virtual std::uint32_t SetFormType(std::uint32_t code);
    /// Appends a chunk holding the whole data stream (which is rewound first). A chunk that
    /// cannot be added whole (EWriteError, or the data stream's own error) leaves no trace.
    virtual void AddChunk(std::uint32_t id, IKorvaneStream& data);
    /// Appends a chunk holding the given bytes. Throws EInvalidParameter for a size over INT32_MAX
    /// and EWriteError when memory runs out; the chunks added before stay as they were.
    virtual void AddChunk(std::uint32_t id, const void* bytes, std::uint32_t size);

private:
    std::int32_t WriteSize(IKorvaneStream& out, std::uint32_t size);

    CMemoryStream body_;
    std::uint32_t fileId_;
    std::uint32_t formType_ = 0;
    std::int32_t byteOrder_ = 0;
    bool swapSizes_ = false;
};

} // namespace korvane
