/** @file StreamingSoundTest.cpp Streaming sounds with their feeder and fade threads, stepped through the manual mixer. */
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <iterator>
#include <mutex>
#include <utility>

#include "KorvaneXDK/platform/sound/StreamingSound.h"
#include "SoundTestSupport.h"
#include "os/system/System.h"

using namespace korvane;
using namespace soundtest;

namespace
{

constexpr std::uint32_t kWaitMs = 10000;
// One section of a 44.1 kHz 16-bit stereo buffer, in frames.
constexpr std::uint32_t kSectionFrames = 22048 / 4;

// Calls its hook with the number of reads so far before each read, to stall or fail as a slow
// disk or a file cut short would.
class HookedReader : public MemoryPcmReader
{
public:
    HookedReader(const Bytes& pcm, std::function<void(int)> hook)
        : MemoryPcmReader(Pcm(2, 44100, 16), pcm), hook_(std::move(hook))
    {}
    std::int32_t Read(void* buffer, std::int32_t bytes) override
    {
        hook_(++reads_);
        return MemoryPcmReader::Read(buffer, bytes);
    }
    std::atomic<int> reads_{0};
    std::function<void(int)> hook_;
};

class StreamingSoundTest : public SoundDeviceTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SoundDeviceTest::SetUp());
        sound_.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm_));
    }
    void TearDown() override
    {
        os::testing::SetVolumeObserver({});
        sound_.Close();
        os::testing::SetClockFunction({});
        os::testing::SetSleepFunction({});
    }

    // Play and wait until the feeder has filled the buffer and listens for its sections.
    static void PlayAndSettle(CStreamingSound& sound)
    {
        sound.Play();
        ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound.GetBuffer(), kWaitMs));
    }

    // Whether the buffer itself plays (not only the sound's flag).
    static bool BufferPlays(CStreamingSound& sound)
    {
        std::uint32_t status = 0;
        EXPECT_EQ(os::audio::kOk, sound.GetBuffer()->GetStatus(&status));
        return (status & os::audio::kStatusPlaying) != 0;
    }

    // Mixes in steps until the sound has stopped; returns everything mixed.
    static Samples MixUntilStopped(CStreamingSound& sound, std::uint32_t limitFrames)
    {
        Samples all;
        for (std::uint32_t done = 0; sound.IsPlaying() && done < limitFrames; done += 1000)
            std::ranges::copy(Mix(1000), std::back_inserter(all));
        return all;
    }

    // Plays a sound whose feeder is stuck in its first read until `release` is set.
    boost::shared_ptr<HookedReader> PlayStalled(CStreamingSound& sound, std::promise<void>& release)
    {
        auto entered = std::make_shared<std::promise<void>>();
        auto reader = boost::shared_ptr<HookedReader>(
            new HookedReader(pcm_, [entered, released = release.get_future().share()](int reads) {
                if (reads == 1) {
                    entered->set_value();
                    released.wait();
                }
            }));
        sound.CreateBuffer(device_, reader);
        sound.Play();
        entered->get_future().wait();
        return reader;
    }

    // Collects the volumes the buffers are given, from any thread, after running `onSet`.
    void LogVolumes(std::function<void()> onSet = [] {})
    {
        os::testing::SetVolumeObserver([this, onSet](const os::audio::SoundBuffer&, std::int32_t volume) {
            onSet();
            std::lock_guard<std::mutex> lock(volumesMutex_);
            volumes_.push_back(volume);
        });
    }
    std::vector<std::int32_t> TakeVolumes()
    {
        std::lock_guard<std::mutex> lock(volumesMutex_);
        return std::exchange(volumes_, {});
    }
    std::mutex volumesMutex_;
    std::vector<std::int32_t> volumes_;

    // From now on the fade thread's clock moves `step` each time it is read, and every other thread
    // sees it stand; the first thread to set a volume is taken for the fade thread.
    void UseFadeThreadClock(std::uint64_t step)
    {
        fadeStep_ = step;
        LogVolumes([this] {
            std::thread::id none{};
            fadeThread_.compare_exchange_strong(none, std::this_thread::get_id());
        });
        os::testing::SetClockFunction([this]() -> std::uint64_t {
            if (std::this_thread::get_id() == fadeThread_.load())
                return now_.fetch_add(fadeStep_.load());
            return now_.load();
        });
    }
    // The fade-in's clock: 25 ms later at every read, from any thread.
    std::atomic<std::uint64_t> ticks_{1'000'000'000ull};
    std::atomic<std::thread::id> fadeThread_{};
    std::atomic<std::uint64_t> now_{5'000'000'000'000ull}, fadeStep_{0};

    // Most cases play this: about 2.3 s of 44.1 kHz 16-bit stereo, longer than the buffer.
    const Bytes pcm_ = Pattern16(2 * 100000, 8);
    const Samples samples_ = AsSamples(pcm_);
    CStreamingSound sound_{os::audio::kCapsCtrlVolume};
};

} // namespace

