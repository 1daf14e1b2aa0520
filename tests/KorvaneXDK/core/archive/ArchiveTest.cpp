/** @file ArchiveTest.cpp Archives packed by the tool, crafted or made outside the project, read back through the
 * data loaders; damaged and hostile ones fail with the reader's exact messages and never crash. */
#include <gtest/gtest.h>

#include <algorithm>
#include <cryptopp/cryptlib.h>
#include <filesystem>
#include <numeric>
#include <thread>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using korvane::CFileSystemDataLoader;
using korvane::EFileOpenError;
using korvane::EInvalidFileFormat;

namespace
{

using korvane::CArchiveFileLoader;
using kvatool::Bytes;
using ArchiveLoader = korvane::TArchiveFileDataLoader<CArchiveFileLoader>;
using Names = std::vector<std::string>;
/// An engine exception's message and where.
using Failure = std::pair<std::string, std::string>;

/// The whole contents of a freshly opened stream, in one read.
inline Bytes ReadAll(korvane::IKorvaneStream& stream)
{
    Bytes bytes(std::size_t(stream.GetSize()), '\0');
    bytes.resize(std::size_t(std::max(0, stream.Read(bytes.data(), stream.GetSize()))));
    return bytes;
}

inline Bytes ReadAll(korvane::IKorvaneStream* stream)
{
    std::unique_ptr<korvane::IKorvaneStream> owned(stream);
    return ReadAll(*owned);
}

/// A repeatable random source: byte i of the whole sequence is (seed + i * 7) mod 256.
inline kvatool::RandomSource CountingRandom(std::uint8_t seed)
{
    auto next = std::make_shared<std::uint8_t>(seed);
    return [next](std::uint8_t* buffer, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i, *next = std::uint8_t(*next + 7))
            buffer[i] = *next;
    };
}

/// An entry of a crafted archive: its record (offset or size -1: computed) and stored bytes.
struct CraftedEntry
{
    kvatool::Record record;
    Bytes stored;
};

/// An archive image from a deciphered table as given (however broken) and a data area.
inline Bytes CraftRaw(const Bytes& tablePlain, const Bytes& data)
{
    auto random = CountingRandom(99);
    return kvatool::SerializeArchive(kvatool::RandomBytes(random, 32), kvatool::RandomBytes(random, 32), tablePlain,
                                     data);
}

/// Stores entries back to back; records keep any offset, size or CRC a test set.
inline Bytes CraftArchive(std::vector<CraftedEntry> entries)
{
    Bytes data;
    std::vector<kvatool::Record> records;
    for (CraftedEntry& entry : entries) {
        entry.record.offset = entry.record.offset == -1 ? std::int32_t(data.size()) : entry.record.offset;
        entry.record.size = entry.record.size == -1 ? std::int32_t(entry.stored.size()) : entry.record.size;
        data += entry.stored;
        records.push_back(entry.record);
    }
    return CraftRaw(kvatool::EncodeTable(records), data);
}

/// One crafted entry holding `data` under a method, with the real offset and size.
inline CraftedEntry MakeEntry(const std::string& name, std::int32_t method, const Bytes& data)
{
    const kvatool::Record record{name, -1, -1, method, std::int32_t(data.size()), {}};
    return {record, kvatool::EncodeEntry(method, data, CountingRandom(5))};
}

/// The loader chain holding the given loaders in order.
inline std::unique_ptr<CDataLoaderChain> ChainOf(const std::vector<korvane::IDataLoader*>& loaders)
{
    auto chain = std::make_unique<CDataLoaderChain>();
    for (korvane::IDataLoader* loader : loaders)
        chain->Add(boost::shared_ptr<korvane::IDataLoader>(loader));
    return chain;
}

/// A loader's listing of a folder, appended to `names`.
inline Names List(korvane::IDataLoader& loader, const std::string& folder, bool recursive, Names names = {})
{
    loader.EnumerateFiles(folder, recursive, names);
    return names;
}

/// The message and where of the engine exception of type E that `call` throws (.first: the message).
template <typename E>
Failure Caught(const std::function<void()>& call)
{
    try {
        call();
    } catch (const E& error) {
        return {error.GetMessage(), error.GetWhere()};
    }
    return {"<no exception>", ""};
}

/// Bytes whose content is easy to tell apart: "<tag>:" then a counting pattern.
inline Bytes Pattern(const std::string& tag, std::size_t size)
{
    Bytes bytes = tag + ":";
    for (std::size_t i = 0; bytes.size() < size; ++i)
        bytes.push_back(char('a' + (i * 31 + i / 7) % 26));
    bytes.resize(size);
    return bytes;
}

