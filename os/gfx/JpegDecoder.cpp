/** @file JpegDecoder.cpp JPEG images through libjpeg-turbo, decoded straight into A8R8G8B8 rows. */
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"

namespace os::gfx
{

namespace
{

/// Even a flat picture costs a few bits per 8 x 8 block; a header promising more pixels per
/// byte than this is a lie, found before the decoder sizes its buffers by it.
constexpr std::uint64_t kMaxPixelsPerByte = 1024;
/// Upper bound of the decoder's own working memory (progressive images keep all coefficients).
constexpr long kMaxDecoderMemory = 512L << 20;

struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void OnError(j_common_ptr info)
{
    auto* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

void OnMessage(j_common_ptr info, int level)
{
    // A premature end makes libjpeg pad the picture with grey; here it is a broken file.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        reinterpret_cast<JpegError*>(info->err)->truncated = true;
    }
}

/// Everything between setjmp and a possible longjmp: no local here has a destructor.
bool ReadJpeg(jpeg_decompress_struct* info, JpegError* error, const std::uint8_t* data, std::size_t size,
              const DecodeLimits& limits, DecodedImage* out, const char** reason)
{
    if (setjmp(error->jump)) {
        return false;
    }
    jpeg_create_decompress(info);
    info->mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) {
        *reason = "no JPEG image";
        return false;
    }
    const std::uint32_t width = info->image_width;
    const std::uint32_t height = info->image_height;
    if (width == 0 || height == 0 || width > limits.maxWidth || height > limits.maxHeight) {
        *reason = "image size out of range";
        return false;
    }
    if (static_cast<std::uint64_t>(width) * height > static_cast<std::uint64_t>(size) * kMaxPixelsPerByte) {
        *reason = "image larger than its data can hold";
        return false;
    }
    info->out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(info);
    if (info->output_width != width || info->output_height != height || info->output_components != 4) {
        *reason = "unexpected output layout";
        return false;
    }
    out->width = width;
    out->height = height;
    out->levels.resize(1);
    out->levels[0].resize(static_cast<std::size_t>(width) * height * 4);
    while (info->output_scanline < height && !error->truncated) {
        JSAMPROW row = out->levels[0].data() + static_cast<std::size_t>(info->output_scanline) * width * 4;
        jpeg_read_scanlines(info, &row, 1);
    }
    if (error->truncated) {
        *reason = "the data ends inside the image";
        return false;
    }
    jpeg_finish_decompress(info);
    return !error->truncated;
}

} // namespace

Result DecodeJpeg(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out)
{
    if (out == nullptr) {
        return kErrInvalidCall;
    }
    *out = DecodedImage();
    out->fileType = ImageFileFormat::Jpg;
    out->format = Format::A8R8G8B8;
    out->fileFormat = Format::X8R8G8B8;
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != 0xD8) {
        return detail::InvalidImage(out, "not a JPEG image");
    }
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    JpegError error;
    std::memset(&error, 0, sizeof error);
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnError;
    error.manager.emit_message = OnMessage;

    const char* reason = nullptr;
    const bool ok = ReadJpeg(&info, &error, data, size, limits, out, &reason);
    jpeg_destroy_decompress(&info);
    if (!ok) {
        std::string why = "JPEG: ";
        why += reason != nullptr ? reason : (error.message[0] != '\0' ? error.message : "damaged JPEG data");
        return detail::InvalidImage(out, why.c_str());
    }
    return kOk;
}

} // namespace os::gfx
