/** @file ArchiveRoundTripTest.cpp Folders packed with the archive tool read back through the data loaders. */
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "ArchiveTestSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/StringUtility.h"

using namespace archive_test;
using korvane::CArchiveFileLoader;
using ArchiveLoader = korvane::TArchiveFileDataLoader<CArchiveFileLoader>;

namespace {

class PackedFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // One extension per storage method, and the default method for the rest.
        options_.methodByExtension = {{".png", 0}, {".raw", 0}, {".gz", 1}, {".enc", 0x100}};
        options_.defaultMethod = 0x101;
        options_.random = CountingRandom(3);
        Add("Fonts/Main.png", Pattern("png", 1000));
        Add("Fonts/Large/Big.ENC", Pattern("enc", 70000));
        Add("Readme.gz", Pattern("gz", 5000));
        Add("notes.txt", Pattern("txt", 300000));
        Add("Deep/er/and/deeper/leaf.raw", Pattern("raw", 17));
        Add("empty/e.raw", "");
        Add("empty/e.gz", "");
        Add("empty/e.enc", "");
        Add("empty/e.txt", "");
        archive_ = dir_.File("out/data.kva");
        std::filesystem::create_directories(dir_.File("out"));
        kvatool::PackFolder(dir_.File("src"), archive_, options_);
    }

    void Add(const std::string& path, const Bytes& bytes)
    {
        dir_.Write("src/" + path, bytes);
        std::string name = korvane::ToLowerString(path);
        std::replace(name.begin(), name.end(), '/', '\\');
        files_[name] = bytes;
    }

    korvane::test::TempDir dir_;
    kvatool::PackOptions options_;
    std::string archive_;
    std::map<std::string, Bytes> files_;
};

std::int32_t MethodOf(const CArchiveFileLoader& archive, const std::string& name)
{
    for (std::int32_t i = 0; i < archive.GetEntryCount(); ++i) {
        if (archive.GetEntry(i)->GetName() == name) {
            return archive.GetEntry(i)->GetMethod();
        }
    }
    return -1;
}

} // namespace

