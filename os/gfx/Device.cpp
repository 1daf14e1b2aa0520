/** @file Device.cpp The graphics device over an OpenGL core context: creation, loss, present, clear and draws. */
#include "os/gfx/Device.h"

#include <algorithm>

#include <SDL.h>
#include <epoxy/gl.h>

#include "os/gfx/BaseCaps.h"
#include "os/gfx/ContextLink.h"
#include "os/gfx/DeviceGuard.h"
#include "os/gfx/DrawRecorder.h"
#include "os/gfx/HookState.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Shader.h"
#include "os/gfx/StateTables.h"
#include "os/gfx/Surface.h"
#include "os/gfx/Texture.h"
#include "os/gfx/VertexDeclaration.h"
#include "os/gfx/WindowBinding.h"
#include "os/system/System.h"

namespace os::gfx
{

namespace
{

using detail::Hooks;

/// Streaming buffers start at this size and grow to fit the largest single draw.
constexpr std::uint32_t kVertexStreamBytes = 4u << 20;
constexpr std::uint32_t kIndexStreamBytes = 1u << 20;

} // namespace

// --- Construction ----------------------------------------------------------------------------

Device::Device(SDL_Window* window, std::uint32_t adapter, bool extended)
    : window_(window), adapter_(adapter), extended_(extended), owner_(std::this_thread::get_id()),
      context_(nullptr, ContextFree{window}), vertexStream_(GL_ARRAY_BUFFER, kVertexStreamBytes),
      indexStream_(GL_ELEMENT_ARRAY_BUFFER, kIndexStreamBytes)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    lossEpoch_ = Hooks().lossEpoch;
}

Device::~Device()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!context_) {
        return;
    }
    // The members' GL objects go after this body, with the context still current.
    SDL_GL_MakeCurrent(window_, context_.get());
    vertexShader_.reset();
    pixelShader_.reset();
    declaration_.reset();
    for (auto& texture : textures_) {
        texture.reset();
    }
    if (link_) {
        link_->Close();
    }
}

void Device::ContextFree::operator()(void* context) const
{
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

Result Device::Initialize(PresentParameters* parameters)
{
    // Newest first: 4.5 brings clip control; 4.1 is the least the layer works with.
    static const int kVersions[][2] = {{4, 6}, {4, 5}, {4, 3}, {4, 1}};
    for (const auto& version : kVersions) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, version[0]);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, version[1]);
        context_.reset(SDL_GL_CreateContext(window_));
        if (context_) {
            break;
        }
    }
    if (!context_) {
        os::system::SetLastErrorFromSdl("SDL_GL_CreateContext");
        return kErrNotAvailable;
    }
    if (epoxy_gl_version() < 41) {
        os::system::SetLastError(1, "OpenGL 4.1 or later is needed");
        context_.reset();
        return kErrNotAvailable;
    }
    link_ = std::make_shared<ContextLink>(owner_);
    bool withoutClipControl = false;
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        withoutClipControl = Hooks().withoutClipControl;
    }
    clipControl_ = !withoutClipControl && (epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control"));
    if (clipControl_) {
        glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    }
    anisotropy_ = epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic") ||
                  epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic");
    if (anisotropy_) {
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY, &maxAnisotropy_);
    }
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples_);

    vertexArray_ = GlObject(GlKind::VertexArray);
    glBindVertexArray(vertexArray_.Get());
    vertexStream_.Create();
    indexStream_.Create();
    pipeline_ = GlObject(GlKind::ProgramPipeline);
    glBindProgramPipeline(pipeline_.Get());
    states_.Create(clipControl_, anisotropy_, maxAnisotropy_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    const Result result = CreateBackBuffer(parameters);
    if (Failed(result)) {
        return result;
    }
    const Result mode = ApplyWindowMode(window_, parameters_);
    if (Failed(mode)) {
        return mode;
    }
    SetDefaultStates();
    return kOk;
}

