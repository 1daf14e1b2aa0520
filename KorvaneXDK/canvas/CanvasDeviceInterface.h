/** @file CanvasDeviceInterface.h The narrow device the canvas draws through: states, declaration, "World",
 * texture binding, draws from client memory, capabilities, and the canvas's seams. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Object.h"
#include "os/gfx/Types.h"

namespace korvane
{
class CShaderPair;
class CShaderUniformPair;
class IDataLoader;
class ITexture;
} // namespace korvane

namespace korvane::canvas
{

/// Everything the canvas asks of the graphics device and the application driver. Two
/// implementations: CCanvasDevice over the driver's os::gfx device, and the tests'
/// recording device, which keeps every call with copies of the vertex and index bytes.
/// Device results are ignored, as the canvas ignores them.
class ICanvasDevice : public IInterface
{
public:
    virtual void SetRenderState(os::gfx::RenderState state, std::uint32_t value) = 0;
    virtual void SetSamplerState(std::uint32_t stage, os::gfx::SamplerState type, std::uint32_t value) = 0;
    /// Sets the shader environment's canvas declaration (28-byte two-colour vertex).
    virtual void ApplyVertexDeclaration() = 0;
    /// The pair's uniform of that name (the canvas asks for "World" once, in SetShaderPair).
    virtual boost::shared_ptr<CShaderUniformPair> GetUniform(CShaderPair& pair, const std::string& name) = 0;
    /// Sets a matrix uniform exactly as given (the canvas passes the transpose of its top).
    virtual void SetMatrix(CShaderUniformPair& uniform, const Matrix4& value) = 0;
    /// Stage 0 gets the texture (ITexture::Bind), or loses it (ITexture::Unbind).
    virtual void BindTexture(ITexture& texture) = 0;
    virtual void UnbindTexture(ITexture& texture) = 0;
    virtual void DrawPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t primitiveCount, const void* vertices,
                                 std::uint32_t stride) = 0;
    /// 16-bit indices.
    virtual void DrawIndexedPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t minVertexIndex,
                                        std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                        const std::uint16_t* indices, const void* vertices, std::uint32_t stride) = 0;
    /// Below 1: no anisotropic filtering.
    virtual std::int32_t GetAnisotropyLevel() = 0;
    /// The device's TextureFilterCaps (os::gfx::filtercaps bits).
    virtual std::uint32_t GetTextureFilterCaps() = 0;

    // Seams.
    /// The 1 x 1 opaque white texture untextured drawing binds; made once by the canvas.
    virtual boost::shared_ptr<ITexture> CreateWhiteTexture() = 0;
    /// The loader CCanvas::LoadFont reads through.
    virtual IDataLoader* GetDataLoader() = 0;
    /// The frame clock's milliseconds.
    virtual double GetElapsedMilliseconds() = 0;
    /// Root coordinates to render-target pixels with their edges on whole numbers (the canvas
    /// convention): viewport, projection and view as the device holds them now. By default a target
    /// whose pixels are root units, seen through Direct3D's half-pixel convention.
    virtual Matrix4 GetPixelGrid();
};

} // namespace korvane::canvas
