/** @file EntryTest.cpp The program entry's start-up and shutdown order. */
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "frontend/steam/SteamAchievements.h"
#include "frontend/steam/SteamLeaderboards.h"
#include "frontend/steam/SteamRemoteStorage.h"
#include "frontend/steam/SteamServices.h"
#include "host/Application.h"
#include "host/SaveDataFolder.h"
#include "os/store/Store.h"
#include "os/system/System.h"
#include "support/TempDir.h"

namespace
{

bool gRan = false;

bool OpenMissingArchive(os::window::InstanceHandle)
{
    gRan = true;
    korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader> loader("no such folder/data.kva");
    return true;
}

bool ThrowStandard(os::window::InstanceHandle)
{
    gRan = true;
    throw std::runtime_error("standard failure");
}

bool FailToCreate(os::window::InstanceHandle)
{
    return false;
}

bool RunToTheEnd(os::window::InstanceHandle)
{
    gRan = true;
    return true;
}

bool FailToStart(os::window::InstanceHandle)
{
    gRan = true;
    return false;
}

class EntryTest : public ::testing::Test
{
protected:
    void SetUp() override { setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1); }
    void TearDown() override
    {
        unsetenv("XDG_DATA_HOME");
        SetSaveDataFolder("");
        // The program ends after its one run and keeps the store clients until then; a test runs
        // it several times, so it lets them go itself.
        delete gSteamAchievements.exchange(nullptr);
        delete gSteamRemoteStorage;
        gSteamRemoteStorage = nullptr;
        delete gSteamLeaderboards;
        gSteamLeaderboards = nullptr;
        os::store::Shutdown();
    }
    std::string SaveFolder() const { return dir.File("data/Vumo/VorthenixZambrelliot/"); }
    korvane::test::TempDir dir;
};

// A failing run still shuts everything down and ends with a failure status; a failed driver creation ends at once,
// releasing nothing.
TEST_F(EntryTest, AFailingRunStillShutsEverythingDownAndAFailedDriverCreationEndsAtOnce)
{
    for (RunApplicationFunction run : {&OpenMissingArchive, &ThrowStandard}) {
        gRan = false;
        EXPECT_EQ(kExitFailure, ApplicationMain(nullptr, nullptr, run));
        // Ran; driver, achievements and store gone; the leaderboards kept until the process ends.
        EXPECT_EQ(std::tuple(true, false, false, false, true),
                  std::tuple(gRan, korvane::GetApplicationDriver() != nullptr, gSteamAchievements.load() != nullptr,
                             os::store::GetApps() != nullptr, gSteamLeaderboards != nullptr));
        EXPECT_EQ(SaveFolder(), GetSaveDataFolder());

        // The log takes this program's own name.
        const std::string log = korvane::test::TempDir::Read(SaveFolder() + "test_host_entry.log");
        EXPECT_NE(std::string::npos, log.find("Exception occurred.")) << log;
        EXPECT_TRUE(log.ends_with("INFO: ---- Application finalized ----\n")) << log;
        EXPECT_EQ(std::string::npos, log.find("Save data location")) << "logged before the log was open";
    }
    gRan = false;
    EXPECT_EQ(-1, ApplicationMain(nullptr, &FailToCreate, &ThrowStandard));
    EXPECT_EQ(std::tuple(false, true, true),
              std::tuple(gRan, gSteamAchievements.load() != nullptr, os::store::GetApps() != nullptr));
    delete gSteamAchievements.exchange(nullptr);
    os::store::Shutdown();
}

// Only a run to the end is a clean end; a driver that could not start (it has said why) is a failure.
TEST_F(EntryTest, OnlyARunToTheEndEndsWithStatusZero)
{
    for (const auto& [run, status] : {std::pair(&RunToTheEnd, 0), std::pair(&FailToStart, kExitFailure)}) {
        gRan = false;
        const int ended = ApplicationMain(nullptr, nullptr, run);
        EXPECT_EQ(std::pair(true, status), std::pair(gRan, ended));
    }
}

// A save folder that cannot hold files is said once with the system's own reason, on stderr when the log cannot be
// written either, and shown to the player in one message box; the run goes on. A log alone that cannot be written
// keeps nothing of the player's from being saved: no box.
TEST_F(EntryTest, AnUnwritableSaveFolderIsSaidOnceWithItsRealReason)
{
    std::vector<std::string> boxes;
    os::testing::SetMessageBoxSink(
        [&](const std::string& caption, const std::string& text) { boxes.push_back(caption + "|" + text); });
    // A file where the data folder should be (fails for root too); a folder where the log should be.
    const std::string blocker = dir.Write("blocker", "a file, not a folder");
    const std::string box = std::string(kApplicationTitle) + "|The game cannot write in its save folder \"" + blocker +
                            "/Vumo/VorthenixZambrelliot/\" (Not a directory).";
    for (const auto& [data, log, said, shown] :
         {std::tuple(blocker, std::string(),
                     "cannot write in the save folder '" + blocker + "/Vumo/VorthenixZambrelliot/' (Not a directory)",
                     box),
          std::tuple(dir.File("data"), std::string("test_host_entry.log/"),
                     "cannot write the log '" + SaveFolder() + "test_host_entry.log' (Is a directory)", std::string()),
          std::tuple(dir.File("data"), std::string(), std::string(), std::string())}) {
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        if (!log.empty())
            std::filesystem::create_directories(SaveFolder() + log);
        gRan = false;
        boxes.clear();
        ::testing::internal::CaptureStderr();
        const int status = ApplicationMain(nullptr, nullptr, &RunToTheEnd);
        const std::string text = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::pair(true, 0), std::pair(gRan, status)) << said;
        EXPECT_EQ(shown.empty() ? 0u : 1u, boxes.size()) << said;
        if (!shown.empty() && !boxes.empty()) {
            EXPECT_EQ(0u, boxes.front().rfind(shown, 0)) << boxes.front();
        }
        if (said.empty()) {
            EXPECT_EQ("", text);
            continue;
        }
        EXPECT_EQ(1u, std::count(text.begin(), text.end(), '\n')) << text;
        EXPECT_NE(std::string::npos, text.find(said)) << text;
        if (!log.empty())
            std::filesystem::remove_all(SaveFolder() + log);
    }
    os::testing::SetMessageBoxSink(nullptr);
}

} // namespace
