/** @file SaveDataFolderTest.cpp The save folder under a temporary home: found, made, logged, and its
 * preference file kept by a start that failed. */
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

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

// An account without a home folder keeps the path empty and logs nothing: every file then opens by its bare name
// in the working folder, never in a folder that every account shares.
TEST_F(SaveDataFolderTest, WithoutAHomeFolderThePathStaysEmpty)
{
    constexpr uid_t kHomeless = 2000000000;
    if (geteuid() != 0 || getpwuid(kHomeless) != nullptr)
        GTEST_SKIP() << "only an administrator can become an account without a home";
    EXPECT_EXIT(
        {
            unsetenv("HOME");
            unsetenv("XDG_DATA_HOME");
            if (setuid(kHomeless) != 0)
                std::_Exit(2);
            LogCapture log;
            CreateSaveDataFolder();
            std::_Exit(GetSaveDataFolder().empty() && LogCapture::All().empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
