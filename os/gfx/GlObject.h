/** @file GlObject.h One OpenGL object name, deleted with its owner. */
#pragma once

#include <cstdint>

namespace os::gfx
{

enum class GlKind : std::uint8_t
{
    Buffer,
    Texture,
    Framebuffer,
    Renderbuffer,
    Sampler,
    VertexArray,
    ProgramPipeline,
};

/// Owns a GL object name of one kind and deletes it when it goes (or is replaced). Making and
/// deleting need the owning context current: members of the device are declared after its
/// context, so they go first.
class GlObject
{
public:
    GlObject() = default;
    /// Makes a new object of the kind.
    explicit GlObject(GlKind kind);
    ~GlObject() { Free(); }
    GlObject(GlObject&& other) noexcept : kind_(other.kind_), name_(other.name_) { other.name_ = 0; }
    GlObject& operator=(GlObject&& other) noexcept;
    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;

    std::uint32_t Get() const { return name_; }
    explicit operator bool() const { return name_ != 0; }

private:
    void Free();

    GlKind kind_ = GlKind::Buffer;
    std::uint32_t name_ = 0;
};

} // namespace os::gfx
