/** @file ArchiveFailureTest.cpp Damaged and hostile archives fail with the reader's exact messages and never crash. */
#include <numeric>

#include <cryptopp/cryptlib.h>

#include "ArchiveTestSupport.h"

using namespace archive_test;
using korvane::EInvalidFileFormat;

namespace
{

constexpr char kRangeError[] = "file entry out of range";
constexpr char kShortError[] = "enciphered entry is shorter than its key block";
constexpr char kTrailingError[] = "compressed entry has data after its end";
constexpr char kLimitError[] = "decompressed entry exceeds the size limit";
constexpr char kDecompressorError[] = "<the decompressor's error>";

// Header offsets of the archive file.
constexpr std::size_t kLengthAt = 14;
constexpr std::size_t kCounterAt = 18;
constexpr std::size_t kSeedAt = 50;
constexpr std::size_t kTableAt = 82;

/// Writes a little-endian 32-bit value into bytes at an offset.
Bytes WithUInt32(Bytes bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

Bytes WithByte(Bytes bytes, std::size_t offset, char value)
{
    bytes[offset] = value;
    return bytes;
}

/// What opening entry `name` throws: the format error's message, or kDecompressorError.
std::string EntryFailure(const CArchiveFileLoader& archive, const std::string& name)
{
    try {
        std::unique_ptr<korvane::IKorvaneStream> stream(archive.OpenEntry(name));
    } catch (const EInvalidFileFormat& error) {
        return error.GetMessage();
    } catch (const CryptoPP::Exception&) {
        return kDecompressorError;
    }
    return "<no exception>";
}

} // namespace

TEST(ArchiveFailure, DamagedArchivesFailTheOpenAndLeaveTheLoaderEmptyDamagedEntriesFailAloneAndNotPassedOnInAChain)
{
    korvane::test::TempDir dir;
    CArchiveFileLoader archive;
    auto write = [&](const Bytes& image) { return dir.Write("test.kva", image); };
    const std::string absent = dir.File("absent.kva");
    EXPECT_EQ(Caught<korvane::EFileOpenError>([&] { archive.Open(absent); }),
              Failure("Cannot open file: \"" + absent + "\"", "class korvane::CFileStream"));

    const Failure header{"file header error", "class korvane::CArchiveFileLoader"};
    const Failure table{"invalid archive file entry header", "class korvane::CArchiveFileEntries"};
    const Failure crc{"file entry CRC error. data may be incorrect.", "class korvane::CArchiveFileEntryHeader"};
    const Bytes good = CraftArchive({MakeEntry("a.txt", 0x101, "alpha"), MakeEntry("b.txt", 0, "bravo")});
    auto flip = [&](std::size_t at, int bits) { return WithByte(good, at, char(good[at] ^ bits)); };
    auto length = [&](std::uint32_t value) { return WithUInt32(good, kLengthAt, value); };
    const Bytes oneRecord = kvatool::EncodeTable({{"a", 0, 1, 0, 0, {}}});
    auto tableWith = [&](std::size_t at, std::uint32_t value) {
        return CraftRaw(WithUInt32(oneRecord, at, value), "x");
    };
    // A record changed after its CRC was taken.
    const kvatool::Record original{"name.bin", 0, 4, 0, 0, {}};
    auto changed = [&](const std::function<void(kvatool::Record&)>& change) {
        kvatool::Record record = original;
        change(record);
        record.crc = kvatool::RecordCrc(original);
        return CraftRaw(kvatool::EncodeTable({record}), "data");
    };

    const std::vector<std::tuple<std::string, Bytes, Failure>> cases = {
        {"magic", WithByte(good, 0, 'k'), header},
        {"magic last byte", WithByte(good, 13, '\0'), header},
        {"magic cut short", "KorvaneArc", header},
        {"seed first byte", flip(kSeedAt, 1), table},
        {"seed last byte", flip(kSeedAt + 31, 1), table},
        {"counter", flip(kCounterAt, 0x80), table},
        {"table length 0", length(0), table},
        {"table length 0xFFFFFFF0", length(0xFFFFFFF0u), table},
        {"table length one past the file", length(std::uint32_t(good.size() - kTableAt + 1)), table},
        {"file cut inside the seed", good.substr(0, 60), table},
        {"count 0x7FFFFFFF", tableWith(19, 0x7FFFFFFFu), table},
        {"count 2", tableWith(19, 2), table},
        // A damaged table, not a damaged record.
        {"name length 0xFFFFFFFF", tableWith(23, 0xFFFFFFFFu), table},
        {"name length 0x7FFFFFFF", tableWith(23, 0x7FFFFFFFu), table},
        {"name length past the record", tableWith(23, 2 + 16 + 4), table},
        {"record cut short", CraftRaw(oneRecord.substr(0, oneRecord.size() - 1), "x"), table},
        {"renamed", changed([](kvatool::Record& r) { r.name = "name.bim"; }), crc},
        {"offset", changed([](kvatool::Record& r) { r.offset ^= 0x100; }), crc},
        {"size", changed([](kvatool::Record& r) { r.size ^= 0x100; }), crc},
        {"method", changed([](kvatool::Record& r) { r.method ^= 0x100; }), crc},
        {"auxiliary", changed([](kvatool::Record& r) { r.auxiliary ^= 0x100; }), crc},
    };
    const std::string goodPath = dir.Write("good.kva", good);
    for (const auto& [name, image, failure] : cases) {
        SCOPED_TRACE(name);
        archive.Open(goodPath);
        const std::string path = write(image);
        EXPECT_EQ(Caught<EInvalidFileFormat>([&] { archive.Open(path); }), failure);
        EXPECT_EQ(std::pair(archive.GetEntryCount(), archive.Exists("a.txt")), std::pair(0, false));
        // The archive data loader is not made from a bad archive either.
        EXPECT_EQ(Caught<EInvalidFileFormat>([&] { ArchiveLoader loader(path); }), failure);
    }
    // The emptied loader's message for a name it lacks: Kvatool.PackListExtractMethodsClashesAndErrors.

    // Only the first half of the counter block is used.
    archive.Open(write(flip(kCounterAt + 20, 0xFF)));
    EXPECT_EQ(ReadAll(archive.OpenEntry("a.txt")), "alpha");
    // Entry indexes outside the table are refused.
    EXPECT_EQ(archive.GetEntry(1)->GetName(), "b.txt");
    for (std::int32_t index : {2, -1})
        EXPECT_THROW(archive.GetEntry(index), korvane::EInvalidParameter);
    // A negative count means no entries.
    archive.Open(write(tableWith(19, 0x80000000u)));
    EXPECT_EQ(archive.GetEntryCount(), 0);
    // The CRC guards the record, not the data.
    archive.Open(write(CraftRaw(kvatool::EncodeTable({original}), "DATA")));
    EXPECT_EQ(ReadAll(archive.OpenEntry("name.bin")), "DATA");

    // Damaged or oversized entries fail alone when opened.
    auto placed = [](const std::string& name, std::int32_t method, std::int32_t offset, std::int32_t size) {
        return CraftedEntry{{name, offset, size, method, 0, {}}, ""};
    };
    auto edited = [](CraftedEntry entry, const std::function<void(Bytes&)>& edit) {
        edit(entry.stored);
        return entry;
    };
    CraftedEntry odd = MakeEntry("odd.bin", 0, "odd");
    odd.record.method = 2;
    const CraftedEntry bare = MakeEntry("bare.enc", 0x100, "");
    const Bytes zeros(2 * 1024 * 1024, '\0');
    CraftedEntry bomb = MakeEntry("bomb.gz", 1, zeros);
    // A lying size hint must not make the reader reserve the whole limit up front either.
    bomb.record.auxiliary = 0x7FFFFFFF;
    std::vector<CraftedEntry> entries = {MakeEntry("good.bin", 0, "0123456789"), MakeEntry("fine.bin", 1, "fine"), odd,
                                         bare, MakeEntry("fits.gz", 1, Bytes(1024 * 1024, 'z'))};
    // Each damaged entry and what opening it throws; decompression stops at the size limit.
    const std::vector<std::pair<CraftedEntry, std::string>> damaged = {
        {bomb, kLimitError},
        {MakeEntry("bomb.enc", 0x101, zeros), kLimitError},
        {placed("far", 0, 1000000, 4), kRangeError},
        {placed("long", 0x100, 0, 0x7FFFFFFF), kRangeError},
        {placed("negsize", 1, 0, -2), kRangeError},
        {placed("negoff", 0x101, -5, 100), kRangeError},
        {edited(MakeEntry("short.enc", 0x100, Pattern("s", 200)), [](Bytes& b) { b.resize(50); }), kShortError},
        {edited(MakeEntry("short.gz", 0x101, Pattern("s", 200)), [](Bytes& b) { b.resize(95); }), kShortError},
        {edited(MakeEntry("trailing.gz", 1, "payload"), [](Bytes& b) { b += "junk"; }), kTrailingError},
        {edited(MakeEntry("two.gz", 1, "first"), [](Bytes& b) { b += kvatool::GzipCompress("second"); }),
         kTrailingError},
        // Inside the CRC-32 of the trailer.
        {edited(MakeEntry("damaged.gz", 1, Pattern("d", 4000)), [](Bytes& b) { b[b.size() - 6] ^= 0x55; }),
         kDecompressorError},
        // The second gzip id byte, once deciphered.
        {edited(MakeEntry("broken.gz", 0x101, Pattern("b", 4000)), [](Bytes& b) { b[96 + 1] ^= 0x55; }),
         kDecompressorError},
        {edited(MakeEntry("nothing.gz", 1, ""), [](Bytes& b) { b.clear(); }), kDecompressorError},
        {edited(MakeEntry("cut.gz", 1, Pattern("c", 4000)), [](Bytes& b) { b.resize(b.size() / 2); }),
         kDecompressorError},
    };
    for (const auto& entry : damaged)
        entries.push_back(entry.first);
    // One byte past the end of the file.
    const auto dataSize = std::accumulate(entries.begin(), entries.end(), std::size_t(0),
                                          [](std::size_t sum, const CraftedEntry& e) { return sum + e.stored.size(); });
    entries.push_back(placed("edge", 0, std::int32_t(dataSize) - 5, 6));
    const std::string path = write(CraftArchive(entries));
    archive.Open(path);
    archive.SetDecodedSizeLimit(1024 * 1024);
    for (const auto& [entry, message] : damaged)
        EXPECT_EQ(EntryFailure(archive, entry.record.name), message) << entry.record.name;
    EXPECT_EQ(EntryFailure(archive, "edge"), kRangeError);
    EXPECT_EQ(Caught<korvane::ENotImplemented>([&] { archive.OpenEntry("ODD.bin"); }).first, "not implemented format");
    EXPECT_EQ(ReadAll(archive.OpenEntry("good.bin")) + ReadAll(archive.OpenEntry("fine.bin")), "0123456789fine");
    EXPECT_EQ(std::unique_ptr<korvane::IKorvaneStream>(archive.OpenEntry("bare.enc"))->GetSize(), 0);
    EXPECT_EQ(ReadAll(archive.OpenEntry("fits.gz")), Bytes(1024 * 1024, 'z'));
    archive.SetDecodedSizeLimit(std::int64_t(1) << 40);
    EXPECT_EQ(archive.GetDecodedSizeLimit(), korvane::archive::kMaxDecodedEntrySize);
    EXPECT_EQ(ReadAll(archive.OpenEntry("bomb.gz")), zeros);

    // A loose file of the same name behind the archive is not used instead (a name only the folder
    // holds comes from it: the folder loader's part of the Archives scenario).
    dir.Write("loose/damaged.gz", "loose copy");
    dir.Write("loose/far", "loose copy");
    auto chain = ChainOf({new ArchiveLoader(path), new korvane::CFileSystemDataLoader(dir.File("loose"))});
    EXPECT_THROW(chain->Open("damaged.gz"), CryptoPP::Exception);
    EXPECT_EQ(Caught<EInvalidFileFormat>([&] { chain->Open("far"); }).first, kRangeError);
}
