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
    // Without XDG_DATA_HOME, under the home's .local/share (under XDG_DATA_HOME, made level by level: the entry's
    // test).
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", dir.File("home").c_str(), 1);
    const std::string expected = dir.File("home/.local/share/Vumo/VorthenixZambrelliot/");
    for (bool exists : {false, true}) {
        LogCapture log;
        CreateSaveDataFolder();
        EXPECT_EQ(std::tuple(expected, true, true, exists ? 0u : 1u, exists ? 1u : 0u),
                  std::tuple(GetSaveDataFolder(), korvane::DirectoryExists(expected),
                             LogCapture::Contains("Save data location = '" + expected + "'"),
                             LogCapture::CountContaining("Creating save data directory..."),
                             LogCapture::CountContaining("Save data directory already exists.")))
            << LogCapture::All();
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
