/** @file SoundTestSupport.h Generated WAVE and Ogg data, a PCM reader in memory and checks shared by the sound tests. */
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/SoundReader.h"
#include "KorvaneXDK/core/StandardSoundReader.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "os/audio/Testing.h"
#include "os/audio/WaveFormat.h"
#include "support/AudioTestData.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace soundtest
{

inline constexpr auto Pcm = &korvane::test::PcmFormat;
using korvane::test::LogCapture;

/// A RIFF WAVE file holding the PCM bytes in the format.
std::string MakeWave(const os::audio::WaveFormatEx& format, const std::vector<std::uint8_t>& pcm);
/// The WAVE file in a memory stream, positioned at its start.
void FillStream(korvane::CMemoryStream& stream, const os::audio::WaveFormatEx& format,
                const std::vector<std::uint8_t>& pcm);

/// An Ogg Vorbis file of `frames` frames of a 440 Hz tone.
std::string MakeOgg(int channels, int rate, int frames);

/// 16-bit samples that differ from frame to frame (so a gap or a repeat shows), as bytes.
std::vector<std::uint8_t> Pattern16(std::size_t samples, int seed);
std::vector<std::int16_t> AsSamples(const std::vector<std::uint8_t>& bytes);

/// out[i] == expected[(from + i) % expected.size()] for the first `count` samples of `out`
/// (all of them by default), naming the first difference.
::testing::AssertionResult MatchesFrom(const std::vector<std::int16_t>& expected, std::size_t from,
                                       const std::vector<std::int16_t>& out, std::size_t count = SIZE_MAX);
/// Every sample of `out` from `from` on is zero.
::testing::AssertionResult SilentFrom(const std::vector<std::int16_t>& out, std::size_t from = 0);

/// Runs `action`, which must throw EReadError with `message` (and `where`, where given).
inline void ExpectReadError(const std::function<void()>& action, const std::string& message,
                            const char* where = nullptr)
{
    korvane::test::ExpectThrowWith<korvane::EReadError>(action, message, where);
}

/// Yields until `done` holds or ten seconds pass; returns `done()`.
bool Eventually(const std::function<bool()>& done);

/// PCM from memory with any format, including ones no file reader would accept.
class MemoryPcmReader : public korvane::CStandardSoundReader
{
public:
    MemoryPcmReader(const os::audio::WaveFormatEx& format, std::vector<std::uint8_t> pcm) : pcm_(std::move(pcm))
    {
        format_ = format;
        totalBytes_ = static_cast<std::int32_t>(pcm_.size());
    }
    using korvane::CStandardSoundReader::Open;
    void Open(korvane::IKorvaneStream*) override {}
    std::int32_t Rewind() override { return position_ = 0; }
    std::int32_t Read(void* buffer, std::int32_t bytes) override
    {
        const std::int32_t count = std::max(0, std::min(bytes, static_cast<std::int32_t>(pcm_.size()) - position_));
        if (count > 0)
            std::memcpy(buffer, pcm_.data() + position_, static_cast<std::size_t>(count));
        position_ += count;
        return count;
    }
    std::string GetComment(const std::string&) const override { return ""; }

private:
    std::vector<std::uint8_t> pcm_;
};

inline boost::shared_ptr<korvane::ISoundReader> Reader(const os::audio::WaveFormatEx& format,
                                                       std::vector<std::uint8_t> pcm)
{
    return boost::shared_ptr<korvane::ISoundReader>(new MemoryPcmReader(format, std::move(pcm)));
}

/// An initialised sound device on the audio layer's manual backend, which mixes only when asked.
class SoundDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_TRUE(device_.Initialize());
    }
    void TearDown() override { os::testing::ResetAudioHooks(); }

    korvane::test::TempDir dir_;
    korvane::CDXSound device_;
};

} // namespace soundtest