TEST_F(StreamingSoundTest, CloseStopsTheSoundAndLeavesNothingToPlayWhetherFadingOrNot)
{
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        CStreamingSound sound(os::audio::kCapsCtrlVolume);
        sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm_));
        sound.SetLoop(true);
        PlayAndSettle(sound);
        Mix(3000 + 2000 * round);
        if (round % 2 == 1)
            sound.FadeOut(60000);
        sound.Close();
        sound.Play(); // nothing to play
        EXPECT_EQ(std::make_tuple(false, false, nullptr),
                  std::make_tuple(sound.IsPlaying(), sound.IsFading(), sound.GetBuffer()));
    }
}

TEST_F(StreamingSoundTest, ABufferHeldElsewherePlaysOnWithoutTheSoundDestroyedWhilePlaying)
{
    // Once the sound is gone the buffer no longer reaches the sound's events.
    auto doomed = std::make_unique<CStreamingSound>(os::audio::kCapsCtrlVolume);
    doomed->CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm_));
    PlayAndSettle(*doomed);
    doomed->FadeOut(60000);
    const std::shared_ptr<os::audio::SoundBuffer> held = doomed->GetBuffer();
    doomed.reset();
    ASSERT_EQ(os::audio::kOk, held->Play(os::audio::kPlayLooping));
    Mix(3 * kSectionFrames);
    EXPECT_EQ(os::audio::kOk, held->Stop());
}

TEST_F(StreamingSoundTest, PlayFromTwoThreadsAtOnceStartsOneFeeder)
{
    // The console host plays the music from the game thread and from the main thread.
    LogCapture log;
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        std::atomic<bool> go{false};
        std::thread other([&] {
            while (!go)
                std::this_thread::yield();
            sound_.Play();
        });
        go = true;
        sound_.Play();
        other.join();
        ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound_.GetBuffer(), kWaitMs));
        sound_.Stop();
        ASSERT_TRUE(Eventually([&] { return !sound_.IsPlaying(); }));
        // A second feeder would still be listening for the sections.
        ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
        ASSERT_FALSE(os::testing::WaitForNotifyListener(*sound_.GetBuffer(), 0));
    }
    EXPECT_FALSE(log.Contains("did not stop")) << log.All();
}

TEST_F(StreamingSoundTest, AStopWhileTheFeederStillFillsIsNotLostAndPlayedAgainItRunsOn)
{
    std::promise<void> stopRelease;
    CStreamingSound stalled(os::audio::kCapsCtrlVolume);
    PlayStalled(stalled, stopRelease);
    stalled.Stop(); // the buffer has not started yet
    stopRelease.set_value();
    EXPECT_TRUE(Eventually([&] { return !stalled.IsPlaying(); }) && !BufferPlays(stalled));
    // Played again, it runs on through its refills.
    PlayAndSettle(stalled);
    Mix(2 * kSectionFrames);
    EXPECT_TRUE(stalled.IsPlaying());
}

