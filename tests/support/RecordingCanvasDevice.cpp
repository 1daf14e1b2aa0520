/** @file RecordingCanvasDevice.cpp The recording canvas device. */
#include "support/RecordingCanvasDevice.h"

#include <algorithm>
#include <cstring>

#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"

namespace korvane::test
{

namespace
{

template <class Map>
std::uint32_t Lookup(const Map& map, typename Map::key_type key, std::uint32_t otherwise)
{
    const auto found = map.find(key);
    return found != map.end() ? found->second : otherwise;
}

std::uint32_t CornerCount(os::gfx::PrimitiveType type, std::uint32_t primitiveCount)
{
    return type == os::gfx::PrimitiveType::TriangleStrip ? primitiveCount + 2 : 3 * primitiveCount;
}

} // namespace

std::uint32_t CanvasDraw::RenderState(os::gfx::RenderState state, std::uint32_t otherwise) const
{
    return Lookup(renderStates, state, otherwise);
}

std::uint32_t CanvasDraw::Sampler(os::gfx::SamplerState state, std::uint32_t otherwise) const
{
    return Lookup(samplerStates, state, otherwise);
}

std::vector<canvas::CanvasVertex> CanvasDraw::Triangles() const
{
    std::vector<canvas::CanvasVertex> out;
    const auto at = [&](std::uint32_t i) { return indexed ? vertices.at(indices.at(i)) : vertices.at(i); };
    for (std::uint32_t t = 0; t < primitiveCount; ++t) {
        // Every second triangle of a strip is turned back to keep the winding.
        const bool strip = type == os::gfx::PrimitiveType::TriangleStrip, back = strip && t % 2 == 1;
        const std::uint32_t first = strip ? t : 3 * t;
        out.push_back(at(first));
        out.push_back(at(first + (back ? 2 : 1)));
        out.push_back(at(first + (back ? 1 : 2)));
    }
    return out;
}

void RecordingCanvasDevice::SetRenderState(os::gfx::RenderState state, std::uint32_t value)
{
    calls.push_back(
        {.kind = CanvasCall::Kind::RenderState, .state = static_cast<std::uint32_t>(state), .value = value});
    renderStates_[state] = value;
}

void RecordingCanvasDevice::SetSamplerState(std::uint32_t stage, os::gfx::SamplerState type, std::uint32_t value)
{
    calls.push_back(
        {.kind = CanvasCall::Kind::SamplerState, .state = static_cast<std::uint32_t>(type), .value = value});
    if (stage == 0) {
        samplerStates_[type] = value;
    }
}

void RecordingCanvasDevice::ApplyVertexDeclaration()
{
    calls.push_back({.kind = CanvasCall::Kind::Declaration});
}

boost::shared_ptr<CShaderUniformPair> RecordingCanvasDevice::GetUniform(CShaderPair&, const std::string&)
{
    return boost::shared_ptr<CShaderUniformPair>(new CShaderUniformPair());
}

void RecordingCanvasDevice::SetMatrix(CShaderUniformPair&, const Matrix4& value)
{
    calls.push_back({.kind = CanvasCall::Kind::World, .matrix = value});
    world_ = value;
}

void RecordingCanvasDevice::BindTexture(ITexture& texture)
{
    calls.push_back({.kind = CanvasCall::Kind::Bind, .texture = &texture});
    bound_ = &texture;
}

void RecordingCanvasDevice::UnbindTexture(ITexture& texture)
{
    calls.push_back({.kind = CanvasCall::Kind::Unbind, .texture = &texture});
    bound_ = nullptr;
}

void RecordingCanvasDevice::DrawPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t primitiveCount,
                                            const void* vertices, std::uint32_t stride)
{
    DrawIndexedPrimitiveUP(type, 0, primitiveCount == 0 ? 0 : CornerCount(type, primitiveCount), primitiveCount,
                           nullptr, vertices, stride);
}

void RecordingCanvasDevice::DrawIndexedPrimitiveUP(os::gfx::PrimitiveType type, std::uint32_t minVertexIndex,
                                                   std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                                   const std::uint16_t* indices, const void* vertices,
                                                   std::uint32_t stride)
{
    CanvasDraw draw{type,   primitiveCount, indices != nullptr, {}, {}, vertexCount, world_,
                    bound_, renderStates_,  samplerStates_};
    draw.vertices.resize(minVertexIndex + vertexCount);
    for (std::size_t i = 0; i < draw.vertices.size(); ++i) {
        std::memcpy(&draw.vertices[i], static_cast<const char*>(vertices) + i * stride, sizeof(canvas::CanvasVertex));
    }
    if (draw.indexed) {
        draw.indices.assign(indices, indices + CornerCount(type, primitiveCount));
    }
    calls.push_back({.kind = CanvasCall::Kind::Draw, .index = draws.size()});
    draws.push_back(std::move(draw));
}

void RecordingCanvasDevice::Clear()
{
    calls.clear();
    draws.clear();
}

std::size_t RecordingCanvasDevice::Count(CanvasCall::Kind kind) const
{
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [kind](const CanvasCall& call) { return call.kind == kind; }));
}

} // namespace korvane::test
