/** @file WaveSoundReader.h Reads the PCM data of RIFF WAVE files. */
#pragma once

#include <vector>

#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/StandardSoundReader.h"

namespace korvane
{

/// Reads the "fmt " and "data" chunks of a WAVE file. The format block is bounded by what
/// the file holds; format support (tag, depth, channels) is left to the sound device.
class CWaveSoundReader : public CStandardSoundReader, public virtual CNonCopyable
{
public:
    CWaveSoundReader();
    ~CWaveSoundReader() override;

    using CStandardSoundReader::Open;
    void Open(IKorvaneStream* stream) override;
    std::int32_t Rewind() override;
    std::int32_t Read(void* buffer, std::int32_t bytes) override;
    std::string GetComment(const std::string& key) const override;

    /// The bytes of the format block that follow the 18-byte record (cbSize of them).
    const std::vector<std::uint8_t>& GetFormatExtra() const { return formatExtra_; }

private:
    CRIFFReader riff_;
    std::vector<std::uint8_t> formatExtra_;
};

} // namespace korvane
