/** @file fuzz_sound_reader.cpp The sound readers: read all, rewind, read again, in whole frames. */
#include <vorbis/vorbisfile.h>

#include <memory>

#include "FuzzSupport.h"
#include "KorvaneXDK/core/OggVorbisReader.h"
#include "KorvaneXDK/core/SoundReader.h"

namespace
{

// The decoders the Ogg reader opens and closes, counted through the linker's wrapping.
int opened = 0;
int closed = 0;

void ReadTwice(korvane::ISoundReader& reader)
{
    const auto* format = reader.GetFormat();
    const bool ogg = dynamic_cast<korvane::COggVorbisReader*>(&reader) != nullptr;
    std::string first;
    for (int pass = 0; pass < 2; ++pass) {
        const std::string pcm = fuzz::ReadAll(reader, 16u << 20);
        fuzz::Check(reader.GetPosition() == static_cast<std::int32_t>(pcm.size()), "the position is not what was read");
        if (ogg) {
            fuzz::Check(pcm.size() % format->blockAlign == 0, "the Ogg reader delivered a part of a frame");
            fuzz::Check(reader.GetTotalBytes() == INT32_MAX ||
                            static_cast<std::int64_t>(pcm.size()) <= reader.GetTotalBytes(),
                        "the Ogg reader delivered more than its total");
        } else if (pass == 1) {
            fuzz::Check(pcm == first, "the WAVE reader read other bytes after rewinding");
        }
        first = pcm;
        reader.Rewind();
        fuzz::Check(reader.GetPosition() == 0, "rewinding did not go back to 0");
    }
}

} // namespace

extern "C"
{
    int __real_ov_open_callbacks(void* source, OggVorbis_File* file, const char* initial, long bytes,
                                 ov_callbacks callbacks);
    int __real_ov_clear(OggVorbis_File* file);

    int __wrap_ov_open_callbacks(void* source, OggVorbis_File* file, const char* initial, long bytes,
                                 ov_callbacks callbacks)
    {
        const int result = __real_ov_open_callbacks(source, file, initial, bytes, callbacks);
        if (result == 0)
            ++opened;
        return result;
    }

    int __wrap_ov_clear(OggVorbis_File* file)
    {
        ++closed;
        return __real_ov_clear(file);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Stream stream(data, size);
    try {
        std::unique_ptr<korvane::ISoundReader> reader(korvane::CreateAndOpenSoundReader(&stream));
        ReadTwice(*reader);
        // Opening again closes the decoder of the first opening.
        reader->Open(&stream);
    } catch (const korvane::EException&) {
    }
    fuzz::Check(opened == closed, "a decoder the Ogg reader opened was never closed");
    return 0;
}
