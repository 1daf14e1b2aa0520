/** @file fuzz_riff.cpp The RIFF reader: every chunk it indexes reads back exactly its size. */
#include <set>

#include "FuzzSupport.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "os/system/ByteReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Stream stream(data, size);
    korvane::CRIFFReader reader;
    try {
        reader.Open(&stream);
    } catch (const korvane::EException&) {
        return 0;
    }
    // The index is private: every four bytes of the input are tried as a chunk id.
    const os::system::ByteReader input(data, size);
    std::set<std::uint32_t> ids;
    for (std::size_t at = 12; input.Holds(at, 4) && ids.size() < 512; ++at)
        ids.insert(input.U32At(at));
    for (std::uint32_t id : ids) {
        if (!reader.HasChunk(id))
            continue;
        reader.FindChunk(id);
        const std::int32_t chunk = reader.GetChunkSize();
        fuzz::Check(chunk >= 0 && chunk <= stream.GetSize(), "a chunk is larger than the file");
        fuzz::Check(reader.GetChunkPosition() == 0, "a found chunk does not start at 0");
        const std::string bytes = fuzz::ReadAll(reader);
        fuzz::Check(static_cast<std::int64_t>(bytes.size()) == chunk, "a chunk reads other than its size");
        fuzz::Check(reader.GetChunkPosition() == chunk, "the chunk position is not at its end");
    }
    return 0;
}
