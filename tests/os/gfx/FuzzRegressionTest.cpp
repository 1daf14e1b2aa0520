/** @file FuzzRegressionTest.cpp Inputs the image fuzz target found to cost what they should not. */
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "TestImageWriter.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"

namespace
{

using namespace os::gfx;

std::uint32_t Checkers(std::uint32_t x, std::uint32_t y)
{
    return ((x + y) % 2) != 0 ? 0xFFFFFFFFu : 0xFF000000u;
}

std::string BigEndian32(std::uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>((value >> 16) & 0xFF),
            static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

Result Decode(const std::string& bytes, DecodedImage* image)
{
    return DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), DecodeLimits(), image);
}

// A text chunk claiming 512 MiB, of which ten bytes follow: libpng would allocate and clear
// the whole claim before finding the data missing.
TEST(ImageFuzzRegressionTest, ChunkLongerThanTheDataIsRefusedBeforeAnyAllocation)
{
    const std::string png = gfxtest::WritePng(4, 4, PNG_COLOR_TYPE_GRAY, 8, Checkers);
    const std::size_t afterHeader = 8 + 8 + 13 + 4;
    const std::string lying =
        png.substr(0, afterHeader) + BigEndian32(0x20000000u) + "tEXt" + std::string("Comment\0de", 10);

    const long before = PeakKilobytes();
    DecodedImage image;
    EXPECT_EQ(kErrInvalidData, Decode(lying, &image));
    EXPECT_FALSE(image.error.empty());
    EXPECT_LT(PeakKilobytes() - before, 64L * 1024);

    // Bytes after the end chunk are no chunks: the image still decodes.
    EXPECT_EQ(kOk, Decode(png + BigEndian32(0x7FFFFFFFu) + "tEXt", &image)) << image.error;
    EXPECT_EQ(4u, image.width);
}

} // namespace
