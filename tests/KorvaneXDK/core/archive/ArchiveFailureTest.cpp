/** @file ArchiveFailureTest.cpp Damaged and hostile archives fail with the reader's exact messages and never crash. */
#include <gtest/gtest.h>

#include <cryptopp/cryptlib.h>

#include "ArchiveTestSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"

using namespace archive_test;
using korvane::CArchiveFileLoader;
using korvane::EFileOpenError;
using korvane::EInvalidFileFormat;

namespace {

constexpr char kHeaderError[] = "file header error";
constexpr char kTableError[] = "invalid archive file entry header";
constexpr char kCrcError[] = "file entry CRC error. data may be incorrect.";
constexpr char kRangeError[] = "file entry out of range";
constexpr char kShortError[] = "enciphered entry is shorter than its key block";

// Header offsets of the archive file.
constexpr std::size_t kLengthAt = 14;
constexpr std::size_t kCounterAt = 18;
constexpr std::size_t kSeedAt = 50;
constexpr std::size_t kTableAt = 82;

class ArchiveFailure : public ::testing::Test
{
protected:
    std::string Write(const Bytes& image) { return dir_.Write("test.kva", image); }

    /// The message of the EInvalidFileFormat that opening the image throws.
    std::string OpenFailure(const Bytes& image)
    {
        const std::string path = Write(image);
        return MessageOf<EInvalidFileFormat>([&] { archive_.Open(path); });
    }

    /// The message of the EInvalidFileFormat that opening entry `name` throws.
    std::string EntryFailure(const std::string& name)
    {
        return MessageOf<EInvalidFileFormat>([&] { ReadAll(archive_.OpenEntry(name)); });
    }

    korvane::test::TempDir dir_;
    CArchiveFileLoader archive_;
};

Bytes GoodArchive()
{
    return CraftArchive({MakeEntry("a.txt", 0x101, "alpha"), MakeEntry("b.txt", 0, "bravo")});
}

kvatool::Record RecordOf(const std::string& name, std::int32_t offset, std::int32_t size, std::int32_t method)
{
    kvatool::Record record;
    record.name = name;
    record.offset = offset;
    record.size = size;
    record.method = method;
    return record;
}

} // namespace

TEST_F(ArchiveFailure, MissingFileIsTheStreamsOpenError)
{
    const std::string path = dir_.File("absent.kva");
    EXPECT_EQ(MessageOf<EFileOpenError>([&] { archive_.Open(path); }), "Cannot open file: \"" + path + "\"");
    EXPECT_EQ(WhereOf<EFileOpenError>([&] { archive_.Open(path); }), "class korvane::CFileStream");
}

TEST_F(ArchiveFailure, WrongMagicIsTheHeaderError)
{
    Bytes image = GoodArchive();
    image[0] = 'k';
    EXPECT_EQ(OpenFailure(image), kHeaderError);
    EXPECT_EQ(WhereOf<EInvalidFileFormat>([&] { archive_.Open(dir_.File("test.kva")); }),
              "class korvane::CArchiveFileLoader");
    EXPECT_EQ(OpenFailure("KorvaneArc"), kHeaderError);
    Bytes zero = GoodArchive();
    zero[13] = '\0';
    EXPECT_EQ(OpenFailure(zero), kHeaderError);
}

TEST_F(ArchiveFailure, WrongKeyMaterialIsTheTableError)
{
    Bytes seed = GoodArchive();
    seed[kSeedAt + 31] ^= 1;
    EXPECT_EQ(OpenFailure(seed), kTableError);
    EXPECT_EQ(WhereOf<EInvalidFileFormat>([&] { archive_.Open(dir_.File("test.kva")); }),
              "class korvane::CArchiveFileEntries");

    Bytes counter = GoodArchive();
    counter[kCounterAt] ^= 0x80;
    EXPECT_EQ(OpenFailure(counter), kTableError);

    // Only the first half of the counter block is used.
    Bytes unused = GoodArchive();
    unused[kCounterAt + 20] ^= 0xFF;
    archive_.Open(Write(unused));
    EXPECT_EQ(ReadAll(archive_.OpenEntry("a.txt")), "alpha");
}

