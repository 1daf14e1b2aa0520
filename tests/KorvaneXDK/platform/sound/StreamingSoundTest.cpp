/** @file StreamingSoundTest.cpp Streaming sounds with their feeder and fade threads, stepped through the manual mixer. */
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <thread>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/StreamingSound.h"
#include "SoundTestSupport.h"
#include "os/audio/AudioTesting.h"
#include "os/system/System.h"
#include "support/TempDir.h"

using namespace korvane;
using soundtest::AsSamples;
using soundtest::Pcm;

namespace {

constexpr std::uint32_t kWaitMs = 10000;
// One section of a 44.1 kHz 16-bit stereo buffer, in frames.
constexpr std::uint32_t kSectionFrames = 22048 / 4;

boost::shared_ptr<ISoundReader> Reader(const os::audio::WaveFormatEx& format, std::vector<std::uint8_t> pcm)
{
    return boost::shared_ptr<ISoundReader>(new soundtest::MemoryPcmReader(format, std::move(pcm)));
}

class StreamingSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_TRUE(device_.Initialize());
    }
    void TearDown() override
    {
        os::testing::ResetAudioHooks();
        os::testing::SetClockFunction({});
        os::testing::SetSleepFunction({});
    }

    // Play and wait until the feeder has filled the buffer and listens for its sections.
    static void PlayAndSettle(CStreamingSound& sound)
    {
        sound.Play();
        ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound.GetBuffer(), kWaitMs));
    }

    // Mixes in steps until the sound has stopped; returns everything mixed.
    static std::vector<std::int16_t> MixUntilStopped(CStreamingSound& sound, std::uint32_t limitFrames)
    {
        std::vector<std::int16_t> all;
        for (std::uint32_t done = 0; sound.IsPlaying() && done < limitFrames; done += 1000)
        {
            const auto out = os::testing::MixAudioFrames(1000);
            all.insert(all.end(), out.begin(), out.end());
        }
        return all;
    }

    korvane::test::TempDir dir_;
    CDXSound device_;
};

} // namespace

TEST_F(StreamingSoundTest, BufferIsTwoSecondsInSixteenSections)
{
    EXPECT_EQ(352768u, CStreamingSound::BufferBytesFor(Pcm(2, 44100, 16)));
    EXPECT_EQ(88192u, CStreamingSound::BufferBytesFor(Pcm(1, 22050, 16)));
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(1, 22050, 16), std::vector<std::uint8_t>(1000)));
    EXPECT_EQ(88192u, sound.GetBufferBytes());
    EXPECT_EQ(5512u, sound.GetSectionSize());
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(22050u, sound.GetFormat()->samplesPerSec);
}

TEST_F(StreamingSoundTest, ShortPiecePlaysOnceAndStopsWithinASectionOfItsEnd)
{
    const auto pcm = soundtest::Pattern16(60000, 3); // 30000 stereo frames
    const auto samples = AsSamples(pcm);
    const std::string path = dir_.Write("short.wav", soundtest::MakeWave(Pcm(2, 44100, 16), pcm));
    CFileStream stream(path, 1, 1);
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.Create(device_, stream);
    EXPECT_EQ(0u, sound.GetPosition());
    PlayAndSettle(sound);

    auto out = os::testing::MixAudioFrames(7000);
    EXPECT_EQ(28000u, sound.GetPosition());
    sound.Play(); // already playing: nothing changes
    const auto rest = MixUntilStopped(sound, 200000);
    out.insert(out.end(), rest.begin(), rest.end());
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(0u, sound.GetPosition());
    ASSERT_GE(out.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(samples[i], out[i]) << i;
    for (std::size_t i = samples.size(); i < out.size(); ++i)
        ASSERT_EQ(0, out[i]) << i;
    EXPECT_LE(out.size() / 2, 30000u + kSectionFrames + 1000u);
}

TEST_F(StreamingSoundTest, LoopingPieceOfOddLengthLoopsWithoutAGap)
{
    const auto pcm = soundtest::Pattern16(2 * 7001, 4);
    const auto samples = AsSamples(pcm);
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm));
    sound.SetLoop(true);
    PlayAndSettle(sound);
    for (std::size_t done = 0; done < 120000; done += 3000)
    {
        const auto out = os::testing::MixAudioFrames(3000);
        for (std::size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(samples[(done * 2 + i) % samples.size()], out[i]) << done * 2 + i;
    }
    EXPECT_TRUE(sound.IsPlaying());
    sound.Close();
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(nullptr, sound.GetBuffer());
}

