/** @file TextureRegressionTest.cpp Faults found in textures after they were written, kept from coming back. */
#include <atomic>
#include <cstring>
#include <thread>

#include "TestImageWriter.h"
#include "TextureDraw.h"
#include "os/gfx/Texture.h"
#include "os/gfx/TextureRoutines.h"
#include "support/GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::Format;
using os::gfx::kOk;
using os::gfx::Pool;
using os::gfx::Texture;

std::uint32_t Stripes(std::uint32_t x, std::uint32_t y)
{
    return 0xFF000000u | ((x * 60) << 16) | ((y * 60) << 8) | 0x30u;
}

class TextureRegressionTest : public GfxTest
{
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        draw.SetUp(*device, kWidth, kHeight);
    }
    void TearDown() override
    {
        draw.Release();
        GfxTest::TearDown();
    }

    TextureDraw draw;
};

// A level locked on another thread is that thread's until it unlocks it: uploads the device
// makes meanwhile (a bind, a draw) neither read its texels while they are written nor count the
// level as uploaded, so what the unlock hands over is what is drawn.
TEST_F(TextureRegressionTest, ALevelLockedOnAnotherThreadIsUploadedOnlyAfterItsUnlock)
{
    std::shared_ptr<Texture> texture;
    ASSERT_EQ(kOk, device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture));
    os::gfx::LockedRect locked;
    std::thread([&] { ASSERT_EQ(kOk, texture->LockRect(0, &locked, nullptr, 0)); }).join();
    ASSERT_NE(nullptr, locked.Bits);

    // The writer fills the level while this thread keeps binding the texture.
    std::atomic<bool> started{false};
    std::atomic<bool> written{false};
    std::thread writer([&] {
        started = true;
        for (std::uint32_t y = 0; y < 4; ++y) {
            for (std::uint32_t x = 0; x < 4; ++x) {
                const std::uint32_t texel = Stripes(x, y);
                std::memcpy(static_cast<std::uint8_t*>(locked.Bits) + y * static_cast<std::uint32_t>(locked.Pitch) +
                                x * 4u,
                            &texel, 4);
            }
        }
        written = true;
    });
    while (!started) {
        std::this_thread::yield();
    }
    for (int i = 0; i < 50 || !written; ++i) {
        ASSERT_EQ(kOk, device->SetTexture(0, texture));
    }
    writer.join();
    EXPECT_FALSE(texture->IsUploaded());

    std::thread([&] { ASSERT_EQ(kOk, texture->UnlockRect(0)); }).join();
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0));
    ASSERT_EQ(kOk, device->SetTexture(0, texture));
    EXPECT_TRUE(texture->IsUploaded());
    ASSERT_EQ(kOk, TextureDraw::Draw(*device, 4, 4));
    ExpectPixels({{0, 0, Stripes(0, 0)}, {3, 1, Stripes(3, 1)}, {2, 3, Stripes(2, 3)}});
}

// A compressed image whose edge cuts through its blocks still leaves the surface beyond the
// image transparent black: the texels a partial block holds past the edge are not shown.
TEST_F(TextureRegressionTest, ACompressedImageCutInsideItsBlocksPadsWithTransparentBlack)
{
    const std::string block = SolidColourBlock(0xF800); // four red texels a row, four rows
    const std::string dds = WriteDds(6, 6, "DXT1", {block + block + block + block});
    std::shared_ptr<Texture> texture;
    os::gfx::ImageInfo info;
    ASSERT_EQ(kOk, os::gfx::CreateTextureFromFileInMemoryEx(
                       device.get(), dds.data(), dds.size(), os::gfx::kDefault, os::gfx::kDefault, 1, 0,
                       Format::Unknown, Pool::Default, os::gfx::filter::None, os::gfx::kDefault, 0, &info, &texture));
    EXPECT_EQ(6u, info.Width);
    EXPECT_EQ(Format::DXT1, info.Format);
    os::gfx::SurfaceDesc desc;
    ASSERT_EQ(kOk, texture->GetLevelDesc(0, &desc));
    ASSERT_EQ(8u, desc.Width);
    ASSERT_EQ(8u, desc.Height);

    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0));
    ASSERT_EQ(kOk, device->SetTexture(0, texture));
    ASSERT_EQ(kOk, TextureDraw::Draw(*device, 8, 8));
    ExpectPixels({{0, 0, 0xFFFF0000u}, {5, 5, 0xFFFF0000u}, {6, 0, 0u}, {7, 3, 0u}, {0, 6, 0u}, {7, 7, 0u}});

    // Whole blocks are kept as they are.
    const std::string whole = WriteDds(8, 4, "DXT1", {block + block});
    ASSERT_EQ(kOk, os::gfx::CreateTextureFromFileInMemoryEx(
                       device.get(), whole.data(), whole.size(), os::gfx::kDefault, os::gfx::kDefault, 1, 0,
                       Format::Unknown, Pool::Default, os::gfx::filter::None, os::gfx::kDefault, 0, nullptr, &texture));
    ASSERT_EQ(kOk, texture->GetLevelDesc(0, &desc));
    EXPECT_EQ(Format::DXT1, desc.Format);
}

} // namespace
} // namespace gfxtest
