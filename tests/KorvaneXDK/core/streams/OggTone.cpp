/** @file OggTone.cpp Encodes a known tone with libvorbisenc. */
#include "OggTone.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>


namespace korvane::test {

OggTone EncodeTone(int channels, long rate, long frames, double frequency, const std::vector<std::string>& comments)
{
    OggTone tone;
    tone.channels = channels;
    tone.rate = rate;
    tone.frames = frames;
    tone.samples.resize(static_cast<std::size_t>(frames * channels));
    for (long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            tone.samples[static_cast<std::size_t>(i * channels + c)] =
                static_cast<float>(0.5 * std::sin(2.0 * M_PI * frequency * (c + 1) * static_cast<double>(i) / rate));

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.6f) != 0)
        throw std::runtime_error("vorbis_encode_init_vbr failed");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    for (const std::string& text : comments)
        vorbis_comment_add(&comment, text.c_str());
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    ogg_page page;
    auto append = [&tone](const ogg_page& p) {
        tone.bytes.append(reinterpret_cast<const char*>(p.header), static_cast<std::size_t>(p.header_len));
        tone.bytes.append(reinterpret_cast<const char*>(p.body), static_cast<std::size_t>(p.body_len));
    };
    {
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        while (ogg_stream_flush(&stream, &page) != 0)
            append(page);
    }

    const long chunk = 1024;
    long done = 0;
    bool ended = false;
    while (!ended)
    {
        const long count = std::min(chunk, frames - done);
        if (count > 0)
        {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (long i = 0; i < count; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = tone.samples[static_cast<std::size_t>((done + i) * channels + c)];
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        else
        {
            vorbis_analysis_wrote(&dsp, 0);   // end of stream
            ended = true;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    append(page);
            }
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        append(page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return tone;
}

} // namespace korvane::test