TEST_F(StreamingSoundTest, OggPiecePlaysThroughRefillsToItsEndAndLoops)
{
    const int frames = 44100 * 3 + 123; // longer than the buffer: needs refills
    const std::string path = dir_.Write("music.ogg", soundtest::MakeOgg(2, 44100, frames));
    std::vector<std::int16_t> decoded;
    {
        CFileStream stream(path, 1, 1);
        std::unique_ptr<ISoundReader> reader(CreateAndOpenSoundReader(&stream));
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(reader->GetTotalBytes()));
        ASSERT_EQ(reader->GetTotalBytes(), reader->Read(bytes.data(), reader->GetTotalBytes()));
        decoded = AsSamples(bytes);
    }
    ASSERT_EQ(static_cast<std::size_t>(frames) * 2, decoded.size());

    CFileStream stream(path, 1, 1);
    CStreamingSound sound(os::audio::kCapsCtrlVolume, 1); // as the console host makes its music
    sound.Open(device_, stream);
    PlayAndSettle(sound);
    const auto out = MixUntilStopped(sound, 400000);
    EXPECT_FALSE(sound.IsPlaying());
    ASSERT_GE(out.size(), decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i)
        ASSERT_EQ(decoded[i], out[i]) << i;

    // Looping: rewound, it runs past its length and keeps going from its start.
    sound.SetLoop(true);
    sound.Rewind();
    PlayAndSettle(sound);
    std::vector<std::int16_t> looped;
    for (int i = 0; i < 150; ++i)
    {
        const auto part = os::testing::MixAudioFrames(1000);
        looped.insert(looped.end(), part.begin(), part.end());
    }
    EXPECT_TRUE(sound.IsPlaying());
    for (std::size_t i = 0; i < looped.size(); ++i)
        ASSERT_EQ(decoded[i % decoded.size()], looped[i]) << i;
}

TEST_F(StreamingSoundTest, StopKeepsTheReaderWherePlayWentOnAndRewindRestarts)
{
    const auto pcm = soundtest::Pattern16(2 * 200000, 5);
    const auto samples = AsSamples(pcm);
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm));
    PlayAndSettle(sound);
    os::testing::MixAudioFrames(kSectionFrames + 10); // one refill: 17 sections read
    sound.Stop();
    ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(0u, sound.GetPosition());

    PlayAndSettle(sound);
    auto out = os::testing::MixAudioFrames(10);
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(samples[17 * kSectionFrames * 2 + i], out[i]) << i;

    sound.Rewind();
    ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound.GetBuffer(), kWaitMs));
    out = os::testing::MixAudioFrames(10);
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(samples[i], out[i]) << i;
    EXPECT_EQ(40u, sound.GetPosition());
}

TEST_F(StreamingSoundTest, EmptyLoopingPieceEndsInsteadOfSpinning)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), {}));
    sound.SetLoop(true);
    PlayAndSettle(sound);
    const auto out = MixUntilStopped(sound, 3 * kSectionFrames);
    EXPECT_FALSE(sound.IsPlaying());
    for (std::int16_t sample : out)
        ASSERT_EQ(0, sample);
}

TEST_F(StreamingSoundTest, EightBitSilenceIsTheMidpoint)
{
    CStreamingSound sound(0);
    sound.CreateBuffer(device_, Reader(Pcm(1, 44100, 8), std::vector<std::uint8_t>(100, 0xC0)));
    PlayAndSettle(sound);
    const auto out = os::testing::MixAudioFrames(200);
    EXPECT_EQ(64 * 256, out[0]);
    EXPECT_EQ(0, out[2 * 150]); // 0x80 after the end, not a full negative swing
}