TEST_F(ArchiveFailure, TableLengthsOutsideTheFileAreTheTableError)
{
    const Bytes good = GoodArchive();
    for (std::uint32_t length : {0u, 5u, 0xFFFFFFF0u, 0x7FFFFFFFu, std::uint32_t(good.size() - kTableAt + 1)}) {
        Bytes image = good;
        PutUInt32(image, kLengthAt, length);
        EXPECT_EQ(OpenFailure(image), kTableError) << length;
    }
    EXPECT_EQ(OpenFailure(good.substr(0, 60)), kTableError);
}

TEST_F(ArchiveFailure, CountsAndNameLengthsTheTableCannotHoldAreTheTableError)
{
    const Bytes table = kvatool::EncodeTable({RecordOf("a", 0, 1, 0)});
    for (std::uint32_t count : {0x7FFFFFFFu, 2u, 100000u}) {
        Bytes hostile = table;
        PutUInt32(hostile, 19, count);
        EXPECT_EQ(OpenFailure(CraftRaw(hostile, "x")), kTableError) << count;
    }
    for (std::uint32_t nameLength : {0xFFFFFFFFu, 0x7FFFFFFFu, 2u + 16u + 4u}) {
        Bytes hostile = table;
        PutUInt32(hostile, 23, nameLength);
        EXPECT_EQ(OpenFailure(CraftRaw(hostile, "x")), kTableError) << nameLength;
        // A damaged table, not a damaged record.
        EXPECT_EQ(WhereOf<EInvalidFileFormat>([&] { archive_.Open(dir_.File("test.kva")); }),
                  "class korvane::CArchiveFileEntries");
    }
    // A record cut short at the end of the table.
    EXPECT_EQ(OpenFailure(CraftRaw(table.substr(0, table.size() - 1), "x")), kTableError);
    // A negative count means no entries.
    Bytes negative = table;
    PutUInt32(negative, 19, 0x80000000u);
    archive_.Open(Write(CraftRaw(negative, "x")));
    EXPECT_EQ(archive_.GetEntryCount(), 0);
}

TEST_F(ArchiveFailure, AChangedRecordFailsItsCrc)
{
    const kvatool::Record original = RecordOf("name.bin", 0, 4, 0);
    const std::uint32_t crc = kvatool::RecordCrc(original);
    auto withCrc = [&](kvatool::Record record) {
        record.crc = crc;
        return CraftRaw(kvatool::EncodeTable({record}), "data");
    };
    kvatool::Record renamed = original;
    renamed.name = "name.bim";
    EXPECT_EQ(OpenFailure(withCrc(renamed)), kCrcError);
    EXPECT_EQ(WhereOf<EInvalidFileFormat>([&] { archive_.Open(dir_.File("test.kva")); }),
              "class korvane::CArchiveFileEntryHeader");
    for (int field = 0; field < 4; ++field) {
        kvatool::Record changed = original;
        (field == 0 ? changed.offset : field == 1 ? changed.size : field == 2 ? changed.method : changed.auxiliary) ^= 0x100;
        EXPECT_EQ(OpenFailure(withCrc(changed)), kCrcError) << field;
    }
    // The CRC guards the record, not the data.
    archive_.Open(Write(CraftRaw(kvatool::EncodeTable({original}), "DATA")));
    EXPECT_EQ(ReadAll(archive_.OpenEntry("name.bin")), "DATA");
}

TEST_F(ArchiveFailure, AFailedOpenLeavesTheLoaderEmpty)
{
    archive_.Open(Write(GoodArchive()));
    ASSERT_TRUE(archive_.Exists("a.txt"));
    Bytes bad = GoodArchive();
    bad[kSeedAt] ^= 1;
    EXPECT_EQ(OpenFailure(bad), kTableError);
    EXPECT_EQ(archive_.GetEntryCount(), 0);
    EXPECT_FALSE(archive_.Exists("a.txt"));
    EXPECT_EQ(MessageOf<EFileOpenError>([&] { archive_.OpenEntry("a.txt"); }), "file entry not found: \"a.txt\"");
}

