/** @file fuzz_archive_built.cpp The archive reader on archives whose cipher and checksums are right. */
#include "FuzzSupport.h"
#include "tools/kvatool/ArchiveFormatWriter.h"

// Raw bytes almost never get past the enciphered table and its record checksums, so here
// the input describes records and entry bytes, and the archive tool's writers add what the
// fuzzer could not guess: record checksums, the table's cipher, entries' keys and gzip.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchFile("built.kva");
    static const std::int32_t methods[] = {0, 1, 0x100, 0x101};
    fuzz::Input input(data, size);
    // Seeds and counters come from the input too, so every run is repeatable.
    const kvatool::RandomSource random = [&input](std::uint8_t* buffer, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            buffer[i] = input.Byte();
    };
    std::vector<kvatool::Record> records;
    std::string area;
    const int count = input.Byte() % 8;
    try {
        for (int i = 0; i < count; ++i) {
            kvatool::Record record;
            record.name = input.Bytes(input.Byte() % 32);
            record.method = methods[input.Byte() % 4];
            const std::uint8_t flags = input.Byte();
            const std::string body = input.Bytes(static_cast<std::size_t>(input.Byte()) * 16);
            // Either the bytes a writer makes for the method, or the input's own as stored bytes.
            const std::string stored = (flags & 1) ? kvatool::EncodeEntry(record.method, body, random) : body;
            // Or the input's own offset, size and unpacked size.
            record.offset = (flags & 2) ? input.Int32() : static_cast<std::int32_t>(area.size());
            record.size = (flags & 4) ? input.Int32() : static_cast<std::int32_t>(stored.size());
            record.auxiliary = (flags & 8) ? input.Int32() : static_cast<std::int32_t>(body.size());
            records.push_back(record);
            area += stored;
        }
        area += input.Bytes(input.Left());
        const std::string counter = kvatool::RandomBytes(random, 32);
        const std::string seed = kvatool::RandomBytes(random, 32);
        const std::string archive = kvatool::SerializeArchive(counter, seed, kvatool::EncodeTable(records), area);
        fuzz::WriteFile(path, reinterpret_cast<const std::uint8_t*>(archive.data()), archive.size());
    } catch (const kvatool::Error&) {
        return 0;
    }
    fuzz::ReadArchive(path);
    return 0;
}
