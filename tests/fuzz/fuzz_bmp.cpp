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
    if (bitmap.GetHandle() != nullptr)
        fuzz::Check(bitmap.GetWidth() > 0 && bitmap.GetHeight() > 0, "a loaded bitmap has no size");
    return 0;
}
