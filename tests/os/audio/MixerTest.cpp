/** @file MixerTest.cpp The software mixer through the manual backend: formats, gains, cursors, notifications. */
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>
#include <vector>

#include "os/Values.h"
#include "os/audio/SoundBuffer.h"
#include "os/audio/SoundDevice.h"
#include "os/audio/SoundNotify.h"
#include "os/audio/Testing.h"
#include "os/system/Event.h"
#include "os/system/System.h"
#include "support/AudioTestData.h"

using namespace os::audio;
using ostest::V;

namespace
{

constexpr auto Pcm = &korvane::test::PcmFormat;

constexpr auto Mix = &os::testing::MixAudioFrames;
using Samples = std::vector<std::int16_t>;

const WaveFormatEx kStereo16 = Pcm(2, 44100, 16);

/// Formats the mixer refuses: 24 bits, three channels, rates too low and too high, and 16-bit stereo with no block
/// size, a wrong byte rate or another format tag.
std::vector<WaveFormatEx> BrokenFormats()
{
    std::vector<WaveFormatEx> broken = {Pcm(2, 44100, 24), Pcm(3, 44100, 16), Pcm(1, 50, 16), Pcm(1, 250000, 16),
                                        kStereo16,         kStereo16,         kStereo16};
    broken[4].blockAlign = 0;
    broken[5].avgBytesPerSec += 1;
    broken[6].formatTag = 3;
    return broken;
}

/// Mono samples as the stereo output plays them: each on both sides.
Samples Stereo(const Samples& mono)
{
    Samples out;
    for (std::int16_t sample : mono)
        out.insert(out.end(), 2, sample);
    return out;
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

    Result Create(const WaveFormatEx& format, std::uint32_t bytes, std::shared_ptr<SoundBuffer>* buffer,
                  std::uint32_t flags = 0)
    {
        return device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), flags, bytes, 0, &format}, buffer);
    }

    // A buffer holding exactly `data`.
    template <typename Sample>
    std::shared_ptr<SoundBuffer> Make(const WaveFormatEx& format, const std::vector<Sample>& data,
                                      std::uint32_t flags = 0)
    {
        const auto size = static_cast<std::uint32_t>(data.size() * sizeof(Sample));
        std::shared_ptr<SoundBuffer> buffer;
        EXPECT_EQ(kOk, Create(format, size, &buffer, flags));
        void* p1 = nullptr;
        std::uint32_t n1 = 0;
        EXPECT_EQ(kOk, buffer->Lock(0, size, &p1, &n1, nullptr, nullptr, 0));
        std::memcpy(p1, data.data(), n1);
        EXPECT_EQ(kOk, buffer->Unlock(p1, n1, nullptr, 0));
        return buffer;
    }

    /// Makes the output mono through the primary buffer's format.
    void UseMonoOutput()
    {
        ASSERT_EQ(kOk, device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), kCapsPrimaryBuffer, 0, 0, nullptr},
                                                  &primary_));
        ASSERT_EQ(kOk, primary_->SetFormat(Pcm(1, 44100, 16)));
    }

    std::shared_ptr<SoundDevice> device_;
    std::shared_ptr<SoundBuffer> primary_;
};

} // namespace

TEST_F(MixerTest, EightBitSamplesPlayCentredOnBothSidesOrAsAPairAndABufferStopsAtItsEnd)
{
    auto mono = Make(Pcm(1, 44100, 8), std::vector<std::uint8_t>{0x80, 0x81, 0x7F, 0xFF, 0x00});
    ASSERT_EQ(kOk, mono->Play(0));
    EXPECT_EQ(Stereo({0, 256, -256, 127 * 256, -128 * 256, 0}), Mix(6));
    std::uint32_t play = 1, status = 0xFFFFFFFF;
    ASSERT_EQ(V(kOk, kOk), V(mono->GetCurrentPosition(&play, nullptr), mono->GetStatus(&status)));
    EXPECT_EQ(V(status & kStatusPlaying, play), V(0, 0));
    auto pair = Make(Pcm(2, 44100, 8), std::vector<std::uint8_t>{0x90, 0x70, 0x80, 0xA0});
    ASSERT_EQ(kOk, pair->Play(0));
    EXPECT_EQ(Samples({16 * 256, -16 * 256, 0, 32 * 256}), Mix(2));
}

