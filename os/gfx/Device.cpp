/** @file Device.cpp The graphics device over an OpenGL core context. */
#include "os/gfx/Device.h"

#include <algorithm>
#include <cstring>

#include <SDL.h>
#include <epoxy/gl.h>

#include "os/gfx/BaseCaps.h"
#include "os/gfx/ContextLink.h"
#include "os/gfx/HookState.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Shader.h"
#include "os/gfx/VertexDeclaration.h"

namespace os::gfx
{

namespace
{

using detail::Hooks;

/// Streaming buffers start at this size and grow to fit the largest single draw.
constexpr std::uint32_t kVertexStreamBytes = 4u << 20;
constexpr std::uint32_t kIndexStreamBytes = 1u << 20;

std::uint32_t FloatBits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsFloat(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/// Direct3D 9's render-state defaults (depth test comes from the present parameters).
std::array<std::uint32_t, kRenderStateCount> DefaultRenderStates(bool autoDepth)
{
    std::array<std::uint32_t, kRenderStateCount> s{};
    auto set = [&s](RenderState state, std::uint32_t value) { s[static_cast<std::uint32_t>(state)] = value; };
    set(RenderState::ZEnable, autoDepth ? value::ZBufferTrue : value::ZBufferFalse);
    set(RenderState::FillMode, value::FillSolid);
    set(RenderState::ShadeMode, value::ShadeGouraud);
    set(RenderState::ZWriteEnable, value::True);
    set(RenderState::AlphaTestEnable, value::False);
    set(RenderState::LastPixel, value::True);
    set(RenderState::SrcBlend, value::BlendOne);
    set(RenderState::DestBlend, value::BlendZero);
    set(RenderState::CullMode, value::CullCCW);
    set(RenderState::ZFunc, value::CmpLessEqual);
    set(RenderState::AlphaRef, 0);
    set(RenderState::AlphaFunc, value::CmpAlways);
    set(RenderState::FogStart, FloatBits(0.0f));
    set(RenderState::FogEnd, FloatBits(1.0f));
    set(RenderState::FogDensity, FloatBits(1.0f));
    set(RenderState::StencilFail, value::StencilOpKeep);
    set(RenderState::StencilZFail, value::StencilOpKeep);
    set(RenderState::StencilPass, value::StencilOpKeep);
    set(RenderState::StencilFunc, value::CmpAlways);
    set(RenderState::StencilMask, 0xFFFFFFFFu);
    set(RenderState::StencilWriteMask, 0xFFFFFFFFu);
    set(RenderState::TextureFactor, 0xFFFFFFFFu);
    set(RenderState::Clipping, value::True);
    set(RenderState::Lighting, value::True);
    set(RenderState::ColorVertex, value::True);
    set(RenderState::LocalViewer, value::True);
    set(RenderState::DiffuseMaterialSource, value::MaterialSourceColor1);
    set(RenderState::SpecularMaterialSource, value::MaterialSourceColor2);
    set(RenderState::PointSize, FloatBits(1.0f));
    set(RenderState::PointSizeMin, FloatBits(1.0f));
    set(RenderState::PointScaleA, FloatBits(1.0f));
    set(RenderState::MultiSampleAntialias, value::True);
    set(RenderState::MultiSampleMask, 0xFFFFFFFFu);
    set(RenderState::PointSizeMax, FloatBits(64.0f));
    set(RenderState::ColorWriteEnable, 0x0F);
    set(RenderState::BlendOp, value::BlendOpAdd);
    set(RenderState::PositionDegree, 3);
    set(RenderState::NormalDegree, 1);
    set(RenderState::MinTessellationLevel, FloatBits(1.0f));
    set(RenderState::MaxTessellationLevel, FloatBits(1.0f));
    set(RenderState::AdaptiveTessZ, FloatBits(1.0f));
    set(RenderState::CcwStencilFail, value::StencilOpKeep);
    set(RenderState::CcwStencilZFail, value::StencilOpKeep);
    set(RenderState::CcwStencilPass, value::StencilOpKeep);
    set(RenderState::CcwStencilFunc, value::CmpAlways);
    set(RenderState::ColorWriteEnable1, 0x0F);
    set(RenderState::ColorWriteEnable2, 0x0F);
    set(RenderState::ColorWriteEnable3, 0x0F);
    set(RenderState::BlendFactor, 0xFFFFFFFFu);
    set(RenderState::SrcBlendAlpha, value::BlendOne);
    set(RenderState::DestBlendAlpha, value::BlendZero);
    set(RenderState::BlendOpAlpha, value::BlendOpAdd);
    return s;
}

std::array<std::uint32_t, kSamplerStateCount> DefaultSamplerStates()
{
    std::array<std::uint32_t, kSamplerStateCount> s{};
    s[static_cast<std::uint32_t>(SamplerState::AddressU)] = value::AddressWrap;
    s[static_cast<std::uint32_t>(SamplerState::AddressV)] = value::AddressWrap;
    s[static_cast<std::uint32_t>(SamplerState::AddressW)] = value::AddressWrap;
    s[static_cast<std::uint32_t>(SamplerState::MagFilter)] = value::FilterPoint;
    s[static_cast<std::uint32_t>(SamplerState::MinFilter)] = value::FilterPoint;
    s[static_cast<std::uint32_t>(SamplerState::MipFilter)] = value::FilterNone;
    s[static_cast<std::uint32_t>(SamplerState::MaxAnisotropy)] = 1;
    return s;
}

GLenum BlendFactor(std::uint32_t value, bool forAlpha)
{
    switch (value)
    {
    case value::BlendZero:
        return GL_ZERO;
    case value::BlendOne:
        return GL_ONE;
    case value::BlendSrcColor:
        return forAlpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    case value::BlendInvSrcColor:
        return forAlpha ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE_MINUS_SRC_COLOR;
    case value::BlendSrcAlpha:
        return GL_SRC_ALPHA;
    case value::BlendInvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case value::BlendDestAlpha:
        return GL_DST_ALPHA;
    case value::BlendInvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    case value::BlendDestColor:
        return forAlpha ? GL_DST_ALPHA : GL_DST_COLOR;
    case value::BlendInvDestColor:
        return forAlpha ? GL_ONE_MINUS_DST_ALPHA : GL_ONE_MINUS_DST_COLOR;
    case value::BlendSrcAlphaSat:
        return GL_SRC_ALPHA_SATURATE;
    case value::BlendBlendFactor:
        return forAlpha ? GL_CONSTANT_ALPHA : GL_CONSTANT_COLOR;
    case value::BlendInvBlendFactor:
        return forAlpha ? GL_ONE_MINUS_CONSTANT_ALPHA : GL_ONE_MINUS_CONSTANT_COLOR;
    default:
        return GL_ONE;
    }
}

GLenum BlendEquation(std::uint32_t value)
{
    switch (value)
    {
    case value::BlendOpSubtract:
        return GL_FUNC_SUBTRACT;
    case value::BlendOpRevSubtract:
        return GL_FUNC_REVERSE_SUBTRACT;
    case value::BlendOpMin:
        return GL_MIN;
    case value::BlendOpMax:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

GLenum CompareFunc(std::uint32_t value)
{
    switch (value)
    {
    case value::CmpNever:
        return GL_NEVER;
    case value::CmpLess:
        return GL_LESS;
    case value::CmpEqual:
        return GL_EQUAL;
    case value::CmpLessEqual:
        return GL_LEQUAL;
    case value::CmpGreater:
        return GL_GREATER;
    case value::CmpNotEqual:
        return GL_NOTEQUAL;
    case value::CmpGreaterEqual:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

GLenum StencilOp(std::uint32_t value)
{
    switch (value)
    {
    case value::StencilOpZero:
        return GL_ZERO;
    case value::StencilOpReplace:
        return GL_REPLACE;
    case value::StencilOpIncrSat:
        return GL_INCR;
    case value::StencilOpDecrSat:
        return GL_DECR;
    case value::StencilOpInvert:
        return GL_INVERT;
    case value::StencilOpIncr:
        return GL_INCR_WRAP;
    case value::StencilOpDecr:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

GLenum AddressMode(std::uint32_t value)
{
    switch (value)
    {
    case value::AddressMirror:
        return GL_MIRRORED_REPEAT;
    case value::AddressClamp:
        return GL_CLAMP_TO_EDGE;
    case value::AddressBorder:
        return GL_CLAMP_TO_BORDER;
    case value::AddressMirrorOnce:
        return epoxy_gl_version() >= 44 ? GL_MIRROR_CLAMP_TO_EDGE : GL_CLAMP_TO_EDGE;
    default:
        return GL_REPEAT;
    }
}

GLenum PrimitiveMode(PrimitiveType type)
{
    switch (type)
    {
    case PrimitiveType::PointList:
        return GL_POINTS;
    case PrimitiveType::LineList:
        return GL_LINES;
    case PrimitiveType::LineStrip:
        return GL_LINE_STRIP;
    case PrimitiveType::TriangleList:
        return GL_TRIANGLES;
    case PrimitiveType::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    case PrimitiveType::TriangleFan:
        return GL_TRIANGLE_FAN;
    }
    return GL_TRIANGLES;
}

/// Vertices (or indices) a draw of `count` primitives reads; 0 for an unknown type.
std::uint64_t VertexCountFor(PrimitiveType type, std::uint32_t count)
{
    const std::uint64_t n = count;
    switch (type)
    {
    case PrimitiveType::PointList:
        return n;
    case PrimitiveType::LineList:
        return 2 * n;
    case PrimitiveType::LineStrip:
        return n + 1;
    case PrimitiveType::TriangleList:
        return 3 * n;
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan:
        return n + 2;
    }
    return 0;
}

struct AttributeFormat
{
    GLint size;
    GLenum type;
    GLboolean normalized;
    std::uint32_t bytes;
};

AttributeFormat FormatOf(DeclType type)
{
    switch (type)
    {
    case DeclType::Float1:
        return {1, GL_FLOAT, GL_FALSE, 4};
    case DeclType::Float2:
        return {2, GL_FLOAT, GL_FALSE, 8};
    case DeclType::Float3:
        return {3, GL_FLOAT, GL_FALSE, 12};
    case DeclType::Float4:
        return {4, GL_FLOAT, GL_FALSE, 16};
    case DeclType::Color:
        return {GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4};
    case DeclType::UByte4:
        return {4, GL_UNSIGNED_BYTE, GL_FALSE, 4};
    case DeclType::Short2:
        return {2, GL_SHORT, GL_FALSE, 4};
    case DeclType::Short4:
        return {4, GL_SHORT, GL_FALSE, 8};
    case DeclType::UByte4N:
        return {4, GL_UNSIGNED_BYTE, GL_TRUE, 4};
    case DeclType::Short2N:
        return {2, GL_SHORT, GL_TRUE, 4};
    case DeclType::Short4N:
        return {4, GL_SHORT, GL_TRUE, 8};
    case DeclType::UShort2N:
        return {2, GL_UNSIGNED_SHORT, GL_TRUE, 4};
    case DeclType::UShort4N:
        return {4, GL_UNSIGNED_SHORT, GL_TRUE, 8};
    default:
        return {4, GL_FLOAT, GL_FALSE, 16};
    }
}

/// The vertex prelude: the author's main runs first, then the layer moves the position half a
/// pixel (Direct3D puts pixel centres on integer coordinates) and, without clip control, turns
/// Direct3D's clip space (y up on screen, depth 0..1) into GL's.
std::string WrapVertexSource(const std::string& source, bool clipControl)
{
    std::string prelude = "#define main korvane_user_main\n";
    std::string tail = "\n#undef main\n"
                       "uniform vec4 korvane_PixelOffset;\n"
                       "void main()\n"
                       "{\n"
                       "    korvane_user_main();\n"
                       "    gl_Position.xy += korvane_PixelOffset.xy * gl_Position.w;\n";
    if (!clipControl)
    {
        tail += "    gl_Position.y = -gl_Position.y;\n"
                "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n";
    }
    tail += "}\n";
    if (source.find("gl_PerVertex") == std::string::npos)
    {
        prelude = "out gl_PerVertex { vec4 gl_Position; float gl_PointSize; };\n" + prelude;
    }
    // The #version line must stay first, and #extension lines must come before any declaration:
    // the prelude goes after both (blank and comment lines between them are passed over).
    const std::size_t version = source.find("#version");
    if (version == std::string::npos)
    {
        return "#version 410 core\n" + prelude + source + tail;
    }
    const auto lineAfter = [&source](std::size_t at)
    {
        const std::size_t end = source.find('\n', at);
        return end == std::string::npos ? source.size() : end + 1;
    };
    std::size_t insertAt = lineAfter(version);
    for (std::size_t scan = insertAt; scan < source.size();)
    {
        const std::size_t next = lineAfter(scan);
        const std::string line = source.substr(scan, next - scan);
        const std::size_t text = line.find_first_not_of(" \t\r\n");
        if (text == std::string::npos || line.compare(text, 2, "//") == 0)
        {
            scan = next;
            continue;
        }
        if (line.compare(text, 10, "#extension") != 0)
        {
            break;
        }
        insertAt = scan = next;
    }
    std::string result = source.substr(0, insertAt);
    if (result.back() != '\n')
    {
        result += '\n';
    }
    return result + prelude + source.substr(insertAt) + tail;
}

} // namespace

// --- Construction ----------------------------------------------------------------------------

Device::Device(SDL_Window* window, std::uint32_t adapter, bool extended)
    : window_(window), adapter_(adapter), extended_(extended), owner_(std::this_thread::get_id())
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    lossEpoch_ = Hooks().lossEpoch;
}

Device::~Device()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (context_ == nullptr)
    {
        return;
    }
    SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
    vertexShader_.reset();
    pixelShader_.reset();
    declaration_.reset();
    if (link_)
    {
        link_->Close();
    }
    DestroyBackBuffer();
    for (GLuint sampler : samplers_)
    {
        if (sampler != 0)
        {
            glDeleteSamplers(1, &sampler);
        }
    }
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteProgramPipelines(1, &pipeline_);
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
}

Result Device::Initialize(PresentParameters* parameters)
{
    // Newest first: 4.5 brings clip control; 4.1 is the least the layer works with.
    static const int kVersions[][2] = {{4, 6}, {4, 5}, {4, 3}, {4, 1}};
    for (const auto& version : kVersions)
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, version[0]);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, version[1]);
        context_ = SDL_GL_CreateContext(window_);
        if (context_ != nullptr)
        {
            break;
        }
    }
    if (context_ == nullptr)
    {
        return kErrNotAvailable;
    }
    if (epoxy_gl_version() < 41)
    {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
        context_ = nullptr;
        return kErrNotAvailable;
    }
    link_ = std::make_shared<ContextLink>(owner_);
    bool withoutClipControl = false;
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        withoutClipControl = Hooks().withoutClipControl;
    }
    clipControl_ =
        !withoutClipControl && (epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control"));
    if (clipControl_)
    {
        glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    }
    anisotropy_ = epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic") ||
                  epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic");
    if (anisotropy_)
    {
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY, &maxAnisotropy_);
    }
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples_);

    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glGenBuffers(1, &indexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glGenProgramPipelines(1, &pipeline_);
    glBindProgramPipeline(pipeline_);
    glGenSamplers(static_cast<GLsizei>(samplers_.size()), samplers_.data());
    for (GLuint stage = 0; stage < samplers_.size(); ++stage)
    {
        glBindSampler(stage, samplers_[stage]);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    const Result result = CreateBackBuffer(parameters);
    if (Failed(result))
    {
        return result;
    }
    ApplyWindowMode(parameters_);
    SetDefaultStates();
    return kOk;
}

Result Device::CreateBackBuffer(PresentParameters* parameters)
{
    PresentParameters p = *parameters;
    if (p.Windowed && (p.BackBufferWidth == 0 || p.BackBufferHeight == 0))
    {
        int w = 0;
        int h = 0;
        SDL_GL_GetDrawableSize(window_, &w, &h);
        if (p.BackBufferWidth == 0)
        {
            p.BackBufferWidth = static_cast<std::uint32_t>(std::max(w, 1));
        }
        if (p.BackBufferHeight == 0)
        {
            p.BackBufferHeight = static_cast<std::uint32_t>(std::max(h, 1));
        }
    }
    if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0 || p.BackBufferWidth > 16384 ||
        p.BackBufferHeight > 16384)
    {
        return kErrInvalidCall;
    }
    if (p.BackBufferFormat == Format::Unknown)
    {
        if (!p.Windowed)
        {
            return kErrInvalidCall;
        }
        p.BackBufferFormat = Format::X8R8G8B8;
    }
    switch (p.BackBufferFormat)
    {
    case Format::X8R8G8B8:
    case Format::A8R8G8B8:
    case Format::R5G6B5:
    case Format::X1R5G5B5:
    case Format::A1R5G5B5:
        break;
    default:
        return kErrInvalidCall;
    }
    if (p.BackBufferCount == 0)
    {
        p.BackBufferCount = 1;
    }
    if (p.BackBufferCount > 3)
    {
        return kErrInvalidCall;
    }
    GLenum depthFormat = GL_NONE;
    bool stencil = false;
    if (p.EnableAutoDepthStencil)
    {
        switch (p.AutoDepthStencilFormat)
        {
        case Format::D16:
        case Format::D16Lockable:
            depthFormat = GL_DEPTH_COMPONENT16;
            break;
        case Format::D24X8:
            depthFormat = GL_DEPTH_COMPONENT24;
            break;
        case Format::D24S8:
        case Format::D24X4S4:
        case Format::D15S1:
            depthFormat = GL_DEPTH24_STENCIL8;
            stencil = true;
            break;
        case Format::D32:
        case Format::D32FLockable:
            depthFormat = GL_DEPTH_COMPONENT32F;
            break;
        default:
            return kErrInvalidCall;
        }
    }
    int samples = static_cast<int>(p.MultiSampleType);
    if (samples == 1)
    {
        samples = 0; // non-maskable multisampling at quality 0: one sample
    }
    if (samples > maxSamples_)
    {
        return kErrInvalidCall;
    }

    DestroyBackBuffer();
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
    if (samples_ > 0)
    {
        glGenRenderbuffers(1, &colorRenderbuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, colorRenderbuffer_);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, GL_RGBA8, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorRenderbuffer_);
    }
    else
    {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
    }
    if (hasDepth_)
    {
        glGenRenderbuffers(1, &depthRenderbuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer_);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, depthFormat, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depthRenderbuffer_);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (samples_ > 0)
    {
        glGenFramebuffers(1, &resolveFramebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    }
    if (!complete)
    {
        DestroyBackBuffer();
        return kErrOutOfVideoMemory;
    }
    resolved_ = false;
    parameters_ = p;
    *parameters = p;
    return kOk;
}

void Device::DestroyBackBuffer()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (framebuffer_ != 0)
    {
        glDeleteFramebuffers(1, &framebuffer_);
    }
    if (resolveFramebuffer_ != 0)
    {
        glDeleteFramebuffers(1, &resolveFramebuffer_);
    }
    if (colorTexture_ != 0)
    {
        glDeleteTextures(1, &colorTexture_);
    }
    if (colorRenderbuffer_ != 0)
    {
        glDeleteRenderbuffers(1, &colorRenderbuffer_);
    }
    if (depthRenderbuffer_ != 0)
    {
        glDeleteRenderbuffers(1, &depthRenderbuffer_);
    }
    framebuffer_ = resolveFramebuffer_ = colorTexture_ = colorRenderbuffer_ = depthRenderbuffer_ = 0;
}

Result Device::ApplyWindowMode(const PresentParameters& parameters)
{
    const Uint32 flags = SDL_GetWindowFlags(window_);
    if (parameters.Windowed)
    {
        // Only leave a full screen this layer entered: the window layer's own borderless
        // full-screen look is not an SDL full-screen state.
        if ((flags & SDL_WINDOW_FULLSCREEN) != 0)
        {
            SDL_SetWindowFullscreen(window_, 0);
        }
    }
    else
    {
        SDL_DisplayMode mode{};
        mode.format = SDL_PIXELFORMAT_RGB888;
        mode.w = static_cast<int>(parameters.BackBufferWidth);
        mode.h = static_cast<int>(parameters.BackBufferHeight);
        mode.refresh_rate = static_cast<int>(parameters.FullScreenRefreshRateInHz);
        SDL_SetWindowDisplayMode(window_, &mode);
        if ((flags & SDL_WINDOW_FULLSCREEN_DESKTOP) != SDL_WINDOW_FULLSCREEN)
        {
            SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN);
        }
    }
    SDL_GL_SetSwapInterval(parameters.PresentationInterval == present::IntervalImmediate ? 0 : 1);
    return kOk;
}

