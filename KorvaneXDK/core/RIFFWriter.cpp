/** @file RIFFWriter.cpp Collects chunks in memory and writes them as one RIFF file. */
#include "KorvaneXDK/core/RIFFWriter.h"

#include <climits>

#include "KorvaneXDK/core/Exception.h"

namespace korvane {

CRIFFWriter::CRIFFWriter() : fileId_(MakeFourCC("RIFF")) {}

CRIFFWriter::~CRIFFWriter() = default;

void CRIFFWriter::SetByteOrder(std::int32_t order)
{
    byteOrder_ = order;
    if (order == 0 || order == 1)
    {
        fileId_ = MakeFourCC("RIFF");
        swapSizes_ = false;
    }
    else if (order == 2)
    {
        fileId_ = MakeFourCC("RIFX");
        swapSizes_ = true;
    }
}

void CRIFFWriter::WriteSize(IKorvaneStream& out, std::uint32_t size)
{
    if (swapSizes_)
        size = ((size & 0xFF) << 24) | ((size & 0xFF00) << 8) | ((size >> 8) & 0xFF00) | (size >> 24);
    out.WriteUInt32(size);
}

std::int32_t CRIFFWriter::WriteTo(IKorvaneStream& out)
{
    out.WriteUInt32(fileId_);
    WriteSize(out, static_cast<std::uint32_t>(body_.GetSize()) + 4);
    out.WriteUInt32(formType_);
    const std::int32_t size = body_.GetSize();
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

void CRIFFWriter::AddChunk(std::uint32_t id, IKorvaneStream& data)
{
    const std::int32_t size = data.GetSize();
    body_.WriteUInt32(id);
    WriteSize(body_, static_cast<std::uint32_t>(size));
    if (size > 0 && body_.CopyFrom(data, 0) != size)
        throw EWriteError(this, "Failed to add RIFF chunk");
}

void CRIFFWriter::AddChunk(std::uint32_t id, const void* bytes, std::uint32_t size)
{
    if (size > static_cast<std::uint32_t>(INT32_MAX))
        throw EInvalidParameter(this, "RIFF chunk too large");
    body_.WriteUInt32(id);
    WriteSize(body_, size);
    if (size > 0 && body_.Write(bytes, static_cast<std::int32_t>(size)) != static_cast<std::int32_t>(size))
        throw EWriteError(this, "Failed to add RIFF chunk");
}

} // namespace korvane