constexpr char kRangeError[] = "file entry out of range";
constexpr char kShortError[] = "enciphered entry is shorter than its key block";
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

// Table seed 00..1f; table counter 0102030405060708ffffffffffffffff, so the second block's
// counter carries into the high half; entry key block 40..7f (seeds) with the counter
// 00112233445566778899aabbfffffffe. Keys: SHA-256 applied 382 and 128 times. Ciphertext
// from "openssl enc -aes-256-ctr"; record CRCs from Python's zlib.crc32, the common CRC-32 taken
// over the name and then the fields, which the reader checks on opening.
const char* const kKnownArchiveHex =
    "4b6f7276616e6541726346696e655a0000000102030405060708ffffffffffffffffe0e1e2e3e4e5e6e7e8e9eaebeced"
    "eeef000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f771e061f126e91e632b4a736e296"
    "b1d01a1904dba293b6f37942556f347df91bd750799f3bd889809eef36a1eb43ef3c9b5ccd96d59f308cf690a5ff50f5"
    "09bad6ea7921149a3938bd7054c0446f65670123e0b3fa0fa3da6297404142434445464748494a4b4c4d4e4f50515253"
    "5455565758595a5b5c5d5e5f606162636465666768696a6b6c6d6e6f707172737475767778797a7b7c7d7e7f00112233"
    "445566778899aabbfffffffe00000000000000000000000000000000c2f97546efbccfd4949b568b14b6f3af628a1a39"
    "cc0620b18a41a64e4ad9264f27aacb05cf3821e4b5adf7ad0d8226d43baf6b013f16ee61c668ad8a49391b5d70c5e224"
    "5e36d26066bd186c0d2637b6b7967bff68917645aa01fd4c50e51b4908e15dab550f73746f72656421";

const Bytes kSentence = "Known answer: counter carries across the low bytes.";
const Bytes kPlain = kSentence + kSentence;

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

Bytes Sequence(int first, std::size_t count)
{
    Bytes bytes(count, '\0');
    std::iota(bytes.begin(), bytes.end(), char(first));
    return bytes;
}

} // namespace

namespace
{

/// A good archive of two entries ("a.txt", "b.txt") and damaged copies of it, opened by one loader.
class ArchiveFailure : public ::testing::Test
{
protected:
    std::string Write(const Bytes& image) { return dir_.Write("test.kva", image); }
    Bytes Flip(std::size_t at, int bits) const { return WithByte(good_, at, char(good_[at] ^ bits)); }
    Bytes Length(std::uint32_t value) const { return WithUInt32(good_, kLengthAt, value); }
    Bytes TableWith(std::size_t at, std::uint32_t value) const
    {
        return CraftRaw(WithUInt32(oneRecord_, at, value), "x");
    }
    /// A record changed after its CRC was taken.
    Bytes Changed(const std::function<void(kvatool::Record&)>& change) const
    {
        kvatool::Record record = original_;
        change(record);
        record.crc = kvatool::RecordCrc(original_);
        return CraftRaw(kvatool::EncodeTable({record}), "data");
    }

    korvane::test::TempDir dir_;
    CArchiveFileLoader archive_;
    const Bytes good_ = CraftArchive({MakeEntry("a.txt", 0x101, "alpha"), MakeEntry("b.txt", 0, "bravo")});
    const Bytes oneRecord_ = kvatool::EncodeTable({{"a", 0, 1, 0, 0, {}}});
    const kvatool::Record original_{"name.bin", 0, 4, 0, 0, {}};
};

} // namespace

TEST_F(ArchiveFailure, AMissingFileFailsTheOpen)
{
    const std::string absent = dir_.File("absent.kva");
    EXPECT_EQ(Caught<korvane::EFileOpenError>([&] { archive_.Open(absent); }),
              Failure("Cannot open file: \"" + absent + "\"", "class korvane::CFileStream"));
}