TEST_F(StreamingSoundTest, BadFormatFailsBeforeAnySizeIsComputed)
{
    os::audio::WaveFormatEx broken = Pcm(2, 44100, 16);
    broken.blockAlign = 0;
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    try
    {
        sound.CreateBuffer(device_, Reader(broken, std::vector<std::uint8_t>(400)));
        FAIL() << "no exception";
    }
    catch (const EReadError& e)
    {
        EXPECT_EQ("サウンドバッファの作成に失敗しました.", e.GetMessage());
    }
    EXPECT_EQ(nullptr, sound.GetBuffer());
    EXPECT_EQ(0u, CStreamingSound::BufferBytesFor(broken));

    os::testing::FailAudioCall(os::testing::AudioCall::QueryNotify, os::audio::kErrNoInterface, 1);
    try
    {
        sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), std::vector<std::uint8_t>(400)));
        FAIL() << "no exception";
    }
    catch (const EReadError& e)
    {
        EXPECT_EQ("DirectSoundNotify の作成に失敗しました.", e.GetMessage());
    }
    // No buffer without notifications is left behind to loop its first two seconds.
    EXPECT_EQ(nullptr, sound.GetBuffer());
    sound.Play();
    EXPECT_FALSE(sound.IsPlaying());
}

TEST_F(StreamingSoundTest, FadeOutStepsAlongTheScaledAxisAndStops)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), soundtest::Pattern16(400000, 6)));
    sound.SetLoop(true);
    PlayAndSettle(sound);

    // The fade thread's clock moves 20 ms each time it is read; every other thread sees it stand.
    std::mutex mutex;
    std::vector<std::int32_t> volumes;
    std::atomic<std::thread::id> fadeThread{};
    std::atomic<std::uint64_t> now{5'000'000'000'000ull};
    std::atomic<std::uint64_t> step{20'000'000ull};
    os::testing::SetVolumeObserver([&](const os::audio::SoundBuffer&, std::int32_t volume) {
        std::thread::id none{};
        fadeThread.compare_exchange_strong(none, std::this_thread::get_id());
        std::lock_guard<std::mutex> lock(mutex);
        volumes.push_back(volume);
    });
    os::testing::SetClockFunction([&]() -> std::uint64_t {
        if (std::this_thread::get_id() == fadeThread.load())
            return now.fetch_add(step.load());
        return now.load();
    });

    sound.FadeOut(100);
    EXPECT_TRUE(sound.IsFading()); // claimed before the thread runs: a second fade is refused
    sound.FadeIn(100);
    sound.FadeOut(100);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sound.IsFading() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_FALSE(sound.IsFading());
    ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(-10000, sound.GetVolume());
    const std::vector<std::int32_t> expected = {0,
                                                CSound::ScaledToVolume(-2000),
                                                CSound::ScaledToVolume(-4000),
                                                CSound::ScaledToVolume(-6000),
                                                CSound::ScaledToVolume(-8000),
                                                -10000,
                                                -10000};
    {
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_EQ(expected, volumes);
    }
    // Halfway along the time, (1 - 0.5^0.22) x -10000.
    EXPECT_EQ(-1414, CSound::ScaledToVolume(-5000));

    // A fade of minutes: three quarters through is three quarters along the axis (elapsed
    // times the distance no longer fits 32 bits).
    sound.SetVolume(0);
    PlayAndSettle(sound);
    {
        std::lock_guard<std::mutex> lock(mutex);
        volumes.clear();
    }
    fadeThread = std::thread::id{};
    step = 300'000'000'000ull;
    sound.FadeOut(400000);
    while (sound.IsFading() && std::chrono::steady_clock::now() < deadline + std::chrono::seconds(10))
        std::this_thread::yield();
    ASSERT_FALSE(sound.IsFading());
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(std::vector<std::int32_t>({0, CSound::ScaledToVolume(-7500), -10000}), volumes);
}

TEST_F(StreamingSoundTest, FadeInStartsSilentAndRisesToTheVolumeItHad)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), soundtest::Pattern16(400000, 7)));
    sound.SetVolume(-500);
    std::mutex mutex;
    std::vector<std::int32_t> volumes;
    os::testing::SetVolumeObserver([&](const os::audio::SoundBuffer&, std::int32_t volume) {
        std::lock_guard<std::mutex> lock(mutex);
        volumes.push_back(volume);
    });
    std::atomic<std::uint64_t> now{1'000'000'000ull};
    os::testing::SetClockFunction([&]() -> std::uint64_t { return now.fetch_add(25'000'000ull); });

    sound.FadeOut(100); // stopped: nothing happens
    EXPECT_FALSE(sound.IsFading());
    sound.FadeIn(200);
    ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound.GetBuffer(), kWaitMs));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sound.IsFading() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_FALSE(sound.IsFading());
    EXPECT_TRUE(sound.IsPlaying());
    EXPECT_EQ(-500, sound.GetVolume());
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_GE(volumes.size(), 3u);
    EXPECT_EQ(-10000, volumes.front());
    EXPECT_EQ(-500, volumes.back());
    // Rising all the way; the way back from the scaled axis may land one hundredth off the end.
    for (std::size_t i = 1; i < volumes.size(); ++i)
        EXPECT_LE(volumes[i - 1], volumes[i] + 1) << i;
}

