/** @file SoundTestSupport.h Generated WAVE and Ogg data, a PCM reader in memory for the sound tests. */
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "KorvaneXDK/core/SoundReader.h"
#include "os/audio/WaveFormat.h"
#include "support/LogCapture.h"

namespace soundtest {

os::audio::WaveFormatEx Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);

/// A RIFF WAVE file holding the PCM bytes in the format.
std::string MakeWave(const os::audio::WaveFormatEx& format, const std::vector<std::uint8_t>& pcm);

/// An Ogg Vorbis file of `frames` frames of a 440 Hz tone.
std::string MakeOgg(int channels, int rate, int frames);

/// 16-bit samples that differ from frame to frame (so a gap or a repeat shows), as bytes.
std::vector<std::uint8_t> Pattern16(std::size_t samples, int seed);
std::vector<std::int16_t> AsSamples(const std::vector<std::uint8_t>& bytes);

/// PCM from memory with any format, including ones no file reader would accept.
class MemoryPcmReader : public korvane::CStandardSoundReader
{
public:
    MemoryPcmReader(const os::audio::WaveFormatEx& format, std::vector<std::uint8_t> pcm)
        : format_(format), pcm_(std::move(pcm))
    {
    }
    using korvane::CStandardSoundReader::Open;
    void Open(korvane::IKorvaneStream*) override {}
    const os::audio::WaveFormatEx* GetFormat() const override { return &format_; }
    std::int32_t Rewind() override
    {
        position_ = 0;
        return 0;
    }
    std::int32_t Read(void* buffer, std::int32_t bytes) override;
    std::int32_t GetTotalBytes() const override { return static_cast<std::int32_t>(pcm_.size()); }
    std::int32_t GetPosition() const override { return position_; }
    std::string GetComment(const std::string&) const override { return ""; }

private:
    os::audio::WaveFormatEx format_;
    std::vector<std::uint8_t> pcm_;
    std::int32_t position_ = 0;
};

using korvane::test::LogCapture;

} // namespace soundtest
