/** @file AudioTestData.cpp PCM formats and an Ogg Vorbis encoder over libvorbisenc. */
#include "support/AudioTestData.h"

#include <vorbis/vorbisenc.h>

#include <stdexcept>

namespace korvane::test
{

os::audio::WaveFormatEx PcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    return {os::audio::kWaveFormatPcm, channels, rate, align * rate, align, bits, 0};
}

std::string EncodeOggVorbis(int channels, long rate, const std::vector<float>& interleaved, float quality,
                            const std::vector<std::string>& comments, int serial)
{
    if (channels < 1)
        throw std::invalid_argument("EncodeOggVorbis: no channels");
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("vorbis_encode_init_vbr failed");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    for (const std::string& text : comments)
        vorbis_comment_add(&comment, text.c_str());
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    std::string bytes;
    ogg_page page;
    auto append = [&bytes](const ogg_page& p) {
        bytes.append(reinterpret_cast<const char*>(p.header), static_cast<std::size_t>(p.header_len));
        bytes.append(reinterpret_cast<const char*>(p.body), static_cast<std::size_t>(p.body_len));
    };
    ogg_packet headers[3];
    vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
    for (ogg_packet& header : headers)
        ogg_stream_packetin(&stream, &header);
    while (ogg_stream_flush(&stream, &page) != 0)
        append(page);

    // All samples at once, then the end of the stream.
    const long frames = static_cast<long>(interleaved.size()) / channels;
    if (frames > 0) {
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(frames));
        for (long i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = interleaved[static_cast<std::size_t>(i * channels + c)];
        vorbis_analysis_wrote(&dsp, static_cast<int>(frames));
    }
    vorbis_analysis_wrote(&dsp, 0);
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page) != 0)
                append(page);
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        append(page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return bytes;
}

} // namespace korvane::test
