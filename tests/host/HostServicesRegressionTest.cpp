/** @file HostServicesRegressionTest.cpp Faults found on a second reading of the host services, one case each. */
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "HostArchive.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/ISound.h"
#include "host/FrontEndTaskPool.h"
#include "host/ResourceCache.h"
#include "host/ResourceScene.h"
#include "host/SaveDataFolder.h"
#include "host/SoundServices.h"
#include "os/audio/Testing.h"
#include "support/TempDir.h"

namespace
{

std::vector<std::uint16_t> gCalls;
FrontEndTask* gNext = nullptr;

void Record(FrontEndTask* task)
{
    gCalls.push_back(task->Index);
}

/// On its first call from a run: frees the record after it and starts a new one, which takes
/// the freed index again.
void ReplaceNext(FrontEndTask* task)
{
    Record(task);
    if (task->FirstCall == 0 && gNext != nullptr) {
        TaskPoolFree(gNext);
        gNext = nullptr;
        TaskPoolAlloc(Record);
    }
}

// A routine that freed the record the run was about to go on with, and then allocated, got the
// same index back as a new record at the tail: the run jumped there and passed over every
// record in between for that frame.
TEST(HostServicesRegressionTest, FreeingAndReusingTheNextRecordSkipsNoRecordOfTheRun)
{
    TaskPoolInit();
    FrontEndTask* spare = TaskPoolAlloc(Record);
    TaskPoolRunAll(); // the first run after init stops after one routine
    TaskPoolFree(spare);

    FrontEndTask* first = TaskPoolAlloc(ReplaceNext);
    gNext = TaskPoolAlloc(Record);
    TaskPoolAlloc(Record);
    TaskPoolAlloc(Record);
    ASSERT_EQ(0, first->Index);
    gCalls.clear();
    TaskPoolRunAll();
    // 0 runs, frees 1 and gets 1 back (called once inside the allocation, then in the run).
    EXPECT_EQ((std::vector<std::uint16_t>{0, 1, 2, 3, 1}), gCalls);
    EXPECT_EQ(4, TaskPoolCount());

    gCalls.clear();
    TaskPoolRunAll();
    EXPECT_EQ((std::vector<std::uint16_t>{0, 2, 3, 1}), gCalls);
    TaskPoolInit();
}

// A resource scene whose start failed before the preference file was read still saved at its
// finalisation: the defaults it held replaced the user's mappings and volumes.
TEST(HostServicesRegressionTest, AStartThatFailedBeforeLoadingKeepsThePreferenceFile)
{
    korvane::DestroyApplicationDriver();
    korvane::test::TempDir dir;
    const std::string kept = "the user's own preferences";
    dir.Write("preference.dat", kept);
    SetSaveDataFolder(dir.Path());
    CResourceScene* scene = CResourceScene::GetInstance();
    EXPECT_THROW(scene->Initialize(), korvane::EException) << "no driver to start on";
    scene->Finalize();
    EXPECT_EQ(kept, korvane::test::TempDir::Read(dir.File("preference.dat")));
    delete scene;
    SetSaveDataFolder("");
}

// The game thread resumed the music with a volume read outside the music lock, so a volume the
// settings screen set meanwhile could be undone by the older one. Whatever the interleaving,
// the track ends at the last volume set.
TEST(HostServicesRegressionTest, AResumeNeverUndoesAVolumeSetMeanwhile)
{
    os::testing::ResetAudioHooks();
    os::testing::UseManualAudioBackend(true);
    korvane::CDXSound device;
    ASSERT_TRUE(device.Initialize());
    host_test::HostArchive archive;
    archive.Add("rom0_qvr2/bgm.wav", host_test::MakeWave(22050, 200000));
    ASSERT_NO_FATAL_FAILURE(archive.Pack());
    host_testing::SetSoundDevice(&device);
    ResourceSetDataFolder("rom0_qvr2\\");
    MusicPlay(ResourceGet("bgm.wav"), 1);
    boost::shared_ptr<korvane::ISound> music = CurrentMusic();
    ASSERT_TRUE(music);

    for (int round = 0; round < 20; ++round) {
        std::thread game([] {
            for (int i = 0; i < 200; ++i)
                MusicCommand(1);
        });
        for (int i = 0; i < 200; ++i)
            MusicSetVolume(i % 2 == 0 ? -3000 : -500);
        MusicSetVolume(round % 2 == 0 ? -1500 : -2500);
        game.join();
        ASSERT_NEAR(MusicVolume.load(), music->GetVolumeScaled(), 30) << "round " << round;
    }

    MusicRelease();
    MusicSetVolume(0);
    host_testing::SetSoundDevice(nullptr);
    korvane::DestroyApplicationDriver();
    ResourceSetDataFolder("");
    device.Finalize();
    os::testing::ResetAudioHooks();
}

} // namespace