// Every other frame of a half-rate buffer lies halfway between two samples; at twice the rate
// two source frames pass per output frame.
TEST_F(MixerTest, OtherRatesAreResampledAndTheOriginalRateComesBack)
{
    auto buffer = Make(Pcm(1, 22050, 16),
                       Samples{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190},
                       kCapsCtrlFrequency);
    ASSERT_EQ(kOk, buffer->Play(kPlayLooping));
    EXPECT_EQ(Stereo({0, 5, 10, 15, 20, 25, 30, 35, 40, 45}), Mix(10));
    ASSERT_EQ(kOk, buffer->SetCurrentPosition(0));
    ASSERT_EQ(kOk, buffer->SetFrequency(88200));
    EXPECT_EQ(Stereo({0, 20, 40, 60, 80, 100, 120, 140, 160, 180}), Mix(10));
    ASSERT_EQ(kOk, buffer->SetFrequency(kFrequencyOriginal));
    std::uint32_t frequency = 0;
    ASSERT_EQ(kOk, buffer->GetFrequency(&frequency));
    EXPECT_EQ(V(frequency, buffer->SetFrequency(99)), V(22050, kErrInvalidParam));
    ASSERT_EQ(kOk, buffer->Stop());
}

TEST_F(MixerTest, VolumeAndPanFollowTheDecibelCurves)
{
    auto loud = Make(Pcm(1, 44100, 16), Samples(200, 10000), kCapsCtrlVolume | kCapsCtrlPan);
    ASSERT_EQ(kOk, loud->Play(kPlayLooping));
    // -6 dB is 10000 * 10^-0.3; panned right the left side drops by 20 dB at 2000.
    const std::array<int, 4> cases[] = {
        {-600, 0, 5012, 5012}, {0, 2000, 1000, 10000}, {0, kPanLeft, 10000, 0}, {kVolumeMin, 0, 0, 0}};
    for (const auto& [volume, pan, left, right] : cases) {
        SCOPED_TRACE(testing::Message() << volume << " " << pan);
        ASSERT_EQ(V(kOk, kOk), V(loud->SetVolume(volume), loud->SetPan(pan)));
        const auto out = Mix(4);
        EXPECT_EQ(V(out[0], out[1]), V(left, right));
    }
    EXPECT_EQ(V(loud->SetVolume(1), loud->SetVolume(-10001), loud->SetPan(10001)),
              V(kErrInvalidParam, kErrInvalidParam, kErrInvalidParam));
    ASSERT_EQ(kOk, loud->Stop());
}

TEST_F(MixerTest, SumsSaturate)
{
    auto a = Make(Pcm(1, 44100, 16), Samples(100, 30000));
    auto b = Make(Pcm(1, 44100, 16), Samples(100, 30000));
    ASSERT_EQ(V(kOk, kOk), V(a->Play(kPlayLooping), b->Play(kPlayLooping)));
    EXPECT_EQ(Samples(6, 32767), Mix(3));
    ASSERT_EQ(V(kOk, kOk), V(a->Stop(), b->Stop()));
}

// The primary format decides the output layout.
TEST_F(MixerTest, MonoOutputAveragesTheSides)
{
    ASSERT_NO_FATAL_FAILURE(UseMonoOutput());
    auto c = Make(Pcm(2, 44100, 16), Samples{1000, 3000});
    ASSERT_EQ(kOk, c->Play(0));
    EXPECT_EQ(Samples({2000}), Mix(1));
}