Result Device::CreateBackBuffer(PresentParameters* parameters)
{
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    const Result result = backBuffer_.Create(parameters, drawableWidth, drawableHeight, maxSamples_);
    if (Succeeded(result)) {
        parameters_ = *parameters;
    }
    return result;
}

void Device::SetDefaultStates()
{
    inScene_ = false;
    vertexShader_.reset();
    pixelShader_.reset();
    declaration_.reset();
    for (auto& texture : textures_) {
        texture.reset();
    }
    boundStages_ = 0;
    glUseProgramStages(pipeline_.Get(), GL_ALL_SHADER_BITS, 0);
    backBuffer_.Bind();
    states_.Reset(parameters_.EnableAutoDepthStencil, backBuffer_.HasDepth(), backBuffer_.HasStencil(),
                  backBuffer_.GetWidth(), backBuffer_.GetHeight());
}

// --- Loss, reset, present ---------------------------------------------------------------------

void Device::PollLossHooks()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    if (Hooks().lossEpoch != lossEpoch_) {
        lossEpoch_ = Hooks().lossEpoch;
        loss_ = LossState::Lost;
        lostCallsLeft_ = Hooks().lossCalls;
    }
}

bool Device::Usable() const
{
    return loss_ == LossState::Operational && IsOwnerThread() && context_ != nullptr;
}

Result Device::TestCooperativeLevel()
{
    const Guard guard(*this, Guard::kLossNews);
    switch (loss_) {
    case LossState::Operational:
        return kOk;
    case LossState::Lost:
        if (lostCallsLeft_ > 0) {
            --lostCallsLeft_;
            return kErrDeviceLost;
        }
        loss_ = LossState::NotReset;
        return kErrDeviceNotReset;
    case LossState::NotReset:
        return kErrDeviceNotReset;
    }
    return kOk;
}

Result Device::Reset(PresentParameters* parameters)
{
    const Guard guard(*this, Guard::kOwner | Guard::kLossNews);
    if (parameters == nullptr || guard.Refused()) {
        return kErrInvalidCall;
    }
    bool fail = false;
    {
        std::lock_guard<std::mutex> hooks(Hooks().mutex);
        ++Hooks().resetCalls;
        // A reset refused because the device cannot be reset yet does not use up an injected failure.
        if (loss_ != LossState::Lost && Hooks().failResets > 0) {
            --Hooks().failResets;
            fail = true;
        }
    }
    if (loss_ == LossState::Lost) {
        return kErrDeviceLost;
    }
    if (fail) {
        loss_ = LossState::NotReset;
        return kErrInvalidCall;
    }
    link_->Drain();
    const Result result = CreateBackBuffer(parameters);
    if (Failed(result)) {
        loss_ = LossState::NotReset;
        return result;
    }
    const Result mode = ApplyWindowMode(window_, parameters_);
    if (Failed(mode)) {
        loss_ = LossState::NotReset;
        return mode;
    }
    SetDefaultStates();
    loss_ = LossState::Operational;
    return kOk;
}

Result Device::Present()
{
    const Guard guard(*this, Guard::kOwner | Guard::kLossNews);
    if (guard.Refused()) {
        return kErrInvalidCall;
    }
    if (loss_ != LossState::Operational) {
        return kErrDeviceLost;
    }
    link_->Drain();
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    backBuffer_.BlitToWindow(drawableWidth, drawableHeight);
    SDL_GL_SwapWindow(window_);
    backBuffer_.Bind();
    states_.RestoreAfterBlit();
    return kOk;
}

Result Device::PresentPixels(const std::uint32_t* pixels, std::uint32_t width, std::uint32_t height)
{
    const Guard guard(*this, Guard::kOwner);
    if (guard.Refused() || pixels == nullptr || width == 0 || height == 0 || width > 16384 || height > 16384 ||
        context_ == nullptr) {
        return kErrInvalidCall;
    }
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    BackBuffer::BlitPixelsToWindow(pixels, width, height, drawableHeight);
    SDL_GL_SwapWindow(window_);
    backBuffer_.Bind();
    states_.RestoreAfterBlit();
    return kOk;
}

