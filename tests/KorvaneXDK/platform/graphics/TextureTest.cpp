/** @file TextureTest.cpp CTexture over the graphics layer: loading, sizes, failures, filling, binding and
 * render-target copies. */
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "TextureFixture.h"
#include "os/gfx/Texture.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"

namespace texturetest
{
namespace
{

using korvane::CTexture;

korvane::CMemoryStream StreamOf(const std::string& bytes)
{
    korvane::CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.Seek(3); // any position: the whole stream is decoded
    return stream;
}

std::uint32_t Opaque(std::uint32_t x, std::uint32_t y)
{
    return 0xFF000000u | (x << 16) | (y << 8) | 0x40;
}

using TextureTest = TextureFixture;

TEST_F(TextureTest, LoadKeepsTheImageSizeAndRoundsTheSurfaceUp)
{
    const std::string png = gfxtest::WritePng(300, 200, PNG_COLOR_TYPE_RGB, 8, Opaque);
    CTexture texture;
    auto stream = StreamOf(png);
    texture.Load(stream, false, os::gfx::Format::Unknown);
    EXPECT_EQ(512u, texture.GetWidth());
    EXPECT_EQ(256u, texture.GetHeight());
    EXPECT_EQ(512u, texture.GetSurfaceWidth());
    EXPECT_EQ(300u, texture.GetImageWidth());
    EXPECT_EQ(200u, texture.GetImageHeight());
    ASSERT_NE(nullptr, texture.GetD3DTexture());
    EXPECT_EQ(1u, texture.GetD3DTexture()->GetLevelCount());
    EXPECT_EQ(os::gfx::Pool::Default, texture.GetSurfaceDesc().Pool); // the extended device's pool

    texture.Bind();
    EXPECT_EQ(Opaque(10, 20), DrawnPixel(512, 256, 10, 20));

    texture.SetImageSize(7, 9);
    EXPECT_EQ(7u, texture.GetImageWidth());
    EXPECT_EQ(9u, texture.GetImageHeight());
    EXPECT_EQ(512u, texture.GetWidth());

    texture.Load(stream, true, os::gfx::Format::Unknown);
    EXPECT_EQ(10u, texture.GetD3DTexture()->GetLevelCount());
    texture.LoadToSystemMemory(stream, false, os::gfx::Format::Unknown);
    EXPECT_EQ(os::gfx::Pool::SystemMem, texture.GetSurfaceDesc().Pool);
}

TEST_F(TextureTest, AFailedLoadLogsTheResultThrowsAndLeavesTheTextureEmpty)
{
    korvane::test::LogCapture log;
    const std::string png = gfxtest::WritePng(32, 32, PNG_COLOR_TYPE_RGB, 8, Opaque);
    CTexture texture;
    auto good = StreamOf(png);
    texture.Load(good, false, os::gfx::Format::Unknown);
    for (const std::string& bad : {png.substr(0, png.size() / 2), std::string(), std::string("not an image")}) {
        auto stream = StreamOf(bad);
        korvane::test::ExpectThrowWith<korvane::EFileOpenError>(
            [&] { texture.Load(stream, false, os::gfx::Format::Unknown); }, "Failed to load texture.",
            "class korvane::CTexture");
        EXPECT_EQ(nullptr, texture.GetD3DTexture());
        EXPECT_EQ(0u, texture.GetWidth());
        EXPECT_EQ(0u, texture.GetHeight());
        EXPECT_EQ(0u, texture.GetImageWidth());
    }
    EXPECT_TRUE(korvane::test::LogCapture::Contains("DirectX Error: ")) << korvane::test::LogCapture::All();
}

TEST_F(TextureTest, FillColoursTheTextureAndBindOfAnEmptyOneSetsNone)
{
    CTexture texture;
    texture.Fill(4, 4, 1.0f, 0.0f, 0.5f, 1.0f, true, os::gfx::Format::Unknown);
    EXPECT_EQ(4u, texture.GetWidth());
    EXPECT_EQ(4u, texture.GetImageWidth());
    EXPECT_EQ(3u, texture.GetD3DTexture()->GetLevelCount());
    texture.Bind();
    EXPECT_EQ(texture.GetD3DTexture(), device->GetTexture(0).get());
    EXPECT_EQ(0xFFFF0080u, DrawnPixel(4, 4, 3, 3));
    texture.Unbind();
    EXPECT_EQ(nullptr, device->GetTexture(0));

    texture.Bind();
    CTexture empty;
    empty.Bind();
    EXPECT_EQ(nullptr, device->GetTexture(0));
}

TEST_F(TextureTest, CopyFromRenderTargetTakesTheBackBufferAndReleasesWhatItObtainedOnEveryPath)
{
    CTexture copy;
    korvane::test::ExpectThrowWith<korvane::EInvalidOperation>([&] { copy.CopyFromRenderTarget(0, nullptr, nullptr); },
                                                               "CopyFromRenderTarget(); not initialized.");

    copy.Create(kWidth, kHeight, 1, os::gfx::usage::RenderTarget, os::gfx::Format::X8R8G8B8, os::gfx::Pool::Default);
    const os::gfx::ClearRect top{0, 0, static_cast<std::int32_t>(kWidth), 5};
    ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF0000FFu, 1.0f, 0));
    ASSERT_EQ(os::gfx::kOk, device->Clear(1, &top, os::gfx::clear::Target, 0xFFFF0000u, 1.0f, 0));
    copy.CopyFromRenderTarget(0, nullptr, nullptr);
    copy.Bind();
    EXPECT_EQ(0xFFFF0000u, DrawnPixel(kWidth, kHeight, 3, 4));
    EXPECT_EQ(0xFF0000FFu, DrawnPixel(kWidth, kHeight, 3, 5));

    korvane::test::LogCapture log;
    korvane::test::ExpectThrowWith<korvane::EIOError>([&] { copy.CopyFromRenderTarget(1, nullptr, nullptr); },
                                                      "CopyFromRenderTarget(); failed to StretchRect()");
    EXPECT_TRUE(korvane::test::LogCapture::Contains("DirectX Error: ")) << korvane::test::LogCapture::All();
    // Only the texture object and the device's stage binding hold the texture: no surface leaked.
    EXPECT_EQ(2, copy.GetD3DTexture()->weak_from_this().use_count());
}

} // namespace
} // namespace texturetest
