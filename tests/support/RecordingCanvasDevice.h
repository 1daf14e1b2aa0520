/** @file RecordingCanvasDevice.h A canvas device that records every state, uniform, binding and draw, with copies of
 * the vertices and indices, for headless tests of the canvas and everything drawn through it. */
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/CanvasDeviceInterface.h"
#include "KorvaneXDK/canvas/CanvasVertex.h"
#include "support/FakeTexture.h"

namespace korvane::test
{

/// One call on the device, in order. Fonts made by FakeFont append their text calls here too.
struct CanvasCall
{
    enum class Kind
    {
        RenderState,  ///< state, value
        SamplerState, ///< state, value (any stage)
        Declaration,
        World, ///< matrix (as the shader receives it)
        Bind,  ///< texture
        Unbind,
        Draw, ///< index into draws
        Text, ///< a FakeFont's DrawText or DrawTextClipped; index into that font's calls
    };
    Kind kind = Kind::Draw;
    std::uint32_t state = 0;
    std::uint32_t value = 0;
    Matrix4 matrix{};
    ITexture* texture = nullptr;
    std::size_t index = 0;
};

/// One draw with the device state it was made under.
struct CanvasDraw
{
    os::gfx::PrimitiveType type = os::gfx::PrimitiveType::TriangleList;
    std::uint32_t primitiveCount = 0;
    bool indexed = false;
    /// Every vertex the draw can read (indexed: the first minVertexIndex + vertexCount).
    std::vector<canvas::CanvasVertex> vertices;
    std::vector<std::uint16_t> indices;
    std::uint32_t vertexCount = 0;
    /// The last World set (row-vector form, as the shader receives it).
    Matrix4 world;
    /// Stage 0's texture (null when unbound).
    ITexture* texture = nullptr;
    /// Every render state and stage-0 sampler state set since the device was made.
    std::map<os::gfx::RenderState, std::uint32_t> renderStates;
    std::map<os::gfx::SamplerState, std::uint32_t> samplerStates;

    /// A state's value, or `otherwise` when never set.
    std::uint32_t RenderState(os::gfx::RenderState state, std::uint32_t otherwise = 0xFFFFFFFFu) const;
    std::uint32_t Sampler(os::gfx::SamplerState state, std::uint32_t otherwise = 0xFFFFFFFFu) const;
    /// The triangles' corners in drawing order (strips and lists, indexed or not).
    std::vector<canvas::CanvasVertex> Triangles() const;
};

class RecordingCanvasDevice : public canvas::ICanvasDevice
{
public:
    void SetRenderState(os::gfx::RenderState state, std::uint32_t value) override;
    void SetSamplerState(std::uint32_t stage, os::gfx::SamplerState type, std::uint32_t value) override;
    void ApplyVertexDeclaration() override;
    /// An empty uniform pair (accepts every set), so an unloaded CShaderPair will do.
    boost::shared_ptr<CShaderUniformPair> GetUniform(CShaderPair& pair, const std::string& name) override;
    void SetMatrix(CShaderUniformPair& uniform, const Matrix4& value) override;
    void BindTexture(ITexture& texture) override;
    void UnbindTexture(ITexture& texture) override;
    void DrawPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t primitiveCount, const void* vertices,
                         std::uint32_t stride) override;
    void DrawIndexedPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t minVertexIndex, std::uint32_t vertexCount,
                                std::uint32_t primitiveCount, const std::uint16_t* indices, const void* vertices,
                                std::uint32_t stride) override;
    std::int32_t GetAnisotropyLevel() override { return anisotropyLevel; }
    std::uint32_t GetTextureFilterCaps() override { return textureFilterCaps; }
    /// A 1 x 1 FakeTexture, kept in `white`.
    boost::shared_ptr<ITexture> CreateWhiteTexture() override { return white = boost::make_shared<FakeTexture>(1, 1); }
    IDataLoader* GetDataLoader() override { return nullptr; }
    double GetElapsedMilliseconds() override { return elapsedMilliseconds; }

    /// Forgets calls and draws; the state maps, World and binding stay.
    void Clear();
    /// Calls of one kind.
    std::size_t Count(CanvasCall::Kind kind) const;
    /// Appends a call (fonts use it to put their text calls in order).
    void Append(const CanvasCall& call) { calls.push_back(call); }

    std::vector<CanvasCall> calls;
    std::vector<CanvasDraw> draws;

    // What the device answers.
    std::int32_t anisotropyLevel = 0;
    std::uint32_t textureFilterCaps = 0;
    double elapsedMilliseconds = 0.0;
    boost::shared_ptr<FakeTexture> white;

private:
    std::map<os::gfx::RenderState, std::uint32_t> renderStates_;
    std::map<os::gfx::SamplerState, std::uint32_t> samplerStates_;
    Matrix4 world_;
    ITexture* bound_ = nullptr;
};

} // namespace korvane::test