Result Device::GetDeviceCaps(Caps* caps) const
{
    const Guard guard(*this, Guard::kLock);
    if (caps == nullptr) {
        return kErrInvalidCall;
    }
    *caps = detail::MakeBaseCaps(adapter_);
    if (!anisotropy_) {
        caps->TextureFilterCaps &= ~(filtercaps::MinAnisotropic | filtercaps::MagAnisotropic);
    }
    caps->MaxAnisotropy = anisotropy_ ? static_cast<std::uint32_t>(maxAnisotropy_) : 1;
    GLint maxTexture = 8192;
    if (IsOwnerThread()) {
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    }
    caps->MaxTextureWidth = caps->MaxTextureHeight = static_cast<std::uint32_t>(std::min(maxTexture, 8192));
    return kOk;
}

Result Device::SetMaximumFrameLatency(std::uint32_t)
{
    return extended_ ? kOk : kErrInvalidCall;
}

// --- Scene, viewport, clear ------------------------------------------------------------------

Result Device::BeginScene()
{
    const Guard guard(*this, Guard::kLock);
    if (inScene_) {
        return kErrInvalidCall;
    }
    inScene_ = true;
    return kOk;
}

Result Device::EndScene()
{
    const Guard guard(*this, Guard::kLock);
    if (!inScene_) {
        return kErrInvalidCall;
    }
    inScene_ = false;
    return kOk;
}

Result Device::Clear(std::uint32_t rectCount, const ClearRect* rects, std::uint32_t flags, std::uint32_t color, float z,
                     std::uint32_t stencil)
{
    const Guard guard(*this, Guard::kOwner | Guard::kLossNews);
    if (guard.Refused()) {
        return kErrInvalidCall;
    }
    if ((flags & (clear::Target | clear::ZBuffer | clear::Stencil)) == 0 || (flags & ~7u) != 0) {
        return kErrInvalidCall;
    }
    if (((flags & clear::ZBuffer) != 0 && !backBuffer_.HasDepth()) ||
        ((flags & clear::Stencil) != 0 && !backBuffer_.HasStencil())) {
        return kErrInvalidCall;
    }
    if (rectCount > 0 && rects == nullptr) {
        return kErrInvalidCall;
    }
    if (!Usable()) {
        return kOk;
    }
    // Direct3D clears the viewport, cut by the scissor rectangle while scissoring is on.
    const Viewport& viewport = states_.GetViewport();
    const Rect& scissor = states_.GetScissor();
    Rect area{static_cast<std::int32_t>(viewport.X), static_cast<std::int32_t>(viewport.Y),
              static_cast<std::int32_t>(viewport.X + viewport.Width),
              static_cast<std::int32_t>(viewport.Y + viewport.Height)};
    if (states_.RenderStateValue(RenderState::ScissorTestEnable) != 0) {
        area.left = std::max(area.left, scissor.left);
        area.top = std::max(area.top, scissor.top);
        area.right = std::min(area.right, scissor.right);
        area.bottom = std::min(area.bottom, scissor.bottom);
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFFFFFFFFu);
    const auto rgba = tables::ColorOf(color);
    glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    glClearDepthf(std::clamp(z, 0.0f, 1.0f));
    glClearStencil(static_cast<GLint>(stencil));
    GLbitfield bits = 0;
    bits |= (flags & clear::Target) != 0 ? GL_COLOR_BUFFER_BIT : 0;
    bits |= (flags & clear::ZBuffer) != 0 ? GL_DEPTH_BUFFER_BIT : 0;
    bits |= (flags & clear::Stencil) != 0 ? GL_STENCIL_BUFFER_BIT : 0;
    glEnable(GL_SCISSOR_TEST);
    auto clearRect = [&](const Rect& r) {
        if (r.right > r.left && r.bottom > r.top) {
            glScissor(r.left, r.top, r.right - r.left, r.bottom - r.top);
            glClear(bits);
        }
    };
    if (rectCount == 0) {
        clearRect(area);
    } else {
        for (std::uint32_t i = 0; i < rectCount; ++i) {
            clearRect(Rect{std::max(area.left, rects[i].x1), std::max(area.top, rects[i].y1),
                           std::min(area.right, rects[i].x2), std::min(area.bottom, rects[i].y2)});
        }
    }
    backBuffer_.MarkDrawn();
    states_.RestoreAfterClear();
    return kOk;
}

