/** @file BmpHeader.h The headers of a BMP file, read and checked once for every reader of BMP images. */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace os::system
{
class ByteReader;
} // namespace os::system

namespace os::gfx
{

/// What a BMP file's headers say, checked against its bytes before anything sized by them is
/// allocated: uncompressed or bit-field images of 1, 4, 8, 16, 24 or 32 bits per pixel, with the
/// old 12-byte core header (unsigned sides, bottom-up) or an information header of 40, 52, 56,
/// 108 or 124 bytes (either row order). The file is the bytes given, whatever file size its header
/// declares (the engine's bitmap loader gives the bytes of that size, the graphics layer's decoder
/// the whole image it holds): the headers, the masks, the palette and the pixels lie within them.
/// Every mask is one run of bits inside the pixel. An index past a short palette is opaque black, so an
/// image without an alpha mask never has a clear pixel.
class BmpHeader
{
public:
    /// Why the bytes are no readable BMP.
    enum class Fault
    {
        None,
        NotBmp,
        UnknownHeader,
        DataEndsInHeader,
        DataEndsInMasks,
        SizeOutOfRange,
        NotOnePlane,
        UnsupportedDepth,
        UnsupportedCompression,
        DataEndsInPalette,
        MasksNotContiguous,
        MasksOutsidePixel,
        PixelsInsideHeaders,
        DataEndsInPixels,
    };
    enum Channel
    {
        kRed,
        kGreen,
        kBlue,
        kAlpha
    };

    /// Reads the headers of the file that starts at `data`; sides above the maxima are refused.
    /// The bytes must outlive the header, which reads its rows from them.
    Fault Read(const std::uint8_t* data, std::size_t size, std::uint32_t maxWidth, std::uint32_t maxHeight);

    std::uint32_t GetWidth() const { return width_; }
    std::uint32_t GetHeight() const { return height_; }
    std::uint32_t GetBitsPerPixel() const { return bitsPerPixel_; }
    /// A channel's bits in a 16- or 32-bit pixel; 0 where the pixel has no such channel (alpha
    /// comes only with bit fields).
    std::uint32_t GetMask(Channel channel) const { return bits_[channel].mask; }
    bool HasAlpha() const { return bits_[kAlpha].mask != 0; }

    /// Writes row y (0 is the top row) as GetWidth() words 0xAARRGGBB, opaque where the image has
    /// no alpha mask.
    void ReadRow(std::uint32_t y, std::uint32_t* out) const;

private:
    /// Where a mask's bits lie and how to widen them to 8 bits.
    struct Bits
    {
        std::uint32_t mask = 0;
        int shift = 0;
        std::uint64_t maximum = 0;

        std::uint32_t Read(std::uint32_t pixel, std::uint32_t absent) const;
    };

    Fault ReadMasks(const system::ByteReader& file, std::size_t headerBytes, std::uint32_t compression,
                    std::size_t& afterHeader);
    Fault ReadPalette(const system::ByteReader& file, std::size_t at, std::uint32_t colorsUsed, std::size_t entryBytes);

    const std::uint8_t* data_ = nullptr;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    bool topDown_ = false;
    std::uint32_t bitsPerPixel_ = 0;
    std::array<Bits, 4> bits_{};
    std::array<std::uint32_t, 256> palette_{};
    std::size_t pixelOffset_ = 0;
    std::size_t stride_ = 0;
};

} // namespace os::gfx
