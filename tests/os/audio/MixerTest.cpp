/** @file MixerTest.cpp The software mixer through the manual backend: formats, gains, cursors, notifications. */
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "os/audio/AudioTesting.h"
#include "os/audio/SoundBuffer.h"
#include "os/audio/SoundDevice.h"
#include "os/audio/SoundNotify.h"
#include "os/system/Event.h"
#include "os/system/ResultText.h"

using namespace os::audio;

namespace {

WaveFormatEx Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    WaveFormatEx format;
    format.formatTag = kWaveFormatPcm;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    format.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    format.avgBytesPerSec = format.blockAlign * rate;
    return format;
}

class MixerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_EQ(kOk, SoundDevice::Create(&device_));
        ASSERT_EQ(kOk, device_->SetCooperativeLevel(nullptr, kCoopPriority));
    }
    void TearDown() override { os::testing::ResetAudioHooks(); }

    std::shared_ptr<SoundBuffer> Make(const WaveFormatEx& format, std::uint32_t bytes, std::uint32_t flags = 0)
    {
        BufferDesc desc;
        desc.flags = flags;
        desc.bufferBytes = bytes;
        desc.format = &format;
        std::shared_ptr<SoundBuffer> buffer;
        EXPECT_EQ(kOk, device_->CreateSoundBuffer(desc, &buffer));
        return buffer;
    }

    static void Write(SoundBuffer& buffer, const void* data, std::uint32_t bytes)
    {
        void* p1 = nullptr;
        void* p2 = nullptr;
        std::uint32_t n1 = 0;
        std::uint32_t n2 = 0;
        ASSERT_EQ(kOk, buffer.Lock(0, bytes, &p1, &n1, &p2, &n2, 0));
        std::memcpy(p1, data, n1);
        ASSERT_EQ(kOk, buffer.Unlock(p1, n1, p2, n2));
    }

    std::shared_ptr<SoundDevice> device_;
};

std::vector<std::int16_t> Ramp(std::size_t count, int start, int step)
{
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::int16_t>(start + static_cast<int>(i) * step);
    return samples;
}

} // namespace

TEST_F(MixerTest, SixteenBitStereoAtTheOutputRatePassesThroughExactly)
{
    const auto samples = Ramp(2000, -1000, 7); // 1000 stereo frames
    auto buffer = Make(Pcm(2, 44100, 16), 4000);
    Write(*buffer, samples.data(), 4000);
    ASSERT_EQ(kOk, buffer->Play(0));
    const auto out = os::testing::MixAudioFrames(1200);
    ASSERT_EQ(2400u, out.size());
    for (std::size_t i = 0; i < 2000; ++i)
        ASSERT_EQ(samples[i], out[i]) << i;
    for (std::size_t i = 2000; i < 2400; ++i)
        ASSERT_EQ(0, out[i]) << i;
    // Played out: stopped with the cursor back at the start.
    std::uint32_t status = 0xFF;
    ASSERT_EQ(kOk, buffer->GetStatus(&status));
    EXPECT_EQ(0u, status & kStatusPlaying);
    std::uint32_t play = 1;
    ASSERT_EQ(kOk, buffer->GetCurrentPosition(&play, nullptr));
    EXPECT_EQ(0u, play);
}

TEST_F(MixerTest, EightBitMonoIsCenteredAndGoesToBothChannels)
{
    std::vector<std::uint8_t> bytes = {0x80, 0x81, 0x7F, 0xFF, 0x00};
    auto buffer = Make(Pcm(1, 44100, 8), 5);
    Write(*buffer, bytes.data(), 5);
    ASSERT_EQ(kOk, buffer->Play(0));
    const auto out = os::testing::MixAudioFrames(5);
    const std::int16_t expected[] = {0, 256, -256, 127 * 256, -128 * 256};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(expected[i], out[2 * i]) << i;
        EXPECT_EQ(expected[i], out[2 * i + 1]) << i;
    }

    std::vector<std::uint8_t> stereo = {0x90, 0x70, 0x80, 0xA0};
    auto pair = Make(Pcm(2, 44100, 8), 4);
    Write(*pair, stereo.data(), 4);
    ASSERT_EQ(kOk, pair->Play(0));
    const auto both = os::testing::MixAudioFrames(2);
    EXPECT_EQ(std::vector<std::int16_t>({16 * 256, -16 * 256, 0, 32 * 256}), both);
}

