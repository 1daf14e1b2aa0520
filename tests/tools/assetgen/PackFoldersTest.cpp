/** @file PackFoldersTest.cpp kvatool packing data/ together with generated folders, as the build does. */
#include <gtest/gtest.h>

#include <sstream>

#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

TEST(PackFolders, SeveralFoldersMergeIntoOneArchiveAndANameInTwoIsRefused)
{
    korvane::test::TempDir dir;
    dir.Write("data/text_en.properties", "a=b\r\n");
    dir.Write("gen/se_qvr2/01.wav", "one");
    dir.Write("more/fonts/x.png", "two");
    auto pack = [&](const char* archive, std::ostream& err) {
        std::ostringstream out;
        return kvatool::RunCommand({"pack", dir.File("data"), dir.File("gen"), dir.File("more"), dir.File(archive)},
                                   out, err);
    };
    std::ostringstream err, listing;
    ASSERT_EQ(0, pack("a.kva", err)) << err.str();
    kvatool::ListArchive(dir.File("a.kva"), listing);
    for (const char* name : {"fonts\\x.png", "se_qvr2\\01.wav", "text_en.properties"})
        EXPECT_NE(std::string::npos, listing.str().find(name)) << name;

    dir.Write("more/SE_QVR2/01.WAV", "clash");
    EXPECT_EQ(1, pack("b.kva", err));
    EXPECT_NE(std::string::npos, err.str().find("clash")) << err.str();
}
