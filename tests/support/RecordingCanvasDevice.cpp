/** @file RecordingCanvasDevice.cpp The recording canvas device. */
#include "support/RecordingCanvasDevice.h"

#include <cstring>

#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"

namespace korvane::test
{

std::uint32_t CanvasDraw::RenderState(os::gfx::RenderState state, std::uint32_t otherwise) const
{
    const auto found = renderStates.find(state);
    return found != renderStates.end() ? found->second : otherwise;
}

std::uint32_t CanvasDraw::Sampler(os::gfx::SamplerState state, std::uint32_t otherwise) const
{
    const auto found = samplerStates.find(state);
    return found != samplerStates.end() ? found->second : otherwise;
}

std::vector<canvas::CanvasVertex> CanvasDraw::Triangles() const
{
    std::vector<canvas::CanvasVertex> out;
    const auto at = [&](std::uint32_t i) { return indexed ? vertices.at(indices.at(i)) : vertices.at(i); };
    for (std::uint32_t t = 0; t < primitiveCount; ++t) {
        if (type == os::gfx::PrimitiveType::TriangleStrip) {
            // Every second triangle of a strip is turned back to keep the winding.
            out.push_back(at(t));
            out.push_back(at(t % 2 == 0 ? t + 1 : t + 2));
            out.push_back(at(t % 2 == 0 ? t + 2 : t + 1));
        } else {
            out.push_back(at(3 * t));
            out.push_back(at(3 * t + 1));
            out.push_back(at(3 * t + 2));
        }
    }
    return out;
}

RecordingCanvasDevice::RecordingCanvasDevice() = default;

void RecordingCanvasDevice::SetRenderState(os::gfx::RenderState state, std::uint32_t value)
{
    CanvasCall call;
    call.kind = CanvasCall::Kind::RenderState;
    call.state = static_cast<std::uint32_t>(state);
    call.value = value;
    calls.push_back(call);
    renderStates_[state] = value;
}

void RecordingCanvasDevice::SetSamplerState(std::uint32_t stage, os::gfx::SamplerState type, std::uint32_t value)
{
    CanvasCall call;
    call.kind = CanvasCall::Kind::SamplerState;
    call.stage = stage;
    call.state = static_cast<std::uint32_t>(type);
    call.value = value;
    calls.push_back(call);
    if (stage == 0) {
        samplerStates_[type] = value;
    }
}

void RecordingCanvasDevice::ApplyVertexDeclaration()
{
    CanvasCall call;
    call.kind = CanvasCall::Kind::Declaration;
    calls.push_back(call);
}

boost::shared_ptr<CShaderUniformPair> RecordingCanvasDevice::GetUniform(CShaderPair&, const std::string&)
{
    return boost::shared_ptr<CShaderUniformPair>(new CShaderUniformPair());
}

void RecordingCanvasDevice::SetMatrix(CShaderUniformPair&, const Matrix4& value)
{
    CanvasCall call;
    call.kind = CanvasCall::Kind::World;
    call.matrix = value;
    calls.push_back(call);
    world_ = value;
}

void RecordingCanvasDevice::BindTexture(ITexture& texture)
{
    CanvasCall call;
    call.kind = CanvasCall::Kind::Bind;
    call.texture = &texture;
    calls.push_back(call);
    bound_ = &texture;
}

void RecordingCanvasDevice::UnbindTexture(ITexture& texture)
{
    CanvasCall call;
    call.kind = CanvasCall::Kind::Unbind;
    call.texture = &texture;
    calls.push_back(call);
    bound_ = nullptr;
}

void RecordingCanvasDevice::DrawPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t primitiveCount,
                                            const void* vertices, std::uint32_t stride)
{
    CanvasDraw draw;
    draw.type = type;
    draw.primitiveCount = primitiveCount;
    const std::uint32_t count = primitiveCount == 0                             ? 0
                                : type == os::gfx::PrimitiveType::TriangleStrip ? primitiveCount + 2
                                                                                : 3 * primitiveCount;
    draw.vertexCount = count;
    draw.vertices.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::memcpy(&draw.vertices[i], static_cast<const char*>(vertices) + std::size_t{i} * stride,
                    sizeof(canvas::CanvasVertex));
    }
    draw.world = world_;
    draw.texture = bound_;
    draw.renderStates = renderStates_;
    draw.samplerStates = samplerStates_;
    CanvasCall call;
    call.kind = CanvasCall::Kind::Draw;
    call.index = draws.size();
    calls.push_back(call);
    draws.push_back(std::move(draw));
}

void RecordingCanvasDevice::DrawIndexedPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t minVertexIndex,
                                                   std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                                   const std::uint16_t* indices, const void* vertices,
                                                   std::uint32_t stride)
{
    CanvasDraw draw;
    draw.type = type;
    draw.primitiveCount = primitiveCount;
    draw.indexed = true;
    draw.minVertexIndex = minVertexIndex;
    draw.vertexCount = vertexCount;
    const std::uint32_t count = minVertexIndex + vertexCount;
    draw.vertices.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::memcpy(&draw.vertices[i], static_cast<const char*>(vertices) + std::size_t{i} * stride,
                    sizeof(canvas::CanvasVertex));
    }
    const std::uint32_t indexCount =
        type == os::gfx::PrimitiveType::TriangleStrip ? primitiveCount + 2 : 3 * primitiveCount;
    draw.indices.assign(indices, indices + indexCount);
    draw.world = world_;
    draw.texture = bound_;
    draw.renderStates = renderStates_;
    draw.samplerStates = samplerStates_;
    CanvasCall call;
    call.kind = CanvasCall::Kind::Draw;
    call.index = draws.size();
    calls.push_back(call);
    draws.push_back(std::move(draw));
}

boost::shared_ptr<ITexture> RecordingCanvasDevice::CreateWhiteTexture()
{
    white.reset(new FakeTexture(1, 1));
    return white;
}

void RecordingCanvasDevice::Clear()
{
    calls.clear();
    draws.clear();
}

std::size_t RecordingCanvasDevice::Count(CanvasCall::Kind kind) const
{
    std::size_t n = 0;
    for (const CanvasCall& call : calls) {
        n += call.kind == kind ? 1 : 0;
    }
    return n;
}

} // namespace korvane::test
