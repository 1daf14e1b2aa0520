/** @file SaveDataFolderTest.cpp The save folder under a temporary home: found, made, logged, and its
 * preference file kept by a start that failed. */
#include <gtest/gtest.h>

#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "host/ResourceScene.h"
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

TEST_F(SaveDataFolderTest, MissingLevelsAreMadeAnExistingFolderIsLeftAloneAndAFailedStartKeepsThePreferences)
{
    // Under XDG_DATA_HOME when set, else under the home's .local/share.
    for (const bool xdg : {true, false}) {
        if (xdg)
            setenv("XDG_DATA_HOME", dir.File("deep/er/data").c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        setenv("HOME", dir.File("home").c_str(), 1);
        const std::string expected =
            dir.File(xdg ? "deep/er/data/" : "home/.local/share/") + "Vumo/VorthenixZambrelliot/";
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

    // A resource scene whose start failed before the preference file was read once still saved at its
    // finalisation: the defaults it held replaced the user's mappings and volumes.
    korvane::DestroyApplicationDriver();
    dir.Write("preference.dat", "the user's own preferences");
    SetSaveDataFolder(dir.Path());
    CResourceScene* scene = CResourceScene::GetInstance();
    EXPECT_THROW(scene->Initialize(), korvane::EException) << "no driver to start on";
    scene->Finalize();
    EXPECT_EQ("the user's own preferences", korvane::test::TempDir::Read(dir.File("preference.dat")));
    delete scene;
}

} // namespace
