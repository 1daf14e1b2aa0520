/** @file SoundServicesTest.cpp The effect bank and the music over a packed archive and the manual audio backend. */

#include <gmock/gmock.h>

#include "HostArchive.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/ISound.h"
#include "host/ResourceCache.h"
#include "host/SoundServices.h"
#include "os/audio/Testing.h"
#include "support/LogCapture.h"

namespace
{

std::string EffectName(int n)
{
    char name[32];
    std::snprintf(name, sizeof(name), "se_qvr2/%02x.wav", n);
    return name;
}

/// Yields until the condition holds or ten seconds pass.
bool Eventually(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::yield();
    return done();
}

class SoundServicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_TRUE(device.Initialize());
    }
    void TearDown() override
    {
        SoundReleaseAll();
        SoundSetEffectVolume(0);
        MusicSetVolume(0);
        host_testing::SetSoundDevice(nullptr);
        korvane::DestroyApplicationDriver();
        ResourceSetDataFolder("");
        device.Finalize();
        os::testing::ResetAudioHooks();
    }
    /// Effects 1 to 34, each at the rate 8000 + n so that an entry tells its file; `skip` left out.
    void Pack(int skip = 0)
    {
        for (int n = 1; n <= 34; ++n)
            if (n != skip)
                archive.Add(EffectName(n), host_test::MakeWave(8000 + static_cast<std::uint32_t>(n), 64));
        archive.Add("rom0_qvr2/bgm.wav", host_test::MakeWave(22050, 200000));
        ASSERT_NO_FATAL_FAILURE(archive.Pack());
        host_testing::SetSoundDevice(&device);
        ResourceSetDataFolder("rom0_qvr2\\");
    }
    /// Starts the test music and returns it.
    boost::shared_ptr<korvane::ISound> PlayMusic()
    {
        MusicPlay(ResourceGet("bgm.wav"), 1);
        boost::shared_ptr<korvane::ISound> music = CurrentMusic();
        EXPECT_TRUE(music && music->IsPlaying());
        return music;
    }

    korvane::CDXSound device;
    host_test::HostArchive archive;
};

// A missing effect leaves the bank unloaded, so that a later load tries again; a loaded bank holds
// effects 1 to 34 by their hex names, and a second load only stops the music.
TEST_F(SoundServicesTest, TheBankHoldsEffects1To34ByHexNameAndLoadsOnceAndTheMusicFadesReleasesAndResumes)
{
    ASSERT_NO_FATAL_FAILURE(Pack(16));
    EXPECT_THROW(SoundLoadEffectBank(), korvane::EException);
    EXPECT_EQ(16u, SoundGetEffectCount()) << "entry 0 and effects 1 to 15";
    archive.Add(EffectName(16), host_test::MakeWave(8016, 64));
    korvane::DestroyApplicationDriver();
    ASSERT_NO_FATAL_FAILURE(archive.Pack());
    SoundSetEffectVolume(-2500); // before loading: the effects take it when they load
    SoundLoadEffectBank();
    ASSERT_EQ(35u, SoundGetEffectCount());
    EXPECT_FALSE(SoundGetEffect(0));
    for (std::size_t n = 1; n <= 34; ++n) {
        ASSERT_TRUE(SoundGetEffect(n)) << "entry " << n;
        ASSERT_EQ(8000 + n, SoundGetEffect(n)->GetFormat()->samplesPerSec) << "entry " << n;
    }
    EXPECT_NEAR(-2500, SoundGetEffect(34)->GetVolumeScaled(), 3);

    SoundPlayEffect(0); // no sound there: nothing happens
    SoundPlayEffect(34);
    EXPECT_TRUE(SoundGetEffect(34)->IsPlaying());
    for (std::int32_t bad : {35, -1, 1000})
        EXPECT_THAT([bad] { SoundPlayEffect(bad); },
                    ::testing::ThrowsMessage<std::out_of_range>(::testing::StrEq("invalid vector<T> subscript")))
            << bad;
    SoundSetEffectVolume(-700);
    EXPECT_NEAR(-700, SoundGetEffect(1)->GetVolumeScaled(), 3);

    boost::shared_ptr<korvane::ISound> first = SoundGetEffect(1);
    boost::shared_ptr<korvane::ISound> music = PlayMusic();
    SoundLoadEffectBank();
    EXPECT_EQ(first, SoundGetEffect(1)) << "nothing loaded again";
    EXPECT_TRUE(Eventually([&] { return !music->IsPlaying(); }));
    EXPECT_EQ(music, CurrentMusic()) << "stopped, still current";

    // Released, then fade, release and resume by command; a pointer that is no resource's leaves a
    // silent track; a resume never undoes a volume set meanwhile.
    SoundReleaseAll();
    MusicSetVolume(-1500); // before any music: the music takes it when it starts
    music = PlayMusic();
    EXPECT_TRUE(music->IsLoop());
    EXPECT_NEAR(-1500, music->GetVolumeScaled(), 3);
    MusicSetVolume(-1000);
    EXPECT_NEAR(-1000, music->GetVolumeScaled(), 3) << "the playing music takes a new volume at once";

    // 15 on a playing track: a fade, and the track stays current until it is stopped.
    MusicCommand(15);
    ASSERT_TRUE(Eventually([&] { return !music->IsPlaying(); }));
    EXPECT_EQ(music, CurrentMusic());

    // Any other code resumes it at the music volume.
    MusicCommand(1);
    EXPECT_TRUE(music->IsPlaying());
    EXPECT_NEAR(-1000, music->GetVolumeScaled(), 3);

    // 15 on a stopped track drops it; a resume then finds nothing.
    music->Stop();
    ASSERT_TRUE(Eventually([&] { return !music->IsPlaying(); }));
    MusicCommand(15);
    EXPECT_FALSE(CurrentMusic());
    MusicCommand(1);
    EXPECT_FALSE(CurrentMusic() || music->IsPlaying());

    std::uint8_t* bytes = ResourceGet("bgm.wav");
    korvane::test::LogCapture log;
    MusicPlay(bytes + 1, 0);
    EXPECT_TRUE(korvane::test::LogCapture::Contains("bgm_play(): cannot found mmap stream"))
        << korvane::test::LogCapture::All();
    ASSERT_TRUE(CurrentMusic());
    EXPECT_FALSE(CurrentMusic()->IsPlaying());
    // A track with no bank loaded still goes with the release.
    MusicPlay(bytes, 0);
    EXPECT_FALSE(CurrentMusic()->IsLoop());
    SoundReleaseAll();
    EXPECT_FALSE(CurrentMusic());

    // The game thread once resumed the music with a volume read outside the music lock, so an
    // older volume could undo one the settings screen set meanwhile.
    music = PlayMusic();
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
}

} // namespace