TEST_F(MixerTest, NotificationsFireInOffsetOrderAsTheyArePassedAndAtTheStop)
{
    ASSERT_NO_FATAL_FAILURE(UseMonoOutput());
    auto notified = Make(Pcm(1, 44100, 16), std::vector<std::int16_t>(2000, 1), kCapsCtrlPositionNotify);
    os::system::Event events[5];
    // Given out of order on purpose: the mixer sorts by offset.
    PositionNotify positions[] = {
        {2999, &events[2]}, {999, &events[0]}, {kNotifyOffsetStop, &events[4]}, {3999, &events[3]}, {1999, &events[1]}};
    std::shared_ptr<SoundNotify> notify;
    ASSERT_EQ(kOk, notified->QueryNotify(&notify));
    ASSERT_EQ(kOk, notify->SetNotificationPositions(5, positions));

    std::vector<std::uint32_t> seen;
    std::thread listener([&] {
        os::system::Event* all[5] = {&events[0], &events[1], &events[2], &events[3], &events[4]};
        std::uint32_t index = 0;
        do
            seen.push_back(index = os::system::WaitForAnyEvent(all, 5, os::system::kInfinite));
        while (index != 4 && index != os::system::kWaitTimeout);
    });
    ASSERT_TRUE(os::testing::WaitForNotifyListener(*notified, 5000));
    ASSERT_EQ(kOk, notified->Play(kPlayLooping));
    EXPECT_EQ(kErrInvalidCall, notify->SetNotificationPositions(5, positions));
    Mix(499);
    EXPECT_TRUE(seen.empty());
    Mix(1);
    EXPECT_EQ(std::vector<std::uint32_t>({0}), seen);
    Mix(2000); // through the end and round again to frame 500
    EXPECT_EQ(std::vector<std::uint32_t>({0, 1, 2, 3, 0}), seen);
    std::uint32_t play = 1;
    ASSERT_EQ(kOk, notified->GetCurrentPosition(&play, nullptr));
    EXPECT_EQ(1000u, play);
    ASSERT_EQ(kOk, notified->Stop());
    listener.join();
    EXPECT_EQ(std::vector<std::uint32_t>({0, 1, 2, 3, 0, 4}), seen);
}

TEST_F(MixerTest, LocksWrapInTwoPartsAndOutOfRangeLocksAreRefused)
{
    std::shared_ptr<SoundBuffer> buffer;
    ASSERT_EQ(kOk, Create(Pcm(1, 44100, 16), 4000, &buffer));
    void *p1 = nullptr, *p2 = nullptr;
    std::uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(kOk, buffer->Lock(3000, 2000, &p1, &n1, &p2, &n2, 0));
    EXPECT_EQ(V(n1, n2, static_cast<std::uint8_t*>(p1) - static_cast<std::uint8_t*>(p2)), V(1000, 1000, 3000));
    ASSERT_EQ(kOk, buffer->Unlock(p1, n1, p2, n2));
    ASSERT_EQ(kOk, buffer->Lock(0, 0, &p1, &n1, &p2, &n2, kLockEntireBuffer));
    EXPECT_EQ(V(n1, n2, p2 == nullptr), V(4000, 0, true));
    for (const auto& [offset, bytes] : {std::pair<std::uint32_t, std::uint32_t>{4000, 10}, {0, 4001}, {0, 0}})
        EXPECT_EQ(kErrInvalidParam, buffer->Lock(offset, bytes, &p1, &n1, &p2, &n2, 0)) << offset << " " << bytes;
    EXPECT_EQ(V(buffer->Unlock(static_cast<std::uint8_t*>(p1) + 3999, 2, nullptr, 0), buffer->SetCurrentPosition(4000)),
              V(kErrInvalidParam, kErrInvalidParam));
}

// Lock and Play refuse a lost buffer and failed restores count down: checked through the engine's sounds.
TEST_F(MixerTest, ALostBufferSaysSoAndComesBackEmptyWhenRestored)
{
    ASSERT_NO_FATAL_FAILURE(UseMonoOutput());
    auto buffer = Make(Pcm(1, 44100, 16), Samples(100, 500));
    ASSERT_EQ(kOk, buffer->Play(kPlayLooping));
    os::testing::MarkBufferLost(*buffer);
    std::uint32_t status = 0xFFFFFFFF;
    ASSERT_EQ(kOk, buffer->GetStatus(&status));
    EXPECT_EQ(kStatusBufferLost, status & (kStatusBufferLost | kStatusPlaying));
    EXPECT_EQ(kOk, buffer->Restore());
    // The memory came back empty.
    ASSERT_EQ(kOk, buffer->Play(0));
    EXPECT_EQ(Samples(4), Mix(4));
}