TEST_F(StreamingSoundTest, ClosingWhilePlayingAndWhileFadingIsSafe)
{
    const auto pcm = soundtest::Pattern16(2 * 100000, 8);
    for (int round = 0; round < 4; ++round)
    {
        CStreamingSound sound(os::audio::kCapsCtrlVolume);
        sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm));
        sound.SetLoop(true);
        PlayAndSettle(sound);
        os::testing::MixAudioFrames(3000 + 2000 * round);
        if (round % 2 == 1)
            sound.FadeOut(60000);
        sound.Close();
        EXPECT_FALSE(sound.IsPlaying());
        EXPECT_FALSE(sound.IsFading());
        EXPECT_EQ(nullptr, sound.GetBuffer());
        sound.Play(); // nothing to play
        EXPECT_FALSE(sound.IsPlaying());
    }
    // Destroyed while playing, with its buffer still held elsewhere: once the sound is gone the
    // buffer plays on without reaching the sound's events.
    auto sound = std::make_unique<CStreamingSound>(os::audio::kCapsCtrlVolume);
    sound->CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm));
    PlayAndSettle(*sound);
    sound->FadeOut(60000);
    const std::shared_ptr<os::audio::SoundBuffer> held = sound->GetBuffer();
    sound.reset();
    ASSERT_EQ(os::audio::kOk, held->Play(os::audio::kPlayLooping));
    os::testing::MixAudioFrames(3 * kSectionFrames);
    EXPECT_EQ(os::audio::kOk, held->Stop());
}

namespace {

// Blocks in its first Read until released, as a reader stuck on a slow disk would.
class StallingReader : public soundtest::MemoryPcmReader
{
public:
    using MemoryPcmReader::MemoryPcmReader;
    std::int32_t Read(void* buffer, std::int32_t bytes) override
    {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!entered_)
            {
                entered_ = true;
                enteredCondition_.notify_all();
            }
            released_.wait(lock, [this] { return release_; });
        }
        ++reads_;
        return MemoryPcmReader::Read(buffer, bytes);
    }
    void WaitUntilEntered()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        enteredCondition_.wait(lock, [this] { return entered_; });
    }
    void Release()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        release_ = true;
        released_.notify_all();
    }
    std::atomic<int> reads_{0};

private:
    std::mutex mutex_;
    std::condition_variable released_;
    std::condition_variable enteredCondition_;
    bool entered_ = false;
    bool release_ = false;
};

} // namespace

TEST_F(StreamingSoundTest, CloseWaitsForAFeederThatOutlastsTheBoundedWait)
{
    auto reader = boost::shared_ptr<StallingReader>(
        new StallingReader(Pcm(2, 44100, 16), soundtest::Pattern16(2 * 100000, 9)));
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, reader);
    sound.Play();
    reader->WaitUntilEntered();

    // Each 2 ms step of the wait counts here; the reader comes back only after 150 of them,
    // well past the 100 checks.
    std::atomic<int> sleeps{0};
    os::testing::SetSleepFunction([&](std::uint32_t) {
        if (++sleeps == 150)
            reader->Release();
        std::this_thread::yield();
    });
    sound.Close();
    os::testing::SetSleepFunction({});
    EXPECT_GE(sleeps.load(), 150);
    EXPECT_EQ(16, reader->reads_.load()); // the whole first fill ran before Close released anything
    EXPECT_EQ(nullptr, sound.GetBuffer());
}

TEST_F(StreamingSoundTest, StopWhileTheFeederStillFillsIsNotLost)
{
    auto reader = boost::shared_ptr<StallingReader>(
        new StallingReader(Pcm(2, 44100, 16), soundtest::Pattern16(2 * 100000, 11)));
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, reader);
    sound.Play();
    reader->WaitUntilEntered();
    sound.Stop(); // the buffer has not started yet
    reader->Release();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sound.IsPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_FALSE(sound.IsPlaying());
    std::uint32_t status = 0;
    ASSERT_EQ(os::audio::kOk, sound.GetBuffer()->GetStatus(&status));
    EXPECT_EQ(0u, status & os::audio::kStatusPlaying);

    // Played again, it runs on through its refills.
    PlayAndSettle(sound);
    os::testing::MixAudioFrames(2 * kSectionFrames);
    EXPECT_TRUE(sound.IsPlaying());
}

