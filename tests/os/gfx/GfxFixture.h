/** @file GfxFixture.h A hidden game window with a device on it, and the shaders the draw tests use. */
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

namespace gfxtest
{

/// Position in back-buffer pixels (Direct3D convention, so callers shift by -0.5) and a colour.
struct ColorVertex
{
    float x, y, z;
    std::uint32_t color;
};

/// The colour expected at one pixel.
struct PixelCheck
{
    std::uint32_t x, y, color;
};

/// Maps pixel positions of a width x height target to clip space; depth passes through.
inline std::string ScreenVertexShader(std::uint32_t width, std::uint32_t height)
{
    return "#version 410 core\n"
           "layout(location = 0) in vec3 inPosition;\n"
           "layout(location = 4) in vec4 inColor;\n"
           "layout(location = 0) out vec4 vColor;\n"
           "out gl_PerVertex { vec4 gl_Position; };\n"
           "void main()\n"
           "{\n"
           "    gl_Position = vec4(inPosition.x * 2.0 / " +
           std::to_string(width) + ".0 - 1.0, 1.0 - inPosition.y * 2.0 / " + std::to_string(height) +
           ".0, inPosition.z, 1.0);\n"
           "    vColor = inColor;\n"
           "}\n";
}

inline const char* ColorPixelShader()
{
    return "#version 410 core\n"
           "layout(location = 0) in vec4 vColor;\n"
           "layout(location = 0) out vec4 outColor;\n"
           "void main() { outColor = vColor; }\n";
}

inline const os::gfx::VertexElement* ColorVertexElements()
{
    static const os::gfx::VertexElement elements[] = {
        {0, 0, os::gfx::DeclType::Float3, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Position, 0},
        {0, 12, os::gfx::DeclType::Color, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Color, 0},
        os::gfx::DeclEnd(),
    };
    return elements;
}

/// The colour shaders and declaration, kept alive while bound.
struct ColorShaders
{
    std::shared_ptr<os::gfx::Shader> vertexShader;
    std::shared_ptr<os::gfx::Shader> pixelShader;
    std::shared_ptr<os::gfx::VertexDeclaration> declaration;

    /// Creates the shaders for a width x height target and binds them to the device.
    void SetUp(os::gfx::Device& device, std::uint32_t width, std::uint32_t height)
    {
        const std::string vs = ScreenVertexShader(width, height);
        ASSERT_EQ(os::gfx::kOk, device.CreateVertexShader(vs.data(), vs.size(), &vertexShader))
            << device.GetLastShaderLog();
        const std::string ps = ColorPixelShader();
        ASSERT_EQ(os::gfx::kOk, device.CreatePixelShader(ps.data(), ps.size(), &pixelShader))
            << device.GetLastShaderLog();
        ASSERT_EQ(os::gfx::kOk, device.CreateVertexDeclaration(ColorVertexElements(), &declaration));
        ASSERT_EQ(os::gfx::kOk, device.SetVertexShader(vertexShader));
        ASSERT_EQ(os::gfx::kOk, device.SetPixelShader(pixelShader));
        ASSERT_EQ(os::gfx::kOk, device.SetVertexDeclaration(declaration));
    }
};

inline os::gfx::PresentParameters WindowedParameters(std::uint32_t width, std::uint32_t height,
                                                     os::window::Window* window)
{
    os::gfx::PresentParameters p;
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = os::gfx::Format::Unknown;
    p.BackBufferCount = 1;
    p.SwapEffect = os::gfx::SwapEffect::Discard;
    p.DeviceWindow = window;
    p.Windowed = true;
    p.EnableAutoDepthStencil = true;
    p.AutoDepthStencilFormat = os::gfx::Format::D24X8;
    p.Flags = os::gfx::present::FlagLockableBackBuffer;
    p.PresentationInterval = os::gfx::present::IntervalImmediate;
    return p;
}

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
    void Recreate(os::gfx::PresentParameters& p,
                  std::uint32_t flags = os::gfx::create::HardwareVertexProcessing)
    {
        device.reset();
        ASSERT_EQ(os::gfx::kOk, direct3D->CreateDeviceEx(0, os::gfx::DeviceType::Hal, window.get(), flags, &p,
                                                         nullptr, &device));
    }

    void SetUpShaders(std::uint32_t width, std::uint32_t height) { shaders.SetUp(*device, width, height); }

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
        ASSERT_EQ(os::gfx::kOk,
                  device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone));
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
        for (const PixelCheck& c : checks)
        {
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