TEST_F(StreamingSoundTest, CloseWaitsForAFeederThatOutlastsItsBoundedWait)
{
    std::promise<void> closeRelease;
    CStreamingSound stalled(os::audio::kCapsCtrlVolume);
    const auto reader = PlayStalled(stalled, closeRelease);
    // Each 2 ms step of the wait counts here; the reader comes back only after 150 of them,
    // well past the 100 checks.
    std::atomic<int> sleeps{0};
    os::testing::SetSleepFunction([&](std::uint32_t) {
        if (++sleeps == 150)
            closeRelease.set_value();
        std::this_thread::yield();
    });
    stalled.Close();
    os::testing::SetSleepFunction({});
    // The whole first fill ran before Close released anything.
    EXPECT_EQ(std::make_tuple(true, 16, nullptr),
              std::make_tuple(sleeps.load() >= 150, reader->reads_.load(), stalled.GetBuffer()));
}

TEST_F(StreamingSoundTest, PlaybackStartsFromTheBeginningThroughABufferLostBeforeIt)
{
    sound_.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm_));
    os::testing::MarkBufferLost(*sound_.GetBuffer());
    os::testing::FailNextRestores(*sound_.GetBuffer(), 3);
    std::atomic<int> retries{0};
    os::testing::SetSleepFunction([&](std::uint32_t milliseconds) {
        if (milliseconds == 10)
            ++retries;
    });
    PlayAndSettle(sound_);
    os::testing::SetSleepFunction({});
    EXPECT_EQ(std::make_pair(3, Cycle(samples_, 0, 200)), std::make_pair(retries.load(), Mix(100)));
}

TEST_F(StreamingSoundTest, StopKeepsTheReaderWhereItWasPlayGoesOnFromThereAndRewindRestarts)
{
    PlayAndSettle(sound_);
    Mix(100);
    Mix(kSectionFrames - 100 + 10); // one refill: 17 sections read
    sound_.Stop();
    ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
    EXPECT_EQ(std::make_pair(false, 0u), std::make_pair(sound_.IsPlaying(), sound_.GetPosition()));
    PlayAndSettle(sound_);
    EXPECT_EQ(Cycle(samples_, 17 * kSectionFrames * 2, 20), Mix(10));
    sound_.Rewind();
    ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound_.GetBuffer(), kWaitMs));
    EXPECT_EQ(Cycle(samples_, 0, 20), Mix(10));
    EXPECT_EQ(40u, sound_.GetPosition());
}

TEST_F(StreamingSoundTest, AReaderFailingAfterTheFirstFillStopsTheSoundAndIsLogged)
{
    // As a file cut short might.
    LogCapture log;
    sound_.CreateBuffer(device_, boost::shared_ptr<ISoundReader>(new HookedReader(pcm_, [](int reads) {
                            if (reads > 16)
                                throw EReadError(nullptr, "read failed");
                        })));
    PlayAndSettle(sound_);
    Mix(kSectionFrames + 10); // the first refill fails
    ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
    EXPECT_FALSE(sound_.IsPlaying() || BufferPlays(sound_));
    EXPECT_TRUE(log.Contains("read failed")) << log.All();
    EXPECT_EQ(Samples(200), Mix(100));
}

TEST_F(StreamingSoundTest, TheBufferHoldsTwoSecondsInSixteenSections)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(1, 22050, 16), Bytes(1000)));
    EXPECT_EQ(std::make_tuple(88192u, 5512u, 22050u, false),
              std::make_tuple(sound.GetBufferBytes(), sound.GetSectionSize(), sound.GetFormat()->samplesPerSec,
                              sound.IsPlaying()));
}

