/** @file ColorShaders.h What tests and benchmarks draw with: windowed present parameters, pixel-space
 * colour shaders and their vertex declaration. Free of the test framework, so benchmarks use it too. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/VertexDeclaration.h"

namespace gfxtest
{

/// Position in back-buffer pixels (Direct3D convention, so callers shift by -0.5) and a colour.
struct ColorVertex
{
    float x, y, z;
    std::uint32_t color;
};

/// A windowed back buffer of the given size with a 24-bit depth buffer, presenting at once.
inline os::gfx::PresentParameters WindowedParameters(std::uint32_t width, std::uint32_t height,
                                                     os::window::Window* window)
{
    return {.BackBufferWidth = width,
            .BackBufferHeight = height,
            .BackBufferCount = 1,
            .SwapEffect = os::gfx::SwapEffect::Discard,
            .DeviceWindow = window,
            .Windowed = true,
            .EnableAutoDepthStencil = true,
            .AutoDepthStencilFormat = os::gfx::Format::D24X8,
            .Flags = os::gfx::present::FlagLockableBackBuffer,
            .PresentationInterval = os::gfx::present::IntervalImmediate};
}

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

/// The colour shaders and declaration, kept alive while bound.
struct ColorShaders
{
    std::shared_ptr<os::gfx::Shader> vertexShader;
    std::shared_ptr<os::gfx::Shader> pixelShader;
    std::shared_ptr<os::gfx::VertexDeclaration> declaration;

    /// Creates the shaders for a width x height target and binds them to the device; on failure
    /// `error` says which step failed (with the compiler's log).
    bool Create(os::gfx::Device& device, std::uint32_t width, std::uint32_t height, std::string* error)
    {
        const std::string vs = ScreenVertexShader(width, height);
        const std::string ps = "#version 410 core\n"
                               "layout(location = 0) in vec4 vColor;\n"
                               "layout(location = 0) out vec4 outColor;\n"
                               "void main() { outColor = vColor; }\n";
        static const os::gfx::VertexElement elements[] = {
            {0, 0, os::gfx::DeclType::Float3, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Position, 0},
            {0, 12, os::gfx::DeclType::Color, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Color, 0},
            os::gfx::DeclEnd(),
        };
        if (os::gfx::Failed(device.CreateVertexShader(vs.data(), vs.size(), &vertexShader)) ||
            os::gfx::Failed(device.CreatePixelShader(ps.data(), ps.size(), &pixelShader))) {
            *error = "shader compilation failed: " + device.GetLastShaderLog();
            return false;
        }
        if (os::gfx::Failed(device.CreateVertexDeclaration(elements, &declaration)) ||
            os::gfx::Failed(device.SetVertexShader(vertexShader)) ||
            os::gfx::Failed(device.SetPixelShader(pixelShader)) ||
            os::gfx::Failed(device.SetVertexDeclaration(declaration))) {
            *error = "binding the colour shaders failed";
            return false;
        }
        return true;
    }
};

} // namespace gfxtest
