/** @file RIFFWriter.cpp Collects chunks in memory and writes them as one RIFF file. */
#include "KorvaneXDK/core/RIFFWriter.h"

#include <climits>

#include "KorvaneXDK/core/Exception.h"

namespace korvane
{

CRIFFWriter::CRIFFWriter() : fileId_(MakeFourCC("RIFF")) {}

CRIFFWriter::~CRIFFWriter() = default;

void CRIFFWriter::SetByteOrder(std::int32_t order)
{
    byteOrder_ = order;
    if (order == 0 || order == 1) {
        fileId_ = MakeFourCC("RIFF");
        swapSizes_ = false;
    } else if (order == 2) {
        fileId_ = MakeFourCC("RIFX");
        swapSizes_ = true;
    }
}

std::int32_t CRIFFWriter::WriteSize(IKorvaneStream& out, std::uint32_t size)
{
    if (swapSizes_)
        size = ((size & 0xFF) << 24) | ((size & 0xFF00) << 8) | ((size >> 8) & 0xFF00) | (size >> 24);
    return out.WriteUInt32(size);
}

std::int32_t CRIFFWriter::WriteTo(IKorvaneStream& out)
{
    // A stream that takes fewer bytes than given (a memory stream out of memory) would
    // otherwise yield a torn file reported as written.
    const std::int32_t size = body_.GetSize();
    if (out.WriteUInt32(fileId_) != 4 || WriteSize(out, static_cast<std::uint32_t>(size) + 4) != 4 ||
        out.WriteUInt32(formType_) != 4)
        throw EWriteError(this, "Failed to write RIFF file");
    if (size == 0)
        return 0;
    const std::int32_t copied = out.CopyFrom(body_, 0);
    if (copied != size)
        throw EWriteError(this, "Failed to write RIFF file");
    return copied;
}

std::uint32_t CRIFFWriter::SetFormType(std::uint32_t code)
{
    formType_ = code;
    return code;
}

// A chunk is appended whole or not at all: a failure part-way (a failing data stream,
// exhausted memory) takes the partial chunk back out, so the file written later never
// holds a header whose data is missing.
void CRIFFWriter::AddChunk(std::uint32_t id, IKorvaneStream& data)
{
    const std::int32_t size = data.GetSize();
    const std::int32_t start = body_.Seek(body_.GetSize());
    try {
        if (body_.WriteUInt32(id) != 4 || WriteSize(body_, static_cast<std::uint32_t>(size)) != 4 ||
            (size > 0 && body_.CopyFrom(data, 0) != size))
            throw EWriteError(this, "Failed to add RIFF chunk");
    } catch (...) {
        body_.SetSize(start);
        body_.Seek(start);
        throw;
    }
}

void CRIFFWriter::AddChunk(std::uint32_t id, const void* bytes, std::uint32_t size)
{
    if (size > static_cast<std::uint32_t>(INT32_MAX))
        throw EInvalidParameter(this, "RIFF chunk too large");
    const std::int32_t start = body_.Seek(body_.GetSize());
    if (body_.WriteUInt32(id) != 4 || WriteSize(body_, size) != 4 ||
        (size > 0 && body_.Write(bytes, static_cast<std::int32_t>(size)) != static_cast<std::int32_t>(size))) {
        body_.SetSize(start);
        body_.Seek(start);
        throw EWriteError(this, "Failed to add RIFF chunk");
    }
}

} // namespace korvane