TEST_F(StreamingSoundTest, ABadFormatFailsBeforeAnySizeIsComputedAndTheOldBufferIsGone)
{
    LogCapture log;
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(1, 22050, 16), Bytes(1000)));
    os::audio::WaveFormatEx broken = Pcm(2, 44100, 16);
    broken.blockAlign = 0;
    ExpectThrowWith<EReadError>([&] { sound.CreateBuffer(device_, Reader(broken, Bytes(400))); },
                                "サウンドバッファの作成に失敗しました.");
    EXPECT_EQ(std::make_tuple(0u, false, true),
              std::make_tuple(CStreamingSound::BufferBytesFor(broken), sound.GetBuffer() != nullptr,
                              log.Contains("\n\tStreamingSound(")));
}

TEST_F(StreamingSoundTest, NoBufferWithoutNotificationsIsLeftBehindToLoopItsFirstTwoSeconds)
{
    LogCapture log;
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    os::testing::FailAudioCall(os::testing::AudioCall::QueryNotify, os::audio::kErrNoInterface, 1);
    ExpectThrowWith<EReadError>([&] { sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), Bytes(400))); },
                                "DirectSoundNotify の作成に失敗しました.");
    sound.Play();
    EXPECT_EQ(std::make_tuple(nullptr, false), std::make_tuple(sound.GetBuffer(), sound.IsPlaying()));
}

TEST_F(StreamingSoundTest, WithoutAnInitialisedDeviceTheSoundNeverReadsItsStreamAndStaysSilent)
{
    LogCapture log;
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    CDXSound silent;
    CMemoryStream empty;
    sound.Create(silent, empty);
    sound.Play();
    sound.FadeIn(100);
    EXPECT_EQ(std::make_tuple(false, nullptr, 0u),
              std::make_tuple(sound.IsPlaying(), sound.GetFormat(), sound.GetPosition()));
}

TEST_F(StreamingSoundTest, AShortPieceFromAFilePlaysOnceAndStopsWithinASectionOfItsEnd)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    const auto pcm = Pattern16(60000, 3); // 30000 stereo frames
    const auto samples = AsSamples(pcm);
    CFileStream stream(dir_.Write("short.wav", MakeWave(Pcm(2, 44100, 16), pcm)), 1, 1);
    sound.Create(device_, stream);
    PlayAndSettle(sound);
    auto out = Mix(7000);
    EXPECT_EQ(28000u, sound.GetPosition());
    sound.Play(); // already playing: nothing changes
    std::ranges::copy(MixUntilStopped(sound, 200000), std::back_inserter(out));
    EXPECT_EQ(std::make_tuple(false, 0u, true), std::make_tuple(sound.IsPlaying(), sound.GetPosition(),
                                                                out.size() / 2 <= 30000u + kSectionFrames + 1000u));
    EXPECT_EQ(ThenSilence(samples, out.size()), out);
}

TEST_F(StreamingSoundTest, APieceLongerThanTheBufferStopsWithinASectionOfItsEnd)
{
    // Counting its plays past the buffer's end.
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm_));
    PlayAndSettle(sound);
    const auto out = MixUntilStopped(sound, 400000);
    EXPECT_EQ(std::make_pair(false, true),
              std::make_pair(sound.IsPlaying(), out.size() / 2 <= 100000u + kSectionFrames + 1000u));
    EXPECT_EQ(ThenSilence(samples_, out.size()), out);
}

TEST_F(StreamingSoundTest, ALoopingPieceRepeatsWithoutAGap)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    const auto odd = Pattern16(2 * 7001, 4);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), odd));
    sound.SetLoop(true);
    PlayAndSettle(sound);
    EXPECT_EQ(Cycle(AsSamples(odd), 0, 240000), Mix(120000));
    EXPECT_TRUE(sound.IsPlaying());
}

