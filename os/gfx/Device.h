/** @file Device.h The graphics device: an OpenGL core context rendering into an off-screen back buffer. */
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "os/gfx/BackBuffer.h"
#include "os/gfx/GlObject.h"
#include "os/gfx/Shader.h"
#include "os/gfx/StateCache.h"
#include "os/gfx/StreamBuffer.h"
#include "os/gfx/TextureTypes.h"
#include "os/gfx/Types.h"

struct SDL_Window;

namespace os::gfx
{

class ContextLink;
class Shader;
class Surface;
class Texture;
class VertexDeclaration;

/// The device keeps Direct3D 9's conventions on OpenGL: the back buffer is a framebuffer
/// object whose first row is the top row (clip control, or a y flip in the vertex prelude
/// where clip control is missing), clip-space depth runs 0..1, pixel centres lie on integer
/// coordinates (the vertex prelude offsets positions by half a pixel), and Present blits the
/// back buffer to the window. Render and sampler states start at Direct3D's defaults after
/// creation and after every Reset.
///
/// A device lives on the thread that created it; calls from another thread fail with the
/// invalid-call code. Loss never happens on GL by itself: the test hooks drive the state
/// machine (operational, lost, lost but resettable).
class Device
{
public:
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // --- Presentation and loss -------------------------------------------------------------
    /// kOk, or the lost-device code while lost, or the not-reset code once resettable.
    Result TestCooperativeLevel();
    /// Rebuilds the back buffer for the parameters (writing back what was used), switches
    /// between full screen and window, and restores every state to its default.
    Result Reset(PresentParameters* parameters);
    /// Shows the back buffer in the window (stretched to its drawable size).
    Result Present();
    Result GetDeviceCaps(Caps* caps) const;
    /// Accepted for the extended device; the layer never queues more than one frame anyway.
    Result SetMaximumFrameLatency(std::uint32_t frames);
    bool IsExtended() const { return extended_; }
    /// The parameters in force (as written back by creation or the last Reset).
    const PresentParameters& GetPresentParameters() const { return parameters_; }

    // --- Scene, viewport, clear --------------------------------------------------------------
    Result BeginScene();
    Result EndScene();
    /// Clears the viewport (and the scissor rectangle while scissoring), or the given
    /// rectangles within it. Colour is 0xAARRGGBB.
    Result Clear(std::uint32_t rectCount, const ClearRect* rects, std::uint32_t flags, std::uint32_t color, float z,
                 std::uint32_t stencil);
    /// Fails when the rectangle leaves the back buffer or is empty.
    Result SetViewport(const Viewport& viewport);
    Result GetViewport(Viewport* viewport) const;
    Result SetScissorRect(const Rect& rect);
    Result GetScissorRect(Rect* rect) const;

