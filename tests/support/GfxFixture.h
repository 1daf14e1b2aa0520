/** @file GfxFixture.h A hidden game window with a device on it and the colour shaders bound. */
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "os/gfx/Device.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Testing.h"
#include "os/gfx/VertexDeclaration.h"
#include "os/window/Window.h"
#include "support/ColorShaders.h"

namespace gfxtest
{

/// The colour expected at one pixel.
struct PixelCheck
{
    std::uint32_t x, y, color;
};

/// A window, the extended object and a 64 x 48 windowed device with the colour shaders set.
class GfxTest : public ::testing::Test
{
protected:
    static constexpr std::uint32_t kWidth = 64;
    static constexpr std::uint32_t kHeight = 48;

    void SetUp() override
    {
        os::testing::ResetGraphicsHooks();
        window = std::make_unique<os::window::Window>("gfx test");
        ASSERT_TRUE(window->IsCreated());
        ASSERT_EQ(os::gfx::kOk, os::gfx::Direct3DCreate9Ex(os::gfx::kSdkVersion, &direct3D));
        parameters = WindowedParameters(kWidth, kHeight, window.get());
        ASSERT_NO_FATAL_FAILURE(
            Recreate(parameters, os::gfx::create::HardwareVertexProcessing | os::gfx::create::Multithreaded));
        SetUpShaders(kWidth, kHeight);
    }

    /// Replaces the device with a new one made from p.
    void Recreate(os::gfx::PresentParameters& p, std::uint32_t flags = os::gfx::create::HardwareVertexProcessing)
    {
        device.reset();
        ASSERT_EQ(os::gfx::kOk,
                  direct3D->CreateDeviceEx(0, os::gfx::DeviceType::Hal, window.get(), flags, &p, nullptr, &device));
    }

    void SetUpShaders(std::uint32_t width, std::uint32_t height)
    {
        std::string error;
        ASSERT_TRUE(shaders.Create(*device, width, height, &error)) << error;
    }

    void TearDown() override
    {
        shaders = ColorShaders();
        device.reset();
        direct3D.reset();
        window.reset();
        os::testing::ResetGraphicsHooks();
    }

    /// Turns culling off and clears to the given colour.
    void Prepare(std::uint32_t color, std::uint32_t flags = os::gfx::clear::Target)
    {
        ASSERT_EQ(os::gfx::kOk, device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone));
        ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, flags, color, 1.0f, 0));
    }

    std::vector<std::uint32_t> ReadBack()
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, &width, &height));
        return pixels;
    }

    std::uint32_t Pixel(const std::vector<std::uint32_t>& pixels, std::uint32_t x, std::uint32_t y) const
    {
        return pixels.at(static_cast<std::size_t>(y) * width + x);
    }

    /// Reads the back buffer back and checks each given pixel.
    void ExpectPixels(std::initializer_list<PixelCheck> checks)
    {
        const auto pixels = ReadBack();
        for (const PixelCheck& c : checks) {
            EXPECT_EQ(c.color, Pixel(pixels, c.x, c.y)) << "at " << c.x << ", " << c.y;
        }
    }

    /// A quad covering pixels [x0, x1) x [y0, y1) as the canvas draws it (edges shifted by -0.5).
    os::gfx::Result DrawQuad(float x0, float y0, float x1, float y1, std::uint32_t color, float z = 0.0f)
    {
        const ColorVertex v[4] = {{x0 - 0.5f, y0 - 0.5f, z, color},
                                  {x1 - 0.5f, y0 - 0.5f, z, color},
                                  {x0 - 0.5f, y1 - 0.5f, z, color},
                                  {x1 - 0.5f, y1 - 0.5f, z, color}};
        return device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, v, sizeof(ColorVertex));
    }

    os::gfx::Result DrawTriangle(const ColorVertex (&v)[3])
    {
        return device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleList, 1, v, sizeof(ColorVertex));
    }

    std::unique_ptr<os::window::Window> window;
    std::shared_ptr<os::gfx::Direct3D> direct3D;
    std::shared_ptr<os::gfx::Device> device;
    ColorShaders shaders;
    os::gfx::PresentParameters parameters;
    std::uint32_t width = kWidth;
    std::uint32_t height = kHeight;
};

} // namespace gfxtest
