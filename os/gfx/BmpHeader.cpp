/** @file BmpHeader.cpp Reading and checking the headers of a BMP file, and its rows. */
#include "os/gfx/BmpHeader.h"

#include <bit>

#include "os/system/ByteReader.h"

namespace os::gfx
{

namespace
{

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::uint32_t kOpaque = 0xFF000000u;

/// An opaque colour from its blue, green and red bytes, the order of palette entries and 24-bit pixels.
std::uint32_t OpaqueBgr(const system::ByteReader& bytes, std::size_t at)
{
    return kOpaque | (std::uint32_t(bytes.U8At(at + 2)) << 16) | (std::uint32_t(bytes.U8At(at + 1)) << 8) |
           bytes.U8At(at);
}

bool IsKnownHeaderSize(std::size_t bytes)
{
    return bytes == kCoreHeaderBytes || bytes == 40 || bytes == 52 || bytes == 56 || bytes == 108 || bytes == 124;
}

} // namespace

std::uint32_t BmpHeader::Bits::Read(std::uint32_t pixel, std::uint32_t absent) const
{
    if (mask == 0) {
        return absent;
    }
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((value * 255 + maximum / 2) / maximum);
}

BmpHeader::Fault BmpHeader::Read(const std::uint8_t* data, std::size_t size, std::uint32_t maxWidth,
                                 std::uint32_t maxHeight)
{
    *this = BmpHeader();
    // The header's own file-size field is not read: every bound below is taken from the bytes really
    // given, so a field left 0 or wrong costs nothing.
    const system::ByteReader file(data, data == nullptr ? 0 : size);
    if (!file.Holds(0, kFileHeaderBytes + kCoreHeaderBytes) || file.U8At(0) != 'B' || file.U8At(1) != 'M') {
        return Fault::NotBmp;
    }
    const std::size_t headerBytes = file.U32At(kFileHeaderBytes);
    if (!IsKnownHeaderSize(headerBytes)) {
        return Fault::UnknownHeader;
    }
    if (!file.Holds(kFileHeaderBytes, headerBytes)) {
        return Fault::DataEndsInHeader;
    }
    const std::size_t info = kFileHeaderBytes;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    if (headerBytes == kCoreHeaderBytes) {
        width = file.U16At(info + 4);
        height = file.U16At(info + 6);
        planes = file.U16At(info + 8);
        bitsPerPixel_ = file.U16At(info + 10);
    } else {
        width = static_cast<std::int32_t>(file.U32At(info + 4));
        height = static_cast<std::int32_t>(file.U32At(info + 8));
        planes = file.U16At(info + 12);
        bitsPerPixel_ = file.U16At(info + 14);
        compression = file.U32At(info + 16);
        colorsUsed = file.U32At(info + 32);
    }
    topDown_ = height < 0;
    height = topDown_ ? -height : height;
    if (width < 1 || height < 1 || width > maxWidth || height > maxHeight) {
        return Fault::SizeOutOfRange;
    }
    width_ = static_cast<std::uint32_t>(width);
    height_ = static_cast<std::uint32_t>(height);
    if (planes != 1) {
        return Fault::NotOnePlane;
    }
    const std::uint32_t bpp = bitsPerPixel_;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        return Fault::UnsupportedDepth;
    }
    const bool bitFields = compression == kBitFields || compression == kAlphaBitFields;
    if (compression != kRgb && !(bitFields && (bpp == 16 || bpp == 32))) {
        return Fault::UnsupportedCompression;
    }

    std::size_t afterHeader = kFileHeaderBytes + headerBytes;
    if (const Fault fault = ReadMasks(file, headerBytes, compression, afterHeader); fault != Fault::None) {
        return fault;
    }
    if (bpp <= 8) {
        const std::size_t entryBytes = headerBytes == kCoreHeaderBytes ? 3 : 4;
        if (const Fault fault = ReadPalette(file, afterHeader, colorsUsed, entryBytes); fault != Fault::None) {
            return fault;
        }
    }