void Device::SetDefaultStates()
{
    inScene_ = false;
    renderStates_ = DefaultRenderStates(parameters_.EnableAutoDepthStencil);
    for (auto& stage : samplerStates_)
    {
        stage = DefaultSamplerStates();
    }
    viewport_ = Viewport{0, 0, width_, height_, 0.0f, 1.0f};
    scissor_ = Rect{0, 0, static_cast<std::int32_t>(width_), static_cast<std::int32_t>(height_)};
    vertexShader_.reset();
    pixelShader_.reset();
    declaration_.reset();
    glUseProgramStages(pipeline_, GL_ALL_SHADER_BITS, 0);
    for (GLuint stage = 0; stage < samplers_.size(); ++stage)
    {
        glActiveTexture(GL_TEXTURE0 + stage);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);

    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glDisable(GL_DITHER);
    glEnable(GL_CULL_FACE);
    ApplyBlend();
    ApplyDepth();
    ApplyStencil();
    ApplyCull();
    ApplyScissor();
    ApplyViewport();
    ApplyRenderState(RenderState::FillMode);
    ApplyRenderState(RenderState::ColorWriteEnable);
    ApplyRenderState(RenderState::MultiSampleAntialias);
    ApplyRenderState(RenderState::DepthBias);
    for (std::uint32_t stage = 0; stage < kSamplerStageCount; ++stage)
    {
        for (std::uint32_t type = 1; type < kSamplerStateCount; ++type)
        {
            ApplySamplerState(stage, static_cast<SamplerState>(type));
        }
    }
}

