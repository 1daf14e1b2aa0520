/** @file StaticSoundTest.cpp The sound device's start-up and static sounds, played through the manual mixer. */
#include <gtest/gtest.h>

#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/platform/sound/StaticSound.h"
#include "SoundTestSupport.h"

using namespace korvane;
using namespace soundtest;

namespace
{

class StaticSoundTest : public SoundDeviceTest
{
protected:
    // The sound in a real WAVE file, read through a file stream.
    std::unique_ptr<CStaticSound> Load(const os::audio::WaveFormatEx& format, const Bytes& pcm)
    {
        CFileStream stream(dir_.Write("effect.wav", MakeWave(format, pcm)), 1, 1);
        auto sound = std::make_unique<CStaticSound>(os::audio::kCapsCtrlVolume);
        sound->Create(device_, stream);
        return sound;
    }
};

} // namespace

TEST(DXSoundTest, EachFailingStartUpStepLogsItsLineAndLeavesTheDeviceSilent)
{
    const std::pair<os::testing::AudioCall, const char*> cases[] = {
        {os::testing::AudioCall::CreateDevice, "CDXSound: DirectSoundCreate() 失敗"},
        {os::testing::AudioCall::SetCooperativeLevel, "CDXSound: SetCooperativeLevel() 失敗"},
        {os::testing::AudioCall::CreatePrimaryBuffer, "CDXSound: プライマリバッファの作成に失敗"},
        {os::testing::AudioCall::SetFormat, "CDXSound: プライマリバッファのフォーマット設定に失敗"}};
    for (const auto& [call, line] : cases) {
        SCOPED_TRACE(line);
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        os::testing::FailAudioCall(call, os::audio::kErrNoDriver);
        LogCapture log;
        CDXSound device;
        EXPECT_FALSE(device.Initialize());
        EXPECT_FALSE(device.IsInitialized());
        EXPECT_EQ(nullptr, device.GetDirectSound());
        EXPECT_TRUE(log.Contains(line)) << log.All();
    }
    os::testing::ResetAudioHooks();
    os::testing::UseManualAudioBackend(true);
    LogCapture log;
    {
        CDXSound device;
        device.SetSamplesPerSec(22050);
        device.SetChannels(1);
        ASSERT_TRUE(device.Initialize());
        os::audio::WaveFormatEx format;
        ASSERT_EQ(os::audio::kOk, device.GetPrimaryBuffer()->GetFormat(&format));
        EXPECT_EQ((std::vector<std::uint32_t>{2, 44100, 22050}),
                  (std::vector<std::uint32_t>{device.GetPrimaryFormat().blockAlign,
                                              device.GetPrimaryFormat().avgBytesPerSec, format.samplesPerSec}));
    }
    EXPECT_TRUE(log.Contains("INFO: DirectSound ready.")) << log.All();
    EXPECT_TRUE(log.Contains("INFO: DirectSound finalized.")) << log.All();
    os::testing::ResetAudioHooks();
}

TEST(DXSoundTest, NoOutputDeviceMeansSilentSoundsThatDoNothing)
{
    os::testing::ResetAudioHooks();
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    LogCapture log;
    CDXSound device;
    EXPECT_FALSE(device.Initialize());
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(log.Contains("DSERR_NODRIVER")) << log.All();
    EXPECT_TRUE(log.Contains("running without sound")) << log.All();

    CMemoryStream stream;
    FillStream(stream, Pcm(1, 44100, 16), Pattern16(100, 1));
    CStaticSound sound(os::audio::kCapsCtrlVolume);
    sound.Create(device, stream);
    EXPECT_EQ(nullptr, sound.GetBuffer());
    sound.Play();
    EXPECT_FALSE(sound.IsPlaying());
    sound.SetVolume(-100);
    EXPECT_EQ((std::vector<double>{0, 0, 0, 0}),
              (std::vector<double>{static_cast<double>(sound.GetVolume()), static_cast<double>(sound.GetVolumeScaled()),
                                   static_cast<double>(sound.GetPosition()), sound.GetPositionSeconds()}));
}

TEST_F(StaticSoundTest, ScaledVolumeAxisMatchesItsTableAndPanNeedsItsFlag)
{
    auto sound = Load(Pcm(1, 44100, 16), Pattern16(100, 1));
    const std::pair<int, int> table[] = {{0, 0}, {-10000, -10000}, {-5000, -1414}, {-1000, -229}, {-9500, -4826}};
    for (const auto& [scaled, volume] : table) {
        sound->SetVolumeScaled(scaled);
        EXPECT_EQ(volume, sound->GetVolume()) << scaled;
    }
    sound->SetVolume(-1414);
    EXPECT_EQ(-4999, sound->GetVolumeScaled());

    // Below the axis (a volume setting from a damaged preferences file) there is no volume:
    // the buffer refuses it and keeps the one it had.
    LogCapture log;
    sound->SetVolumeScaled(-20000);
    EXPECT_EQ(-1414, sound->GetVolume());
    EXPECT_TRUE(log.Contains("DirectX Error: E_INVALIDARG")) << log.All();

    sound->SetPan(5000);
    EXPECT_EQ(0, sound->GetPan());
    EXPECT_TRUE(log.Contains("DirectX Error: DSERR_CONTROLUNAVAIL(0x8878001e)")) << log.All();
}

