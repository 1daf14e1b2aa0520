/** @file Viewport.cpp One viewport rectangle with its depth range and an aspect factor. */
#include "KorvaneXDK/platform/graphics/Viewport.h"

#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "os/gfx/Device.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "Viewport";

} // namespace

CViewport::CViewport()
{
    viewport_.MinZ = 0.0f;
    viewport_.MaxZ = 0.0f;
}

CViewport::~CViewport() = default;

bool CViewport::Apply()
{
    if (viewport_.Width == 0 || viewport_.Height == 0) {
        return false;
    }
    const os::gfx::Result result = RequireDriverDevice(this).SetViewport(viewport_);
    if (os::gfx::Failed(result)) {
        ReportDirectXError(result, kSourceFile, __LINE__);
        return false;
    }
    return true;
}

void CViewport::Set(std::uint32_t x, std::uint32_t y, std::uint32_t width, std::uint32_t height, float minZ, float maxZ)
{
    viewport_ = os::gfx::Viewport{x, y, width, height, minZ, maxZ};
}

std::uint32_t CViewport::GetX()
{
    return viewport_.X;
}
std::uint32_t CViewport::GetY()
{
    return viewport_.Y;
}
std::uint32_t CViewport::GetRight()
{
    return viewport_.X + viewport_.Width;
}
std::uint32_t CViewport::GetBottom()
{
    return viewport_.Y + viewport_.Height;
}
std::uint32_t CViewport::GetWidth()
{
    return viewport_.Width;
}
std::uint32_t CViewport::GetHeight()
{
    return viewport_.Height;
}
float CViewport::GetAspectRatio()
{
    return static_cast<float>(viewport_.Width) / static_cast<float>(viewport_.Height) * aspectFactor_;
}
float CViewport::GetAspectFactor()
{
    return aspectFactor_;
}
void CViewport::SetAspectFactor(float factor)
{
    aspectFactor_ = factor;
}
float CViewport::GetMinZ()
{
    return viewport_.MinZ;
}
float CViewport::GetMaxZ()
{
    return viewport_.MaxZ;
}

} // namespace korvane