// --- Loss, reset, present ---------------------------------------------------------------------

void Device::PollLossHooks()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    if (Hooks().lossEpoch != lossEpoch_)
    {
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
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    PollLossHooks();
    switch (loss_)
    {
    case LossState::Operational:
        return kOk;
    case LossState::Lost:
        if (lostCallsLeft_ > 0)
        {
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
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    PollLossHooks();
    if (parameters == nullptr || !IsOwnerThread())
    {
        return kErrInvalidCall;
    }
    bool fail = false;
    {
        std::lock_guard<std::mutex> hooks(Hooks().mutex);
        ++Hooks().resetCalls;
        // A reset refused because the device cannot be reset yet does not use up an injected failure.
        if (loss_ != LossState::Lost && Hooks().failResets > 0)
        {
            --Hooks().failResets;
            fail = true;
        }
    }
    if (loss_ == LossState::Lost)
    {
        return kErrDeviceLost;
    }
    if (fail)
    {
        loss_ = LossState::NotReset;
        return kErrInvalidCall;
    }
    link_->Drain();
    const Result result = CreateBackBuffer(parameters);
    if (Failed(result))
    {
        loss_ = LossState::NotReset;
        return result;
    }
    ApplyWindowMode(parameters_);
    SetDefaultStates();
    loss_ = LossState::Operational;
    return kOk;
}

void Device::ResolveBackBuffer()
{
    if (samples_ > 0 && !resolved_)
    {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
        const bool scissor = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), 0, 0,
                          static_cast<GLint>(width_), static_cast<GLint>(height_), GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        if (scissor)
        {
            glEnable(GL_SCISSOR_TEST);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        resolved_ = true;
    }
}

Result Device::Present()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    PollLossHooks();
    if (!IsOwnerThread())
    {
        return kErrInvalidCall;
    }
    if (loss_ != LossState::Operational)
    {
        return kErrDeviceLost;
    }
    link_->Drain();
    ResolveBackBuffer();
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, samples_ > 0 ? resolveFramebuffer_ : framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    const bool sameSize =
        drawableWidth == static_cast<int>(width_) && drawableHeight == static_cast<int>(height_);
    // The back buffer's first row is the top row; the window's first row is the bottom one.
    glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), 0, drawableHeight,
                      drawableWidth, 0, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    ApplyScissor();
    ApplyRenderState(RenderState::ColorWriteEnable);
    return kOk;
}