Result Device::SetViewport(const Viewport& viewport)
{
    const Guard guard(*this, Guard::kOwner);
    if (guard.Refused() || viewport.Width == 0 || viewport.Height == 0 ||
        static_cast<std::uint64_t>(viewport.X) + viewport.Width > backBuffer_.GetWidth() ||
        static_cast<std::uint64_t>(viewport.Y) + viewport.Height > backBuffer_.GetHeight() ||
        !(viewport.MinZ >= 0.0f) || !(viewport.MaxZ <= 1.0f) || viewport.MinZ > viewport.MaxZ) {
        return kErrInvalidCall;
    }
    states_.SetViewport(viewport);
    return kOk;
}

Result Device::GetViewport(Viewport* viewport) const
{
    const Guard guard(*this, Guard::kLock);
    if (viewport == nullptr) {
        return kErrInvalidCall;
    }
    *viewport = states_.GetViewport();
    return kOk;
}

Result Device::SetScissorRect(const Rect& rect)
{
    const Guard guard(*this, Guard::kOwner);
    if (guard.Refused() || rect.left < 0 || rect.top < 0 || rect.right < rect.left || rect.bottom < rect.top) {
        return kErrInvalidCall;
    }
    states_.SetScissor(rect);
    return kOk;
}

Result Device::GetScissorRect(Rect* rect) const
{
    const Guard guard(*this, Guard::kLock);
    if (rect == nullptr) {
        return kErrInvalidCall;
    }
    *rect = states_.GetScissor();
    return kOk;
}

// --- Render and sampler states ---------------------------------------------------------------

Result Device::SetRenderState(RenderState state, std::uint32_t value)
{
    const Guard guard(*this, Guard::kOwner);
    return !guard.Refused() && states_.SetRenderState(state, value) ? kOk : kErrInvalidCall;
}

Result Device::GetRenderState(RenderState state, std::uint32_t* value) const
{
    const Guard guard(*this, Guard::kLock);
    return states_.GetRenderState(state, value) ? kOk : kErrInvalidCall;
}

Result Device::SetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t value)
{
    const Guard guard(*this, Guard::kOwner);
    return !guard.Refused() && states_.SetSamplerState(stage, type, value) ? kOk : kErrInvalidCall;
}

Result Device::GetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t* value) const
{
    const Guard guard(*this, Guard::kLock);
    return states_.GetSamplerState(stage, type, value) ? kOk : kErrInvalidCall;
}

// --- Shaders and declarations ----------------------------------------------------------------

Result Device::CreateShader(ShaderStage stage, const void* source, std::size_t size, std::shared_ptr<Shader>* shader)
{
    const Guard guard(*this, Guard::kLock);
    if (shader == nullptr) {
        return kErrInvalidCall;
    }
    shader->reset();
    if (source == nullptr || size == 0 || !IsOwnerThread()) {
        lastShaderLog_ = "no shader source";
        return kErrInvalidCall;
    }
    *shader = Shader::Compile(stage, source, size, clipControl_, link_, &lastShaderLog_);
    return *shader ? kOk : kErrInvalidCall;
}

