/** @file Types.h Records, formats and state numbers of the graphics device, with Direct3D 9's values. */
#pragma once

#include <cstdint>

namespace os::window
{
class Window;
}

namespace os::gfx
{

/// A device call's result: 0 or positive succeeds, negative fails (the engine logs it as "0x%x").
using Result = std::int32_t;

/// The window a device presents into: the game window of the window layer.
using WindowHandle = os::window::Window*;

inline constexpr bool Succeeded(Result result)
{
    return result >= 0;
}
inline constexpr bool Failed(Result result)
{
    return result < 0;
}

/// Pixel, depth and index formats; the numbers are the ones the engine stores and compares.
enum class Format : std::uint32_t
{
    Unknown = 0,
    R8G8B8 = 20,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    R5G6B5 = 23,
    X1R5G5B5 = 24,
    A1R5G5B5 = 25,
    A4R4G4B4 = 26,
    A8 = 28,
    A8B8G8R8 = 32,
    X8B8G8R8 = 33,
    L8 = 50,
    D16Lockable = 70,
    D32 = 71,
    D15S1 = 73,
    D24S8 = 75,
    D24X8 = 77,
    D24X4S4 = 79,
    D16 = 80,
    D32FLockable = 82,
    Index16 = 101,
    Index32 = 102,
    DXT1 = 0x31545844, ///< "DXT1" read little-endian
    DXT3 = 0x33545844,
    DXT5 = 0x35545844,
};

enum class DeviceType : std::uint32_t
{
    Hal = 1,
    Ref = 2,
    Sw = 3,
};

enum class SwapEffect : std::uint32_t
{
    Discard = 1,
    Flip = 2,
    Copy = 3,
};

enum class MultiSampleType : std::uint32_t
{
    None = 0,
    NonMaskable = 1,
    // 2 to 16: that many samples per pixel.
};

enum class ScanLineOrdering : std::uint32_t
{
    Unknown = 0,
    Progressive = 1,
    Interlaced = 2,
};

enum class PrimitiveType : std::uint32_t
{
    PointList = 1,
    LineList = 2,
    LineStrip = 3,
    TriangleList = 4,
    TriangleStrip = 5,
    TriangleFan = 6,
};

/// Behaviour flags of device creation.
namespace create
{
inline constexpr std::uint32_t Multithreaded = 0x4;
inline constexpr std::uint32_t SoftwareVertexProcessing = 0x20;
inline constexpr std::uint32_t HardwareVertexProcessing = 0x40;
inline constexpr std::uint32_t MixedVertexProcessing = 0x80;
} // namespace create

/// Presentation intervals.
namespace present
{
inline constexpr std::uint32_t IntervalDefault = 0;
inline constexpr std::uint32_t IntervalOne = 1;
inline constexpr std::uint32_t IntervalTwo = 2;
inline constexpr std::uint32_t IntervalImmediate = 0x80000000u;
inline constexpr std::uint32_t FlagLockableBackBuffer = 1;
} // namespace present

/// Clear flags.
namespace clear
{
inline constexpr std::uint32_t Target = 1;
inline constexpr std::uint32_t ZBuffer = 2;
inline constexpr std::uint32_t Stencil = 4;
} // namespace clear

/// The parameters a device is created and reset with. Direct3D writes the sizes, format and
/// buffer count it really used back into the caller's record; this layer does the same.
struct PresentParameters
{
    std::uint32_t BackBufferWidth = 0;
    std::uint32_t BackBufferHeight = 0;
    Format BackBufferFormat = Format::Unknown;
    std::uint32_t BackBufferCount = 0;
    os::gfx::MultiSampleType MultiSampleType = os::gfx::MultiSampleType::None;
    std::uint32_t MultiSampleQuality = 0;
    os::gfx::SwapEffect SwapEffect = static_cast<os::gfx::SwapEffect>(0);
    WindowHandle DeviceWindow = nullptr;
    bool Windowed = false;
    bool EnableAutoDepthStencil = false;
    Format AutoDepthStencilFormat = Format::Unknown;
    std::uint32_t Flags = 0;
    std::uint32_t FullScreenRefreshRateInHz = 0;
    std::uint32_t PresentationInterval = 0;
};

/// One display mode of an adapter (refresh rate 0: the display's default rate).
struct DisplayMode
{
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t RefreshRate = 0;
    os::gfx::Format Format = os::gfx::Format::Unknown;
};

/// The display mode the extended object takes for full-screen creation.
struct DisplayModeEx
{
    std::uint32_t Size = 24;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t RefreshRate = 0;
    os::gfx::Format Format = os::gfx::Format::Unknown;
    os::gfx::ScanLineOrdering ScanLineOrdering = os::gfx::ScanLineOrdering::Unknown;
};

/// What an adapter calls itself.
struct AdapterIdentifier
{
    char Description[512] = {};
    char DeviceName[32] = {};
};

/// Texture filter capability bits.
namespace filtercaps
{
inline constexpr std::uint32_t MinPoint = 0x100;
inline constexpr std::uint32_t MinLinear = 0x200;
inline constexpr std::uint32_t MinAnisotropic = 0x400;
inline constexpr std::uint32_t MipPoint = 0x10000;
inline constexpr std::uint32_t MipLinear = 0x20000;
inline constexpr std::uint32_t MagPoint = 0x1000000;
inline constexpr std::uint32_t MagLinear = 0x2000000;
inline constexpr std::uint32_t MagAnisotropic = 0x4000000;
} // namespace filtercaps

/// Texture capability bits.
namespace texturecaps
{
inline constexpr std::uint32_t Alpha = 0x4;
inline constexpr std::uint32_t Pow2 = 0x2;
inline constexpr std::uint32_t MipMap = 0x4000;
inline constexpr std::uint32_t NonPow2Conditional = 0x100;
} // namespace texturecaps

/// The part of a device's capabilities the engine reads. Shader versions are encoded as
/// 0xFFFE0000 (vertex) or 0xFFFF0000 (pixel) + major * 256 + minor.
struct Caps
{
    os::gfx::DeviceType DeviceType = static_cast<os::gfx::DeviceType>(0);
    std::uint32_t AdapterOrdinal = 0;
    std::uint32_t PresentationIntervals = 0;
    std::uint32_t TextureCaps = 0;
    std::uint32_t TextureFilterCaps = 0;
    std::uint32_t MaxTextureWidth = 0;
    std::uint32_t MaxTextureHeight = 0;
    std::uint32_t MaxAnisotropy = 0;
    std::uint32_t MaxTextureBlendStages = 0;
    std::uint32_t MaxSimultaneousTextures = 0;
    std::uint32_t MaxPrimitiveCount = 0;
    std::uint32_t MaxVertexIndex = 0;
    std::uint32_t MaxStreams = 0;
    std::uint32_t MaxStreamStride = 0;
    std::uint32_t VertexShaderVersion = 0;
    std::uint32_t MaxVertexShaderConst = 0;
    std::uint32_t PixelShaderVersion = 0;
    std::uint32_t NumSimultaneousRTs = 0;
};

inline constexpr std::uint32_t VertexShaderVersion(unsigned major, unsigned minor)
{
    return 0xFFFE0000u + major * 256u + minor;
}
inline constexpr std::uint32_t PixelShaderVersion(unsigned major, unsigned minor)
{
    return 0xFFFF0000u + major * 256u + minor;
}

/// A viewport: X and Y count from the top-left corner of the render target.
struct Viewport
{
    std::uint32_t X = 0;
    std::uint32_t Y = 0;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    float MinZ = 0.0f;
    float MaxZ = 1.0f;
};

/// A rectangle for Clear, edges in pixels from the top-left (x2, y2 exclusive).
struct ClearRect
{
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
};

/// A rectangle with right and bottom exclusive (scissor rectangles, copies).
struct Rect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

/// Render state numbers.
enum class RenderState : std::uint32_t
{
    ZEnable = 7,
    FillMode = 8,
    ShadeMode = 9,
    ZWriteEnable = 14,
    AlphaTestEnable = 15,
    LastPixel = 16,
    SrcBlend = 19,
    DestBlend = 20,
    CullMode = 22,
    ZFunc = 23,
    AlphaRef = 24,
    AlphaFunc = 25,
    DitherEnable = 26,
    AlphaBlendEnable = 27,
    FogEnable = 28,
    SpecularEnable = 29,
    FogColor = 34,
    FogTableMode = 35,
    FogStart = 36,
    FogEnd = 37,
    FogDensity = 38,
    RangeFogEnable = 48,
    StencilEnable = 52,
    StencilFail = 53,
    StencilZFail = 54,
    StencilPass = 55,
    StencilFunc = 56,
    StencilRef = 57,
    StencilMask = 58,
    StencilWriteMask = 59,
    TextureFactor = 60,
    Wrap0 = 128,
    Clipping = 136,
    Lighting = 137,
    Ambient = 139,
    FogVertexMode = 140,
    ColorVertex = 141,
    LocalViewer = 142,
    NormalizeNormals = 143,
    DiffuseMaterialSource = 145,
    SpecularMaterialSource = 146,
    AmbientMaterialSource = 147,
    EmissiveMaterialSource = 148,
    VertexBlend = 151,
    ClipPlaneEnable = 152,
    PointSize = 154,
    PointSizeMin = 155,
    PointSpriteEnable = 156,
    PointScaleEnable = 157,
    PointScaleA = 158,
    PointScaleB = 159,
    PointScaleC = 160,
    MultiSampleAntialias = 161,
    MultiSampleMask = 162,
    PatchEdgeStyle = 163,
    DebugMonitorToken = 165,
    PointSizeMax = 166,
    IndexedVertexBlendEnable = 167,
    ColorWriteEnable = 168,
    TweenFactor = 170,
    BlendOp = 171,
    PositionDegree = 172,
    NormalDegree = 173,
    ScissorTestEnable = 174,
    SlopeScaleDepthBias = 175,
    AntialiasedLineEnable = 176,
    MinTessellationLevel = 178,
    MaxTessellationLevel = 179,
    AdaptiveTessX = 180,
    AdaptiveTessY = 181,
    AdaptiveTessZ = 182,
    AdaptiveTessW = 183,
    EnableAdaptiveTessellation = 184,
    TwoSidedStencilMode = 185,
    CcwStencilFail = 186,
    CcwStencilZFail = 187,
    CcwStencilPass = 188,
    CcwStencilFunc = 189,
    ColorWriteEnable1 = 190,
    ColorWriteEnable2 = 191,
    ColorWriteEnable3 = 192,
    BlendFactor = 193,
    SrgbWriteEnable = 194,
    DepthBias = 195,
    Wrap8 = 198,
    SeparateAlphaBlendEnable = 206,
    SrcBlendAlpha = 207,
    DestBlendAlpha = 208,
    BlendOpAlpha = 209,
};

/// Highest render state number plus one.
inline constexpr std::uint32_t kRenderStateCount = 210;

/// Sampler state numbers.
enum class SamplerState : std::uint32_t
{
    AddressU = 1,
    AddressV = 2,
    AddressW = 3,
    BorderColor = 4,
    MagFilter = 5,
    MinFilter = 6,
    MipFilter = 7,
    MipMapLodBias = 8,
    MaxMipLevel = 9,
    MaxAnisotropy = 10,
    SrgbTexture = 11,
    ElementIndex = 12,
    DMapOffset = 13,
};

inline constexpr std::uint32_t kSamplerStateCount = 14;
inline constexpr std::uint32_t kSamplerStageCount = 16;

/// Values of the render and sampler states.
namespace value
{
// Booleans.
inline constexpr std::uint32_t False = 0;
inline constexpr std::uint32_t True = 1;
// Z buffer types.
inline constexpr std::uint32_t ZBufferFalse = 0;
inline constexpr std::uint32_t ZBufferTrue = 1;
// Fill modes.
inline constexpr std::uint32_t FillPoint = 1;
inline constexpr std::uint32_t FillWireframe = 2;
inline constexpr std::uint32_t FillSolid = 3;
// Shading.
inline constexpr std::uint32_t ShadeFlat = 1;
inline constexpr std::uint32_t ShadeGouraud = 2;
// Blend factors.
inline constexpr std::uint32_t BlendZero = 1;
inline constexpr std::uint32_t BlendOne = 2;
inline constexpr std::uint32_t BlendSrcColor = 3;
inline constexpr std::uint32_t BlendInvSrcColor = 4;
inline constexpr std::uint32_t BlendSrcAlpha = 5;
inline constexpr std::uint32_t BlendInvSrcAlpha = 6;
inline constexpr std::uint32_t BlendDestAlpha = 7;
inline constexpr std::uint32_t BlendInvDestAlpha = 8;
inline constexpr std::uint32_t BlendDestColor = 9;
inline constexpr std::uint32_t BlendInvDestColor = 10;
inline constexpr std::uint32_t BlendSrcAlphaSat = 11;
inline constexpr std::uint32_t BlendBothSrcAlpha = 12;
inline constexpr std::uint32_t BlendBothInvSrcAlpha = 13;
inline constexpr std::uint32_t BlendBlendFactor = 14;
inline constexpr std::uint32_t BlendInvBlendFactor = 15;
// Blend operations.
inline constexpr std::uint32_t BlendOpAdd = 1;
inline constexpr std::uint32_t BlendOpSubtract = 2;
inline constexpr std::uint32_t BlendOpRevSubtract = 3;
inline constexpr std::uint32_t BlendOpMin = 4;
inline constexpr std::uint32_t BlendOpMax = 5;
// Cull modes (CW culls triangles that are clockwise on screen).
inline constexpr std::uint32_t CullNone = 1;
inline constexpr std::uint32_t CullCW = 2;
inline constexpr std::uint32_t CullCCW = 3;
// Comparison functions.
inline constexpr std::uint32_t CmpNever = 1;
inline constexpr std::uint32_t CmpLess = 2;
inline constexpr std::uint32_t CmpEqual = 3;
inline constexpr std::uint32_t CmpLessEqual = 4;
inline constexpr std::uint32_t CmpGreater = 5;
inline constexpr std::uint32_t CmpNotEqual = 6;
inline constexpr std::uint32_t CmpGreaterEqual = 7;
inline constexpr std::uint32_t CmpAlways = 8;
// Stencil operations.
inline constexpr std::uint32_t StencilOpKeep = 1;
inline constexpr std::uint32_t StencilOpZero = 2;
inline constexpr std::uint32_t StencilOpReplace = 3;
inline constexpr std::uint32_t StencilOpIncrSat = 4;
inline constexpr std::uint32_t StencilOpDecrSat = 5;
inline constexpr std::uint32_t StencilOpInvert = 6;
inline constexpr std::uint32_t StencilOpIncr = 7;
inline constexpr std::uint32_t StencilOpDecr = 8;
// Material sources.
inline constexpr std::uint32_t MaterialSourceMaterial = 0;
inline constexpr std::uint32_t MaterialSourceColor1 = 1;
inline constexpr std::uint32_t MaterialSourceColor2 = 2;
// Texture addressing.
inline constexpr std::uint32_t AddressWrap = 1;
inline constexpr std::uint32_t AddressMirror = 2;
inline constexpr std::uint32_t AddressClamp = 3;
inline constexpr std::uint32_t AddressBorder = 4;
inline constexpr std::uint32_t AddressMirrorOnce = 5;
// Texture filters.
inline constexpr std::uint32_t FilterNone = 0;
inline constexpr std::uint32_t FilterPoint = 1;
inline constexpr std::uint32_t FilterLinear = 2;
inline constexpr std::uint32_t FilterAnisotropic = 3;
// Colour write bits.
inline constexpr std::uint32_t ColorWriteRed = 1;
inline constexpr std::uint32_t ColorWriteGreen = 2;
inline constexpr std::uint32_t ColorWriteBlue = 4;
inline constexpr std::uint32_t ColorWriteAlpha = 8;
} // namespace value

/// Vertex element data types.
enum class DeclType : std::uint8_t
{
    Float1 = 0,
    Float2 = 1,
    Float3 = 2,
    Float4 = 3,
    Color = 4, ///< 32-bit 0xAARRGGBB, read as (r, g, b, a) in 0..1
    UByte4 = 5,
    Short2 = 6,
    Short4 = 7,
    UByte4N = 8,
    Short2N = 9,
    Short4N = 10,
    UShort2N = 11,
    UShort4N = 12,
    Unused = 17,
};

enum class DeclMethod : std::uint8_t
{
    Default = 0,
};

enum class DeclUsage : std::uint8_t
{
    Position = 0,
    BlendWeight = 1,
    BlendIndices = 2,
    Normal = 3,
    PSize = 4,
    TexCoord = 5,
    Tangent = 6,
    Binormal = 7,
    TessFactor = 8,
    PositionT = 9,
    Color = 10,
    Fog = 11,
    Depth = 12,
    Sample = 13,
};

/// One element of a vertex declaration; a table ends with DeclEnd().
struct VertexElement
{
    std::uint16_t Stream = 0;
    std::uint16_t Offset = 0;
    DeclType Type = DeclType::Float1;
    DeclMethod Method = DeclMethod::Default;
    DeclUsage Usage = DeclUsage::Position;
    std::uint8_t UsageIndex = 0;
};

inline constexpr VertexElement DeclEnd()
{
    return VertexElement{0xFF, 0, DeclType::Unused, DeclMethod::Default, DeclUsage::Position, 0};
}

} // namespace os::gfx