TEST_F(StreamingSoundTest, PlayFromTwoThreadsAtOnceStartsOneFeeder)
{
    // The console host plays the music from the game thread and from the main thread.
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), soundtest::Pattern16(2 * 100000, 13)));
    soundtest::LogCapture log;
    for (int round = 0; round < 50; ++round)
    {
        std::atomic<bool> go{false};
        std::thread other([&] {
            while (!go)
                std::this_thread::yield();
            sound.Play();
        });
        go = true;
        sound.Play();
        other.join();
        ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound.GetBuffer(), kWaitMs));
        sound.Stop();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (sound.IsPlaying() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        ASSERT_FALSE(sound.IsPlaying()) << round;
        // A second feeder would still be listening for the sections.
        ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
        ASSERT_FALSE(os::testing::WaitForNotifyListener(*sound.GetBuffer(), 0)) << round;
    }
    EXPECT_FALSE(log.Contains("did not stop")) << log.All();
}

namespace {

// Fails once the first fill is done, as a reader of a file cut short might.
class FailingReader : public soundtest::MemoryPcmReader
{
public:
    using MemoryPcmReader::MemoryPcmReader;
    std::int32_t Read(void* buffer, std::int32_t bytes) override
    {
        if (++reads_ > 16)
            throw EReadError(nullptr, "read failed");
        return MemoryPcmReader::Read(buffer, bytes);
    }

private:
    int reads_ = 0;
};

} // namespace

TEST_F(StreamingSoundTest, FeederThatFailsStopsItsBuffer)
{
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, boost::shared_ptr<ISoundReader>(
                                    new FailingReader(Pcm(2, 44100, 16), soundtest::Pattern16(2 * 200000, 12))));
    soundtest::LogCapture log;
    PlayAndSettle(sound);
    os::testing::MixAudioFrames(kSectionFrames + 10); // the first refill fails
    ASSERT_TRUE(os::testing::WaitForTrackedEvents(kWaitMs));
    EXPECT_FALSE(sound.IsPlaying());
    std::uint32_t status = 0;
    ASSERT_EQ(os::audio::kOk, sound.GetBuffer()->GetStatus(&status));
    EXPECT_EQ(0u, status & os::audio::kStatusPlaying);
    EXPECT_TRUE(log.Contains("read failed")) << log.All();
    for (std::int16_t sample : os::testing::MixAudioFrames(100))
        ASSERT_EQ(0, sample);
}

TEST_F(StreamingSoundTest, WithoutAnInitialisedDeviceTheSoundStaysSilent)
{
    CDXSound silent;
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    CMemoryStream stream;
    const std::string wave = soundtest::MakeWave(Pcm(2, 44100, 16), soundtest::Pattern16(100, 1));
    stream.Write(wave.data(), static_cast<std::int32_t>(wave.size()));
    stream.Seek(0);
    sound.Create(silent, stream);
    sound.Play();
    sound.FadeIn(100);
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(nullptr, sound.GetFormat());
    EXPECT_EQ(0u, sound.GetPosition());
}

TEST_F(StreamingSoundTest, LostBufferIsRestoredBeforeItIsRefilled)
{
    const auto pcm = soundtest::Pattern16(2 * 100000, 10);
    const auto samples = AsSamples(pcm);
    CStreamingSound sound(os::audio::kCapsCtrlVolume);
    sound.CreateBuffer(device_, Reader(Pcm(2, 44100, 16), pcm));
    os::testing::MarkBufferLost(*sound.GetBuffer());
    os::testing::FailNextRestores(*sound.GetBuffer(), 3);
    std::atomic<int> retries{0};
    os::testing::SetSleepFunction([&](std::uint32_t milliseconds) {
        if (milliseconds == 10)
            ++retries;
    });
    PlayAndSettle(sound);
    os::testing::SetSleepFunction({});
    EXPECT_EQ(3, retries.load());
    const auto out = os::testing::MixAudioFrames(100);
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(samples[i], out[i]) << i;
}