Result Device::CreateVertexShader(const void* source, std::size_t size, std::shared_ptr<Shader>* shader)
{
    return CreateShader(ShaderStage::Vertex, source, size, shader);
}

Result Device::CreatePixelShader(const void* source, std::size_t size, std::shared_ptr<Shader>* shader)
{
    return CreateShader(ShaderStage::Pixel, source, size, shader);
}

Result Device::SetVertexShader(std::shared_ptr<Shader> shader)
{
    const Guard guard(*this, Guard::kOwner);
    if (guard.Refused() || (shader && shader->GetStage() != ShaderStage::Vertex)) {
        return kErrInvalidCall;
    }
    vertexShader_ = std::move(shader);
    glUseProgramStages(pipeline_.Get(), GL_VERTEX_SHADER_BIT, vertexShader_ ? vertexShader_->GetProgram() : 0);
    return kOk;
}

Result Device::SetPixelShader(std::shared_ptr<Shader> shader)
{
    const Guard guard(*this, Guard::kOwner);
    if (guard.Refused() || (shader && shader->GetStage() != ShaderStage::Pixel)) {
        return kErrInvalidCall;
    }
    pixelShader_ = std::move(shader);
    glUseProgramStages(pipeline_.Get(), GL_FRAGMENT_SHADER_BIT, pixelShader_ ? pixelShader_->GetProgram() : 0);
    return kOk;
}

Result Device::CreateVertexDeclaration(const VertexElement* elements, std::shared_ptr<VertexDeclaration>* declaration)
{
    if (declaration == nullptr) {
        return kErrInvalidCall;
    }
    *declaration = VertexDeclaration::Create(elements);
    return *declaration ? kOk : kErrInvalidCall;
}

Result Device::SetVertexDeclaration(std::shared_ptr<VertexDeclaration> declaration)
{
    const Guard guard(*this, Guard::kLock);
    declaration_ = std::move(declaration);
    return kOk;
}

// --- Draws ---------------------------------------------------------------------------------------

void Device::PrepareDraw(const void* vertices, std::uint32_t vertexBytes, std::uint32_t stride)
{
    const std::uint32_t base = vertexStream_.Upload(vertices, vertexBytes);
    std::uint32_t wanted = 0;
    for (const VertexElement& element : declaration_->GetElements()) {
        const int location = VertexDeclaration::GetAttributeLocation(element.Usage, element.UsageIndex);
        const tables::AttributeFormat format = tables::FormatOf(element.Type);
        wanted |= 1u << location;
        glVertexAttribPointer(static_cast<GLuint>(location), format.size, format.type,
                              format.normalized ? GL_TRUE : GL_FALSE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(static_cast<std::uintptr_t>(base + element.Offset)));
    }
    for (GLuint location = 0; location < 16; ++location) {
        const std::uint32_t bit = 1u << location;
        if ((wanted & bit) != 0 && (enabledAttributes_ & bit) == 0) {
            glEnableVertexAttribArray(location);
        } else if ((wanted & bit) == 0 && (enabledAttributes_ & bit) != 0) {
            glDisableVertexAttribArray(location);
        }
    }
    enabledAttributes_ = wanted;
    BindTextures();
    // Half a pixel right and down in Direct3D's clip space, for the current viewport.
    const Viewport& viewport = states_.GetViewport();
    vertexShader_->SetPixelOffset(1.0f / static_cast<float>(viewport.Width),
                                  -1.0f / static_cast<float>(viewport.Height));
    backBuffer_.MarkDrawn();
}

