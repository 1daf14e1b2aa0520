/** @file OggVorbisReader.h Decodes Ogg Vorbis streams to 16-bit PCM with libvorbisfile. */
#pragma once

#include <memory>

#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/SoundReader.h"
#include "KorvaneXDK/core/StandardSoundReader.h"

namespace korvane
{

/// Decodes through libvorbisfile reading the engine stream by callbacks. The format and
/// the comments come from the first link of a chained stream; the sound ends before the
/// first later link whose channel count or rate differs. Delivers 16-bit signed
/// little-endian interleaved PCM, always in whole sample frames.
class COggVorbisReader : public CStandardSoundReader, public virtual CNonCopyable
{
public:
    COggVorbisReader();
    ~COggVorbisReader() override;

    using CStandardSoundReader::Open;
    /// Throws EFileOpenError when the decoder refuses the stream, when a link's headers
    /// hold what the decoder cannot safely decode, or when the sample count is impossible.
    void Open(IKorvaneStream* stream) override;
    /// Seeks to the first sample when the stream is seekable; returns the decoder's result.
    std::int32_t Rewind() override;
    std::int32_t Read(void* buffer, std::int32_t bytes) override;
    std::string GetComment(const std::string& key) const override;

private:
    struct Decoder;
    void CloseDecoder() noexcept;
    [[noreturn]] void FailOpen();

    std::unique_ptr<Decoder> decoder_;
    bool opened_ = false;
    int links_ = 0;      ///< the leading links that share the first link's format
    bool ended_ = false; ///< a link of another format was reached
    TProperties<comparator_for_properties::less_ignorecase> comments_;
};

} // namespace korvane