Result Device::GetDeviceCaps(Caps* caps) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (caps == nullptr)
    {
        return kErrInvalidCall;
    }
    *caps = detail::MakeBaseCaps(adapter_);
    if (!anisotropy_)
    {
        caps->TextureFilterCaps &= ~(filtercaps::MinAnisotropic | filtercaps::MagAnisotropic);
    }
    caps->MaxAnisotropy = anisotropy_ ? static_cast<std::uint32_t>(maxAnisotropy_) : 1;
    GLint maxTexture = 8192;
    if (IsOwnerThread())
    {
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
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (inScene_)
    {
        return kErrInvalidCall;
    }
    inScene_ = true;
    return kOk;
}

Result Device::EndScene()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!inScene_)
    {
        return kErrInvalidCall;
    }
    inScene_ = false;
    return kOk;
}

Result Device::Clear(std::uint32_t rectCount, const ClearRect* rects, std::uint32_t flags,
                     std::uint32_t color, float z, std::uint32_t stencil)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    PollLossHooks();
    if (!IsOwnerThread())
    {
        return kErrInvalidCall;
    }
    if ((flags & (clear::Target | clear::ZBuffer | clear::Stencil)) == 0 || (flags & ~7u) != 0)
    {
        return kErrInvalidCall;
    }
    if (((flags & clear::ZBuffer) != 0 && !hasDepth_) || ((flags & clear::Stencil) != 0 && !hasStencil_))
    {
        return kErrInvalidCall;
    }
    if (rectCount > 0 && rects == nullptr)
    {
        return kErrInvalidCall;
    }
    if (!Usable())
    {
        return kOk;
    }
    // Direct3D clears the viewport, cut by the scissor rectangle while scissoring is on.
    Rect area{static_cast<std::int32_t>(viewport_.X), static_cast<std::int32_t>(viewport_.Y),
              static_cast<std::int32_t>(viewport_.X + viewport_.Width),
              static_cast<std::int32_t>(viewport_.Y + viewport_.Height)};
    if (renderStates_[static_cast<std::uint32_t>(RenderState::ScissorTestEnable)] != 0)
    {
        area.left = std::max(area.left, scissor_.left);
        area.top = std::max(area.top, scissor_.top);
        area.right = std::min(area.right, scissor_.right);
        area.bottom = std::min(area.bottom, scissor_.bottom);
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFFFFFFFFu);
    glClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f,
                 static_cast<float>((color >> 8) & 0xFF) / 255.0f, static_cast<float>(color & 0xFF) / 255.0f,
                 static_cast<float>((color >> 24) & 0xFF) / 255.0f);
    glClearDepthf(std::clamp(z, 0.0f, 1.0f));
    glClearStencil(static_cast<GLint>(stencil));
    GLbitfield bits = 0;
    bits |= (flags & clear::Target) != 0 ? GL_COLOR_BUFFER_BIT : 0;
    bits |= (flags & clear::ZBuffer) != 0 ? GL_DEPTH_BUFFER_BIT : 0;
    bits |= (flags & clear::Stencil) != 0 ? GL_STENCIL_BUFFER_BIT : 0;
    glEnable(GL_SCISSOR_TEST);
    auto clearRect = [&](const Rect& r)
    {
        if (r.right > r.left && r.bottom > r.top)
        {
            glScissor(r.left, r.top, r.right - r.left, r.bottom - r.top);
            glClear(bits);
        }
    };
    if (rectCount == 0)
    {
        clearRect(area);
    }
    else
    {
        for (std::uint32_t i = 0; i < rectCount; ++i)
        {
            clearRect(Rect{std::max(area.left, rects[i].x1), std::max(area.top, rects[i].y1),
                           std::min(area.right, rects[i].x2), std::min(area.bottom, rects[i].y2)});
        }
    }
    resolved_ = false;
    ApplyScissor();
    ApplyDepth();
    ApplyStencil();
    ApplyRenderState(RenderState::ColorWriteEnable);
    return kOk;
}

