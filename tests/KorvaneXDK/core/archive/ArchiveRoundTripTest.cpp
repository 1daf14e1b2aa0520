/** @file ArchiveRoundTripTest.cpp Archives packed by the tool or crafted, read back through the data loaders. */
#include <algorithm>
#include <filesystem>
#include <thread>

#include "ArchiveTestSupport.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/StringUtility.h"

using namespace archive_test;
using korvane::EFileOpenError;

// One extension per storage method and the default method for the rest, packed by the tool,
// read back in any letter case, as windows or decoded streams, by folder and from several threads.
TEST(PackedFolder, EveryFileReadsBackInAnyLetterCaseNotWithSlashesStoredOnesAsWindowsListsByFolderAndOpensFromThreads)
{
    korvane::test::TempDir dir;
    kvatool::PackOptions options;
    options.methodByExtension = {{".png", 0}, {".raw", 0}, {".gz", 1}, {".enc", 0x100}};
    options.defaultMethod = 0x101;
    options.random = CountingRandom(3);
    std::map<std::string, std::pair<Bytes, std::int32_t>> files;
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
        dir.Write("src/" + path, bytes);
        std::string name = korvane::ToLowerString(path);
        std::replace(name.begin(), name.end(), '/', '\\');
        files[name] = {bytes, method};
    }
    std::filesystem::create_directories(dir.File("out"));
    kvatool::PackFolder(dir.File("src"), dir.File("out/data.kva"), options);
    boost::shared_ptr<ArchiveLoader> loader(new ArchiveLoader(dir.File("out/data.kva")));
    CDataLoaderChain chain;
    chain.Add(loader);
    const CArchiveFileLoader& archive = loader->GetArchive();
    // The table is sorted by name and holds lower-case names with backslashes.
    std::int32_t index = 0;
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        const korvane::CArchiveFileEntryHeader* entry = archive.GetEntry(index++);
        EXPECT_EQ(std::tuple(entry->GetName(), entry->GetAuxiliary(), entry->GetMethod()),
                  std::tuple(name, std::int32_t(file.first.size()), file.second));
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        EXPECT_TRUE(chain.Exists(upper));
        EXPECT_EQ(ReadAll(chain.Open(upper)), file.first);
    }

    // Slashes are no folder separators in archive names.
    EXPECT_FALSE(loader->Exists("fonts/main.png"));
    EXPECT_EQ(Caught<EFileOpenError>([&] { chain.Open("Fonts/Main.png"); }),
              Failure("file entry not found: \"Fonts/Main.png\"", "class CDataLoaderChain"));
    // Stored entries are windows, and every open is a stream of its own.
    std::unique_ptr<korvane::IKorvaneStream> stream(loader->Open("Deep\\Er\\And\\Deeper\\Leaf.RAW"));
    ASSERT_NE(dynamic_cast<korvane::CFilePartitionStream*>(stream.get()), nullptr);
    // Its bounds: the streams scenario in the streams tests, and the contents above.

    std::unique_ptr<korvane::IKorvaneStream> decoded(loader->Open("notes.txt"));
    ASSERT_NE(dynamic_cast<korvane::CMemoryStream*>(decoded.get()), nullptr);
    EXPECT_EQ(std::pair(decoded->GetSize(), decoded->GetPosition()), std::pair(300000, 0));

    auto first = loader->OpenShared("fonts\\main.png");
    auto second = loader->OpenShared("fonts\\main.png");
    ASSERT_NE(first.get(), second.get());
    char byte;
    first->Read(&byte, 1);
    EXPECT_EQ(std::pair(first->GetPosition(), second->GetPosition()), std::pair(1, 0));

    // Letter case and a trailing separator in the folder: ArchiveIndex's scenario.
    EXPECT_EQ(List(*loader, "fonts", true), (Names{"fonts\\large\\big.enc", "fonts\\main.png"}));
    EXPECT_EQ(List(*loader, "", false), (Names{"notes.txt", "readme.gz"}));

    // Entries open from several threads at once.
    const std::vector<std::pair<std::string, std::pair<Bytes, std::int32_t>>> all(files.begin(), files.end());
    std::atomic<int> problems{0};
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t round = 0; round < 8; ++round) {
                for (std::size_t k = 0; k < all.size(); ++k) {
                    const auto& [name, file] = all[(k * 5 + t + round) % all.size()];
                    try {
                        problems += ReadAll(chain.Open(name)) != file.first || !chain.Exists(name);
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
    // Names already in the list are kept.
    EXPECT_EQ(List(loader, "", true, {"kept"}), (Names{"kept", "a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt", "x.txt"}));
    EXPECT_EQ(List(loader, "a\\", true), (Names{"a\\b\\c.txt", "a\\b\\e.txt", "a\\d.txt"}));
    EXPECT_EQ(List(loader, "no\\such\\folder", true), Names{});

    ArchiveLoader empty(dir.Write("empty.kva", CraftArchive({})));
    EXPECT_EQ(List(empty, "", true), Names{}); // opening in an empty table: ArchiveFailure's scenario

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