TEST_F(MixerTest, HalfRateBufferIsInterpolatedAndFrequencyChangesTheStep)
{
    const auto samples = Ramp(100, 0, 100);
    auto buffer = Make(Pcm(1, 22050, 16), 200, kCapsCtrlFrequency);
    Write(*buffer, samples.data(), 200);
    ASSERT_EQ(kOk, buffer->Play(kPlayLooping));
    auto out = os::testing::MixAudioFrames(10);
    for (int j = 0; j < 10; ++j)
        EXPECT_EQ(j * 50, out[2 * j]) << j; // every other frame lies halfway between two samples

    ASSERT_EQ(kOk, buffer->Stop());
    ASSERT_EQ(kOk, buffer->SetCurrentPosition(0));
    ASSERT_EQ(kOk, buffer->SetFrequency(88200));
    std::uint32_t frequency = 0;
    ASSERT_EQ(kOk, buffer->GetFrequency(&frequency));
    EXPECT_EQ(88200u, frequency);
    ASSERT_EQ(kOk, buffer->Play(kPlayLooping));
    out = os::testing::MixAudioFrames(10);
    for (int j = 0; j < 10; ++j)
        EXPECT_EQ(j * 200, out[2 * j + 1]) << j; // two source frames per output frame

    ASSERT_EQ(kOk, buffer->SetFrequency(kFrequencyOriginal));
    ASSERT_EQ(kOk, buffer->GetFrequency(&frequency));
    EXPECT_EQ(22050u, frequency);
    EXPECT_EQ(kErrInvalidParam, buffer->SetFrequency(99));
}

TEST_F(MixerTest, VolumeAndPanFollowTheDecibelCurves)
{
    const std::vector<std::int16_t> samples(200, 10000);
    auto buffer = Make(Pcm(1, 44100, 16), 400, kCapsCtrlVolume | kCapsCtrlPan);
    Write(*buffer, samples.data(), 400);
    ASSERT_EQ(kOk, buffer->Play(kPlayLooping));

    ASSERT_EQ(kOk, buffer->SetVolume(-600)); // -6 dB
    auto out = os::testing::MixAudioFrames(4);
    EXPECT_NEAR(10000 * std::pow(10.0, -0.3), out[0], 1.0);
    EXPECT_EQ(out[0], out[1]);

    ASSERT_EQ(kOk, buffer->SetVolume(0));
    ASSERT_EQ(kOk, buffer->SetPan(2000)); // right: the left side drops by 20 dB
    out = os::testing::MixAudioFrames(4);
    EXPECT_EQ(1000, out[0]);
    EXPECT_EQ(10000, out[1]);

    ASSERT_EQ(kOk, buffer->SetPan(kPanLeft));
    out = os::testing::MixAudioFrames(4);
    EXPECT_EQ(10000, out[0]);
    EXPECT_EQ(0, out[1]);

    ASSERT_EQ(kOk, buffer->SetPan(0));
    ASSERT_EQ(kOk, buffer->SetVolume(kVolumeMin));
    out = os::testing::MixAudioFrames(4);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(0, out[1]);

    std::int32_t volume = 1;
    ASSERT_EQ(kOk, buffer->GetVolume(&volume));
    EXPECT_EQ(kVolumeMin, volume);
    EXPECT_EQ(kErrInvalidParam, buffer->SetVolume(1));
    EXPECT_EQ(kErrInvalidParam, buffer->SetVolume(-10001));
    EXPECT_EQ(kErrInvalidParam, buffer->SetPan(10001));
}