TEST_F(ArchiveFailure, UnknownMethodFailsOnlyWhenOpened)
{
    CraftedEntry odd = MakeEntry("odd.bin", 0, "odd");
    odd.record.method = 2;
    archive_.Open(Write(CraftArchive({odd, MakeEntry("fine.bin", 1, "fine")})));
    EXPECT_EQ(MessageOf<korvane::ENotImplemented>([&] { archive_.OpenEntry("ODD.bin"); }), "not implemented format");
    EXPECT_EQ(ReadAll(archive_.OpenEntry("fine.bin")), "fine");
}

TEST_F(ArchiveFailure, EntriesOutsideTheFileFailAloneWhenOpened)
{
    auto entry = [](const std::string& name, std::int32_t method, std::int32_t offset, std::int32_t size) {
        CraftedEntry crafted = MakeEntry(name, method, "");
        crafted.record.offset = offset;
        crafted.record.size = size;
        return crafted;
    };
    std::vector<CraftedEntry> entries = {MakeEntry("good.bin", 0, "0123456789"), entry("far", 0, 1000000, 4),
                                         entry("long", 0x100, 0, 0x7FFFFFFF), entry("negsize", 1, 0, -2),
                                         entry("negoff", 0x101, -5, 100)};
    std::int32_t dataSize = 0;
    for (const CraftedEntry& crafted : entries) {
        dataSize += std::int32_t(crafted.stored.size());
    }
    // One byte past the end of the file.
    entries.push_back(entry("edge", 0, dataSize - 5, 6));
    const Bytes image = CraftArchive(entries);
    archive_.Open(Write(image));
    for (const char* name : {"far", "long", "negsize", "negoff", "edge"}) {
        EXPECT_EQ(EntryFailure(name), kRangeError) << name;
    }
    EXPECT_EQ(ReadAll(archive_.OpenEntry("good.bin")), "0123456789");
}

TEST_F(ArchiveFailure, EncipheredEntriesNeedTheirKeyBlock)
{
    CraftedEntry shortPlain = MakeEntry("short.enc", 0x100, Pattern("s", 200));
    shortPlain.stored.resize(50);
    CraftedEntry shortPacked = MakeEntry("short.gz", 0x101, Pattern("s", 200));
    shortPacked.stored.resize(95);
    CraftedEntry bare = MakeEntry("bare.enc", 0x100, "");
    ASSERT_EQ(bare.stored.size(), 96u);
    archive_.Open(Write(CraftArchive({shortPlain, shortPacked, bare})));
    EXPECT_EQ(EntryFailure("short.enc"), kShortError);
    EXPECT_EQ(EntryFailure("short.gz"), kShortError);
    std::unique_ptr<korvane::IKorvaneStream> empty(archive_.OpenEntry("bare.enc"));
    EXPECT_EQ(empty->GetSize(), 0);
}

TEST_F(ArchiveFailure, DamagedGzipDataThrowsTheDecompressorsError)
{
    CraftedEntry damaged = MakeEntry("damaged.gz", 1, Pattern("d", 4000));
    damaged.stored[damaged.stored.size() - 6] ^= 0x55; // inside the CRC-32 of the trailer
    CraftedEntry broken = MakeEntry("broken.gz", 0x101, Pattern("b", 4000));
    broken.stored[96 + 1] ^= 0x55; // the second gzip id byte, once deciphered
    CraftedEntry nothing = MakeEntry("nothing.gz", 1, "");
    nothing.stored.clear();
    CraftedEntry cut = MakeEntry("cut.gz", 1, Pattern("c", 4000));
    cut.stored.resize(cut.stored.size() / 2);
    archive_.Open(Write(CraftArchive({damaged, broken, nothing, cut})));
    for (const char* name : {"damaged.gz", "broken.gz", "nothing.gz", "cut.gz"}) {
        EXPECT_THROW(archive_.OpenEntry(name), CryptoPP::Exception) << name;
    }
}

