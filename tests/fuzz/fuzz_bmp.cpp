/** @file fuzz_bmp.cpp The BMP loader on any bytes, and the graphics layer's decoder agreeing with it. */
#include <cstring>

#include "FuzzSupport.h"
#include "KorvaneXDK/core/SimpleDIB.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The engine's loader reads the file as long as its header declares it, and only when that much
    // is there; the decoder reads what it is given, so it is given those same bytes.
    std::size_t declared = 0;
    if (size >= 14) {
        for (std::size_t i = 0; i < 4; ++i)
            declared |= std::size_t{data[2 + i]} << (8 * i);
    }
    const bool whole = declared >= 14 && declared <= size;
    // The engine's loader takes sides up to 16384; the decoder is given the same bound so that
    // only the headers decide.
    os::gfx::DecodedImage image;
    const bool decoded =
        whole && os::gfx::DecodeBmp(data, declared, os::gfx::DecodeLimits{16384, 16384}, &image) == os::gfx::kOk;
    fuzz::Stream stream(data, size);
    korvane::CSimpleDIB bitmap;
    try {
        bitmap.Load(stream);
    } catch (const korvane::EException&) {
        fuzz::Check(bitmap.GetHandle() == nullptr, "a failed load left a bitmap");
        fuzz::Check(!decoded, "the graphics layer decodes a BMP the engine's loader refuses");
        return 0;
    }
    fuzz::Check(whole, "the engine's loader reads a BMP whose declared size is not there");
    fuzz::Check(decoded, "the engine's loader reads a BMP the graphics layer refuses");
    if (bitmap.GetHandle() == nullptr)
        return 0;
    fuzz::Check(bitmap.GetWidth() > 0 && bitmap.GetHeight() > 0, "a loaded bitmap has no size");
    fuzz::Check(image.width == static_cast<std::uint32_t>(bitmap.GetWidth()) &&
                    image.height == static_cast<std::uint32_t>(bitmap.GetHeight()),
                "the two BMP readers disagree on the size");
    const std::uint32_t* pixels = bitmap.GetHandle()->GetPixels();
    const std::uint32_t alpha = image.hasAlpha ? 0xFF000000u : 0;
    for (std::int64_t i = 0; i < std::int64_t{bitmap.GetWidth()} * bitmap.GetHeight(); ++i) {
        fuzz::Check(pixels[i] >> 24 == 0xFF, "a loaded bitmap has a pixel that is not opaque");
        std::uint32_t colour = 0;
        std::memcpy(&colour, image.levels[0].data() + 4 * i, 4);
        fuzz::Check((colour | alpha) == pixels[i], "the two BMP readers disagree on a pixel");
    }
    return 0;
}