Result Device::SetViewport(const Viewport& viewport)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!IsOwnerThread() || viewport.Width == 0 || viewport.Height == 0 ||
        static_cast<std::uint64_t>(viewport.X) + viewport.Width > width_ ||
        static_cast<std::uint64_t>(viewport.Y) + viewport.Height > height_ || !(viewport.MinZ >= 0.0f) ||
        !(viewport.MaxZ <= 1.0f) || viewport.MinZ > viewport.MaxZ)
    {
        return kErrInvalidCall;
    }
    viewport_ = viewport;
    ApplyViewport();
    return kOk;
}

Result Device::GetViewport(Viewport* viewport) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (viewport == nullptr)
    {
        return kErrInvalidCall;
    }
    *viewport = viewport_;
    return kOk;
}

void Device::ApplyViewport()
{
    // Window row 0 of the back buffer is its top row, so Direct3D's Y goes in unchanged.
    glViewport(static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y),
               static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height));
    glDepthRangef(viewport_.MinZ, viewport_.MaxZ);
}

Result Device::SetScissorRect(const Rect& rect)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!IsOwnerThread() || rect.left < 0 || rect.top < 0 || rect.right < rect.left || rect.bottom < rect.top)
    {
        return kErrInvalidCall;
    }
    scissor_ = rect;
    ApplyScissor();
    return kOk;
}

Result Device::GetScissorRect(Rect* rect) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (rect == nullptr)
    {
        return kErrInvalidCall;
    }
    *rect = scissor_;
    return kOk;
}

void Device::ApplyScissor()
{
    if (renderStates_[static_cast<std::uint32_t>(RenderState::ScissorTestEnable)] != 0)
    {
        glEnable(GL_SCISSOR_TEST);
        glScissor(scissor_.left, scissor_.top, scissor_.right - scissor_.left,
                  scissor_.bottom - scissor_.top);
    }
    else
    {
        glDisable(GL_SCISSOR_TEST);
    }
}

// --- Render and sampler states ---------------------------------------------------------------

Result Device::SetRenderState(RenderState state, std::uint32_t value)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const auto index = static_cast<std::uint32_t>(state);
    if (index >= kRenderStateCount || !IsOwnerThread())
    {
        return kErrInvalidCall;
    }
    renderStates_[index] = value;
    ApplyRenderState(state);
    return kOk;
}

Result Device::GetRenderState(RenderState state, std::uint32_t* value) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const auto index = static_cast<std::uint32_t>(state);
    if (index >= kRenderStateCount || value == nullptr)
    {
        return kErrInvalidCall;
    }
    *value = renderStates_[index];
    return kOk;
}

