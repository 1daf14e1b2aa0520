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

    glGenTextures(1, &colorTexture_);
    glBindTexture(GL_TEXTURE_2D, colorTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    if (samples_ > 0) {
        glGenRenderbuffers(1, &colorRenderbuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, colorRenderbuffer_);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, GL_RGBA8, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorRenderbuffer_);
    } else {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
    }
    if (hasDepth_) {
        glGenRenderbuffers(1, &depthRenderbuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer_);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, depthFormat, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depthRenderbuffer_);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (samples_ > 0) {
        glGenFramebuffers(1, &resolveFramebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
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
    if (framebuffer_ != 0) {
        glDeleteFramebuffers(1, &framebuffer_);
    }
    if (resolveFramebuffer_ != 0) {
        glDeleteFramebuffers(1, &resolveFramebuffer_);
    }
    if (colorTexture_ != 0) {
        glDeleteTextures(1, &colorTexture_);
    }
    if (colorRenderbuffer_ != 0) {
        glDeleteRenderbuffers(1, &colorRenderbuffer_);
    }
    if (depthRenderbuffer_ != 0) {
        glDeleteRenderbuffers(1, &depthRenderbuffer_);
    }
    framebuffer_ = resolveFramebuffer_ = colorTexture_ = colorRenderbuffer_ = depthRenderbuffer_ = 0;
}

void BackBuffer::Bind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

std::uint32_t BackBuffer::GetResolvedFramebuffer()
{
    if (samples_ > 0 && !resolved_) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
        const bool scissor = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), 0, 0,
                          static_cast<GLint>(width_), static_cast<GLint>(height_), GL_COLOR_BUFFER_BIT, GL_NEAREST);
        if (scissor) {
            glEnable(GL_SCISSOR_TEST);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        resolved_ = true;
    }
    return samples_ > 0 ? resolveFramebuffer_ : framebuffer_;
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
    GLuint texture = 0;
    GLuint framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // Row 0 of the image is its top row; it lands on the window's top row.
    const auto w = static_cast<GLint>(width);
    const auto h = static_cast<GLint>(height);
    glBlitFramebuffer(0, 0, w, h, 0, drawableHeight, w, drawableHeight - h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
}

} // namespace os::gfx