TEST_F(MixerTest, SumsSaturateAndMonoOutputAveragesTheSides)
{
    const std::vector<std::int16_t> loud(100, 30000);
    auto a = Make(Pcm(1, 44100, 16), 200);
    auto b = Make(Pcm(1, 44100, 16), 200);
    Write(*a, loud.data(), 200);
    Write(*b, loud.data(), 200);
    ASSERT_EQ(kOk, a->Play(kPlayLooping));
    ASSERT_EQ(kOk, b->Play(kPlayLooping));
    auto out = os::testing::MixAudioFrames(3);
    EXPECT_EQ(32767, out[0]);
    EXPECT_EQ(32767, out[5]);

    // The primary format decides the output layout.
    BufferDesc desc;
    desc.flags = kCapsPrimaryBuffer;
    std::shared_ptr<SoundBuffer> primary;
    ASSERT_EQ(kOk, device_->CreateSoundBuffer(desc, &primary));
    ASSERT_EQ(kOk, primary->SetFormat(Pcm(1, 44100, 16)));
    ASSERT_EQ(kOk, b->Stop());
    std::vector<std::int16_t> stereo = {1000, 3000};
    auto c = Make(Pcm(2, 44100, 16), 4);
    Write(*c, stereo.data(), 4);
    ASSERT_EQ(kOk, a->Stop());
    ASSERT_EQ(kOk, c->Play(0));
    out = os::testing::MixAudioFrames(1);
    ASSERT_EQ(1u, out.size());
    EXPECT_EQ(2000, out[0]);
}

TEST_F(MixerTest, NotificationsComeInCursorOrderAcrossTheWrapAndStopsAreSignalled)
{
    const std::vector<std::int16_t> samples(2000, 1);
    auto buffer = Make(Pcm(1, 44100, 16), 4000, kCapsCtrlPositionNotify);
    Write(*buffer, samples.data(), 4000);
    std::vector<std::unique_ptr<os::system::Event>> events;
    for (int i = 0; i < 5; ++i)
        events.push_back(std::make_unique<os::system::Event>());
    // Given out of order on purpose: the mixer sorts by offset.
    PositionNotify positions[] = {{2999, events[2].get()}, {999, events[0].get()}, {kNotifyOffsetStop, events[4].get()},
                                  {3999, events[3].get()}, {1999, events[1].get()}};
    std::shared_ptr<SoundNotify> notify;
    ASSERT_EQ(kOk, buffer->QueryNotify(&notify));
    ASSERT_EQ(kOk, notify->SetNotificationPositions(5, positions));

    std::vector<std::uint32_t> seen;
    std::thread listener([&] {
        os::system::Event* all[5] = {events[0].get(), events[1].get(), events[2].get(), events[3].get(), events[4].get()};
        for (;;)
        {
            const std::uint32_t index = os::system::WaitForAnyEvent(all, 5, os::system::kInfinite);
            seen.push_back(index);
            if (index == 4 || index == os::system::kWaitTimeout)
                return;
        }
    });
    ASSERT_TRUE(os::testing::WaitForNotifyListener(*buffer, 5000));
    ASSERT_EQ(kOk, buffer->Play(kPlayLooping));
    EXPECT_EQ(kErrInvalidCall, notify->SetNotificationPositions(5, positions));
    os::testing::MixAudioFrames(499);
    EXPECT_TRUE(seen.empty());
    os::testing::MixAudioFrames(1);
    EXPECT_EQ(std::vector<std::uint32_t>({0}), seen);
    os::testing::MixAudioFrames(2000); // through the end and round again to frame 500
    EXPECT_EQ(std::vector<std::uint32_t>({0, 1, 2, 3, 0}), seen);
    std::uint32_t play = 0;
    std::uint32_t write = 0;
    ASSERT_EQ(kOk, buffer->GetCurrentPosition(&play, &write));
    EXPECT_EQ(1000u, play);
    ASSERT_EQ(kOk, buffer->Stop());
    listener.join();
    EXPECT_EQ(std::vector<std::uint32_t>({0, 1, 2, 3, 0, 4}), seen);
}

