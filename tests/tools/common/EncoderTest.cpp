/** @file EncoderTest.cpp The shared PNG writer and Ogg encoder, read back by the program's own decoders. */
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/OggVorbisReader.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"
#include "tools/common/OggEncoder.h"
#include "tools/common/PngWriter.h"

namespace
{

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<std::uint32_t>;

/// The picture as the platform layer decodes it: 0xAARRGGBB words, top row first.
Words Decode(const Bytes& png)
{
    os::gfx::DecodedImage image;
    if (os::gfx::DecodePng(png.data(), png.size(), {}, &image) != os::gfx::kOk)
        return {};
    Words words(image.levels[0].size() / 4);
    std::memcpy(words.data(), image.levels[0].data(), words.size() * 4);
    return words;
}

TEST(PngWriter, EachColourTypeAndDepthDecodesToItsPixelsAlwaysInTheSameBytes)
{
    const std::vector<tools::PngPaletteEntry> palette = {{0x10, 0x20, 0x30, 0x40}, {0xA0, 0xB0, 0xC0, 0xFF}};
    struct Case
    {
        const char* name;
        int colourType, depth;
        Bytes pixels; // one column, two rows
        Words decoded;
    };
    const Case cases[] = {
        {"grey", PNG_COLOR_TYPE_GRAY, 8, {0x40, 0xFF}, {0xFF404040, ~0u}},
        {"grey alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, {1, 2, 3, 4}, {0x02010101, 0x04030303}},
        {"rgb", PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}, {0xFF010203, 0xFF040506}},
        {"rgba", PNG_COLOR_TYPE_RGB_ALPHA, 8, {1, 2, 3, 4, 5, 6, 7, 8}, {0x04010203, 0x08050607}},
        {"rgba 16-bit, high byte first",
         PNG_COLOR_TYPE_RGB_ALPHA,
         16,
         {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0},
         {0x04010203, 0x08050607}},
        {"palette with alpha", PNG_COLOR_TYPE_PALETTE, 8, {1, 0}, {0xFFA0B0C0, 0x40102030}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool paletted = c.colourType == PNG_COLOR_TYPE_PALETTE;
        const tools::PngImage image{1, 2, c.colourType, c.depth, c.pixels, std::span(palette).first(paletted ? 2 : 0)};
        for (const auto compression : {tools::PngCompression::Default, tools::PngCompression::Smallest}) {
            const Bytes png = tools::EncodePng(image, compression);
            EXPECT_EQ(Decode(png), c.decoded);
            EXPECT_EQ(tools::EncodePng(image, compression), png);
        }
    }
}

TEST(PngWriter, RefusesPicturesItsPixelsOrPaletteDoNotFit)
{
    const Bytes rgb(2 * 2 * 3, 0x7F);
    const std::vector<tools::PngPaletteEntry> one(1), tooMany(257);
    // name, picture
    const std::tuple<const char*, tools::PngImage> cases[] = {
        {"a row short", {2, 2, PNG_COLOR_TYPE_RGB, 8, std::span(rgb).first(9), {}}},
        {"a row over", {2, 1, PNG_COLOR_TYPE_RGB, 8, rgb, {}}},
        {"no colours for a palette picture", {2, 2, PNG_COLOR_TYPE_PALETTE, 8, std::span(rgb).first(4), {}}},
        {"more than 256 colours", {2, 2, PNG_COLOR_TYPE_PALETTE, 8, std::span(rgb).first(4), tooMany}},
        {"a palette beside RGB", {2, 2, PNG_COLOR_TYPE_RGB, 8, rgb, one}},
        {"an unknown colour type", {2, 2, 5, 8, rgb, {}}},
        {"no bits", {2, 2, PNG_COLOR_TYPE_RGB, 0, {}, {}}},
        {"a depth libpng refuses", {4, 2, PNG_COLOR_TYPE_RGB, 4, rgb, {}}},
    };
    for (const auto& [name, image] : cases) {
        SCOPED_TRACE(name);
        try {
            tools::EncodePng(image);
            ADD_FAILURE() << "encoded";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("PNG encoder: ", 0), 0u) << e.what();
        }
    }
}

/// A tone of `frames` frames: left 440 Hz, right silent.
std::vector<float> LeftTone(int channels, std::size_t frames)
{
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i)
        samples[i * static_cast<std::size_t>(channels)] =
            static_cast<float>(0.5 * std::sin(i * 2.0 * std::numbers::pi * 440 / 22050));
    return samples;
}

korvane::CMemoryStream Memory(const Bytes& bytes)
{
    korvane::CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.Seek(0);
    return stream;
}

TEST(OggEncoder, DecodersReturnExactlyTheFramesGivenWhereverTheLastPieceEnds)
{
    // channels, frames (the encoder hands the analysis 1024 frames at a time)
    for (const auto& [channels, frames] : {std::pair{2, 1}, {2, 1023}, {2, 1024}, {2, 1025}, {1, 5000}}) {
        SCOPED_TRACE(std::to_string(channels) + " x " + std::to_string(frames));
        korvane::CMemoryStream stream =
            Memory(tools::EncodeOggVorbis(channels, 22050, LeftTone(channels, frames), 0.5f, 1, {}));
        korvane::COggVorbisReader reader;
        reader.Open(&stream);
        std::vector<char> pcm(static_cast<std::size_t>(frames * channels * 2) + 64);
        EXPECT_EQ((std::pair{reader.GetTotalBytes(), reader.Read(pcm.data(), static_cast<std::int32_t>(pcm.size()))}),
                  std::pair(frames * channels * 2, frames * channels * 2));
    }
}

TEST(OggEncoder, KeepsTheChannelsInOrderTheCommentsAndTheSerialNumber)
{
    const Bytes ogg =
        tools::EncodeOggVorbis(2, 22050, LeftTone(2, 4000), 0.5f, 0x5EED1234, {"TITLE=Tone", "ARTIST=Left"});
    EXPECT_EQ(ogg,
              tools::EncodeOggVorbis(2, 22050, LeftTone(2, 4000), 0.5f, 0x5EED1234, {"TITLE=Tone", "ARTIST=Left"}));
    EXPECT_EQ(ogg[14] | ogg[15] << 8 | ogg[16] << 16 | ogg[17] << 24, 0x5EED1234); // the first page's serial
    korvane::CMemoryStream stream = Memory(ogg);
    korvane::COggVorbisReader reader;
    reader.Open(&stream);
    EXPECT_EQ(reader.GetComment("TITLE") + "/" + reader.GetComment("ARTIST"), "Tone/Left");
    std::vector<std::int16_t> pcm(4000 * 2);
    reader.Read(pcm.data(), static_cast<std::int32_t>(pcm.size() * 2));
    double left = 0, right = 0;
    for (std::size_t i = 0; i < pcm.size(); i += 2) {
        left += std::abs(pcm[i]);
        right += std::abs(pcm[i + 1]);
    }
    EXPECT_GT(left, 100 * right);
}

TEST(OggEncoder, RefusesNoChannelsAPartFrameAndARateLibvorbisencRefuses)
{
    const std::vector<float> three(3, 0.0f);
    EXPECT_THROW(tools::EncodeOggVorbis(0, 22050, {}, 0.5f, 1, {}), std::invalid_argument);
    EXPECT_THROW(tools::EncodeOggVorbis(2, 22050, three, 0.5f, 1, {}), std::invalid_argument);
    EXPECT_THROW(tools::EncodeOggVorbis(2, 0, {}, 0.5f, 1, {}), std::runtime_error);
}

} // namespace