void Device::ApplyRenderState(RenderState state)
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    switch (state)
    {
    case RenderState::ZEnable:
    case RenderState::ZWriteEnable:
    case RenderState::ZFunc:
        ApplyDepth();
        break;
    case RenderState::AlphaBlendEnable:
    case RenderState::SrcBlend:
    case RenderState::DestBlend:
    case RenderState::BlendOp:
    case RenderState::SeparateAlphaBlendEnable:
    case RenderState::SrcBlendAlpha:
    case RenderState::DestBlendAlpha:
    case RenderState::BlendOpAlpha:
    case RenderState::BlendFactor:
        ApplyBlend();
        break;
    case RenderState::CullMode:
        ApplyCull();
        break;
    case RenderState::StencilEnable:
    case RenderState::StencilFail:
    case RenderState::StencilZFail:
    case RenderState::StencilPass:
    case RenderState::StencilFunc:
    case RenderState::StencilRef:
    case RenderState::StencilMask:
    case RenderState::StencilWriteMask:
        ApplyStencil();
        break;
    case RenderState::ScissorTestEnable:
        ApplyScissor();
        break;
    case RenderState::FillMode:
    {
        const std::uint32_t mode = rs(RenderState::FillMode);
        glPolygonMode(GL_FRONT_AND_BACK, mode == value::FillPoint       ? GL_POINT
                                         : mode == value::FillWireframe ? GL_LINE
                                                                        : GL_FILL);
        break;
    }
    case RenderState::ColorWriteEnable:
    {
        const std::uint32_t mask = rs(RenderState::ColorWriteEnable);
        glColorMask((mask & value::ColorWriteRed) != 0, (mask & value::ColorWriteGreen) != 0,
                    (mask & value::ColorWriteBlue) != 0, (mask & value::ColorWriteAlpha) != 0);
        break;
    }
    case RenderState::MultiSampleAntialias:
        if (rs(RenderState::MultiSampleAntialias) != 0)
        {
            glEnable(GL_MULTISAMPLE);
        }
        else
        {
            glDisable(GL_MULTISAMPLE);
        }
        break;
    case RenderState::DepthBias:
    case RenderState::SlopeScaleDepthBias:
    {
        const float bias = BitsFloat(rs(RenderState::DepthBias));
        const float slope = BitsFloat(rs(RenderState::SlopeScaleDepthBias));
        if (bias != 0.0f || slope != 0.0f)
        {
            glEnable(GL_POLYGON_OFFSET_FILL);
            // Direct3D's bias is in depth units; GL's in steps of a 24-bit buffer.
            glPolygonOffset(slope, bias * 16777215.0f);
        }
        else
        {
            glDisable(GL_POLYGON_OFFSET_FILL);
        }
        break;
    }
    default:
        // Fixed-function states (fog, lighting, alpha test ...) are kept for the shaders to read.
        break;
    }
}

void Device::ApplyDepth()
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    if (hasDepth_ && rs(RenderState::ZEnable) != value::ZBufferFalse)
    {
        glEnable(GL_DEPTH_TEST);
    }
    else
    {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthFunc(CompareFunc(rs(RenderState::ZFunc)));
    glDepthMask(rs(RenderState::ZWriteEnable) != 0 ? GL_TRUE : GL_FALSE);
}

void Device::ApplyBlend()
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    if (rs(RenderState::AlphaBlendEnable) != 0)
    {
        glEnable(GL_BLEND);
    }
    else
    {
        glDisable(GL_BLEND);
    }
    std::uint32_t src = rs(RenderState::SrcBlend);
    std::uint32_t dst = rs(RenderState::DestBlend);
    // The "both" factors set the destination factor as well.
    if (src == value::BlendBothSrcAlpha)
    {
        src = value::BlendSrcAlpha;
        dst = value::BlendInvSrcAlpha;
    }
    else if (src == value::BlendBothInvSrcAlpha)
    {
        src = value::BlendInvSrcAlpha;
        dst = value::BlendSrcAlpha;
    }
    const bool separate = rs(RenderState::SeparateAlphaBlendEnable) != 0;
    const std::uint32_t srcAlpha = separate ? rs(RenderState::SrcBlendAlpha) : src;
    const std::uint32_t dstAlpha = separate ? rs(RenderState::DestBlendAlpha) : dst;
    glBlendFuncSeparate(BlendFactor(src, false), BlendFactor(dst, false), BlendFactor(srcAlpha, true),
                        BlendFactor(dstAlpha, true));
    glBlendEquationSeparate(
        BlendEquation(rs(RenderState::BlendOp)),
        BlendEquation(separate ? rs(RenderState::BlendOpAlpha) : rs(RenderState::BlendOp)));
    const std::uint32_t factor = rs(RenderState::BlendFactor);
    glBlendColor(
        static_cast<float>((factor >> 16) & 0xFF) / 255.0f, static_cast<float>((factor >> 8) & 0xFF) / 255.0f,
        static_cast<float>(factor & 0xFF) / 255.0f, static_cast<float>((factor >> 24) & 0xFF) / 255.0f);
}

void Device::ApplyStencil()
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    if (hasStencil_ && rs(RenderState::StencilEnable) != 0)
    {
        glEnable(GL_STENCIL_TEST);
    }
    else
    {
        glDisable(GL_STENCIL_TEST);
    }
    glStencilFunc(CompareFunc(rs(RenderState::StencilFunc)), static_cast<GLint>(rs(RenderState::StencilRef)),
                  rs(RenderState::StencilMask));
    glStencilOp(StencilOp(rs(RenderState::StencilFail)), StencilOp(rs(RenderState::StencilZFail)),
                StencilOp(rs(RenderState::StencilPass)));
    glStencilMask(rs(RenderState::StencilWriteMask));
}

void Device::ApplyCull()
{
    // Direct3D's front faces are clockwise on screen. With clip control the picture keeps its
    // orientation in GL's terms; with the prelude's y flip it is mirrored.
    glFrontFace(clipControl_ ? GL_CW : GL_CCW);
    const std::uint32_t mode = renderStates_[static_cast<std::uint32_t>(RenderState::CullMode)];
    if (mode == value::CullCW)
    {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
    }
    else if (mode == value::CullCCW)
    {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
    else
    {
        glDisable(GL_CULL_FACE);
    }
}

Result Device::SetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t value)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const auto index = static_cast<std::uint32_t>(type);
    if (stage >= kSamplerStageCount || index == 0 || index >= kSamplerStateCount || !IsOwnerThread())
    {
        return kErrInvalidCall;
    }
    samplerStates_[stage][index] = value;
    ApplySamplerState(stage, type);
    return kOk;
}

Result Device::GetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t* value) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const auto index = static_cast<std::uint32_t>(type);
    if (stage >= kSamplerStageCount || index == 0 || index >= kSamplerStateCount || value == nullptr)
    {
        return kErrInvalidCall;
    }
    *value = samplerStates_[stage][index];
    return kOk;
}

