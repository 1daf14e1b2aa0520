/** @file TextureDraw.h Draws a texture on stage 0 one texel per pixel, for tests that read the result back. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/VertexDeclaration.h"
#include "support/ColorShaders.h"

namespace gfxtest
{

/// Shaders that copy stage 0's texel (alpha included) to the target, blending off.
class TextureDraw
{
public:
    /// Sets the shaders up for a width x height target and binds them; a failed compilation leaves its log.
    void SetUp(os::gfx::Device& device, std::uint32_t width, std::uint32_t height)
    {
        // The colour shaders' vertex stage carries the texture coordinates in the colour.
        const std::string vs = ScreenVertexShader(width, height);
        const std::string ps = "#version 410 core\nuniform sampler2D Texture0;\n"
                               "layout(location = 0) in vec4 vColor; layout(location = 0) out vec4 outColor;\n"
                               "void main() { outColor = texture(Texture0, vColor.xy); }\n";
        static const os::gfx::VertexElement elements[] = {
            {0, 0, os::gfx::DeclType::Float3, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Position, 0},
            {0, 12, os::gfx::DeclType::Float2, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Color, 0},
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
