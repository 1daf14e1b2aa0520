/** @file FrameTimerListener.h Receives the frames the frame-rate keeper finds due. */
#pragma once

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

class CFrameRateKeeper;

class IFrameTimerListener : public IInterface
{
public:
    ~IFrameTimerListener() override = default;

    virtual void OnFrame(CFrameRateKeeper* keeper, int frames) = 0;
};

} // namespace korvane