TEST_F(StreamingSoundTest, AnEmptyLoopingPieceEndsInsteadOfSpinning)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), {}));
    sound.SetLoop(true);
    PlayAndSettle(sound);
    const auto out = MixUntilStopped(sound, 3 * kSectionFrames);
    EXPECT_EQ(std::make_pair(Samples(out.size()), false), std::make_pair(out, sound.IsPlaying()));
}

TEST_F(StreamingSoundTest, EightBitSilenceAfterTheEndIsTheMidpointNotAFullNegativeSwing)
{
    CStreamingSound eightBit(0);
    eightBit.CreateBuffer(device_, Reader(Pcm(1, 44100, 8), Bytes(100, 0xC0)));
    PlayAndSettle(eightBit);
    const auto out = Mix(200);
    EXPECT_EQ(std::make_pair(64 * 256, 0), std::make_pair(int{out[0]}, int{out[2 * 150]}));
}

TEST_F(StreamingSoundTest, FadeInRisesToTheVolumeItHadAndFadeOutOfAStoppedSoundDoesNothing)
{
    sound_.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm_));
    sound_.SetVolume(-500);
    LogVolumes();
    os::testing::SetClockFunction([this]() -> std::uint64_t { return ticks_.fetch_add(25'000'000ull); });

    sound_.FadeOut(100); // stopped: nothing happens
    EXPECT_FALSE(sound_.IsFading());
    sound_.FadeIn(200);
    ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound_.GetBuffer(), kWaitMs));
    ASSERT_TRUE(Eventually([&] { return !sound_.IsFading(); }));
    EXPECT_EQ(std::make_pair(true, -500), std::make_pair(sound_.IsPlaying(), sound_.GetVolume()));
    const auto volumes = TakeVolumes();
    ASSERT_GE(volumes.size(), 3u);
    EXPECT_EQ(std::make_pair(-10000, -500), std::make_pair(volumes.front(), volumes.back()));
    // Rising all the way; the way back from the scaled axis may land one hundredth off the end.
    for (std::size_t i = 1; i < volumes.size(); ++i)
        EXPECT_LE(volumes[i - 1], volumes[i] + 1) << i;
}

TEST_F(StreamingSoundTest, FadeOutStepsAlongTheScaledAxisAndStopsAndASecondFadeIsRefused)
{
    // A looping sound playing at full volume; the fade thread's clock moves 20 ms each time it is read.
    sound_.SetVolume(0);
    sound_.SetLoop(true);
    PlayAndSettle(sound_);
    UseFadeThreadClock(20'000'000ull);

    TakeVolumes();
    sound_.FadeOut(100);
    EXPECT_TRUE(sound_.IsFading()); // claimed before the thread runs: a second fade is refused
    sound_.FadeIn(100);
    sound_.FadeOut(100);
    ASSERT_TRUE(Eventually([&] { return !sound_.IsFading(); }));
    ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
    EXPECT_EQ(std::make_pair(false, -10000), std::make_pair(sound_.IsPlaying(), sound_.GetVolume()));
    EXPECT_EQ(std::vector<std::int32_t>({0, CSound::ScaledToVolume(-2000), CSound::ScaledToVolume(-4000),
                                         CSound::ScaledToVolume(-6000), CSound::ScaledToVolume(-8000), -10000, -10000}),
              TakeVolumes());
}

TEST_F(StreamingSoundTest, AFadeOfMinutesIsThreeQuartersAlongTheAxisThreeQuartersThrough)
{
    // Elapsed times the distance no longer fits 32 bits.
    sound_.SetVolume(0);
    sound_.SetLoop(true);
    PlayAndSettle(sound_);
    UseFadeThreadClock(300'000'000'000ull);
    TakeVolumes();
    sound_.FadeOut(400000);
    ASSERT_TRUE(Eventually([&] { return !sound_.IsFading(); }));
    EXPECT_EQ(std::vector<std::int32_t>({0, CSound::ScaledToVolume(-7500), -10000}), TakeVolumes());
}