TEST_F(ArchiveFailure, DataAfterTheGzipMemberIsRefused)
{
    CraftedEntry trailing = MakeEntry("trailing.gz", 1, "payload");
    trailing.stored += "junk";
    CraftedEntry twoMembers = MakeEntry("two.gz", 1, "first");
    twoMembers.stored += kvatool::GzipCompress("second");
    archive_.Open(Write(CraftArchive({trailing, twoMembers})));
    EXPECT_EQ(EntryFailure("trailing.gz"), "compressed entry has data after its end");
    EXPECT_EQ(EntryFailure("two.gz"), "compressed entry has data after its end");
}

TEST_F(ArchiveFailure, DecompressionStopsAtTheSizeLimit)
{
    const Bytes zeros(2 * 1024 * 1024, '\0');
    CraftedEntry bomb = MakeEntry("bomb.gz", 1, zeros);
    ASSERT_LT(bomb.stored.size(), 10000u);
    CraftedEntry cipherBomb = MakeEntry("bomb.enc", 0x101, zeros);
    // A lying size hint must not make the reader reserve the whole limit up front either.
    bomb.record.auxiliary = 0x7FFFFFFF;
    CraftedEntry fits = MakeEntry("fits.gz", 1, Bytes(1024 * 1024, 'z'));
    archive_.Open(Write(CraftArchive({bomb, cipherBomb, fits})));
    archive_.SetDecodedSizeLimit(1024 * 1024);
    EXPECT_EQ(EntryFailure("bomb.gz"), "decompressed entry exceeds the size limit");
    EXPECT_EQ(EntryFailure("bomb.enc"), "decompressed entry exceeds the size limit");
    EXPECT_EQ(ReadAll(archive_.OpenEntry("fits.gz")), Bytes(1024 * 1024, 'z'));

    archive_.SetDecodedSizeLimit(std::int64_t(1) << 40);
    EXPECT_EQ(archive_.GetDecodedSizeLimit(), korvane::archive::kMaxDecodedEntrySize);
    EXPECT_EQ(ReadAll(archive_.OpenEntry("bomb.gz")), zeros);
}

TEST_F(ArchiveFailure, EntryIndexOutOfRangeIsAnInvalidParameter)
{
    archive_.Open(Write(GoodArchive()));
    EXPECT_EQ(archive_.GetEntry(1)->GetName(), "b.txt");
    EXPECT_THROW(archive_.GetEntry(2), korvane::EInvalidParameter);
    EXPECT_THROW(archive_.GetEntry(-1), korvane::EInvalidParameter);
}

TEST_F(ArchiveFailure, ADamagedEntryInTheChainIsNotPassedOnToTheNextLoader)
{
    CraftedEntry damaged = MakeEntry("shared.txt", 1, "archive copy");
    damaged.stored[damaged.stored.size() - 6] ^= 0x55;
    const std::string path = Write(CraftArchive({damaged}));
    dir_.Write("loose/shared.txt", "loose copy");
    dir_.Write("loose/only-loose.txt", "loose only");

    CDataLoaderChain chain;
    chain.Add(boost::shared_ptr<korvane::IDataLoader>(
        new korvane::TArchiveFileDataLoader<CArchiveFileLoader>(path)));
    chain.Add(boost::shared_ptr<korvane::IDataLoader>(new korvane::CFileSystemDataLoader(dir_.File("loose"))));
    EXPECT_THROW(chain.Open("shared.txt"), CryptoPP::Exception);
    EXPECT_EQ(ReadAll(chain.Open("only-loose.txt")), "loose only");
}

TEST_F(ArchiveFailure, TheArchiveLoaderIsNotMadeFromABadArchive)
{
    Bytes bad = GoodArchive();
    bad[1] = 'X';
    const std::string path = Write(bad);
    EXPECT_EQ(MessageOf<EInvalidFileFormat>([&] { korvane::TArchiveFileDataLoader<CArchiveFileLoader> loader(path); }),
              kHeaderError);
}
