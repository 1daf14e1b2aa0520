/** @file GameApplicationListener.h The message loop's idle listener. */
#pragma once

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

class IGameApplicationListener : public IInterface
{
public:
    ~IGameApplicationListener() override = default;

    /// Called by the loop whenever no message is pending.
    virtual void OnIdle() = 0;
};

} // namespace korvane
