/** @file StandardDXGraphicsEventListener.h A graphics listener that ignores every event. */
#pragma once

#include "KorvaneXDK/platform/graphics/DXGraphicsEventListener.h"

namespace korvane
{

/// Base for listeners that care about only some of the events.
class CStandardDXGraphicsEventListener : public IDXGraphicsEventListener
{
public:
    void OnDeviceLost() override;
    void OnDeviceReset() override;
    void OnFullscreenChanging(bool fullscreen) override;
    void OnFullscreenChanged(bool fullscreen) override;
};

} // namespace korvane
