/** @file ArchiveRoundTripTest.cpp Archives packed by the tool or crafted, read back through the data loaders. */
#include <algorithm>
#include <filesystem>
#include <thread>

#include "ArchiveTestSupport.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/StringUtility.h"

using namespace archive_test;
using korvane::EFileOpenError;

namespace
{

class PackedFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // One extension per storage method, and the default method for the rest.
        options_.methodByExtension = {{".png", 0}, {".raw", 0}, {".gz", 1}, {".enc", 0x100}};
        options_.defaultMethod = 0x101;
        options_.random = CountingRandom(3);
        Add("Fonts/Main.png", Pattern("png", 1000), 0);
        Add("Fonts/Large/Big.ENC", Pattern("enc", 70000), 0x100);
        Add("Readme.gz", Pattern("gz", 5000), 1);
        Add("notes.txt", Pattern("txt", 300000), 0x101);
        Add("Deep/er/and/deeper/leaf.raw", Pattern("raw", 17), 0);
        Add("empty/e.raw", "", 0);
        Add("empty/e.gz", "", 1);
        // An enciphered entry with no payload would be its bare key block: empty files are stored.
        Add("empty/e.enc", "", 0);
        Add("empty/e.txt", "", 0x101);
        std::filesystem::create_directories(dir_.File("out"));
        kvatool::PackFolder(dir_.File("src"), dir_.File("out/data.kva"), options_);
        loader_.reset(new ArchiveLoader(dir_.File("out/data.kva")));
        chain_.Add(loader_);
    }

    void Add(const std::string& path, const Bytes& bytes, std::int32_t method)
    {
        dir_.Write("src/" + path, bytes);
        std::string name = korvane::ToLowerString(path);
        std::replace(name.begin(), name.end(), '/', '\\');
        files_[name] = {bytes, method};
    }

    korvane::test::TempDir dir_;
    kvatool::PackOptions options_;
    std::map<std::string, std::pair<Bytes, std::int32_t>> files_;
    boost::shared_ptr<ArchiveLoader> loader_;
    CDataLoaderChain chain_;
};

} // namespace

TEST_F(PackedFolder, EveryFileReadsBackInAnyLetterCaseNotWithSlashesStoredOnesAsWindowsAndListsByFolder)
{
    const CArchiveFileLoader& archive = loader_->GetArchive();
    ASSERT_EQ(archive.GetEntryCount(), std::int32_t(files_.size()));
    // The table is sorted by name and holds lower-case names with backslashes.
    std::int32_t index = 0;
    for (const auto& [name, file] : files_) {
        SCOPED_TRACE(name);
        const korvane::CArchiveFileEntryHeader* entry = archive.GetEntry(index++);
        EXPECT_EQ(std::tuple(entry->GetName(), entry->GetAuxiliary(), entry->GetMethod()),
                  std::tuple(name, std::int32_t(file.first.size()), file.second));
        EXPECT_EQ(ReadAll(chain_.Open(name)), file.first);
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        EXPECT_TRUE(chain_.Exists(upper));
        EXPECT_EQ(ReadAll(chain_.Open(upper)), file.first);
    }

    // Slashes are no folder separators in archive names.
    EXPECT_TRUE(loader_->Exists("FONTS\\main.png"));
    EXPECT_FALSE(loader_->Exists("fonts/main.png"));
    EXPECT_EQ(Caught<EFileOpenError>([&] { loader_->Open("fonts/main.png"); }).first,
              "file entry not found: \"fonts/main.png\"");
    EXPECT_EQ(Caught<EFileOpenError>([&] { chain_.Open("Fonts/Main.png"); }),
              Failure("file entry not found: \"Fonts/Main.png\"", "class CDataLoaderChain"));
    // Stored entries are windows, and every open is a stream of its own.
    std::unique_ptr<korvane::IKorvaneStream> stream(loader_->Open("Deep\\Er\\And\\Deeper\\Leaf.RAW"));
    ASSERT_NE(dynamic_cast<korvane::CFilePartitionStream*>(stream.get()), nullptr);
    // Its bounds: StreamBasics.SeekReadAndCloneAlikeForEveryStream and the contents above.

    std::unique_ptr<korvane::IKorvaneStream> decoded(loader_->Open("notes.txt"));
    ASSERT_NE(dynamic_cast<korvane::CMemoryStream*>(decoded.get()), nullptr);
    EXPECT_EQ(std::pair(decoded->GetSize(), decoded->GetPosition()), std::pair(300000, 0));

    auto first = loader_->OpenShared("fonts\\main.png");
    auto second = loader_->OpenShared("fonts\\main.png");
    ASSERT_NE(first.get(), second.get());
    char byte;
    first->Read(&byte, 1);
    EXPECT_EQ(std::pair(first->GetPosition(), second->GetPosition()), std::pair(1, 0));

    EXPECT_EQ(List(*loader_, "FONTS", false), Names{"fonts\\main.png"});
    EXPECT_EQ(List(*loader_, "fonts\\", false), Names{"fonts\\main.png"});
    EXPECT_EQ(List(*loader_, "fonts", true), (Names{"fonts\\large\\big.enc", "fonts\\main.png"}));
    EXPECT_EQ(List(*loader_, "", false), (Names{"notes.txt", "readme.gz"}));
    Names expected = {"kept"};
    for (const auto& entry : files_)
        expected.push_back(entry.first);
    EXPECT_EQ(List(*loader_, "", true, {"kept"}), expected);
    EXPECT_EQ(List(*loader_, "no\\such\\folder", true), Names{});
}