TEST_F(ArchiveFailure, DamagedArchivesFailTheOpenAndLeaveTheLoaderEmpty)
{
    const Failure header{"file header error", "class korvane::CArchiveFileLoader"};
    const Failure table{"invalid archive file entry header", "class korvane::CArchiveFileEntries"};
    const Failure crc{"file entry CRC error. data may be incorrect.", "class korvane::CArchiveFileEntryHeader"};
    const std::vector<std::tuple<std::string, Bytes, Failure>> cases = {
        {"magic", WithByte(good_, 0, 'k'), header},
        {"magic last byte", WithByte(good_, 13, '\0'), header},
        {"magic cut short", "KorvaneArc", header},
        {"seed first byte", Flip(kSeedAt, 1), table},
        {"seed last byte", Flip(kSeedAt + 31, 1), table},
        {"counter", Flip(kCounterAt, 0x80), table},
        {"table length 0", Length(0), table},
        {"table length 0xFFFFFFF0", Length(0xFFFFFFF0u), table},
        {"table length one past the file", Length(std::uint32_t(good_.size() - kTableAt + 1)), table},
        {"file cut inside the seed", good_.substr(0, 60), table},
        {"count 0x7FFFFFFF", TableWith(19, 0x7FFFFFFFu), table},
        {"count 2", TableWith(19, 2), table},
        // A damaged table, not a damaged record.
        {"name length 0xFFFFFFFF", TableWith(23, 0xFFFFFFFFu), table},
        {"name length 0x7FFFFFFF", TableWith(23, 0x7FFFFFFFu), table},
        {"name length past the record", TableWith(23, 2 + 16 + 4), table},
        {"record cut short", CraftRaw(oneRecord_.substr(0, oneRecord_.size() - 1), "x"), table},
        {"renamed", Changed([](kvatool::Record& r) { r.name = "name.bim"; }), crc},
        {"offset", Changed([](kvatool::Record& r) { r.offset ^= 0x100; }), crc},
        {"size", Changed([](kvatool::Record& r) { r.size ^= 0x100; }), crc},
        {"method", Changed([](kvatool::Record& r) { r.method ^= 0x100; }), crc},
        {"auxiliary", Changed([](kvatool::Record& r) { r.auxiliary ^= 0x100; }), crc},
    };
    const std::string goodPath = dir_.Write("good.kva", good_);
    for (const auto& [name, image, failure] : cases) {
        SCOPED_TRACE(name);
        archive_.Open(goodPath);
        const std::string path = Write(image);
        EXPECT_EQ(Caught<EInvalidFileFormat>([&] { archive_.Open(path); }), failure);
        EXPECT_EQ(std::pair(archive_.GetEntryCount(), archive_.Exists("a.txt")), std::pair(0, false));
        // The archive data loader is not made from a bad archive either.
        EXPECT_EQ(Caught<EInvalidFileFormat>([&] { ArchiveLoader loader(path); }), failure);
    }
    // The emptied loader's message for a name it lacks: Kvatool.PackListExtractMethodsClashesAndErrors.
}

TEST_F(ArchiveFailure, OnlyTheFirstHalfOfTheCounterBlockIsUsed)
{
    archive_.Open(Write(Flip(kCounterAt + 20, 0xFF)));
    EXPECT_EQ(ReadAll(archive_.OpenEntry("a.txt")), "alpha");
}

TEST_F(ArchiveFailure, EntryIndexesOutsideTheTableAreRefused)
{
    archive_.Open(Write(good_));
    EXPECT_EQ(archive_.GetEntry(1)->GetName(), "b.txt");
    for (std::int32_t index : {2, -1})
        EXPECT_THROW(archive_.GetEntry(index), korvane::EInvalidParameter);
}

TEST_F(ArchiveFailure, ANegativeCountMeansNoEntries)
{
    archive_.Open(Write(TableWith(19, 0x80000000u)));
    EXPECT_EQ(archive_.GetEntryCount(), 0);
}

TEST_F(ArchiveFailure, TheCrcGuardsTheRecordNotTheData)
{
    archive_.Open(Write(CraftRaw(kvatool::EncodeTable({original_}), "DATA")));
    EXPECT_EQ(ReadAll(archive_.OpenEntry("name.bin")), "DATA");
}