void Device::ApplySamplerState(std::uint32_t stage, SamplerState type)
{
    const GLuint sampler = samplers_[stage];
    const auto& s = samplerStates_[stage];
    const auto get = [&s](SamplerState t) { return s[static_cast<std::uint32_t>(t)]; };
    switch (type)
    {
    case SamplerState::AddressU:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, static_cast<GLint>(AddressMode(get(type))));
        break;
    case SamplerState::AddressV:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, static_cast<GLint>(AddressMode(get(type))));
        break;
    case SamplerState::AddressW:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, static_cast<GLint>(AddressMode(get(type))));
        break;
    case SamplerState::BorderColor:
    {
        const std::uint32_t c = get(type);
        const float color[4] = {
            static_cast<float>((c >> 16) & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
            static_cast<float>(c & 0xFF) / 255.0f, static_cast<float>((c >> 24) & 0xFF) / 255.0f};
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, color);
        break;
    }
    case SamplerState::MagFilter:
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                            get(type) == value::FilterPoint ? GL_NEAREST : GL_LINEAR);
        break;
    case SamplerState::MinFilter:
    case SamplerState::MipFilter:
    case SamplerState::MaxAnisotropy:
    {
        const bool linear = get(SamplerState::MinFilter) != value::FilterPoint;
        const std::uint32_t mip = get(SamplerState::MipFilter);
        GLenum filter = linear ? GL_LINEAR : GL_NEAREST;
        if (mip == value::FilterPoint)
        {
            filter = linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        }
        else if (mip != value::FilterNone)
        {
            filter = linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        }
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
        if (anisotropy_)
        {
            float anisotropy = 1.0f;
            if (get(SamplerState::MinFilter) == value::FilterAnisotropic ||
                get(SamplerState::MagFilter) == value::FilterAnisotropic)
            {
                anisotropy =
                    std::clamp(static_cast<float>(get(SamplerState::MaxAnisotropy)), 1.0f, maxAnisotropy_);
            }
            glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY, anisotropy);
        }
        break;
    }
    case SamplerState::MipMapLodBias:
        glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, BitsFloat(get(type)));
        break;
    case SamplerState::MaxMipLevel:
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, static_cast<float>(get(type)));
        break;
    default:
        break;
    }
}

// --- Shaders and declarations ----------------------------------------------------------------

Result Device::CreateShader(ShaderStage stage, const void* source, std::size_t size,
                            std::shared_ptr<Shader>* shader)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (shader == nullptr)
    {
        return kErrInvalidCall;
    }
    shader->reset();
    if (source == nullptr || size == 0 || !IsOwnerThread())
    {
        lastShaderLog_ = "no shader source";
        return kErrInvalidCall;
    }
    const char* text = static_cast<const char*>(source);
    std::string code(text, strnlen(text, size));
    if (stage == ShaderStage::Vertex)
    {
        code = WrapVertexSource(code, clipControl_);
    }
    const char* sources[] = {code.c_str()};
    const GLuint program = glCreateShaderProgramv(
        stage == ShaderStage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, 1, sources);
    GLint linked = GL_FALSE;
    if (program != 0)
    {
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
    }
    lastShaderLog_.clear();
    if (program != 0)
    {
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        if (length > 1)
        {
            std::string log(static_cast<std::size_t>(length), '\0');
            glGetProgramInfoLog(program, length, nullptr, log.data());
            log.resize(strnlen(log.c_str(), log.size()));
            lastShaderLog_ = log;
        }
    }
    if (linked != GL_TRUE)
    {
        if (program != 0)
        {
            glDeleteProgram(program);
        }
        if (lastShaderLog_.empty())
        {
            lastShaderLog_ = "the program did not link";
        }
        return kErrInvalidCall;
    }
    std::shared_ptr<Shader> made(new Shader(stage, program, link_, code));
    if (stage == ShaderStage::Vertex)
    {
        made->pixelOffsetLocation_ = glGetUniformLocation(program, "korvane_PixelOffset");
    }
    *shader = std::move(made);
    return kOk;
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
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!IsOwnerThread() || (shader && shader->GetStage() != ShaderStage::Vertex))
    {
        return kErrInvalidCall;
    }
    vertexShader_ = std::move(shader);
    glUseProgramStages(pipeline_, GL_VERTEX_SHADER_BIT, vertexShader_ ? vertexShader_->GetProgram() : 0);
    return kOk;
}

Result Device::SetPixelShader(std::shared_ptr<Shader> shader)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!IsOwnerThread() || (shader && shader->GetStage() != ShaderStage::Pixel))
    {
        return kErrInvalidCall;
    }
    pixelShader_ = std::move(shader);
    glUseProgramStages(pipeline_, GL_FRAGMENT_SHADER_BIT, pixelShader_ ? pixelShader_->GetProgram() : 0);
    return kOk;
}

Result Device::CreateVertexDeclaration(const VertexElement* elements,
                                       std::shared_ptr<VertexDeclaration>* declaration)
{
    if (declaration == nullptr)
    {
        return kErrInvalidCall;
    }
    *declaration = VertexDeclaration::Create(elements);
    return *declaration ? kOk : kErrInvalidCall;
}

Result Device::SetVertexDeclaration(std::shared_ptr<VertexDeclaration> declaration)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    declaration_ = std::move(declaration);
    return kOk;
}

// --- Draws ---------------------------------------------------------------------------------------

