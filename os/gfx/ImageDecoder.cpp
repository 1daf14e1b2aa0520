/** @file ImageDecoder.cpp Choosing the decoder by the file's signature. */
#include "os/gfx/ImageDecoder.h"

#include <cstring>

#include "os/gfx/ResultCodes.h"

namespace os::gfx
{

namespace detail
{
Result InvalidImage(DecodedImage* out, const char* reason)
{
    out->levels.clear();
    out->width = 0;
    out->height = 0;
    out->error = reason;
    return kErrInvalidData;
}
} // namespace detail

Result DecodeImage(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out)
{
    if (out == nullptr) {
        return kErrInvalidCall;
    }
    if (data == nullptr || size < 4) {
        return detail::InvalidImage(out, "no image data");
    }
    if (std::memcmp(data, "\x89PNG", 4) == 0) {
        return DecodePng(data, size, limits, out);
    }
    if (data[0] == 0xFF && data[1] == 0xD8) {
        return DecodeJpeg(data, size, limits, out);
    }
    if (data[0] == 'B' && data[1] == 'M') {
        return DecodeBmp(data, size, limits, out);
    }
    if (std::memcmp(data, "DDS ", 4) == 0) {
        return DecodeDds(data, size, limits, out);
    }
    return detail::InvalidImage(out, "unknown image format");
}

} // namespace os::gfx
