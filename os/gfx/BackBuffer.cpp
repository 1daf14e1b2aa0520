/** @file BackBuffer.cpp The device's back buffer: a framebuffer object, multisampled or not. */
#include "os/gfx/BackBuffer.h"

#include <algorithm>

#include <epoxy/gl.h>

#include "os/gfx/ResultCodes.h"
#include "os/gfx/StateTables.h"

namespace os::gfx
{

Result BackBuffer::Create(PresentParameters* parameters, int drawableWidth, int drawableHeight, int maxSamples)
{
    PresentParameters p = *parameters;
    if (p.Windowed && p.BackBufferWidth == 0) {
        p.BackBufferWidth = static_cast<std::uint32_t>(std::max(drawableWidth, 1));
    }
    if (p.Windowed && p.BackBufferHeight == 0) {
        p.BackBufferHeight = static_cast<std::uint32_t>(std::max(drawableHeight, 1));
    }
    if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0 || p.BackBufferWidth > 16384 || p.BackBufferHeight > 16384) {
        return kErrInvalidCall;
    }
    if (p.BackBufferFormat == Format::Unknown) {
        if (!p.Windowed) {
            return kErrInvalidCall;
        }
        p.BackBufferFormat = Format::X8R8G8B8;
    }
    if (!tables::IsBackBufferFormat(p.BackBufferFormat)) {
        return kErrInvalidCall;
    }
    if (p.BackBufferCount == 0) {
        p.BackBufferCount = 1;
    }
    if (p.BackBufferCount > 3) {
        return kErrInvalidCall;
    }
    GLenum depthFormat = GL_NONE;
    bool stencil = false;
    if (p.EnableAutoDepthStencil && !tables::DepthFormatOf(p.AutoDepthStencilFormat, &depthFormat, &stencil)) {
        return kErrInvalidCall;
    }
    int samples = static_cast<int>(p.MultiSampleType);
    if (samples == 1) {
        samples = 0; // non-maskable multisampling at quality 0: one sample
    }
    if (samples > maxSamples) {
        return kErrInvalidCall;
    }

    Destroy();
    width_ = p.BackBufferWidth;
    height_ = p.BackBufferHeight;
    samples_ = samples;
    hasDepth_ = depthFormat != GL_NONE;
    hasStencil_ = stencil;
    const auto w = static_cast<GLsizei>(width_);
    const auto h = static_cast<GLsizei>(height_);

    colorTexture_ = GlObject(GlKind::Texture);
    glBindTexture(GL_TEXTURE_2D, colorTexture_.Get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);

    framebuffer_ = GlObject(GlKind::Framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.Get());
    if (samples_ > 0) {
        colorRenderbuffer_ = GlObject(GlKind::Renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, colorRenderbuffer_.Get());
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, GL_RGBA8, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorRenderbuffer_.Get());
    } else {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_.Get(), 0);
    }
    if (hasDepth_) {
        depthRenderbuffer_ = GlObject(GlKind::Renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer_.Get());
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, depthFormat, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depthRenderbuffer_.Get());
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (samples_ > 0) {
        resolveFramebuffer_ = GlObject(GlKind::Framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_.Get());
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_.Get(), 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.Get());
    }
    if (!complete) {
        Destroy();
        return kErrOutOfVideoMemory;
    }
    resolved_ = false;
    *parameters = p;
    return kOk;
}

void BackBuffer::Destroy()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    framebuffer_ = GlObject();
    resolveFramebuffer_ = GlObject();
    colorTexture_ = GlObject();
    colorRenderbuffer_ = GlObject();
    depthRenderbuffer_ = GlObject();
}

void BackBuffer::Bind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.Get());
}

std::uint32_t BackBuffer::GetResolvedFramebuffer()
{
    if (samples_ > 0 && !resolved_) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_.Get());
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_.Get());
        const bool scissor = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), 0, 0,
                          static_cast<GLint>(width_), static_cast<GLint>(height_), GL_COLOR_BUFFER_BIT, GL_NEAREST);
        if (scissor) {
            glEnable(GL_SCISSOR_TEST);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.Get());
        resolved_ = true;
    }
    return samples_ > 0 ? resolveFramebuffer_.Get() : framebuffer_.Get();
}

void BackBuffer::Read(std::vector<std::uint32_t>* pixels)
{
    const GLuint source = GetResolvedFramebuffer();
    pixels->assign(static_cast<std::size_t>(width_) * height_, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, pixels->data());
    Bind();
}

void BackBuffer::BlitToWindow(int drawableWidth, int drawableHeight)
{
    const GLuint source = GetResolvedFramebuffer();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    const bool sameSize = drawableWidth == static_cast<int>(width_) && drawableHeight == static_cast<int>(height_);
    // The back buffer's first row is the top row; the window's first row is the bottom one.
    glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), 0, drawableHeight, drawableWidth,
                      0, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
}

void BackBuffer::BlitPixelsToWindow(const std::uint32_t* pixels, std::uint32_t width, std::uint32_t height,
                                    int drawableHeight)
{
    const GlObject texture(GlKind::Texture);
    const GlObject framebuffer(GlKind::Framebuffer);
    glBindTexture(GL_TEXTURE_2D, texture.Get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer.Get());
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture.Get(), 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // Row 0 of the image is its top row; it lands on the window's top row.
    const auto w = static_cast<GLint>(width);
    const auto h = static_cast<GLint>(height);
    glBlitFramebuffer(0, 0, w, h, 0, drawableHeight, w, drawableHeight - h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

} // namespace os::gfx
