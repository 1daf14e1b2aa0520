/** @file PackFoldersTest.cpp kvatool packing data/ together with generated folders, as the build does. */
#include <gtest/gtest.h>

#include <sstream>

#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using korvane::test::TempDir;

TEST(PackFolders, SeveralFoldersMergeIntoOneArchiveAndANameInTwoIsRefused)
{
    TempDir dir;
    dir.Write("data/text_en.properties", "a=b\r\n");
    dir.Write("gen/se_qvr2/01.wav", "one");
    dir.Write("more/fonts/x.png", "two");
    std::ostringstream out, err;
    ASSERT_EQ(0, kvatool::RunCommand({"pack", dir.File("data"), dir.File("gen"), dir.File("more"), dir.File("a.kva")},
                                     out, err))
        << err.str();
    std::ostringstream listing;
    kvatool::ListArchive(dir.File("a.kva"), listing);
    EXPECT_NE(std::string::npos, listing.str().find("fonts\\x.png"));
    EXPECT_NE(std::string::npos, listing.str().find("se_qvr2\\01.wav"));
    EXPECT_NE(std::string::npos, listing.str().find("text_en.properties"));

    dir.Write("more/SE_QVR2/01.WAV", "clash");
    std::ostringstream out2, err2;
    EXPECT_EQ(1, kvatool::RunCommand({"pack", dir.File("data"), dir.File("gen"), dir.File("more"), dir.File("b.kva")},
                                     out2, err2));
    EXPECT_NE(std::string::npos, err2.str().find("clash")) << err2.str();
}