TEST_F(MixerTest, LocksWrapInTwoPartsAndOutOfRangeLocksAreRefused)
{
    auto buffer = Make(Pcm(1, 44100, 16), 4000);
    void* p1 = nullptr;
    void* p2 = nullptr;
    std::uint32_t n1 = 0;
    std::uint32_t n2 = 0;
    ASSERT_EQ(kOk, buffer->Lock(3000, 2000, &p1, &n1, &p2, &n2, 0));
    EXPECT_EQ(1000u, n1);
    EXPECT_EQ(1000u, n2);
    EXPECT_EQ(static_cast<std::uint8_t*>(p2) + 3000, static_cast<std::uint8_t*>(p1));
    ASSERT_EQ(kOk, buffer->Unlock(p1, n1, p2, n2));

    ASSERT_EQ(kOk, buffer->Lock(0, 0, &p1, &n1, &p2, &n2, kLockEntireBuffer));
    EXPECT_EQ(4000u, n1);
    EXPECT_EQ(0u, n2);
    EXPECT_EQ(nullptr, p2);
    EXPECT_EQ(kErrInvalidParam, buffer->Lock(4000, 10, &p1, &n1, &p2, &n2, 0));
    EXPECT_EQ(kErrInvalidParam, buffer->Lock(0, 4001, &p1, &n1, &p2, &n2, 0));
    EXPECT_EQ(kErrInvalidParam, buffer->Lock(0, 0, &p1, &n1, &p2, &n2, 0));
    EXPECT_EQ(kErrInvalidParam, buffer->Unlock(static_cast<std::uint8_t*>(p1) + 3999, 2, nullptr, 0));
    EXPECT_EQ(kErrInvalidParam, buffer->SetCurrentPosition(4000));
}

TEST_F(MixerTest, LostBufferRefusesLockAndPlayUntilRestored)
{
    const std::vector<std::int16_t> samples(100, 500);
    auto buffer = Make(Pcm(1, 44100, 16), 200);
    Write(*buffer, samples.data(), 200);
    ASSERT_EQ(kOk, buffer->Play(kPlayLooping));
    os::testing::MarkBufferLost(*buffer);
    std::uint32_t status = 0;
    ASSERT_EQ(kOk, buffer->GetStatus(&status));
    EXPECT_EQ(kStatusBufferLost, status & (kStatusBufferLost | kStatusPlaying));
    void* p1 = nullptr;
    std::uint32_t n1 = 0;
    EXPECT_EQ(kErrBufferLost, buffer->Lock(0, 0, &p1, &n1, nullptr, nullptr, kLockEntireBuffer));
    EXPECT_EQ(kErrBufferLost, buffer->Play(0));
    os::testing::FailNextRestores(*buffer, 2);
    EXPECT_EQ(kErrBufferLost, buffer->Restore());
    EXPECT_EQ(kErrBufferLost, buffer->Restore());
    EXPECT_EQ(kOk, buffer->Restore());
    // The memory came back empty.
    ASSERT_EQ(kOk, buffer->Play(0));
    const auto out = os::testing::MixAudioFrames(4);
    EXPECT_EQ(0, out[0]);
}

TEST_F(MixerTest, BufferDescriptionsAreChecked)
{
    WaveFormatEx format = Pcm(2, 44100, 16);
    BufferDesc desc;
    desc.bufferBytes = 4000;
    desc.format = &format;
    std::shared_ptr<SoundBuffer> buffer;

    desc.size = 36;
    EXPECT_EQ(kErrInvalidParam, device_->CreateSoundBuffer(desc, &buffer));
    desc.size = sizeof(BufferDesc);
    desc.format = nullptr;
    EXPECT_EQ(kErrInvalidParam, device_->CreateSoundBuffer(desc, &buffer));
    desc.format = &format;

    for (auto broken : {Pcm(2, 44100, 24), Pcm(3, 44100, 16), Pcm(1, 50, 16), Pcm(1, 250000, 16)})
        EXPECT_EQ(kErrBadFormat, device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), 0, 4000, 0, &broken}, &buffer));
    WaveFormatEx zeroAlign = format;
    zeroAlign.blockAlign = 0;
    EXPECT_EQ(kErrBadFormat, device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), 0, 4000, 0, &zeroAlign}, &buffer));
    WaveFormatEx wrongRate = format;
    wrongRate.avgBytesPerSec += 1;
    EXPECT_EQ(kErrBadFormat, device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), 0, 4000, 0, &wrongRate}, &buffer));
    WaveFormatEx notPcm = format;
    notPcm.formatTag = 3;
    EXPECT_EQ(kErrBadFormat, device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), 0, 4000, 0, &notPcm}, &buffer));

    desc.bufferBytes = 3;
    EXPECT_EQ(kErrInvalidParam, device_->CreateSoundBuffer(desc, &buffer));
    desc.bufferBytes = kBufferSizeMax + 1;
    EXPECT_EQ(kErrInvalidParam, device_->CreateSoundBuffer(desc, &buffer));
    EXPECT_EQ(nullptr, buffer);

    desc.bufferBytes = 4000;
    desc.flags = kCapsCtrlVolume;
    ASSERT_EQ(kOk, device_->CreateSoundBuffer(desc, &buffer));
    EXPECT_EQ(kErrControlUnavail, buffer->SetPan(0));
    EXPECT_EQ(kErrControlUnavail, buffer->SetFrequency(22050));
    std::shared_ptr<SoundNotify> notify;
    EXPECT_EQ(kErrNoInterface, buffer->QueryNotify(&notify));

    // The primary buffer takes neither size nor format, and its format needs the priority level.
    BufferDesc primaryDesc;
    primaryDesc.flags = kCapsPrimaryBuffer;
    primaryDesc.bufferBytes = 100;
    EXPECT_EQ(kErrInvalidParam, device_->CreateSoundBuffer(primaryDesc, &buffer));
    primaryDesc.bufferBytes = 0;
    ASSERT_EQ(kOk, device_->CreateSoundBuffer(primaryDesc, &buffer));
    EXPECT_EQ(kErrBadFormat, buffer->SetFormat(zeroAlign));
    ASSERT_EQ(kOk, device_->SetCooperativeLevel(nullptr, kCoopNormal));
    EXPECT_EQ(kErrPrioLevelNeeded, buffer->SetFormat(format));
}

