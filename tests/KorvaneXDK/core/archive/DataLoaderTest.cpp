/** @file DataLoaderTest.cpp The folder loader and the loader chain, alone and together with an archive. */
#include <filesystem>

#include "ArchiveTestSupport.h"
#include "KorvaneXDK/core/FileStream.h"
#include "support/LogCapture.h"

using namespace archive_test;
using korvane::CFileSystemDataLoader;

TEST(FolderLoader, RootWithoutSeparatorJoinsNamesListingsKeepTheFileSystemsCaseAndChainsFallBackToTheFolder)
{
    korvane::test::TempDir dir;
    const std::string root = dir.File("root");
    for (const char* name :
         {"Fonts/Main.png", "Fonts/Large/Huge.png", "top.txt", ".hidden-file", ".hidden-folder/secret.txt"})
        dir.Write("root/" + std::string(name), name);
    korvane::test::LogCapture log;
    CFileSystemDataLoader folder(root);
    EXPECT_EQ(log.CountContaining("FileSystemDataLoader: root path = " + root + "/"), 1u);
    EXPECT_EQ((Names{folder.GetRootPath(), ReadAll(folder.Open("top.txt")), ReadAll(folder.Open("Fonts\\Main.png")),
                     ReadAll(CFileSystemDataLoader(root + "/").Open("Fonts/Main.png"))}),
              (Names{root + "/", "top.txt", "Fonts/Main.png", "Fonts/Main.png"}));
    EXPECT_EQ(std::pair(folder.Exists("Fonts\\Large"), folder.Exists("Fonts\\Missing.png")), std::pair(true, false));
    // A folder exists but is not data: opening it fails at once, not at the first read.
    EXPECT_EQ(Caught<korvane::EFileOpenError>([&] { folder.Open("Fonts\\Large"); }).first,
              "Cannot open file: \"" + root + "/Fonts\\Large\"");
    std::unique_ptr<korvane::IKorvaneStream> stream(folder.Open("top.txt"));
    EXPECT_NE(dynamic_cast<korvane::CFileStream*>(stream.get()), nullptr);
    // Enumeration gives names below the root in the file system's case.
    EXPECT_EQ(List(folder, "Fonts", false), Names{"Fonts\\Main.png"});
    EXPECT_EQ(List(folder, "Fonts\\", true), (Names{"Fonts\\Large\\Huge.png", "Fonts\\Main.png"}));
    // Hidden files are listed, hidden folders are not entered.
    EXPECT_EQ(List(folder, "", true), (Names{".hidden-file", "Fonts\\Large\\Huge.png", "Fonts\\Main.png", "top.txt"}));
    EXPECT_EQ(List(folder, "nowhere", true), Names{});

    // Linked folders are not entered, so loops end; linked files are listed.
    std::filesystem::create_directory_symlink(root, root + "/Fonts/loop");
    std::filesystem::create_symlink(root + "/top.txt", root + "/link.txt");
    EXPECT_EQ(List(folder, "", true),
              (Names{".hidden-file", "Fonts\\Large\\Huge.png", "Fonts\\Main.png", "link.txt", "top.txt"}));
    // A chain falls back from the archive to the folder.
    CDataLoaderChain empty;
    EXPECT_FALSE(empty.Exists("top.txt"));
    EXPECT_EQ(Caught<korvane::EInvalidParameter>([&] { empty.Open("top.txt"); }),
              Failure("data loader list is empty.", "class CDataLoaderChain"));

    const std::string archive = dir.Write("data.kva", CraftArchive({MakeEntry("fonts\\main.png", 0x101, "packed"),
                                                                    MakeEntry("only.txt", 1, "archive only")}));
    auto chain = ChainOf({new ArchiveLoader(archive), new CFileSystemDataLoader(root)});
    EXPECT_EQ((Names{ReadAll(chain->Open("Fonts\\Main.png")), ReadAll(*chain->OpenShared("top.txt")),
                     ReadAll(chain->Open("only.txt"))}),
              (Names{"packed", "top.txt", "archive only"}));
    EXPECT_EQ((std::vector<bool>{chain->Exists("top.txt"), chain->Exists("ONLY.TXT"), chain->Exists("absent.txt")}),
              (std::vector<bool>{true, true, false}));
    EXPECT_EQ(Caught<korvane::EFileOpenError>([&] { chain->Open("Absent.txt"); }).first,
              "file entry not found: \"Absent.txt\"");
    // Both loaders' listings, duplicates kept.
    EXPECT_EQ(List(*chain, "Fonts", false), (Names{"fonts\\main.png", "Fonts\\Main.png"}));

    // With the folder first, a folder of the same name does not hide the archive's entry.
    auto folderFirst =
        ChainOf({new CFileSystemDataLoader(root),
                 new ArchiveLoader(
                     dir.Write("folder.kva", CraftArchive({MakeEntry("Fonts", 0, "an entry named like a folder")})))});
    EXPECT_EQ(ReadAll(folderFirst->Open("Fonts")), "an entry named like a folder");
}
