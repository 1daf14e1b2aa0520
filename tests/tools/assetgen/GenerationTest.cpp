/** @file GenerationTest.cpp A second run of the generator writes the same bytes as the build's run. */
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace
{

std::map<std::string, std::string> FilesBelow(const std::string& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).generic_string()] =
                korvane::test::TempDir::Read(entry.path().string());
    return files;
}

} // namespace

TEST(Generation, ASecondGenerationIsByteIdenticalAndItsPngsCarryNoTimeChunk)
{
    korvane::test::TempDir dir;
    const std::string command = "'" KORVANE_BINARY_DIR "/bin/assetgen' '" + dir.File("again") + "' >/dev/null";
    ASSERT_EQ(0, std::system(command.c_str()));
    const auto first = FilesBelow(KORVANE_BINARY_DIR "/generated/assets");
    const auto second = FilesBelow(dir.File("again"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        EXPECT_TRUE(second.contains(name) && second.at(name) == bytes) << name << " differs";
        EXPECT_FALSE(name.ends_with(".png") && bytes.find("tIME") != std::string::npos) << name;
    }
}