TEST_F(MixerTest, DuplicatesShareSamplesButPlayOnTheirOwn)
{
    const auto samples = Ramp(100, 100, 10);
    auto source = Make(Pcm(1, 44100, 16), 200, kCapsCtrlVolume);
    Write(*source, samples.data(), 200);
    ASSERT_EQ(kOk, source->SetVolume(-2000));
    std::shared_ptr<SoundBuffer> copy;
    ASSERT_EQ(kOk, device_->DuplicateSoundBuffer(source, &copy));
    std::int32_t volume = 0;
    ASSERT_EQ(kOk, copy->GetVolume(&volume));
    EXPECT_EQ(-2000, volume);
    WaveFormatEx format;
    ASSERT_EQ(kOk, copy->GetFormat(&format));
    EXPECT_EQ(88200u, format.avgBytesPerSec);
    EXPECT_EQ(200u, copy->GetBufferBytes());
    ASSERT_EQ(kOk, source->SetVolume(0));
    ASSERT_EQ(kOk, copy->SetVolume(0));

    ASSERT_EQ(kOk, source->Play(0));
    os::testing::MixAudioFrames(50);
    ASSERT_EQ(kOk, copy->Play(0));
    const auto out = os::testing::MixAudioFrames(10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(samples[50 + i] + samples[i], out[2 * i]) << i;

    std::shared_ptr<SoundBuffer> none;
    EXPECT_EQ(kErrInvalidParam, device_->DuplicateSoundBuffer(none, &copy));
    EXPECT_EQ(nullptr, copy);
}

TEST_F(MixerTest, InjectedFailuresAnswerWithTheirCodes)
{
    os::testing::FailAudioCall(os::testing::AudioCall::CreateDevice, kErrNoDriver, 1);
    std::shared_ptr<SoundDevice> other;
    EXPECT_EQ(kErrNoDriver, SoundDevice::Create(&other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(kOk, SoundDevice::Create(&other));
    EXPECT_STREQ("DSERR_BUFFERLOST", os::system::GetResultName(kErrBufferLost));
    EXPECT_STREQ("Unknown", os::system::GetResultName(ResultCode(0x12345678)));
}

TEST(AudioDeviceTest, OpensThroughSdlAndFailsCleanlyWithoutADriver)
{
    os::testing::ResetAudioHooks();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        std::shared_ptr<SoundDevice> device;
        ASSERT_EQ(kOk, SoundDevice::Create(&device));
        EXPECT_FALSE(device->IsManual());
        WaveFormatEx format = Pcm(2, 44100, 16);
        std::shared_ptr<SoundBuffer> buffer;
        ASSERT_EQ(kOk, device->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), 0, 4000, 0, &format}, &buffer));
        EXPECT_EQ(kOk, buffer->Play(kPlayLooping));
    }
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::shared_ptr<SoundDevice> device;
    EXPECT_EQ(kErrNoDriver, SoundDevice::Create(&device));
    EXPECT_EQ(nullptr, device);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}
