/** @file CanvasDevice.cpp The canvas device over the application driver's graphics device. */
#include "KorvaneXDK/canvas/CanvasDevice.h"

#include <limits>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"

namespace korvane::canvas
{
namespace
{

CDXGraphics* Graphics()
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    return driver != nullptr ? driver->GetGraphics() : nullptr;
}

} // namespace

Matrix4 ICanvasDevice::GetPixelGrid()
{
    // A vertex at a whole root unit is a pixel centre in Direct3D's convention: the edges lie half a unit on.
    return MakeTranslation(0.5f, 0.5f);
}

void CCanvasDevice::SetRenderState(os::gfx::RenderState state, std::uint32_t value)
{
    if (os::gfx::Device* device = GetDriverDevice()) {
        device->SetRenderState(state, value);
    }
}

void CCanvasDevice::SetSamplerState(std::uint32_t stage, os::gfx::SamplerState type, std::uint32_t value)
{
    if (os::gfx::Device* device = GetDriverDevice()) {
        device->SetSamplerState(stage, type, value);
    }
}

void CCanvasDevice::ApplyVertexDeclaration()
{
    boost::shared_ptr<CVertexDeclaration> declaration = RequireShaderEnvironment(this).GetVertexDeclaration();
    if (declaration) {
        declaration->Apply();
    }
}

boost::shared_ptr<CShaderUniformPair> CCanvasDevice::GetUniform(CShaderPair& pair, const std::string& name)
{
    return pair.GetUniform(name);
}

void CCanvasDevice::SetMatrix(CShaderUniformPair& uniform, const Matrix4& value)
{
    uniform.SetMatrix(&value);
}

void CCanvasDevice::BindTexture(ITexture& texture)
{
    texture.Bind();
}

void CCanvasDevice::UnbindTexture(ITexture& texture)
{
    texture.Unbind();
}

void CCanvasDevice::DrawPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t primitiveCount, const void* vertices,
                                    std::uint32_t stride)
{
    if (os::gfx::Device* device = GetDriverDevice()) {
        device->DrawPrimitiveUP(type, primitiveCount, vertices, stride);
    }
}

void CCanvasDevice::DrawIndexedPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t minVertexIndex,
                                           std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                           const std::uint16_t* indices, const void* vertices, std::uint32_t stride)
{
    if (os::gfx::Device* device = GetDriverDevice()) {
        device->DrawIndexedPrimitiveUP(type, minVertexIndex, vertexCount, primitiveCount, indices,
                                       os::gfx::Format::Index16, vertices, stride);
    }
}

std::int32_t CCanvasDevice::GetAnisotropyLevel()
{
    CDXGraphics* graphics = Graphics();
    if (graphics == nullptr) {
        return 0;
    }
    const std::uint32_t level = graphics->GetAnisotropyLevel();
    return level > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
               ? std::numeric_limits<std::int32_t>::max()
               : static_cast<std::int32_t>(level);
}

std::uint32_t CCanvasDevice::GetTextureFilterCaps()
{
    CDXGraphics* graphics = Graphics();
    return graphics != nullptr ? graphics->GetDeviceCaps().TextureFilterCaps : 0u;
}

boost::shared_ptr<ITexture> CCanvasDevice::CreateWhiteTexture()
{
    boost::shared_ptr<CTexture> texture(new CTexture());
    texture->Fill(1, 1, 1.0f, 1.0f, 1.0f, 1.0f, false, os::gfx::Format::Unknown);
    return texture;
}

IDataLoader* CCanvasDevice::GetDataLoader()
{
    return &RequireDriverDataLoader(this);
}

Matrix4 CCanvasDevice::GetPixelGrid()
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    CShaderEnvironment* environment = driver != nullptr ? driver->GetShaderEnvironment() : nullptr;
    os::gfx::Device* device = GetDriverDevice();
    os::gfx::Viewport viewport;
    if (environment == nullptr || device == nullptr || os::gfx::Failed(device->GetViewport(&viewport))) {
        return ICanvasDevice::GetPixelGrid();
    }
    // The environment keeps the engine's row-vector matrices, the transposes of the canvas's.
    const Matrix4 viewProjection =
        Multiply(Transpose(environment->GetProjectionMatrix()), Transpose(environment->GetViewMatrix()));
    // Clip space to pixels, rows top-down; a clip-space point is a pixel centre in Direct3D's
    // convention, so the pixel edges lie half a pixel on from it.
    const float halfWidth = static_cast<float>(viewport.Width) * 0.5f;
    const float halfHeight = static_cast<float>(viewport.Height) * 0.5f;
    Matrix4 toPixels = MakeScaling(halfWidth, -halfHeight);
    toPixels = Multiply(MakeTranslation(static_cast<float>(viewport.X) + halfWidth + 0.5f,
                                        static_cast<float>(viewport.Y) + halfHeight + 0.5f),
                        toPixels);
    return Multiply(toPixels, viewProjection);
}

double CCanvasDevice::GetElapsedMilliseconds()
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    CFrameRateKeeper* keeper = driver != nullptr ? driver->GetFrameRateKeeper() : nullptr;
    if (keeper == nullptr) {
        throw EInvalidOperation(this, "No frame-rate keeper.");
    }
    return keeper->GetElapsedMilliseconds();
}

} // namespace korvane::canvas