TEST_F(PackedFolder, EveryFileReadsBackThroughTheChainInAnyLetterCase)
{
    auto loader = boost::shared_ptr<ArchiveLoader>(new ArchiveLoader(archive_));
    CDataLoaderChain chain;
    chain.Add(loader);

    const CArchiveFileLoader& archive = loader->GetArchive();
    ASSERT_EQ(archive.GetEntryCount(), std::int32_t(files_.size()));
    // The table is sorted by name and holds lower-case names with backslashes.
    std::int32_t index = 0;
    for (const auto& [name, bytes] : files_) {
        const korvane::CArchiveFileEntryHeader* entry = archive.GetEntry(index++);
        EXPECT_EQ(entry->GetName(), name);
        EXPECT_EQ(entry->GetAuxiliary(), std::int32_t(bytes.size())) << name;

        EXPECT_EQ(ReadAll(chain.Open(name)), bytes) << name;
        std::string upper = name;
        for (char& c : upper) {
            c = char(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_TRUE(chain.Exists(upper)) << upper;
        EXPECT_EQ(ReadAll(chain.Open(upper)), bytes) << upper;
    }

    EXPECT_EQ(MethodOf(archive, "fonts\\main.png"), 0);
    EXPECT_EQ(MethodOf(archive, "readme.gz"), 1);
    EXPECT_EQ(MethodOf(archive, "fonts\\large\\big.enc"), 0x100);
    EXPECT_EQ(MethodOf(archive, "notes.txt"), 0x101);
    EXPECT_EQ(MethodOf(archive, "empty\\e.gz"), 1);
    EXPECT_EQ(MethodOf(archive, "empty\\e.txt"), 0x101);
    // An enciphered entry with no payload would be its bare key block: empty files are stored.
    EXPECT_EQ(MethodOf(archive, "empty\\e.enc"), 0);
}

TEST_F(PackedFolder, StoredEntriesAreWindowsThatNeverReadIntoTheirNeighbours)
{
    ArchiveLoader loader(archive_);
    std::unique_ptr<korvane::IKorvaneStream> stream(loader.Open("Deep\\Er\\And\\Deeper\\Leaf.RAW"));
    ASSERT_NE(dynamic_cast<korvane::CFilePartitionStream*>(stream.get()), nullptr);
    EXPECT_EQ(stream->GetSize(), 17);
    EXPECT_EQ(stream->GetPosition(), 0);
    char buffer[100];
    EXPECT_EQ(stream->Read(buffer, 100), 17);
    EXPECT_EQ(stream->Read(buffer, 100), 0);

    std::unique_ptr<korvane::IKorvaneStream> decoded(loader.Open("notes.txt"));
    ASSERT_NE(dynamic_cast<korvane::CMemoryStream*>(decoded.get()), nullptr);
    EXPECT_EQ(decoded->GetSize(), 300000);
    EXPECT_EQ(decoded->GetPosition(), 0);
}

TEST_F(PackedFolder, OpenSharedGivesIndependentStreams)
{
    ArchiveLoader loader(archive_);
    auto first = loader.OpenShared("fonts\\main.png");
    auto second = loader.OpenShared("fonts\\main.png");
    ASSERT_NE(first.get(), second.get());
    char byte = 0;
    first->Read(&byte, 1);
    EXPECT_EQ(first->GetPosition(), 1);
    EXPECT_EQ(second->GetPosition(), 0);
}

TEST_F(PackedFolder, SlashesAreNotFolderSeparatorsInArchiveNames)
{
    auto loader = boost::shared_ptr<ArchiveLoader>(new ArchiveLoader(archive_));
    EXPECT_TRUE(loader->Exists("FONTS\\main.png"));
    EXPECT_FALSE(loader->Exists("fonts/main.png"));
    EXPECT_EQ(MessageOf<korvane::EFileOpenError>([&] { loader->Open("fonts/main.png"); }),
              "file entry not found: \"fonts/main.png\"");

    CDataLoaderChain chain;
    chain.Add(loader);
    EXPECT_EQ(MessageOf<korvane::EFileOpenError>([&] { chain.Open("Fonts/Main.png"); }),
              "file entry not found: \"Fonts/Main.png\"");
    EXPECT_EQ(WhereOf<korvane::EFileOpenError>([&] { chain.Open("Fonts/Main.png"); }), "class CDataLoaderChain");
}

TEST_F(PackedFolder, EnumerationListsWholeNamesByFolder)
{
    ArchiveLoader loader(archive_);
    std::vector<std::string> a, b, c;
    loader.EnumerateFiles("FONTS", false, a);
    loader.EnumerateFiles("fonts\\", false, b);
    EXPECT_EQ(a, std::vector<std::string>{"fonts\\main.png"});
    EXPECT_EQ(a, b);

    loader.EnumerateFiles("fonts", true, c);
    EXPECT_EQ(c, (std::vector<std::string>{"fonts\\large\\big.enc", "fonts\\main.png"}));

    std::vector<std::string> top, all = {"kept"};
    loader.EnumerateFiles("", false, top);
    EXPECT_EQ(top, (std::vector<std::string>{"notes.txt", "readme.gz"}));
    loader.EnumerateFiles("", true, all);
    std::vector<std::string> expected = {"kept"};
    for (const auto& entry : files_) {
        expected.push_back(entry.first);
    }
    EXPECT_EQ(all, expected);

    std::vector<std::string> none;
    loader.EnumerateFiles("no\\such\\folder", true, none);
    EXPECT_TRUE(none.empty());
}

TEST(ArchiveIndex, ListsDepthFirstInTableOrder)
{
    korvane::test::TempDir dir;
    const std::string path = dir.Write("index.kva", CraftArchive({MakeEntry("a\\b\\c.txt", 0, "c"),
                                                                  MakeEntry("a\\d.txt", 0, "d"),
                                                                  MakeEntry("x.txt", 0, "x"),
                                                                  MakeEntry("a\\b\\e.txt", 0, "e")}));
    ArchiveLoader loader(path);
    std::vector<std::string> shallow, deep, sub;
    loader.EnumerateFiles("A", false, shallow);
    EXPECT_EQ(shallow, std::vector<std::string>{"a\\d.txt"});
    loader.EnumerateFiles("", true, deep);
    EXPECT_EQ(deep, (std::vector<std::string>{"a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt", "x.txt"}));
    loader.EnumerateFiles("a\\", true, sub);
    EXPECT_EQ(sub, (std::vector<std::string>{"a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt"}));
}

TEST(ArchiveIndex, NamesThatDifferOnlyInCaseFindTheLaterEntry)
{
    korvane::test::TempDir dir;
    const std::string path =
        dir.Write("dup.kva", CraftArchive({MakeEntry("Same.txt", 0, "first"), MakeEntry("SAME.TXT", 0x101, "second")}));
    CArchiveFileLoader archive;
    archive.Open(path);
    EXPECT_EQ(archive.GetEntryCount(), 2);
    EXPECT_EQ(ReadAll(archive.OpenEntry("same.txt")), "second");
}

TEST(ArchiveIndex, AnEmptyTableHasNoEntries)
{
    korvane::test::TempDir dir;
    const std::string path = dir.Write("empty.kva", CraftArchive({}));
    ArchiveLoader loader(path);
    EXPECT_EQ(loader.GetArchive().GetEntryCount(), 0);
    EXPECT_EQ(MessageOf<korvane::EFileOpenError>([&] { loader.Open("a"); }), "file entry not found: \"a\"");
    std::vector<std::string> names;
    loader.EnumerateFiles("", true, names);
    EXPECT_TRUE(names.empty());
}

TEST(ArchiveIndex, OpenCanBeRepeatedOnAnotherArchive)
{
    korvane::test::TempDir dir;
    const std::string one = dir.Write("one.kva", CraftArchive({MakeEntry("one", 1, "1")}));
    const std::string two = dir.Write("two.kva", CraftArchive({MakeEntry("two", 0x100, "2")}));
    CArchiveFileLoader archive;
    archive.Open(one);
    archive.Open(two);
    EXPECT_FALSE(archive.Exists("one"));
    EXPECT_EQ(ReadAll(archive.OpenEntry("TWO")), "2");
}

TEST(ArchiveIndex, NamesNestedThousandsOfFoldersDeepAreRefusedByTheIndex)
{
    korvane::test::TempDir dir;
    std::string deep, deeper;
    for (int i = 0; i < 200; ++i) {
        deep += "d\\";
    }
    for (int i = 0; i < 5000; ++i) {
        deeper += "d\\";
    }
    deep += "leaf.txt";
    deeper += "leaf.txt";

    const std::string fine = dir.Write("deep.kva", CraftArchive({MakeEntry(deep, 0, "deep")}));
    ArchiveLoader loader(fine);
    std::vector<std::string> names;
    loader.EnumerateFiles("", true, names);
    EXPECT_EQ(names, std::vector<std::string>{deep});

    // The reader holds such a name; only the folder index, which stores every level's
    // whole path, refuses to grow quadratically.
    const std::string hostile = dir.Write("deeper.kva", CraftArchive({MakeEntry(deeper, 0, "deeper")}));
    CArchiveFileLoader archive;
    archive.Open(hostile);
    EXPECT_EQ(ReadAll(archive.OpenEntry(deeper)), "deeper");
    EXPECT_EQ(MessageOf<korvane::EInvalidFileFormat>([&] { ArchiveLoader refused(hostile); }),
              "archive folders nest too deeply");
}
