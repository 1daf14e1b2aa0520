/** @file OggFile.cpp Driving libvorbisenc and libogg page by page. */
#include "tools/assetgen/OggFile.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace assetgen
{

namespace
{

void AppendPage(std::vector<std::uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

} // namespace

std::vector<std::uint8_t> EncodeOggVorbis(const std::vector<float>& left, const std::vector<float>& right, int rate,
                                          float quality, int serial, const std::vector<std::string>& comments)
{
    if (left.size() != right.size()) {
        throw std::runtime_error("Ogg encoder: channels of different lengths");
    }
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("Ogg encoder: unsupported rate or quality");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    for (const std::string& text : comments) {
        vorbis_comment_add(&comment, text.c_str());
    }
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    std::vector<std::uint8_t> out;
    ogg_page page;
    ogg_packet packet;
    {
        ogg_packet header, commentHeader, codeHeader;
        vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &commentHeader);
        ogg_stream_packetin(&stream, &codeHeader);
        // The audio starts on a page of its own, as the Vorbis I format requires.
        while (ogg_stream_flush(&stream, &page) != 0) {
            AppendPage(out, page);
        }
    }

    const std::size_t chunk = 1024;
    std::size_t done = 0;
    bool ended = false;
    while (!ended) {
        const std::size_t count = std::min(chunk, left.size() - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            std::copy(left.begin() + static_cast<std::ptrdiff_t>(done),
                      left.begin() + static_cast<std::ptrdiff_t>(done + count), buffer[0]);
            std::copy(right.begin() + static_cast<std::ptrdiff_t>(done),
                      right.begin() + static_cast<std::ptrdiff_t>(done + count), buffer[1]);
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page) != 0) {
                        ended = true;
                    }
                }
            }
        }
        if (count == 0) {
            while (ogg_stream_flush(&stream, &page) != 0) {
                AppendPage(out, page);
            }
            ended = true;
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

} // namespace assetgen
