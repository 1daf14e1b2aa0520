/** @file EntryTest.cpp The program entry's start-up and shutdown order. */
#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "frontend/steam/SteamAchievements.h"
#include "frontend/steam/SteamServices.h"
#include "host/Application.h"
#include "host/SaveDataFolder.h"
#include "os/store/Store.h"
#include "support/TempDir.h"

namespace
{

bool gRan = false;

void OpenMissingArchive(os::window::InstanceHandle)
{
    gRan = true;
    korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader> loader("no such folder/data.kva");
}

void ThrowStandard(os::window::InstanceHandle)
{
    gRan = true;
    throw std::runtime_error("standard failure");
}

bool FailToCreate(os::window::InstanceHandle)
{
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
    }
    std::string SaveFolder() const { return dir.File("data/Vumo/VorthenixZambrelliot/"); }
    korvane::test::TempDir dir;
};

// A failing run still shuts everything down; a failed driver creation ends at once, releasing nothing.
TEST_F(EntryTest, AFailingRunStillShutsEverythingDownAndAFailedDriverCreationEndsAtOnce)
{
    for (RunApplicationFunction run : {&OpenMissingArchive, &ThrowStandard}) {
        gRan = false;
        EXPECT_EQ(0, ApplicationMain(nullptr, nullptr, run));
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

} // namespace
