/** @file BackBuffer.h The device's back buffer: a framebuffer object, multisampled or not. */
#pragma once

#include <cstdint>
#include <vector>

#include "os/gfx/GlObject.h"
#include "os/gfx/Types.h"

namespace os::gfx
{

/// The picture a device draws into, kept off-screen so that its first row is the top row and
/// its size need not follow the window. A multisampled buffer is resolved into a single-sample
/// texture before anything reads it. Every call needs the device's context current.
class BackBuffer
{
public:
    /// Completes the parameters (a window's zero sizes take the drawable size, an unknown
    /// format in a window becomes X8R8G8B8, no count means one) and rebuilds the buffer for
    /// them. Invalid parameters fail with the invalid-call code and keep the old buffer.
    Result Create(PresentParameters* parameters, int drawableWidth, int drawableHeight, int maxSamples);
    void Destroy();

    std::uint32_t GetWidth() const { return width_; }
    std::uint32_t GetHeight() const { return height_; }
    bool HasDepth() const { return hasDepth_; }
    bool HasStencil() const { return hasStencil_; }

    /// Makes the back buffer the draw and read framebuffer.
    void Bind() const;
    /// Drawing changed the picture: the next read resolves it again.
    void MarkDrawn() { resolved_ = false; }
    /// The framebuffer holding the finished single-sample picture.
    std::uint32_t GetResolvedFramebuffer();
    /// The picture as 0xAARRGGBB words, top row first.
    void Read(std::vector<std::uint32_t>* pixels);
    /// Stretches the picture over the window's framebuffer (whose first row is the bottom one).
    void BlitToWindow(int drawableWidth, int drawableHeight);
    /// Copies a software image (0xAARRGGBB words, top row first) to the window's top-left corner.
    static void BlitPixelsToWindow(const std::uint32_t* pixels, std::uint32_t width, std::uint32_t height,
                                   int drawableHeight);

private:
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    int samples_ = 0;
    bool hasDepth_ = false;
    bool hasStencil_ = false;
    GlObject framebuffer_;       ///< rendered into
    GlObject colorTexture_;      ///< single-sample colour (or the resolve target)
    GlObject colorRenderbuffer_; ///< multisample colour
    GlObject depthRenderbuffer_;
    GlObject resolveFramebuffer_; ///< multisample only
    bool resolved_ = false;
};

} // namespace os::gfx
