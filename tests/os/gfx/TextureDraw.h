/** @file TextureDraw.h Draws a texture on stage 0 one texel per pixel, for tests that read the result back. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/VertexDeclaration.h"

namespace gfxtest
{

/// Shaders that copy stage 0's texel (alpha included) to the target, blending off.
class TextureDraw
{
public:
    /// Sets the shaders up for a width x height target and binds them; a failed compilation leaves its log.
    void SetUp(os::gfx::Device& device, std::uint32_t width, std::uint32_t height)
    {
        const std::string vs = "#version 410 core\nlayout(location = 0) in vec3 inPosition;\n"
                               "layout(location = 8) in vec2 inTexCoord; layout(location = 0) out vec2 vTexCoord;\n"
                               "out gl_PerVertex { vec4 gl_Position; };\n"
                               "void main() { vTexCoord = inTexCoord; gl_Position = vec4(inPosition.x * 2.0 / " +
                               std::to_string(width) + ".0 - 1.0, 1.0 - inPosition.y * 2.0 / " +
                               std::to_string(height) + ".0, 0.0, 1.0); }\n";
        const std::string ps = "#version 410 core\nuniform sampler2D Texture0;\n"
                               "layout(location = 0) in vec2 vTexCoord; layout(location = 0) out vec4 outColor;\n"
                               "void main() { outColor = texture(Texture0, vTexCoord); }\n";
        static const os::gfx::VertexElement elements[] = {
            {0, 0, os::gfx::DeclType::Float3, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Position, 0},
            {0, 12, os::gfx::DeclType::Float2, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::TexCoord, 0},
            os::gfx::DeclEnd(),
        };
        using Results = std::vector<os::gfx::Result>; // braced: evaluated in order
        ASSERT_EQ(
            (Results{device.CreateVertexShader(vs.data(), vs.size(), &vertexShader_),
                     device.CreatePixelShader(ps.data(), ps.size(), &pixelShader_),
                     device.CreateVertexDeclaration(elements, &declaration_), device.SetVertexShader(vertexShader_),
                     device.SetPixelShader(pixelShader_), device.SetVertexDeclaration(declaration_),
                     device.SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone),
                     device.SetRenderState(os::gfx::RenderState::ZEnable, os::gfx::value::False)}),
            Results(8, os::gfx::kOk))
            << device.GetLastShaderLog();
    }

    /// Draws the bound texture's whole surface over pixels [0, width) x [0, height).
    static os::gfx::Result Draw(os::gfx::Device& device, std::uint32_t width, std::uint32_t height)
    {
        struct TexturedVertex
        {
            float x, y, z, u, v;
        };
        const float w = static_cast<float>(width) - 0.5f, h = static_cast<float>(height) - 0.5f;
        const TexturedVertex v[4] = {
            {-0.5f, -0.5f, 0, 0, 0}, {w, -0.5f, 0, 1, 0}, {-0.5f, h, 0, 0, 1}, {w, h, 0, 1, 1}};
        return device.DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, v, sizeof(TexturedVertex));
    }

    void Release() { *this = TextureDraw(); }

private:
    std::shared_ptr<os::gfx::Shader> vertexShader_, pixelShader_;
    std::shared_ptr<os::gfx::VertexDeclaration> declaration_;
};

} // namespace gfxtest