std::uint32_t Device::Upload(int target, const void* data, std::uint32_t bytes)
{
    const bool vertices = target == GL_ARRAY_BUFFER;
    std::uint32_t& size = vertices ? vertexBufferSize_ : indexBufferSize_;
    std::uint32_t& offset = vertices ? vertexBufferOffset_ : indexBufferOffset_;
    const GLenum glTarget = static_cast<GLenum>(target);
    const std::uint32_t aligned = (offset + 15u) & ~15u;
    if (size == 0 || bytes > size || aligned + bytes > size)
    {
        // Orphan the storage: draws still queued keep the old block, new data goes to a fresh one.
        size = std::max({size, vertices ? kVertexStreamBytes : kIndexStreamBytes, bytes});
        glBufferData(glTarget, size, nullptr, GL_STREAM_DRAW);
        offset = 0;
    }
    else
    {
        offset = aligned;
    }
    void* memory = glMapBufferRange(
        glTarget, offset, bytes, GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
    if (memory != nullptr)
    {
        std::memcpy(memory, data, bytes);
        glUnmapBuffer(glTarget);
    }
    else
    {
        glBufferSubData(glTarget, offset, bytes, data);
    }
    const std::uint32_t at = offset;
    offset += bytes;
    return at;
}

Result Device::PrepareDraw(const void* vertices, std::uint32_t vertexBytes, std::uint32_t stride)
{
    const std::uint32_t base = Upload(GL_ARRAY_BUFFER, vertices, vertexBytes);
    std::uint32_t wanted = 0;
    for (const VertexElement& element : declaration_->GetElements())
    {
        const int location = VertexDeclaration::GetAttributeLocation(element.Usage, element.UsageIndex);
        const AttributeFormat format = FormatOf(element.Type);
        wanted |= 1u << location;
        glVertexAttribPointer(
            static_cast<GLuint>(location), format.size, format.type, format.normalized,
            static_cast<GLsizei>(stride),
            reinterpret_cast<const void*>(static_cast<std::uintptr_t>(base + element.Offset)));
    }
    for (GLuint location = 0; location < 16; ++location)
    {
        const std::uint32_t bit = 1u << location;
        if ((wanted & bit) != 0 && (enabledAttributes_ & bit) == 0)
        {
            glEnableVertexAttribArray(location);
        }
        else if ((wanted & bit) == 0 && (enabledAttributes_ & bit) != 0)
        {
            glDisableVertexAttribArray(location);
        }
    }
    enabledAttributes_ = wanted;
    // Half a pixel right and down in Direct3D's clip space, for the current viewport.
    Shader& vs = *vertexShader_;
    const float offsetX = 1.0f / static_cast<float>(viewport_.Width);
    const float offsetY = -1.0f / static_cast<float>(viewport_.Height);
    if (vs.pixelOffsetLocation_ >= 0 &&
        (!vs.pixelOffsetSet_ || vs.pixelOffset_[0] != offsetX || vs.pixelOffset_[1] != offsetY))
    {
        glProgramUniform4f(vs.GetProgram(), vs.pixelOffsetLocation_, offsetX, offsetY, 0.0f, 0.0f);
        vs.pixelOffset_[0] = offsetX;
        vs.pixelOffset_[1] = offsetY;
        vs.pixelOffsetSet_ = true;
    }
    resolved_ = false;
    return kOk;
}

Result Device::DrawPrimitiveUP(PrimitiveType type, std::uint32_t primitiveCount, const void* vertices,
                               std::uint32_t stride)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    PollLossHooks();
    const std::uint64_t count = VertexCountFor(type, primitiveCount);
    if (!IsOwnerThread() || (primitiveCount > 0 && (vertices == nullptr || stride == 0 || count == 0)))
    {
        return kErrInvalidCall;
    }
    if (primitiveCount == 0 || !Usable())
    {
        return kOk;
    }
    if (!declaration_ || !vertexShader_ || !pixelShader_ || primitiveCount > 0x00FFFFFF)
    {
        return kErrInvalidCall;
    }
    const std::uint64_t bytes = count * stride;
    if (bytes > 0x7FFFFFFFu)
    {
        return kErrInvalidCall;
    }
    link_->Drain();
    PrepareDraw(vertices, static_cast<std::uint32_t>(bytes), stride);
    glDrawArrays(PrimitiveMode(type), 0, static_cast<GLsizei>(count));
    return kOk;
}

Result Device::DrawIndexedPrimitiveUP(PrimitiveType type, std::uint32_t minVertexIndex,
                                      std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                      const void* indices, Format indexFormat, const void* vertices,
                                      std::uint32_t stride)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    PollLossHooks();
    const std::uint64_t count = VertexCountFor(type, primitiveCount);
    const bool wide = indexFormat == Format::Index32;
    if (!IsOwnerThread() || (indexFormat != Format::Index16 && indexFormat != Format::Index32) ||
        (primitiveCount > 0 &&
         (vertices == nullptr || indices == nullptr || stride == 0 || count == 0 || vertexCount == 0)))
    {
        return kErrInvalidCall;
    }
    if (primitiveCount == 0 || !Usable())
    {
        return kOk;
    }
    if (!declaration_ || !vertexShader_ || !pixelShader_ || primitiveCount > 0x00FFFFFF)
    {
        return kErrInvalidCall;
    }
    // Every index must fall inside the vertices the caller promised, or the draw would read
    // past the end of its array.
    const std::uint64_t end = static_cast<std::uint64_t>(minVertexIndex) + vertexCount;
    for (std::uint64_t i = 0; i < count; ++i)
    {
        const std::uint64_t index = wide ? static_cast<const std::uint32_t*>(indices)[i]
                                         : static_cast<const std::uint16_t*>(indices)[i];
        if (index < minVertexIndex || index >= end)
        {
            return kErrInvalidCall;
        }
    }
    // Only the promised vertices are read: those below the lowest index may not exist at all.
    // The draw then counts indices from the first uploaded vertex.
    const std::uint64_t vertexBytes = static_cast<std::uint64_t>(vertexCount) * stride;
    const std::uint64_t indexBytes = count * (wide ? 4u : 2u);
    if (vertexBytes > 0x7FFFFFFFu || indexBytes > 0x7FFFFFFFu || minVertexIndex > 0x7FFFFFFFu)
    {
        return kErrInvalidCall;
    }
    link_->Drain();
    const auto* first =
        static_cast<const std::uint8_t*>(vertices) + static_cast<std::uint64_t>(minVertexIndex) * stride;
    PrepareDraw(first, static_cast<std::uint32_t>(vertexBytes), stride);
    const std::uint32_t indexOffset =
        Upload(GL_ELEMENT_ARRAY_BUFFER, indices, static_cast<std::uint32_t>(indexBytes));
    glDrawElementsBaseVertex(PrimitiveMode(type), static_cast<GLsizei>(count),
                             wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(static_cast<std::uintptr_t>(indexOffset)),
                             -static_cast<GLint>(minVertexIndex));
    return kOk;
}

// --- Read-back -----------------------------------------------------------------------------------

Result Device::ReadBackBuffer(std::vector<std::uint32_t>* pixels, std::uint32_t* width, std::uint32_t* height)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (pixels == nullptr || !IsOwnerThread() || context_ == nullptr)
    {
        return kErrInvalidCall;
    }
    ResolveBackBuffer();
    pixels->assign(static_cast<std::size_t>(width_) * height_, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, samples_ > 0 ? resolveFramebuffer_ : framebuffer_);
    glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, pixels->data());
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    if (width != nullptr)
    {
        *width = width_;
    }
    if (height != nullptr)
    {
        *height = height_;
    }
    return kOk;
}

Result Device::PresentPixels(const std::uint32_t* pixels, std::uint32_t width, std::uint32_t height)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (pixels == nullptr || width == 0 || height == 0 || width > 16384 || height > 16384 ||
        !IsOwnerThread() || context_ == nullptr)
    {
        return kErrInvalidCall;
    }
    GLuint texture = 0;
    GLuint framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                 GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    // Row 0 of the image is its top row; it lands on the window's top row.
    const auto w = static_cast<GLint>(width);
    const auto h = static_cast<GLint>(height);
    glBlitFramebuffer(0, 0, w, h, 0, drawableHeight, w, drawableHeight - h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
    ApplyScissor();
    ApplyRenderState(RenderState::ColorWriteEnable);
    return kOk;
}

std::uint32_t Device::GetBackBufferFramebuffer()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ResolveBackBuffer();
    return samples_ > 0 ? resolveFramebuffer_ : framebuffer_;
}

void Device::RestoreFramebufferBinding()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

} // namespace os::gfx