TEST_F(PackedFolder, EntriesOpenFromSeveralThreadsAtOnce)
{
    const std::vector<std::pair<std::string, std::pair<Bytes, std::int32_t>>> files(files_.begin(), files_.end());
    std::atomic<int> problems{0};
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t round = 0; round < 8; ++round) {
                for (std::size_t k = 0; k < files.size(); ++k) {
                    const auto& [name, file] = files[(k * 5 + t + round) % files.size()];
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

TEST(ArchiveIndex, ListsDepthFirstInTableOrderFindsTheLaterCaseTwinForgetsAReopenedArchiveAndRefusesDeepNesting)
{
    korvane::test::TempDir dir;
    ArchiveLoader loader(
        dir.Write("index.kva", CraftArchive({MakeEntry("a\\b\\c.txt", 0, "c"), MakeEntry("a\\d.txt", 0, "d"),
                                             MakeEntry("x.txt", 0, "x"), MakeEntry("a\\b\\e.txt", 0, "e")})));
    EXPECT_EQ(List(loader, "A", false), Names{"a\\d.txt"});
    EXPECT_EQ(List(loader, "", true), (Names{"a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt", "x.txt"}));
    EXPECT_EQ(List(loader, "a\\", true), (Names{"a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt"}));

    ArchiveLoader empty(dir.Write("empty.kva", CraftArchive({})));
    EXPECT_EQ(empty.GetArchive().GetEntryCount(), 0);
    EXPECT_EQ(Caught<EFileOpenError>([&] { empty.Open("a"); }).first, "file entry not found: \"a\"");
    EXPECT_EQ(List(empty, "", true), Names{});

    // Case twins: the later entry is found.
    CArchiveFileLoader archive;
    archive.Open(dir.Write("twins.kva",
                           CraftArchive({MakeEntry("Same.txt", 0, "first"), MakeEntry("SAME.TXT", 0x101, "second")})));
    EXPECT_EQ(archive.GetEntryCount(), 2);
    EXPECT_EQ(ReadAll(archive.OpenEntry("same.txt")), "second");
    // A reopen forgets the old archive.
    archive.Open(dir.Write("two.kva", CraftArchive({MakeEntry("two", 0x100, "2")})));
    EXPECT_FALSE(archive.Exists("same.txt"));
    EXPECT_EQ(ReadAll(archive.OpenEntry("TWO")), "2");

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
    archive.Open(hostile);
    EXPECT_EQ(ReadAll(archive.OpenEntry(nested(5000))), "deeper");
    EXPECT_EQ(Caught<korvane::EInvalidFileFormat>([&] { ArchiveLoader refused(hostile); }).first,
              "archive folders nest too deeply");
}
