/** @file ReferenceImage.cpp Reference pictures through the tools' PNG writer and the platform layer's decoder. */
#include "support/ReferenceImage.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"
#include "tools/common/PngWriter.h"

namespace korvane::test
{

bool UpdatingReferenceImages()
{
    const char* update = std::getenv("KORVANE_UPDATE_REFERENCE_IMAGES");
    return update != nullptr && std::string(update) == "1";
}

void WriteImage(const std::string& path, const ReferenceImage& image)
{
    if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        throw std::runtime_error("picture for " + path + " does not fill its size");
    std::vector<std::uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (const std::uint32_t argb : image.pixels)
        for (const int shift : {16, 8, 0})
            rgb.push_back(static_cast<std::uint8_t>(argb >> shift));
    const std::vector<std::uint8_t> png = tools::EncodePng({image.width, image.height, PNG_COLOR_TYPE_RGB, 8, rgb});
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!file.flush())
        throw std::runtime_error("cannot write " + path);
}

ReferenceImage ReadImage(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    os::gfx::DecodedImage decoded;
    ReferenceImage image;
    if (bytes.empty() || os::gfx::DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), {},
                                            &decoded) != os::gfx::kOk)
        return image;
    // The decoder's A8R8G8B8 words, little-endian in memory.
    const std::vector<std::uint8_t>& texels = decoded.levels.at(0);
    image.width = decoded.width;
    image.height = decoded.height;
    image.pixels.reserve(texels.size() / 4);
    for (std::size_t i = 0; i + 3 < texels.size(); i += 4)
        image.pixels.push_back(0xFF000000u | std::uint32_t{texels[i + 2]} << 16 | std::uint32_t{texels[i + 1]} << 8 |
                               texels[i]);
    return image;
}

} // namespace korvane::test
