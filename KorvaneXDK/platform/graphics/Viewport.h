/** @file Viewport.h One viewport rectangle with its depth range and an aspect factor. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Object.h"
#include "os/gfx/Types.h"

namespace korvane
{

/// Starts all zero with the aspect factor 1.
class CViewport : public CObject
{
public:
    CViewport();
    ~CViewport() override;

    /// Sets the rectangle on the device when it is not empty: true once set; false (and
    /// nothing set) for an empty one, or (reported) when the device refuses it.
    virtual bool Apply();
    virtual void Set(std::uint32_t x, std::uint32_t y, std::uint32_t width, std::uint32_t height, float minZ,
                     float maxZ);
    virtual std::uint32_t GetX();
    virtual std::uint32_t GetY();
    virtual std::uint32_t GetRight();
    virtual std::uint32_t GetBottom();
    virtual std::uint32_t GetWidth();
    virtual std::uint32_t GetHeight();
    /// Width / height x the aspect factor.
    virtual float GetAspectRatio();
    virtual float GetAspectFactor();
    virtual void SetAspectFactor(float factor);
    virtual float GetMinZ();
    virtual float GetMaxZ();

    float GetAspect() { return GetAspectRatio(); }

private:
    os::gfx::Viewport viewport_;
    float aspectFactor_ = 1.0f;
};

} // namespace korvane