namespace
{

CraftedEntry Placed(const std::string& name, std::int32_t method, std::int32_t offset, std::int32_t size)
{
    return CraftedEntry{{name, offset, size, method, 0, {}}, ""};
}

CraftedEntry Edited(CraftedEntry entry, const std::function<void(Bytes&)>& edit)
{
    edit(entry.stored);
    return entry;
}

/// The entry with its stored bytes as they are, filed under another method.
CraftedEntry Labelled(CraftedEntry entry, std::int32_t method)
{
    entry.record.method = method;
    return entry;
}

/// Good, damaged and oversized entries side by side in one archive, opened with a decoded size limit of 1 MiB.
class ArchiveWithDamagedEntries : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CraftedEntry odd = MakeEntry("odd.bin", 0, "odd");
        odd.record.method = 2;
        const CraftedEntry bare = MakeEntry("bare.enc", 0x100, "");
        std::vector<CraftedEntry> entries = {MakeEntry("good.bin", 0, "0123456789"), MakeEntry("fine.bin", 1, "fine"),
                                             odd, bare, MakeEntry("fits.gz", 1, Bytes(1024 * 1024, 'z'))};
        for (const auto& entry : damaged_)
            entries.push_back(entry.first);
        for (const auto& entry : trailing_)
            entries.push_back(entry.first);
        // One byte past the end of the file.
        const auto dataSize =
            std::accumulate(entries.begin(), entries.end(), std::size_t(0),
                            [](std::size_t sum, const CraftedEntry& e) { return sum + e.stored.size(); });
        entries.push_back(Placed("edge", 0, std::int32_t(dataSize) - 5, 6));
        path_ = dir_.Write("test.kva", CraftArchive(entries));
        archive_.Open(path_);
        archive_.SetDecodedSizeLimit(1024 * 1024);
    }

    static CraftedEntry Bomb()
    {
        CraftedEntry bomb = MakeEntry("bomb.gz", 1, kZeros);
        // A lying size hint must not make the reader reserve the whole limit up front either.
        bomb.record.auxiliary = 0x7FFFFFFF;
        return bomb;
    }

    inline static const Bytes kZeros = Bytes(2 * 1024 * 1024, '\0');
    // Each damaged entry and what opening it throws; decompression stops at the size limit.
    const std::vector<std::pair<CraftedEntry, std::string>> damaged_ = {
        {Bomb(), kLimitError},
        {MakeEntry("bomb.enc", 0x101, kZeros), kLimitError},
        {Placed("far", 0, 1000000, 4), kRangeError},
        {Placed("long", 0x100, 0, 0x7FFFFFFF), kRangeError},
        {Placed("negsize", 1, 0, -2), kRangeError},
        {Placed("negoff", 0x101, -5, 100), kRangeError},
        {Edited(MakeEntry("short.enc", 0x100, Pattern("s", 200)), [](Bytes& b) { b.resize(50); }), kShortError},
        {Edited(MakeEntry("short.gz", 0x101, Pattern("s", 200)), [](Bytes& b) { b.resize(95); }), kShortError},
        // Inside the CRC-32 of the trailer.
        {Edited(MakeEntry("damaged.gz", 1, Pattern("d", 4000)), [](Bytes& b) { b[b.size() - 6] ^= 0x55; }),
         kDecompressorError},
        // The second gzip id byte, once deciphered.
        {Edited(MakeEntry("broken.gz", 0x101, Pattern("b", 4000)), [](Bytes& b) { b[96 + 1] ^= 0x55; }),
         kDecompressorError},
        {Edited(MakeEntry("nothing.gz", 1, ""), [](Bytes& b) { b.clear(); }), kDecompressorError},
        {Edited(MakeEntry("cut.gz", 1, Pattern("c", 4000)), [](Bytes& b) { b.resize(b.size() / 2); }),
         kDecompressorError},
    };
    // Entries with bytes after their first gzip member and the data they read: that member's alone.
    const std::vector<std::pair<CraftedEntry, Bytes>> trailing_ = {
        {Edited(MakeEntry("trailing.gz", 1, "payload"), [](Bytes& b) { b += "junk"; }), "payload"},
        {Edited(MakeEntry("two.gz", 1, "first"), [](Bytes& b) { b += kvatool::GzipCompress("second"); }), "first"},
        {Labelled(MakeEntry("two.enc", 0x100, kvatool::GzipCompress("first") + kvatool::GzipCompress("second")), 0x101),
         "first"},
    };
    korvane::test::TempDir dir_;
    std::string path_;
    CArchiveFileLoader archive_;
};

} // namespace

TEST_F(ArchiveWithDamagedEntries, BytesAfterTheFirstCompressedMemberAreIgnored)
{
    for (const auto& [entry, data] : trailing_)
        EXPECT_EQ(ReadAll(archive_.OpenEntry(entry.record.name)), data) << entry.record.name;
}

TEST_F(ArchiveWithDamagedEntries, EachDamagedOrOversizedEntryFailsWhenOpened)
{
    for (const auto& [entry, message] : damaged_)
        EXPECT_EQ(EntryFailure(archive_, entry.record.name), message) << entry.record.name;
    EXPECT_EQ(EntryFailure(archive_, "edge"), kRangeError);
    EXPECT_EQ(Caught<korvane::ENotImplemented>([&] { archive_.OpenEntry("ODD.bin"); }).first, "not implemented format");
}

