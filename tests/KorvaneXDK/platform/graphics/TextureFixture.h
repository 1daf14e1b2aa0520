/** @file TextureFixture.h The driver with a small device for texture tests and images of one colour each. */
#pragma once

#include <string>

#include "DriverFixture.h"
#include "os/gfx/TestImageWriter.h"
#include "os/gfx/TextureDraw.h"

namespace texturetest
{

using graphicstest::CountingLoader;

/// A 16 x 16 image of one colour per index.
inline std::uint32_t ColourOf(int index)
{
    return 0xFF000000u | (static_cast<std::uint32_t>((index * 37) & 0xFF) << 16) |
           (static_cast<std::uint32_t>((255 - index * 11) & 0xFF) << 8) |
           static_cast<std::uint32_t>((index * 5) & 0xFF);
}

inline std::string ColourPng(int index)
{
    const std::uint32_t colour = ColourOf(index);
    return gfxtest::WritePng(16, 16, PNG_COLOR_TYPE_RGB, 8, [colour](std::uint32_t, std::uint32_t) { return colour; });
}

/// The driver with a 64 x 48 device drawing textures one texel per pixel.
class TextureFixture : public graphicstest::DriverTest<64, 48>
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DriverTest::SetUp());
        draw.SetUp(*device, kWidth, kHeight);
    }

    void TearDown() override
    {
        draw.Release();
        DriverTest::TearDown();
    }

    /// The pixel at (x, y) after drawing stage 0's texture of the given surface size.
    std::uint32_t DrawnPixel(std::uint32_t surfaceWidth, std::uint32_t surfaceHeight, std::uint32_t x, std::uint32_t y)
    {
        EXPECT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0));
        EXPECT_EQ(os::gfx::kOk, gfxtest::TextureDraw::Draw(*device, surfaceWidth, surfaceHeight));
        return ReadPixels().at(static_cast<std::size_t>(y) * kWidth + x);
    }

    gfxtest::TextureDraw draw;
};

} // namespace texturetest
