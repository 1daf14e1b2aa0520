/** @file BaseCaps.cpp The capabilities every OpenGL 4.1 driver offers. */
#include "os/gfx/BaseCaps.h"

#include "os/gfx/HookState.h"

namespace os::gfx::detail
{

Caps MakeBaseCaps(std::uint32_t adapter)
{
    Caps caps;
    caps.DeviceType = DeviceType::Hal;
    caps.AdapterOrdinal = adapter;
    caps.PresentationIntervals = present::IntervalOne | present::IntervalImmediate;
    caps.TextureCaps = texturecaps::Alpha | texturecaps::MipMap;
    caps.TextureFilterCaps = filtercaps::MinPoint | filtercaps::MinLinear | filtercaps::MipPoint |
                             filtercaps::MipLinear | filtercaps::MagPoint | filtercaps::MagLinear |
                             filtercaps::MinAnisotropic | filtercaps::MagAnisotropic;
    caps.MaxTextureWidth = 8192;
    caps.MaxTextureHeight = 8192;
    caps.MaxAnisotropy = 16;
    caps.MaxTextureBlendStages = 8;
    caps.MaxSimultaneousTextures = 8;
    caps.MaxPrimitiveCount = 0x00FFFFFF;
    caps.MaxVertexIndex = 0x00FFFFFF;
    caps.MaxStreams = 16;
    caps.MaxStreamStride = 508;
    caps.VertexShaderVersion = VertexShaderVersion(3, 0);
    caps.MaxVertexShaderConst = 256;
    caps.PixelShaderVersion = PixelShaderVersion(3, 0);
    caps.NumSimultaneousRTs = 1;
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    if (Hooks().vertexShaderVersion != 0)
        caps.VertexShaderVersion = Hooks().vertexShaderVersion;
    if (Hooks().pixelShaderVersion != 0)
        caps.PixelShaderVersion = Hooks().pixelShaderVersion;
    return caps;
}

} // namespace os::gfx::detail