TEST_F(ArchiveWithDamagedEntries, TheOtherEntriesStillRead)
{
    EXPECT_EQ(ReadAll(archive_.OpenEntry("good.bin")) + ReadAll(archive_.OpenEntry("fine.bin")), "0123456789fine");
    EXPECT_EQ(std::unique_ptr<korvane::IKorvaneStream>(archive_.OpenEntry("bare.enc"))->GetSize(), 0);
    EXPECT_EQ(ReadAll(archive_.OpenEntry("fits.gz")), Bytes(1024 * 1024, 'z'));
}

TEST_F(ArchiveWithDamagedEntries, TheSizeLimitIsCappedAndAnEntryBelowTheCapReads)
{
    archive_.SetDecodedSizeLimit(std::int64_t(1) << 40);
    EXPECT_EQ(archive_.GetDecodedSizeLimit(), korvane::archive::kMaxDecodedEntrySize);
    EXPECT_EQ(ReadAll(archive_.OpenEntry("bomb.gz")), kZeros);
}

TEST_F(ArchiveWithDamagedEntries, ADamagedEntryIsNotPassedOnToALooseFileInAChain)
{
    // A loose file of the same name behind the archive is not used instead (a name only the folder
    // holds comes from it: LoaderChain.FallsBackFromTheArchiveToTheFolder).
    dir_.Write("loose/damaged.gz", "loose copy");
    dir_.Write("loose/far", "loose copy");
    auto chain = ChainOf({new ArchiveLoader(path_), new korvane::CFileSystemDataLoader(dir_.File("loose"))});
    EXPECT_THROW(chain->Open("damaged.gz"), CryptoPP::Exception);
    EXPECT_EQ(Caught<EInvalidFileFormat>([&] { chain->Open("far"); }).first, kRangeError);
}

namespace
{

/// One extension per storage method and the default method for the rest, packed by the tool into
/// out/data.kva and opened through a loader chain.
class PackedArchive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kvatool::PackOptions options;
        options.methodByExtension = {{".png", 0}, {".raw", 0}, {".gz", 1}, {".enc", 0x100}};
        options.defaultMethod = 0x101;
        options.random = CountingRandom(3);
        // An enciphered entry with no payload would be its bare key block: empty files are stored.
        for (const auto& [path, bytes, method] : std::vector<std::tuple<std::string, Bytes, std::int32_t>>{
                 {"Fonts/Main.png", Pattern("png", 1000), 0},
                 {"Fonts/Large/Big.ENC", Pattern("enc", 70000), 0x100},
                 {"Readme.gz", Pattern("gz", 5000), 1},
                 {"notes.txt", Pattern("txt", 300000), 0x101},
                 {"Deep/er/and/deeper/leaf.raw", Pattern("raw", 17), 0},
                 {"empty/e.raw", "", 0},
                 {"empty/e.gz", "", 1},
                 {"empty/e.enc", "", 0},
                 {"empty/e.txt", "", 0x101}}) {
            dir_.Write("src/" + path, bytes);
            std::string name = korvane::ToLowerString(path);
            std::replace(name.begin(), name.end(), '/', '\\');
            files_[name] = {bytes, method};
        }
        std::filesystem::create_directories(dir_.File("out"));
        kvatool::PackFolder(dir_.File("src"), dir_.File("out/data.kva"), options);
        loader_.reset(new ArchiveLoader(dir_.File("out/data.kva")));
        chain_.Add(loader_);
    }

    korvane::test::TempDir dir_;
    /// Each entry's name as the table holds it, with its contents and storage method.
    std::map<std::string, std::pair<Bytes, std::int32_t>> files_;
    boost::shared_ptr<ArchiveLoader> loader_;
    CDataLoaderChain chain_;
};

} // namespace

TEST_F(PackedArchive, TheTableIsSortedByNameAndHoldsLowerCaseNamesReadInAnyCase)
{
    const CArchiveFileLoader& archive = loader_->GetArchive();
    // The names have backslashes.
    std::int32_t index = 0;
    for (const auto& [name, file] : files_) {
        SCOPED_TRACE(name);
        const korvane::CArchiveFileEntryHeader* entry = archive.GetEntry(index++);
        EXPECT_EQ(std::tuple(entry->GetName(), entry->GetAuxiliary(), entry->GetMethod()),
                  std::tuple(name, std::int32_t(file.first.size()), file.second));
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        EXPECT_TRUE(chain_.Exists(upper));
        EXPECT_EQ(ReadAll(chain_.Open(upper)), file.first);
    }
}

