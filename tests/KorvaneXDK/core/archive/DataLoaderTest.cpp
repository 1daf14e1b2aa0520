/** @file DataLoaderTest.cpp The folder loader and the loader chain, alone and together with an archive. */
#include <gtest/gtest.h>

#include <filesystem>

#include "ArchiveTestSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/Log.h"

using namespace archive_test;
using korvane::CFileSystemDataLoader;

namespace {

std::vector<std::string> LoggedLines;

void RecordLine(const std::string& line)
{
    LoggedLines.push_back(line);
}

class FolderLoader : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir_.Write("root/Fonts/Main.png", "main");
        dir_.Write("root/Fonts/Large/Huge.png", "huge");
        dir_.Write("root/top.txt", "top");
        dir_.Write("root/.hidden-file", "listed");
        dir_.Write("root/.hidden-folder/secret.txt", "skipped");
        root_ = dir_.File("root");
    }

    korvane::test::TempDir dir_;
    std::string root_;
};

} // namespace

TEST_F(FolderLoader, RootWithoutSeparatorStillJoinsNamesBelowIt)
{
    LoggedLines.clear();
    korvane::LoggerSetHook(&RecordLine);
    CFileSystemDataLoader loader(root_);
    korvane::LoggerSetHook(nullptr);
    EXPECT_EQ(loader.GetRootPath(), root_ + "/");
    ASSERT_FALSE(LoggedLines.empty());
    EXPECT_NE(LoggedLines.back().find("FileSystemDataLoader: root path = " + root_ + "/"), std::string::npos);

    EXPECT_EQ(ReadAll(loader.Open("top.txt")), "top");
    EXPECT_EQ(ReadAll(loader.Open("Fonts\\Main.png")), "main");
    EXPECT_EQ(ReadAll(CFileSystemDataLoader(root_ + "/").Open("Fonts/Main.png")), "main");
    EXPECT_TRUE(loader.Exists("Fonts\\Large"));
    EXPECT_FALSE(loader.Exists("Fonts\\Missing.png"));
    EXPECT_THROW(loader.Open("Fonts\\Missing.png"), korvane::EFileOpenError);
    // A folder exists but is not data: opening it fails at once, not at the first read.
    EXPECT_EQ(MessageOf<korvane::EFileOpenError>([&] { loader.Open("Fonts\\Large"); }),
              "Cannot open file: \"" + root_ + "/Fonts\\Large\"");
    std::unique_ptr<korvane::IKorvaneStream> stream(loader.Open("top.txt"));
    EXPECT_NE(dynamic_cast<korvane::CFileStream*>(stream.get()), nullptr);
}

TEST_F(FolderLoader, EnumerationGivesNamesBelowTheRootInTheFileSystemsCase)
{
    CFileSystemDataLoader loader(root_ + "/");
    std::vector<std::string> fonts, fontsDeep, all;
    loader.EnumerateFiles("Fonts", false, fonts);
    EXPECT_EQ(fonts, std::vector<std::string>{"Fonts\\Main.png"});
    loader.EnumerateFiles("Fonts\\", true, fontsDeep);
    EXPECT_EQ(fontsDeep, (std::vector<std::string>{"Fonts\\Large\\Huge.png", "Fonts\\Main.png"}));
    loader.EnumerateFiles("", true, all);
    // Hidden files are listed, hidden folders are not entered.
    EXPECT_EQ(all, (std::vector<std::string>{".hidden-file", "Fonts\\Large\\Huge.png", "Fonts\\Main.png", "top.txt"}));

    std::vector<std::string> none;
    loader.EnumerateFiles("nowhere", true, none);
    EXPECT_TRUE(none.empty());
}

TEST_F(FolderLoader, LinkedFoldersAreNotEnteredSoLoopsEnd)
{
    std::filesystem::create_directory_symlink(root_, root_ + "/Fonts/loop");
    std::filesystem::create_symlink(root_ + "/top.txt", root_ + "/link.txt");
    CFileSystemDataLoader loader(root_);
    std::vector<std::string> all;
    loader.EnumerateFiles("", true, all);
    EXPECT_EQ(all, (std::vector<std::string>{".hidden-file", "Fonts\\Large\\Huge.png", "Fonts\\Main.png", "link.txt",
                                             "top.txt"}));
}

TEST_F(FolderLoader, ChainFallsBackFromTheArchiveToTheFolder)
{
    const std::string archive = dir_.Write("data.kva", CraftArchive({MakeEntry("fonts\\main.png", 0x101, "packed"),
                                                                     MakeEntry("only.txt", 1, "archive only")}));
    CDataLoaderChain chain;
    EXPECT_FALSE(chain.Exists("top.txt"));
    EXPECT_EQ(MessageOf<korvane::EInvalidParameter>([&] { chain.Open("top.txt"); }), "data loader list is empty.");
    EXPECT_EQ(WhereOf<korvane::EInvalidParameter>([&] { chain.Open("top.txt"); }), "class CDataLoaderChain");

    chain.Add(boost::shared_ptr<korvane::IDataLoader>(
        new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(archive)));
    chain.Add(boost::shared_ptr<korvane::IDataLoader>(new CFileSystemDataLoader(root_)));

    EXPECT_EQ(ReadAll(chain.Open("Fonts\\Main.png")), "packed");
    const boost::shared_ptr<korvane::IKorvaneStream> shared = chain.OpenShared("top.txt");
    EXPECT_EQ(ReadAll(*shared), "top");
    EXPECT_EQ(ReadAll(chain.Open("only.txt")), "archive only");
    EXPECT_TRUE(chain.Exists("top.txt"));
    EXPECT_TRUE(chain.Exists("ONLY.TXT"));
    EXPECT_FALSE(chain.Exists("absent.txt"));
    EXPECT_EQ(MessageOf<korvane::EFileOpenError>([&] { chain.Open("Absent.txt"); }),
              "file entry not found: \"Absent.txt\"");

    std::vector<std::string> fonts;
    chain.EnumerateFiles("Fonts", false, fonts);
    // Both loaders' listings, duplicates kept.
    EXPECT_EQ(fonts, (std::vector<std::string>{"fonts\\main.png", "Fonts\\Main.png"}));

    // With the folder first, a folder of the same name does not hide the archive's entry.
    CDataLoaderChain folderFirst;
    folderFirst.Add(boost::shared_ptr<korvane::IDataLoader>(new CFileSystemDataLoader(root_)));
    folderFirst.Add(boost::shared_ptr<korvane::IDataLoader>(new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(
        dir_.Write("folder.kva", CraftArchive({MakeEntry("Fonts", 0, "an entry named like a folder")})))));
    EXPECT_EQ(ReadAll(folderFirst.Open("Fonts")), "an entry named like a folder");
}