    // --- States ------------------------------------------------------------------------------
    Result SetRenderState(RenderState state, std::uint32_t value);
    Result GetRenderState(RenderState state, std::uint32_t* value) const;
    Result SetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t value);
    Result GetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t* value) const;

    // --- Shaders and declarations ------------------------------------------------------------
    /// Compiles GLSL source of one stage ("#version 410 core" or later; `size` bytes, a NUL
    /// ends it early). Fails with the invalid-call code; GetLastShaderLog tells why.
    Result CreateVertexShader(const void* source, std::size_t size, std::shared_ptr<Shader>* shader);
    Result CreatePixelShader(const void* source, std::size_t size, std::shared_ptr<Shader>* shader);
    Result SetVertexShader(std::shared_ptr<Shader> shader);
    Result SetPixelShader(std::shared_ptr<Shader> shader);
    std::shared_ptr<Shader> GetVertexShader() const { return vertexShader_; }
    std::shared_ptr<Shader> GetPixelShader() const { return pixelShader_; }
    const std::string& GetLastShaderLog() const { return lastShaderLog_; }

    Result CreateVertexDeclaration(const VertexElement* elements, std::shared_ptr<VertexDeclaration>* declaration);
    Result SetVertexDeclaration(std::shared_ptr<VertexDeclaration> declaration);
    std::shared_ptr<VertexDeclaration> GetVertexDeclaration() const { return declaration_; }

    // --- Textures and surfaces --------------------------------------------------------------------
    /// Any thread: the texture's GL object is made on the device's thread later. Levels 0 make
    /// a full chain. Render targets live in the default pool; dynamic textures are not managed.
    Result CreateTexture(std::uint32_t width, std::uint32_t height, std::uint32_t levels, std::uint32_t usage,
                         Format format, Pool pool, std::shared_ptr<Texture>* texture);
    /// Binds the texture to a sampler stage (null unbinds); system-memory textures cannot be bound.
    Result SetTexture(std::uint32_t stage, std::shared_ptr<Texture> texture);
    std::shared_ptr<Texture> GetTexture(std::uint32_t stage) const;
    /// Index 0 is the back buffer; the device has no other render target.
    Result GetRenderTarget(std::uint32_t index, std::shared_ptr<Surface>* surface);
    /// Copies between render targets (this device's back buffer, render-target texture levels);
    /// rectangles count rows from the top, null means the whole surface.
    Result StretchRect(const Surface* source, const Rect* sourceRect, const Surface* dest, const Rect* destRect,
                       TextureFilterType filter);

    // --- Draws from client memory --------------------------------------------------------------
    /// Needs a declaration and both shaders. A count of 0 draws nothing and succeeds.
    Result DrawPrimitiveUP(PrimitiveType type, std::uint32_t primitiveCount, const void* vertices,
                           std::uint32_t stride);
    /// Indices (16- or 32-bit) count from `vertices`, but only the `vertexCount` vertices from
    /// `minVertexIndex` on are read, and every index must lie among them.
    Result DrawIndexedPrimitiveUP(PrimitiveType type, std::uint32_t minVertexIndex, std::uint32_t vertexCount,
                                  std::uint32_t primitiveCount, const void* indices, Format indexFormat,
                                  const void* vertices, std::uint32_t stride);

    // --- Read-back -----------------------------------------------------------------------------
    /// The back buffer as 0xAARRGGBB words, top row first.
    Result ReadBackBuffer(std::vector<std::uint32_t>* pixels, std::uint32_t* width, std::uint32_t* height);

    /// Shows a software image (0xAARRGGBB words, top row first) in the window at its top-left
    /// corner, as the window's painting does while rendering is paused; the back buffer is kept.
    Result PresentPixels(const std::uint32_t* pixels, std::uint32_t width, std::uint32_t height);

    // --- For the texture and shader code of the layer ------------------------------------------
    /// Runs the GL work other threads left for this one (texture uploads, releases), as every
    /// device call does first; a dispatcher waiting on loader threads keeps uploads flowing with it.
    /// Refused off the device's thread.
    Result RunDeferredWork();
    /// Shared with resources so they can release GL objects from any thread, before or after the device.
    const std::shared_ptr<ContextLink>& GetContextLink() const { return link_; }
    /// Whether the calling thread owns the context.
    bool IsOwnerThread() const { return std::this_thread::get_id() == owner_; }
    /// The GL framebuffer object holding the (resolved) back buffer, for copies out of it.
    std::uint32_t GetBackBufferFramebuffer();
    /// Makes the draw framebuffer the back buffer again after a copy bound another one.
    void RestoreFramebufferBinding();
    bool HasClipControl() const { return clipControl_; }

private:
    friend class Direct3D;
    class Guard;
    enum class LossState
    {
        Operational,
        Lost,
        NotReset,
    };

    Device(SDL_Window* window, std::uint32_t adapter, bool extended);
    /// Creates the context and the back buffer; writes back the parameters.
    Result Initialize(PresentParameters* parameters);
    /// Rebuilds the back buffer for the parameters and keeps them (written back) on success.
    Result CreateBackBuffer(PresentParameters* parameters);
    void SetDefaultStates();
    Result CreateShader(ShaderStage stage, const void* source, std::size_t size, std::shared_ptr<Shader>* shader);
    void PrepareDraw(const void* vertices, std::uint32_t vertexBytes, std::uint32_t stride);
    /// Binds every stage's texture again (uploading what changed): blits and uploads may have used units.
    void BindTextures();
    bool Usable() const;
    void PollLossHooks();

    // Identity.
    SDL_Window* window_;
    std::uint32_t adapter_;
    bool extended_;
    std::thread::id owner_;
    mutable std::recursive_mutex mutex_;
    /// Leaves the context and deletes it (defined beside the SDL calls). Every GL object below
    /// is declared after it, so they are deleted first, while the destructor keeps it current.
    struct ContextFree
    {
        SDL_Window* window;
        void operator()(void* context) const;
    };
    std::unique_ptr<void, ContextFree> context_;
    std::shared_ptr<ContextLink> link_;
    bool clipControl_ = false;
    bool anisotropy_ = false;
    float maxAnisotropy_ = 1.0f;
    int maxSamples_ = 0;
    int lossEpoch_ = 0;

    PresentParameters parameters_;
    BackBuffer backBuffer_;

    // Loss.
    LossState loss_ = LossState::Operational;
    int lostCallsLeft_ = 0;

    // Scene and states.
    bool inScene_ = false;
    StateCache states_;

    // Draw objects.
    std::shared_ptr<Shader> vertexShader_;
    std::shared_ptr<Shader> pixelShader_;
    std::shared_ptr<VertexDeclaration> declaration_;
    std::string lastShaderLog_;
    GlObject pipeline_;
    GlObject vertexArray_;
    StreamBuffer vertexStream_;
    StreamBuffer indexStream_;
    std::uint32_t enabledAttributes_ = 0;
    std::array<std::shared_ptr<Texture>, kSamplerStageCount> textures_;
    std::uint32_t boundStages_ = 0; ///< stages with a GL texture bound
};

} // namespace os::gfx
