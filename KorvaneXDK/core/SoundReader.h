/** @file SoundReader.h The PCM pull interface of the sound readers and the factory choosing one by content. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Object.h"
#include "os/audio/WaveFormat.h"

namespace korvane
{

/// A source of PCM bytes in the format GetFormat names. One thread at a time.
class ISoundReader : public IInterface
{
public:
    ~ISoundReader() override = default;

    /// Prepares reading from the stream's start. The reader does not own the stream.
    virtual void Open(IKorvaneStream* stream) = 0;
    /// Keeps the stream alive (releasing a previously kept one), then opens it.
    virtual void Open(boost::shared_ptr<IKorvaneStream> stream) = 0;
    /// The PCM format; valid while the reader lives.
    virtual const os::audio::WaveFormatEx* GetFormat() const = 0;
    /// Goes back to the first PCM byte; the position becomes 0.
    virtual std::int32_t Rewind() = 0;
    /// Delivers up to `bytes` bytes; fewer at the end, 0 at the end (or for a count below 1).
    virtual std::int32_t Read(void* buffer, std::int32_t bytes) = 0;
    /// The PCM length in bytes.
    virtual std::int32_t GetTotalBytes() const = 0;
    /// Bytes delivered since the last Rewind.
    virtual std::int32_t GetPosition() const = 0;
    /// A tag of the sound, looked up without regard to case; "" when absent.
    virtual std::string GetComment(const std::string& key) const = 0;
};

/// A new, unopened reader for the stream's content, chosen by its first bytes ("Ogg" or
/// "RIFF"...."WAVE"); the stream's position is left as it was. Owned by the caller.
/// Throws EInvalidFileFormat for any other content.
ISoundReader* CreateSoundReader(IKorvaneStream* stream);
/// CreateSoundReader, then Open on the stream.
ISoundReader* CreateAndOpenSoundReader(IKorvaneStream* stream);

} // namespace korvane