// A refused description or format leaves no buffer behind.
TEST_F(MixerTest, BufferDescriptionsAndFormatsAreChecked)
{
    std::shared_ptr<SoundBuffer> buffer;
    ASSERT_EQ(kOk, Create(Pcm(2, 44100, 16), 4000, &buffer));
    EXPECT_EQ(kErrInvalidParam, device_->CreateSoundBuffer(BufferDesc{36, 0, 4000, 0, &kStereo16}, &buffer));
    EXPECT_EQ(kErrInvalidParam,
              device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), 0, 4000, 0, nullptr}, &buffer));
    const std::vector<WaveFormatEx> broken = BrokenFormats();
    for (std::size_t i = 0; i < broken.size(); ++i)
        EXPECT_EQ(kErrBadFormat, Create(broken[i], 4000, &buffer)) << i;
    EXPECT_EQ(V(Create(kStereo16, 3, &buffer), Create(kStereo16, kBufferSizeMax + 1, &buffer)),
              V(kErrInvalidParam, kErrInvalidParam));
    EXPECT_EQ(nullptr, buffer);
}

TEST_F(MixerTest, ABufferOffersOnlyTheControlsItWasMadeWith)
{
    std::shared_ptr<SoundBuffer> buffer;
    std::shared_ptr<SoundNotify> notify;
    ASSERT_EQ(kOk, Create(kStereo16, 4000, &buffer, kCapsCtrlVolume));
    EXPECT_EQ(V(buffer->SetPan(0), buffer->SetFrequency(22050), buffer->QueryNotify(&notify)),
              V(kErrControlUnavail, kErrControlUnavail, kErrNoInterface));
}

TEST_F(MixerTest, DuplicatesTakeTheSourcesFormatAndVolume)
{
    std::shared_ptr<SoundBuffer> buffer;
    ASSERT_EQ(kOk, Create(kStereo16, 4000, &buffer, kCapsCtrlVolume));
    ASSERT_EQ(kOk, buffer->SetVolume(-2000));
    std::shared_ptr<SoundBuffer> copy;
    ASSERT_EQ(kOk, device_->DuplicateSoundBuffer(buffer, &copy));
    WaveFormatEx copied;
    std::int32_t volume = 1;
    EXPECT_EQ(V(copy->GetVolume(&volume), copy->GetFormat(&copied)), V(kOk, kOk));
    EXPECT_EQ(V(volume, copied.avgBytesPerSec, copy->GetBufferBytes()), V(-2000, 176400, 4000));
    EXPECT_EQ(kErrInvalidParam, device_->DuplicateSoundBuffer(nullptr, &copy));
    EXPECT_EQ(nullptr, copy);
}

TEST_F(MixerTest, ThePrimaryBufferTakesNeitherSizeNorFormatAndItsFormatNeedsThePriorityLevel)
{
    std::shared_ptr<SoundBuffer> buffer, primary;
    ASSERT_EQ(kOk,
              device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), kCapsPrimaryBuffer, 0, 0, nullptr}, &primary));
    EXPECT_EQ(kErrInvalidParam,
              device_->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), kCapsPrimaryBuffer, 100, 0, nullptr}, &buffer));
    EXPECT_EQ(kErrBadFormat, primary->SetFormat(BrokenFormats()[4]));
    ASSERT_EQ(kOk, device_->SetCooperativeLevel(nullptr, kCoopNormal));
    EXPECT_EQ(kErrPrioLevelNeeded, primary->SetFormat(kStereo16));
}

TEST(AudioDeviceTest, OpensThroughSdlAndFailsCleanlyWithoutADriver)
{
    os::testing::ResetAudioHooks();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        std::shared_ptr<SoundDevice> device;
        ASSERT_EQ(kOk, SoundDevice::Create(&device));
        EXPECT_FALSE(device->IsManual());
        const WaveFormatEx format = Pcm(2, 44100, 16);
        std::shared_ptr<SoundBuffer> buffer;
        ASSERT_EQ(kOk, device->CreateSoundBuffer(BufferDesc{sizeof(BufferDesc), 0, 4000, 0, &format}, &buffer));
        EXPECT_EQ(kOk, buffer->Play(kPlayLooping));
    }
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::shared_ptr<SoundDevice> device;
    EXPECT_EQ(kErrNoDriver, SoundDevice::Create(&device));
    EXPECT_EQ(nullptr, device);
    EXPECT_EQ(0u, os::system::GetLastErrorText().find("SDL_InitSubSystem(SDL_INIT_AUDIO): "));
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}
