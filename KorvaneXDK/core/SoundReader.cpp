/** @file SoundReader.cpp The factory choosing a sound reader by content. */
#include "KorvaneXDK/core/SoundReader.h"

#include <cstring>
#include <memory>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/OggVorbisReader.h"
#include "KorvaneXDK/core/WaveSoundReader.h"

namespace korvane
{

ISoundReader* CreateSoundReader(IKorvaneStream* stream)
{
    if (stream == nullptr)
        throw EInvalidParameter(nullptr, "CreateSoundReader(): no stream");
    std::uint8_t head[16] = {};
    const std::int32_t position = stream->GetPosition();
    stream->Read(head, sizeof head);
    stream->Seek(position);
    if (std::memcmp(head, "Ogg", 3) == 0)
        return new COggVorbisReader;
    if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
        return new CWaveSoundReader;
    throw EInvalidFileFormat(nullptr, "CreateSoundReader(): 対応していない音声フォーマットです.");
}

ISoundReader* CreateAndOpenSoundReader(IKorvaneStream* stream)
{
    std::unique_ptr<ISoundReader> reader(CreateSoundReader(stream));
    reader->Open(stream);
    return reader.release();
}

} // namespace korvane
