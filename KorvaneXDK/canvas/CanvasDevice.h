/** @file CanvasDevice.h The canvas device over the application driver's graphics device. */
#pragma once

#include "KorvaneXDK/canvas/CanvasDeviceInterface.h"

namespace korvane::canvas
{

/// Reaches the os::gfx device, the shader environment, the data loader and the frame-rate
/// keeper through the application driver at each call, so it survives a device reset. Without a
/// graphics device, state and draw calls do nothing; the seams throw EInvalidOperation.
class CCanvasDevice : public ICanvasDevice, public virtual CNonCopyable
{
public:
    CCanvasDevice() = default;
    ~CCanvasDevice() override = default;

    void SetRenderState(os::gfx::RenderState state, std::uint32_t value) override;
    void SetSamplerState(std::uint32_t stage, os::gfx::SamplerState type, std::uint32_t value) override;
    void ApplyVertexDeclaration() override;
    boost::shared_ptr<CShaderUniformPair> GetUniform(CShaderPair& pair, const std::string& name) override;
    void SetMatrix(CShaderUniformPair& uniform, const Matrix4& value) override;
    void BindTexture(ITexture& texture) override;
    void UnbindTexture(ITexture& texture) override;
    void DrawPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t primitiveCount, const void* vertices,
                         std::uint32_t stride) override;
    void DrawIndexedPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t minVertexIndex, std::uint32_t vertexCount,
                                std::uint32_t primitiveCount, const std::uint16_t* indices, const void* vertices,
                                std::uint32_t stride) override;
    std::int32_t GetAnisotropyLevel() override;
    std::uint32_t GetTextureFilterCaps() override;
    boost::shared_ptr<ITexture> CreateWhiteTexture() override;
    IDataLoader* GetDataLoader() override;
    double GetElapsedMilliseconds() override;
    /// From the shader environment's view and projection and the device's viewport; the default
    /// without a device or an environment.
    Matrix4 GetPixelGrid() override;
};

} // namespace korvane::canvas
