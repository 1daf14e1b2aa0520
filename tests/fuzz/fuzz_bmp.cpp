/** @file fuzz_bmp.cpp The BMP loader on any bytes. */
#include "FuzzSupport.h"
#include "KorvaneXDK/core/SimpleDIB.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Stream stream(data, size);
    korvane::CSimpleDIB bitmap;
    try {
        bitmap.Load(stream);
    } catch (const korvane::EException&) {
        fuzz::Check(bitmap.GetHandle() == nullptr, "a failed load left a bitmap");
        return 0;
    }
    if (bitmap.GetHandle() == nullptr)
        return 0;
    fuzz::Check(bitmap.GetWidth() > 0 && bitmap.GetHeight() > 0, "a loaded bitmap has no size");
    const std::uint32_t* pixels = bitmap.GetHandle()->GetPixels();
    for (std::int64_t i = 0; i < std::int64_t{bitmap.GetWidth()} * bitmap.GetHeight(); ++i)
        fuzz::Check(pixels[i] >> 24 == 0xFF, "a loaded bitmap has a pixel that is not opaque");
    return 0;
}
