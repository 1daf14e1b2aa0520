/** @file ImageDecoder.h Decoding PNG, JPEG, BMP and DDS images held in memory; pure functions, any thread. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "os/gfx/TextureTypes.h"
#include "os/gfx/Types.h"

namespace os::gfx
{

/// The largest image a decoder accepts; each side must lie in 1..max.
struct DecodeLimits
{
    std::uint32_t maxWidth = 8192;
    std::uint32_t maxHeight = 8192;
};

/// A decoded image: its levels (top row first, rows packed without padding) in `format`.
/// PNG, JPEG and BMP decode to A8R8G8B8 words; DDS keeps its own format and its stored levels.
struct DecodedImage
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    Format format = Format::Unknown;
    /// The format the file declares (what the image information reports).
    Format fileFormat = Format::Unknown;
    ImageFileFormat fileType = ImageFileFormat::Bmp;
    /// Whether the image has alpha of its own (an alpha channel, transparency or alpha bits).
    bool hasAlpha = false;
    std::vector<std::vector<std::uint8_t>> levels;
    /// Why decoding failed, for the log.
    std::string error;
};

/// Each decoder takes the bytes of one file and fills `out`; bad or hostile data gives
/// kErrInvalidData (with `out->error` saying why) before anything sized by the data is
/// allocated beyond what the data can really hold.
Result DecodePng(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out);
Result DecodeJpeg(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out);
Result DecodeBmp(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out);
Result DecodeDds(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out);

/// Tells the format by its signature ("\x89PNG", FF D8, "BM", "DDS ") and decodes it.
Result DecodeImage(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out);

namespace detail
{
/// Fails `out` with the invalid-data code and a reason.
Result InvalidImage(DecodedImage* out, const char* reason);
} // namespace detail

} // namespace os::gfx