Result Device::DrawPrimitiveUP(PrimitiveType type, std::uint32_t primitiveCount, const void* vertices,
                               std::uint32_t stride)
{
    const Guard guard(*this, Guard::kOwner | Guard::kLossNews);
    const std::uint64_t count = tables::VertexCountFor(type, primitiveCount);
    if (guard.Refused() || (primitiveCount > 0 && (vertices == nullptr || stride == 0 || count == 0))) {
        return kErrInvalidCall;
    }
    if (primitiveCount == 0 || !Usable()) {
        return kOk;
    }
    if (!declaration_ || !vertexShader_ || !pixelShader_ || primitiveCount > 0x00FFFFFF) {
        return kErrInvalidCall;
    }
    const std::uint64_t bytes = count * stride;
    if (bytes > 0x7FFFFFFFu) {
        return kErrInvalidCall;
    }
    link_->Drain();
    PrepareDraw(vertices, static_cast<std::uint32_t>(bytes), stride);
    glDrawArrays(tables::PrimitiveMode(type), 0, static_cast<GLsizei>(count));
    if (detail::IsRecordingDraws()) {
        detail::RecordDraw(type, primitiveCount, static_cast<std::uint32_t>(count), stride, false,
                           vertexShader_->GetProgram(), pixelShader_->GetProgram());
    }
    return kOk;
}

Result Device::DrawIndexedPrimitiveUP(PrimitiveType type, std::uint32_t minVertexIndex, std::uint32_t vertexCount,
                                      std::uint32_t primitiveCount, const void* indices, Format indexFormat,
                                      const void* vertices, std::uint32_t stride)
{
    const Guard guard(*this, Guard::kOwner | Guard::kLossNews);
    const std::uint64_t count = tables::VertexCountFor(type, primitiveCount);
    const bool wide = indexFormat == Format::Index32;
    if (guard.Refused() || (indexFormat != Format::Index16 && indexFormat != Format::Index32) ||
        (primitiveCount > 0 &&
         (vertices == nullptr || indices == nullptr || stride == 0 || count == 0 || vertexCount == 0))) {
        return kErrInvalidCall;
    }
    if (primitiveCount == 0 || !Usable()) {
        return kOk;
    }
    if (!declaration_ || !vertexShader_ || !pixelShader_ || primitiveCount > 0x00FFFFFF) {
        return kErrInvalidCall;
    }
    // Every index must fall inside the vertices the caller promised, or the draw would read
    // past the end of its array.
    const std::uint64_t end = static_cast<std::uint64_t>(minVertexIndex) + vertexCount;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t index =
            wide ? static_cast<const std::uint32_t*>(indices)[i] : static_cast<const std::uint16_t*>(indices)[i];
        if (index < minVertexIndex || index >= end) {
            return kErrInvalidCall;
        }
    }
    // Only the promised vertices are read: those below the lowest index may not exist at all.
    // The draw then counts indices from the first uploaded vertex.
    const std::uint64_t vertexBytes = static_cast<std::uint64_t>(vertexCount) * stride;
    const std::uint64_t indexBytes = count * (wide ? 4u : 2u);
    if (vertexBytes > 0x7FFFFFFFu || indexBytes > 0x7FFFFFFFu || minVertexIndex > 0x7FFFFFFFu) {
        return kErrInvalidCall;
    }
    link_->Drain();
    const auto* first =
        static_cast<const std::uint8_t*>(vertices) + static_cast<std::uint64_t>(minVertexIndex) * stride;
    PrepareDraw(first, static_cast<std::uint32_t>(vertexBytes), stride);
    const std::uint32_t indexOffset = indexStream_.Upload(indices, static_cast<std::uint32_t>(indexBytes));
    glDrawElementsBaseVertex(
        tables::PrimitiveMode(type), static_cast<GLsizei>(count), wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
        reinterpret_cast<const void*>(static_cast<std::uintptr_t>(indexOffset)), -static_cast<GLint>(minVertexIndex));
    if (detail::IsRecordingDraws()) {
        detail::RecordDraw(type, primitiveCount, static_cast<std::uint32_t>(count), stride, true,
                           vertexShader_->GetProgram(), pixelShader_->GetProgram());
    }
    return kOk;
}

} // namespace os::gfx
