/** @file StaticSoundTest.cpp The sound device's start-up and static sounds, played through the manual mixer. */
#include <gtest/gtest.h>

#include "KorvaneXDK/platform/sound/StaticSound.h"
#include "SoundTestSupport.h"

using namespace korvane;
using namespace soundtest;

using StaticSoundTest = SoundDeviceTest;

TEST(DXSoundTest, EachFailingStartUpStepLogsItsLineAndLeavesTheDeviceAndItsSoundsSilent)
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
        EXPECT_FALSE(device.Initialize() || device.IsInitialized() || device.GetDirectSound());
        EXPECT_TRUE(log.Contains(line)) << log.All();
        // Without an output device the log says why the program is silent, naming the source.
        EXPECT_EQ(call == os::testing::AudioCall::CreateDevice, log.Contains("DSERR_NODRIVER") &&
                                                                    log.Contains("\n\tDXSound(") &&
                                                                    log.Contains("running without sound"));
        CStaticSound sound(os::audio::kCapsCtrlVolume);
        sound.CreateBuffer(device, Reader(Pcm(1, 44100, 16), Bytes(200)));
        sound.Play();
        sound.SetVolume(-100);
        EXPECT_EQ(std::make_tuple(nullptr, false, 0, 0, 0u, 0.0),
                  std::make_tuple(sound.GetBuffer(), sound.IsPlaying(), sound.GetVolume(), sound.GetVolumeScaled(),
                                  sound.GetPosition(), sound.GetPositionSeconds()));
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
        const auto& primary = device.GetPrimaryFormat();
        EXPECT_EQ(std::make_tuple(2, 44100u, 22050u),
                  std::make_tuple(primary.blockAlign, primary.avgBytesPerSec, format.samplesPerSec));
    }
    EXPECT_TRUE(log.Contains("INFO: DirectSound ready.") && log.Contains("INFO: DirectSound finalized.")) << log.All();
}

TEST_F(StaticSoundTest, VolumeFormatsPlaybackAndDuplicates)
{
    // Sounds from real WAVE files, read through a file stream.
    const auto Load = [&](const os::audio::WaveFormatEx& format, const Bytes& pcm) {
        CFileStream stream(dir_.Write("effect.wav", MakeWave(format, pcm)), 1, 1);
        auto sound = std::make_unique<CStaticSound>(os::audio::kCapsCtrlVolume);
        sound->Create(device_, stream);
        return sound;
    };
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
    sound->SetPan(5000);
    EXPECT_EQ(std::make_pair(-1414, 0), std::make_pair(sound->GetVolume(), sound->GetPan()));
    EXPECT_TRUE(log.Contains("Error: E_INVALIDARG") && log.Contains("Error: DSERR_CONTROLUNAVAIL(0x8878001e)") &&
                log.Contains("\n\tSound("))
        << log.All();

    os::audio::WaveFormatEx broken = Pcm(2, 44100, 16);
    broken.blockAlign = 0;
    ExpectThrowWith<EReadError>([&] { sound->CreateBuffer(device_, Reader(broken, Bytes(400))); },
                                "サウンドバッファの作成に失敗しました.", "class korvane::CStaticSound");
    EXPECT_TRUE(log.Contains("DSERR_BADFORMAT") && log.Contains("\n\tStaticSound(") && !sound->GetBuffer())
        << log.All();
    os::testing::FailAudioCall(os::testing::AudioCall::Lock, os::audio::kErrInvalidCall, 1);
    ExpectThrowWith<EReadError>([&] { sound->CreateBuffer(device_, Reader(Pcm(1, 44100, 8), Bytes(400, 0x80))); },
                                "サウンドバッファのロックに失敗しました.");

    // Plays, restarts from the start and loops.
    const auto pcm = Pattern16(2000, 2); // 1000 stereo frames
    const auto samples = AsSamples(pcm);
    sound = Load(Pcm(2, 44100, 16), pcm);
    EXPECT_NEAR(1000.0 / 44100.0, sound->GetLengthSeconds(), 1e-12);
    sound->Play();
    EXPECT_EQ(Cycle(samples, 0, 600), Mix(300));
    EXPECT_EQ(1200u, sound->GetPosition());
    EXPECT_NEAR(300.0 / 44100.0, sound->GetPositionSeconds(), 1e-12);
    sound->Play(); // from the start again, once through
    EXPECT_EQ(ThenSilence(samples, 2200), Mix(1100));
    EXPECT_FALSE(sound->IsPlaying());
    sound->SetLoop(true);
    sound->Play();
    EXPECT_EQ(Cycle(samples, 0, 5000), Mix(2500));
    EXPECT_TRUE(sound->IsPlaying());
    sound->Stop();
    EXPECT_FALSE(sound->IsPlaying());

    // Duplicates play together, keep the format and recover from a lost buffer.
    const auto mono = AsSamples(Pattern16(1000, 5));
    auto source = Load(Pcm(1, 44100, 16), Pattern16(1000, 5));
    CStaticSound copy(os::audio::kCapsCtrlVolume);
    copy.Duplicate(device_, *source);
    ASSERT_TRUE(copy.GetBuffer() && copy.GetBuffer() != source->GetBuffer());
    EXPECT_EQ(std::make_pair(source->GetLengthSeconds(), 44100u),
              std::make_pair(copy.GetLengthSeconds(), copy.GetFormat()->samplesPerSec));
    // Mono plays on both sides.
    const auto onBothSides = [](const std::function<int(int)>& sample) {
        Samples out;
        for (int i = 0; i < 10; ++i)
            out.insert(out.end(), 2, static_cast<std::int16_t>(sample(i)));
        return out;
    };
    source->Play();
    Mix(100);
    copy.Play(); // from its own start
    EXPECT_EQ(onBothSides([&](int i) { return mono[100 + i] + mono[i]; }), Mix(10));
    source->Stop();
    copy.Stop();

    // The lost memory is refilled from the PCM both share.
    const auto start = onBothSides([&](int i) { return mono[i]; });
    os::testing::MarkBufferLost(*copy.GetBuffer());
    copy.Play();
    EXPECT_EQ(start, Mix(10));
    copy.Stop();
    os::testing::MarkBufferLost(*source->GetBuffer());
    os::testing::FailNextRestores(*source->GetBuffer(), 0);
    source->Play();
    EXPECT_EQ(start, Mix(10));

    // A source without a buffer cannot be duplicated.
    CStaticSound empty(0);
    ExpectThrowWith<EReadError>([&] { copy.Duplicate(device_, empty); },
                                "サウンドバッファの Duplicate に失敗しました.");
}