TEST_F(StaticSoundTest, PlaysRestartsAndLoops)
{
    const auto pcm = Pattern16(2000, 2); // 1000 stereo frames
    const auto samples = AsSamples(pcm);
    auto sound = Load(Pcm(2, 44100, 16), pcm);
    ASSERT_NE(nullptr, sound->GetBuffer());
    EXPECT_NEAR(1000.0 / 44100.0, sound->GetLengthSeconds(), 1e-12);

    sound->Play();
    EXPECT_TRUE(MatchesFrom(samples, 0, os::testing::MixAudioFrames(300)));
    EXPECT_EQ(1200u, sound->GetPosition());
    EXPECT_NEAR(300.0 / 44100.0, sound->GetPositionSeconds(), 1e-12);

    sound->Play(); // from the start again
    const auto out = os::testing::MixAudioFrames(1100);
    EXPECT_TRUE(MatchesFrom(samples, 0, out, 2000));
    EXPECT_EQ(0, out[2000]);
    EXPECT_FALSE(sound->IsPlaying());

    sound->SetLoop(true);
    sound->Play();
    EXPECT_TRUE(MatchesFrom(samples, 0, os::testing::MixAudioFrames(2500)));
    EXPECT_TRUE(sound->IsPlaying());
    sound->Stop();
    EXPECT_FALSE(sound->IsPlaying());
}

TEST_F(StaticSoundTest, DuplicatesPlayTogetherKeepTheFormatAndRecoverFromALostBuffer)
{
    Bytes pcm;
    for (int i = 0; i < 1000; ++i)
        pcm.insert(pcm.end(), {static_cast<std::uint8_t>((i * 3) & 0xFF), static_cast<std::uint8_t>((i * 3) >> 8)});
    const auto samples = AsSamples(pcm);
    auto source = Load(Pcm(1, 44100, 16), pcm);
    CStaticSound copy(os::audio::kCapsCtrlVolume);
    copy.Duplicate(device_, *source);
    ASSERT_NE(nullptr, copy.GetBuffer());
    EXPECT_NE(source->GetBuffer(), copy.GetBuffer());
    EXPECT_EQ(source->GetLengthSeconds(), copy.GetLengthSeconds());
    EXPECT_EQ(44100u, copy.GetFormat()->samplesPerSec);

    source->Play();
    os::testing::MixAudioFrames(100);
    copy.Play();
    EXPECT_NEAR(0.0, copy.GetPositionSeconds(), 1e-12);
    auto out = os::testing::MixAudioFrames(10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(samples[100 + i] + samples[i], out[2 * i]) << i;
    source->Stop();
    copy.Stop();

    // The lost memory is refilled from the PCM both share; mono plays on both sides.
    os::testing::MarkBufferLost(*copy.GetBuffer());
    copy.Play();
    out = os::testing::MixAudioFrames(10);
    copy.Stop();
    os::testing::MarkBufferLost(*source->GetBuffer());
    os::testing::FailNextRestores(*source->GetBuffer(), 0);
    source->Play();
    const auto again = os::testing::MixAudioFrames(10);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(samples[i / 2], out[i]) << i;
        EXPECT_EQ(samples[i / 2], again[i]) << i;
    }

    // A source without a buffer cannot be duplicated.
    CStaticSound empty(0);
    ExpectReadError([&] { copy.Duplicate(device_, empty); }, "サウンドバッファの Duplicate に失敗しました.");
}

TEST_F(StaticSoundTest, LengthInSecondsAndBadFormatsFailWithTheirMessage)
{
    CStaticSound sound(0);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), Bytes(176400)));
    EXPECT_EQ(1.0, sound.GetLengthSeconds());

    os::audio::WaveFormatEx broken = Pcm(2, 44100, 16);
    broken.blockAlign = 0;
    LogCapture log;
    ExpectReadError([&] { sound.CreateBuffer(device_, Reader(broken, Bytes(400))); },
                    "サウンドバッファの作成に失敗しました.", "class korvane::CStaticSound");
    EXPECT_TRUE(log.Contains("DSERR_BADFORMAT")) << log.All();
    EXPECT_EQ(nullptr, sound.GetBuffer());

    os::testing::FailAudioCall(os::testing::AudioCall::Lock, os::audio::kErrInvalidCall, 1);
    ExpectReadError([&] { sound.CreateBuffer(device_, Reader(Pcm(1, 44100, 8), Bytes(400, 0x80))); },
                    "サウンドバッファのロックに失敗しました.");
}