TEST_F(PackedArchive, SlashesAreNoFolderSeparatorsInNames)
{
    EXPECT_FALSE(loader_->Exists("fonts/main.png"));
    EXPECT_EQ(Caught<EFileOpenError>([&] { chain_.Open("Fonts/Main.png"); }),
              Failure("file entry not found: \"Fonts/Main.png\"", "class CDataLoaderChain"));
}

TEST_F(PackedArchive, StoredEntriesOpenAsWindowsAndDecodedOnesAsMemoryAtTheStart)
{
    std::unique_ptr<korvane::IKorvaneStream> stream(loader_->Open("Deep\\Er\\And\\Deeper\\Leaf.RAW"));
    ASSERT_NE(dynamic_cast<korvane::CFilePartitionStream*>(stream.get()), nullptr);
    // Its bounds: EveryStream.SeeksReadsAndClonesAlike in the streams tests, and the contents above.

    std::unique_ptr<korvane::IKorvaneStream> decoded(loader_->Open("notes.txt"));
    ASSERT_NE(dynamic_cast<korvane::CMemoryStream*>(decoded.get()), nullptr);
    EXPECT_EQ(std::pair(decoded->GetSize(), decoded->GetPosition()), std::pair(300000, 0));
}

TEST_F(PackedArchive, EveryOpenIsAStreamOfItsOwn)
{
    auto first = loader_->OpenShared("fonts\\main.png");
    auto second = loader_->OpenShared("fonts\\main.png");
    ASSERT_NE(first.get(), second.get());
    char byte;
    first->Read(&byte, 1);
    EXPECT_EQ(std::pair(first->GetPosition(), second->GetPosition()), std::pair(1, 0));
}

TEST_F(PackedArchive, ListsAFoldersEntriesWithOrWithoutItsSubfolders)
{
    // Letter case and a trailing separator in the folder: CraftedArchive's listings.
    EXPECT_EQ(List(*loader_, "fonts", true), (Names{"fonts\\large\\big.enc", "fonts\\main.png"}));
    EXPECT_EQ(List(*loader_, "", false), (Names{"notes.txt", "readme.gz"}));
}

