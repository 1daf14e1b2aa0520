/** @file BmpDecoder.cpp Uncompressed and bit-field BMP images (1, 4, 8, 16, 24, 32 bits, either row order). */
#include <cstring>
#include <vector>

#include "os/gfx/BmpHeader.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"

namespace os::gfx
{

namespace
{

/// The palette format of 8-bit and smaller images, as the image information reports it.
constexpr Format kPaletteFormat = static_cast<Format>(41);

const char* Reason(BmpHeader::Fault fault)
{
    switch (fault) {
    case BmpHeader::Fault::NotBmp:
        return "BMP: not a BMP image";
    case BmpHeader::Fault::UnknownHeader:
        return "BMP: unknown header";
    case BmpHeader::Fault::DataEndsInHeader:
        return "BMP: the data ends inside the header";
    case BmpHeader::Fault::DataEndsInMasks:
        return "BMP: the data ends inside the colour masks";
    case BmpHeader::Fault::SizeOutOfRange:
        return "BMP: image size out of range";
    case BmpHeader::Fault::NotOnePlane:
        return "BMP: not one plane";
    case BmpHeader::Fault::UnsupportedDepth:
        return "BMP: unsupported bit depth";
    case BmpHeader::Fault::UnsupportedCompression:
        return "BMP: unsupported compression";
    case BmpHeader::Fault::DataEndsInPalette:
        return "BMP: the data ends inside the palette";
    case BmpHeader::Fault::MasksNotContiguous:
        return "BMP: colour masks are not contiguous";
    case BmpHeader::Fault::MasksOutsidePixel:
        return "BMP: colour masks lie outside the pixel";
    case BmpHeader::Fault::PixelsInsideHeaders:
        return "BMP: the pixels start inside the headers";
    case BmpHeader::Fault::DataEndsInPixels:
        return "BMP: the data ends inside the pixels";
    case BmpHeader::Fault::None:
        break;
    }
    return "";
}

/// The format the file declares, as the image information reports it.
Format FileFormat(const BmpHeader& header)
{
    switch (header.GetBitsPerPixel()) {
    case 24:
        return Format::R8G8B8;
    case 16:
        if (header.GetMask(BmpHeader::kGreen) == 0x07E0) {
            return Format::R5G6B5;
        }
        return header.HasAlpha() ? Format::A1R5G5B5 : Format::X1R5G5B5;
    case 32:
        return header.HasAlpha() ? Format::A8R8G8B8 : Format::X8R8G8B8;
    default:
        return kPaletteFormat;
    }
}

} // namespace

Result DecodeBmp(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out)
{
    if (out == nullptr) {
        return kErrInvalidCall;
    }
    *out = DecodedImage();
    out->fileType = ImageFileFormat::Bmp;
    out->format = Format::A8R8G8B8;
    BmpHeader header;
    if (const BmpHeader::Fault fault = header.Read(data, size, limits.maxWidth, limits.maxHeight);
        fault != BmpHeader::Fault::None) {
        return detail::InvalidImage(out, Reason(fault));
    }
    out->hasAlpha = header.HasAlpha();
    out->fileFormat = FileFormat(header);
    out->width = header.GetWidth();
    out->height = header.GetHeight();
    out->levels.resize(1);
    out->levels[0].resize(static_cast<std::size_t>(out->width) * out->height * 4);
    std::vector<std::uint32_t> row(out->width);
    for (std::uint32_t y = 0; y < out->height; ++y) {
        header.ReadRow(y, row.data());
        std::memcpy(out->levels[0].data() + static_cast<std::size_t>(y) * out->width * 4, row.data(), row.size() * 4);
    }
    return kOk;
}

} // namespace os::gfx
