/** @file OggEncoder.cpp Driving libvorbisenc and libogg page by page. */
#include "tools/common/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace tools
{

namespace
{

/// The encoder's state, released together.
class VorbisEncoder
{
public:
    VorbisEncoder(int channels, long rate, float quality, int serial, const std::vector<std::string>& comments)
        : channels_(static_cast<std::size_t>(channels))
    {
        vorbis_info_init(&info_);
        if (vorbis_encode_init_vbr(&info_, channels, rate, quality) != 0) {
            vorbis_info_clear(&info_);
            throw std::runtime_error("Ogg encoder: unsupported rate or quality");
        }
        vorbis_comment_init(&comment_);
        for (const std::string& text : comments) {
            vorbis_comment_add(&comment_, text.c_str());
        }
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        ogg_stream_init(&stream_, serial);
    }
    ~VorbisEncoder()
    {
        ogg_stream_clear(&stream_);
        vorbis_block_clear(&block_);
        vorbis_dsp_clear(&dsp_);
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    /// The three header packets, on pages of their own: the audio starts on a new page, as Vorbis I requires.
    void WriteHeaders()
    {
        ogg_packet header, commentHeader, codeHeader;
        vorbis_analysis_headerout(&dsp_, &comment_, &header, &commentHeader, &codeHeader);
        ogg_stream_packetin(&stream_, &header);
        ogg_stream_packetin(&stream_, &commentHeader);
        ogg_stream_packetin(&stream_, &codeHeader);
        Flush();
    }

    /// Hands whole frames to the analysis (none: the end of the stream) and pages out what is complete.
    void Write(std::span<const float> interleaved)
    {
        const std::size_t count = interleaved.size() / channels_;
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp_, static_cast<int>(count));
            for (std::size_t frame = 0; frame < count; ++frame) {
                for (std::size_t c = 0; c < channels_; ++c) {
                    buffer[c][frame] = interleaved[frame * channels_ + c];
                }
            }
        }
        vorbis_analysis_wrote(&dsp_, static_cast<int>(count));
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) != 0) {
                ogg_stream_packetin(&stream_, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream_, &page) != 0) {
                    Append(page);
                }
            }
        }
    }

    void Flush()
    {
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) {
            Append(page);
        }
    }

    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    void Append(const ogg_page& page)
    {
        bytes_.insert(bytes_.end(), page.header, page.header + page.header_len);
        bytes_.insert(bytes_.end(), page.body, page.body + page.body_len);
    }

    std::size_t channels_;
    vorbis_info info_;
    vorbis_comment comment_;
    vorbis_dsp_state dsp_;
    vorbis_block block_;
    ogg_stream_state stream_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace

std::vector<std::uint8_t> EncodeOggVorbis(int channels, long rate, std::span<const float> interleaved, float quality,
                                          int serial, const std::vector<std::string>& comments)
{
    if (channels < 1) {
        throw std::invalid_argument("Ogg encoder: no channels");
    }
    const auto perFrame = static_cast<std::size_t>(channels);
    if (interleaved.size() % perFrame != 0) {
        throw std::invalid_argument("Ogg encoder: the samples end inside a frame");
    }
    VorbisEncoder encoder(channels, rate, quality, serial, comments);
    encoder.WriteHeaders();
    // A piece at a time: the analysis buffer stays small, and the bytes depend on the piece size.
    constexpr std::size_t kPieceFrames = 1024;
    const std::size_t frames = interleaved.size() / perFrame;
    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min(kPieceFrames, frames - done);
        encoder.Write(interleaved.subspan(done * perFrame, count * perFrame));
        done += count;
    }
    encoder.Write({});
    encoder.Flush();
    return std::move(encoder.Bytes());
}

} // namespace tools
