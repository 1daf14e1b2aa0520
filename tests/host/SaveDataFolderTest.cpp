/** @file SaveDataFolderTest.cpp The save folder under a temporary home: found, made, and logged. */
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "KorvaneXDK/core/FilePath.h"
#include "host/SaveDataFolder.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace
{

using korvane::test::LogCapture;

class SaveDataFolderTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        unsetenv("XDG_DATA_HOME");
        if (!home.empty())
            setenv("HOME", home.c_str(), 1);
        SetSaveDataFolder("");
    }
    std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    korvane::test::TempDir dir;
};

TEST_F(SaveDataFolderTest, MissingLevelsAreMadeAndAnExistingFolderIsLeftAlone)
{
    struct Case
    {
        const char* xdg;       ///< XDG_DATA_HOME below the folder, or null for none
        const char* homeShare; ///< where the folder lands without it
    };
    for (const Case& c : {Case{"deep/er/data", nullptr}, Case{nullptr, "home/.local/share/"}}) {
        std::string root;
        if (c.xdg != nullptr) {
            root = dir.File(c.xdg) + "/";
            setenv("XDG_DATA_HOME", dir.File(c.xdg).c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
            setenv("HOME", dir.File("home").c_str(), 1);
            root = dir.File(c.homeShare);
        }
        const std::string expected = root + "Vumo/VorthenixZambrelliot/";
        for (bool exists : {false, true}) {
            LogCapture log;
            CreateSaveDataFolder();
            EXPECT_EQ(expected, GetSaveDataFolder());
            EXPECT_TRUE(korvane::DirectoryExists(expected));
            EXPECT_TRUE(LogCapture::Contains("Save data location = '" + expected + "'")) << LogCapture::All();
            EXPECT_EQ(exists ? 0u : 1u, LogCapture::CountContaining("Creating save data directory..."));
            EXPECT_EQ(exists ? 1u : 0u, LogCapture::CountContaining("Save data directory already exists."));
        }
    }
}

} // namespace