    pixelOffset_ = file.U32At(10);
    stride_ = (static_cast<std::size_t>(width_) * bpp + 31) / 32 * 4;
    if (pixelOffset_ < kFileHeaderBytes + headerBytes) {
        return Fault::PixelsInsideHeaders;
    }
    if (!file.Holds(pixelOffset_, stride_ * height_)) {
        return Fault::DataEndsInPixels;
    }
    data_ = data;
    return Fault::None;
}

BmpHeader::Fault BmpHeader::ReadMasks(const system::ByteReader& file, std::size_t headerBytes,
                                      std::uint32_t compression, std::size_t& afterHeader)
{
    std::array<std::uint32_t, 4> masks{};
    if (compression == kRgb) {
        // Plain 16- and 32-bit pixels have fixed channels and no alpha.
        if (bitsPerPixel_ == 16) {
            masks = {0x7C00, 0x03E0, 0x001F, 0};
        } else if (bitsPerPixel_ == 32) {
            masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
        }
    } else {
        // The masks follow a 40-byte header; larger headers hold them (alpha from 56 bytes on).
        const std::size_t at = kFileHeaderBytes + 40;
        std::size_t count = headerBytes >= 56 ? 4 : 3;
        if (headerBytes == 40) {
            count = compression == kAlphaBitFields ? 4 : 3;
            if (!file.Holds(afterHeader, 4 * count)) {
                return Fault::DataEndsInMasks;
            }
            afterHeader += 4 * count;
        }
        for (std::size_t i = 0; i < count; ++i) {
            masks[i] = file.U32At(at + 4 * i);
        }
    }
    const std::uint64_t pixelBits = (std::uint64_t(1) << bitsPerPixel_) - 1;
    for (std::size_t i = 0; i < masks.size(); ++i) {
        const std::uint32_t mask = masks[i];
        if (mask == 0) {
            continue;
        }
        Bits& bits = bits_[i];
        bits.mask = mask;
        bits.shift = std::countr_zero(mask);
        bits.maximum = static_cast<std::uint64_t>(mask) >> bits.shift;
        // One run of bits: the run plus one is then a power of two.
        if ((bits.maximum & (bits.maximum + 1)) != 0) {
            return Fault::MasksNotContiguous;
        }
        if ((mask & ~pixelBits) != 0) {
            return Fault::MasksOutsidePixel;
        }
    }
    return Fault::None;
}

BmpHeader::Fault BmpHeader::ReadPalette(const system::ByteReader& file, std::size_t at, std::uint32_t colorsUsed,
                                        std::size_t entryBytes)
{
    const std::uint32_t most = 1u << bitsPerPixel_;
    const std::uint32_t count = colorsUsed == 0 || colorsUsed > most ? most : colorsUsed;
    if (!file.Holds(at, std::size_t(count) * entryBytes)) {
        return Fault::DataEndsInPalette;
    }
    palette_.fill(kOpaque);
    for (std::uint32_t i = 0; i < count; ++i) {
        palette_[i] = OpaqueBgr(file, at + i * entryBytes);
    }
    return Fault::None;
}

void BmpHeader::ReadRow(std::uint32_t y, std::uint32_t* out) const
{
    const std::size_t fileRow = topDown_ ? y : height_ - 1 - y;
    const system::ByteReader row(data_ + pixelOffset_ + fileRow * stride_, stride_);
    const std::uint32_t bpp = bitsPerPixel_;
    for (std::uint32_t x = 0; x < width_; ++x) {
        if (bpp <= 8) {
            const std::uint32_t bit = x * bpp;
            out[x] = palette_[(row.U8At(bit / 8) >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1)];
        } else if (bpp == 24) {
            out[x] = OpaqueBgr(row, 3 * std::size_t(x));
        } else {
            const std::uint32_t pixel = bpp == 16 ? row.U16At(2 * std::size_t(x)) : row.U32At(4 * std::size_t(x));
            out[x] = (bits_[kAlpha].Read(pixel, 0xFF) << 24) | (bits_[kRed].Read(pixel, 0) << 16) |
                     (bits_[kGreen].Read(pixel, 0) << 8) | bits_[kBlue].Read(pixel, 0);
        }
    }
}

} // namespace os::gfx