TEST_F(PackedArchive, EntriesOpenFromSeveralThreadsAtOnce)
{
    const std::vector<std::pair<std::string, std::pair<Bytes, std::int32_t>>> all(files_.begin(), files_.end());
    std::atomic<int> problems{0};
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t round = 0; round < 8; ++round) {
                for (std::size_t k = 0; k < all.size(); ++k) {
                    const auto& [name, file] = all[(k * 5 + t + round) % all.size()];
                    try {
                        problems += ReadAll(chain_.Open(name)) != file.first || !chain_.Exists(name);
                    } catch (...) {
                        ++problems;
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(problems.load(), 0);
}

TEST(CraftedArchive, FoldersListDepthFirstInTableOrderAfterTheNamesAlreadyListed)
{
    korvane::test::TempDir dir;
    ArchiveLoader crafted(
        dir.Write("index.kva", CraftArchive({MakeEntry("a\\b\\c.txt", 0, "c"), MakeEntry("a\\d.txt", 0, "d"),
                                             MakeEntry("x.txt", 0, "x"), MakeEntry("a\\b\\e.txt", 0, "e")})));
    EXPECT_EQ(List(crafted, "A", false), Names{"a\\d.txt"});
    // Names already in the list are kept.
    EXPECT_EQ(List(crafted, "", true, {"kept"}), (Names{"kept", "a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt", "x.txt"}));
    EXPECT_EQ(List(crafted, "a\\", true), (Names{"a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt"}));
    EXPECT_EQ(List(crafted, "no\\such\\folder", true), Names{});
}

TEST(CraftedArchive, AnEmptyTableListsNothing)
{
    korvane::test::TempDir dir;
    ArchiveLoader empty(dir.Write("empty.kva", CraftArchive({})));
    EXPECT_EQ(List(empty, "", true), Names{}); // opening in an empty table: ArchiveFailure's scenario
}

TEST(CraftedArchive, TheLaterOfTwoCaseTwinsIsFound)
{
    korvane::test::TempDir dir;
    CArchiveFileLoader reader;
    reader.Open(dir.Write("twins.kva",
                          CraftArchive({MakeEntry("Same.txt", 0, "first"), MakeEntry("SAME.TXT", 0x101, "second")})));
    EXPECT_EQ(reader.GetEntryCount(), 2);
    EXPECT_EQ(ReadAll(reader.OpenEntry("same.txt")), "second");
}

TEST(CraftedArchive, AReopenForgetsTheOldArchive)
{
    korvane::test::TempDir dir;
    CArchiveFileLoader reader;
    reader.Open(dir.Write("twins.kva",
                          CraftArchive({MakeEntry("Same.txt", 0, "first"), MakeEntry("SAME.TXT", 0x101, "second")})));
    reader.Open(dir.Write("two.kva", CraftArchive({MakeEntry("two", 0x100, "2")})));
    EXPECT_FALSE(reader.Exists("same.txt"));
    EXPECT_EQ(ReadAll(reader.OpenEntry("TWO")), "2");
}

TEST(CraftedArchive, DeepNamesAreReadButTheFolderIndexRefusesToNestTooDeeply)
{
    korvane::test::TempDir dir;
    auto nested = [](int levels) {
        std::string name;
        while (levels-- > 0)
            name += "d\\";
        return name + "leaf.txt";
    };
    ArchiveLoader deep(dir.Write("deep.kva", CraftArchive({MakeEntry(nested(200), 0, "deep")})));
    EXPECT_EQ(List(deep, "", true), Names{nested(200)});
    // The reader holds a name thousands of folders deep; only the folder index, which stores
    // every level's whole path, refuses to grow quadratically.
    const std::string hostile = dir.Write("deeper.kva", CraftArchive({MakeEntry(nested(5000), 0, "deeper")}));
    CArchiveFileLoader reader;
    reader.Open(hostile);
    EXPECT_EQ(ReadAll(reader.OpenEntry(nested(5000))), "deeper");
    EXPECT_EQ(Caught<korvane::EInvalidFileFormat>([&] { ArchiveLoader refused(hostile); }).first,
              "archive folders nest too deeply");
}

TEST(KnownAnswerArchive, AnArchiveComputedOutsideTheProjectIsRead)
{
    korvane::test::TempDir dir;
    CArchiveFileLoader reader;
    reader.Open(dir.Write("known.kva", FromHex(kKnownArchiveHex)));
    const korvane::CArchiveFileEntryHeader* known = reader.GetEntry(0);
    EXPECT_EQ(std::tuple(known->GetName(), known->GetMethod(), known->GetAuxiliary(), reader.GetDataBase()),
              std::tuple("Docs\\Known.TXT", 0x100, 102, 82 + 0x5A));
    EXPECT_EQ(ReadAll(reader.OpenEntry("docs\\known.txt")) + ReadAll(reader.OpenEntry("S.BIN")), kPlain + "stored!");
}

TEST(KnownAnswerArchive, TheToolWritesTheSameBytes)
{
    const Bytes keyBlock = Sequence(0x40, 64) + FromHex("00112233445566778899aabbfffffffe") + Bytes(16, '\0');
    const Bytes entry = kvatool::EncodeEntry(0x100, kPlain, [&keyBlock](std::uint8_t* buffer, std::size_t size) {
        ASSERT_EQ(size, keyBlock.size());
        std::copy(keyBlock.begin(), keyBlock.end(), buffer);
    });
    const std::int32_t size = std::int32_t(entry.size());
    const kvatool::Record knownRecord{"Docs\\Known.TXT", 0, size, 0x100, std::int32_t(kPlain.size()), {}};
    const kvatool::Record stored{"s.bin", size, 7, 0, 7, {}};
    const Bytes counter = FromHex("0102030405060708ffffffffffffffff") + Sequence(0xE0, 16);
    const Bytes table = kvatool::EncodeTable({knownRecord, stored});
    EXPECT_EQ(kvatool::SerializeArchive(counter, Sequence(0, 32), table, entry + "stored!"), FromHex(kKnownArchiveHex));
}

namespace
{

/// A folder of loose files ("root", given without a separator), with hidden ones, read by a folder loader.
class LooseFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name :
             {"Fonts/Main.png", "Fonts/Large/Huge.png", "top.txt", ".hidden-file", ".hidden-folder/secret.txt"})
            dir_.Write("root/" + std::string(name), name);
    }

    korvane::test::TempDir dir_;
    const std::string root_ = dir_.File("root");
    korvane::test::LogCapture log_;
};

using FolderLoader = LooseFolder;
using LoaderChain = LooseFolder;

} // namespace

