/** @file DXGraphicsEventListener.h What objects holding device resources hear about resets and switches. */
#pragma once

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// Told before the device is reset (lost) and after (reset); a full-screen switch adds
/// changing (before lost) and changed (after reset).
class IDXGraphicsEventListener : public IInterface
{
public:
    virtual void OnDeviceLost() = 0;
    virtual void OnDeviceReset() = 0;
    virtual void OnFullscreenChanging(bool fullscreen) = 0;
    virtual void OnFullscreenChanged(bool fullscreen) = 0;
};

} // namespace korvane
