/** @file fuzz_image.cpp The graphics layer's image decoders (PNG, JPEG, BMP, DDS) on any bytes. */
#include "FuzzSupport.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace os::gfx;
    // The default limits, and small ones, so that the size checks are met from both sides.
    for (const DecodeLimits limits : {DecodeLimits{}, DecodeLimits{16, 16}}) {
        DecodedImage image;
        const Result result = DecodeImage(data, size, limits, &image);
        if (result != kOk) {
            fuzz::Check(result == kErrInvalidData, "a decoder failed with another code than invalid data");
            fuzz::Check(!image.error.empty(), "a failed decode gives no reason");
            fuzz::Check(image.levels.empty() && image.width == 0 && image.height == 0, "a failed decode left an image");
            continue;
        }
        fuzz::Check(image.width >= 1 && image.width <= limits.maxWidth && image.height >= 1 &&
                        image.height <= limits.maxHeight,
                    "a decoded image is outside the limits");
        fuzz::Check(!image.levels.empty(), "a decoded image has no level");
        if (image.fileType != ImageFileFormat::Dds) {
            fuzz::Check(image.format == Format::A8R8G8B8 && image.levels.size() == 1,
                        "a PNG, JPEG or BMP image is not one A8R8G8B8 level");
            fuzz::Check(image.levels[0].size() == static_cast<std::size_t>(image.width) * image.height * 4,
                        "the pixels are not width * height * 4 bytes");
            // Alpha is the high byte of each little-endian word.
            for (std::size_t at = 3; !image.hasAlpha && at < image.levels[0].size(); at += 4)
                fuzz::Check(image.levels[0][at] == 0xFF, "an image without alpha has a pixel that is not opaque");
            continue;
        }
        fuzz::Check(image.levels.size() <= FullChainLevels(image.width, image.height),
                    "more levels than the size allows");
        for (std::uint32_t level = 0; level < image.levels.size(); ++level)
            fuzz::Check(image.levels[level].size() ==
                            LevelBytes(image.format, LevelSize(image.width, level), LevelSize(image.height, level)),
                        "a DDS level is not the size of its format");
    }
    return 0;
}