TEST_F(FolderLoader, ARootWithoutASeparatorJoinsNamesInEitherSeparator)
{
    CFileSystemDataLoader folder(root_);
    EXPECT_EQ(log_.CountContaining("FileSystemDataLoader: root path = " + root_ + "/"), 1u);
    EXPECT_EQ((Names{folder.GetRootPath(), ReadAll(folder.Open("top.txt")), ReadAll(folder.Open("Fonts\\Main.png")),
                     ReadAll(CFileSystemDataLoader(root_ + "/").Open("Fonts/Main.png"))}),
              (Names{root_ + "/", "top.txt", "Fonts/Main.png", "Fonts/Main.png"}));
    EXPECT_EQ(std::pair(folder.Exists("Fonts\\Large"), folder.Exists("Fonts\\Missing.png")), std::pair(true, false));
}

TEST_F(FolderLoader, AFolderExistsButIsNoDataAndFailsToOpenAtOnce)
{
    CFileSystemDataLoader folder(root_);
    // Not at the first read.
    EXPECT_EQ(Caught<korvane::EFileOpenError>([&] { folder.Open("Fonts\\Large"); }).first,
              "Cannot open file: \"" + root_ + "/Fonts\\Large\"");
    std::unique_ptr<korvane::IKorvaneStream> opened(folder.Open("top.txt"));
    EXPECT_NE(dynamic_cast<korvane::CFileStream*>(opened.get()), nullptr);
}

TEST_F(FolderLoader, ListsNamesBelowTheRootInTheFileSystemsCaseAndSkipsHiddenFolders)
{
    CFileSystemDataLoader folder(root_);
    EXPECT_EQ(List(folder, "Fonts", false), Names{"Fonts\\Main.png"});
    EXPECT_EQ(List(folder, "Fonts\\", true), (Names{"Fonts\\Large\\Huge.png", "Fonts\\Main.png"}));
    // Hidden files are listed, hidden folders are not entered.
    EXPECT_EQ(List(folder, "", true), (Names{".hidden-file", "Fonts\\Large\\Huge.png", "Fonts\\Main.png", "top.txt"}));
    EXPECT_EQ(List(folder, "nowhere", true), Names{});
}

TEST_F(FolderLoader, LinkedFoldersAreNotEnteredSoLoopsEndAndLinkedFilesAreListed)
{
    CFileSystemDataLoader folder(root_);
    std::filesystem::create_directory_symlink(root_, root_ + "/Fonts/loop");
    std::filesystem::create_symlink(root_ + "/top.txt", root_ + "/link.txt");
    EXPECT_EQ(List(folder, "", true),
              (Names{".hidden-file", "Fonts\\Large\\Huge.png", "Fonts\\Main.png", "link.txt", "top.txt"}));
}

TEST_F(LoaderChain, WithoutLoadersHoldsNothingAndRefusesToOpen)
{
    CDataLoaderChain noLoaders;
    EXPECT_FALSE(noLoaders.Exists("top.txt"));
    EXPECT_EQ(Caught<korvane::EInvalidParameter>([&] { noLoaders.Open("top.txt"); }),
              Failure("data loader list is empty.", "class CDataLoaderChain"));
}

TEST_F(LoaderChain, FallsBackFromTheArchiveToTheFolder)
{
    const std::string packed = dir_.Write("data.kva", CraftArchive({MakeEntry("fonts\\main.png", 0x101, "packed"),
                                                                    MakeEntry("only.txt", 1, "archive only")}));
    auto fallback = ChainOf({new ArchiveLoader(packed), new CFileSystemDataLoader(root_)});
    EXPECT_EQ((Names{ReadAll(fallback->Open("Fonts\\Main.png")), ReadAll(*fallback->OpenShared("top.txt")),
                     ReadAll(fallback->Open("only.txt"))}),
              (Names{"packed", "top.txt", "archive only"}));
    EXPECT_EQ(
        (std::vector<bool>{fallback->Exists("top.txt"), fallback->Exists("ONLY.TXT"), fallback->Exists("absent.txt")}),
        (std::vector<bool>{true, true, false}));
    EXPECT_EQ(Caught<korvane::EFileOpenError>([&] { fallback->Open("Absent.txt"); }).first,
              "file entry not found: \"Absent.txt\"");
    // Both loaders' listings, duplicates kept.
    EXPECT_EQ(List(*fallback, "Fonts", false), (Names{"fonts\\main.png", "Fonts\\Main.png"}));
}

TEST_F(LoaderChain, AFolderFirstDoesNotHideTheArchivesEntryOfTheSameName)
{
    auto folderFirst =
        ChainOf({new CFileSystemDataLoader(root_),
                 new ArchiveLoader(
                     dir_.Write("folder.kva", CraftArchive({MakeEntry("Fonts", 0, "an entry named like a folder")})))});
    EXPECT_EQ(ReadAll(folderFirst->Open("Fonts")), "an entry named like a folder");
}
