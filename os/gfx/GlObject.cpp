/** @file GlObject.cpp One OpenGL object name, deleted with its owner. */
#include "os/gfx/GlObject.h"

#include <utility>

#include <epoxy/gl.h>

namespace os::gfx
{

GlObject::GlObject(GlKind kind) : kind_(kind)
{
    switch (kind) {
    case GlKind::Buffer:
        glGenBuffers(1, &name_);
        break;
    case GlKind::Texture:
        glGenTextures(1, &name_);
        break;
    case GlKind::Framebuffer:
        glGenFramebuffers(1, &name_);
        break;
    case GlKind::Renderbuffer:
        glGenRenderbuffers(1, &name_);
        break;
    case GlKind::Sampler:
        glGenSamplers(1, &name_);
        break;
    case GlKind::VertexArray:
        glGenVertexArrays(1, &name_);
        break;
    case GlKind::ProgramPipeline:
        glGenProgramPipelines(1, &name_);
        break;
    }
}

GlObject& GlObject::operator=(GlObject&& other) noexcept
{
    if (this != &other) {
        Free();
        kind_ = other.kind_;
        name_ = std::exchange(other.name_, 0);
    }
    return *this;
}

void GlObject::Free()
{
    if (name_ == 0) {
        return;
    }
    switch (kind_) {
    case GlKind::Buffer:
        glDeleteBuffers(1, &name_);
        break;
    case GlKind::Texture:
        glDeleteTextures(1, &name_);
        break;
    case GlKind::Framebuffer:
        glDeleteFramebuffers(1, &name_);
        break;
    case GlKind::Renderbuffer:
        glDeleteRenderbuffers(1, &name_);
        break;
    case GlKind::Sampler:
        glDeleteSamplers(1, &name_);
        break;
    case GlKind::VertexArray:
        glDeleteVertexArrays(1, &name_);
        break;
    case GlKind::ProgramPipeline:
        glDeleteProgramPipelines(1, &name_);
        break;
    }
    name_ = 0;
}

} // namespace os::gfx
