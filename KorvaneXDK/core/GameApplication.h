/** @file GameApplication.h The message loop with its idle listener. */
#pragma once

#include "KorvaneXDK/core/GameApplicationListener.h"
#include "KorvaneXDK/core/Object.h"
#include "os/window/Window.h"

namespace korvane
{

/// Dispatches window messages and, whenever none is pending, calls the idle listener once.
/// Main thread only.
class CGameApplication : public virtual CNonCopyable
{
public:
    explicit CGameApplication(os::window::InstanceHandle instance);
    virtual ~CGameApplication();

    /// Runs until the quit message arrives; returns 0. Without an idle listener it blocks
    /// while no message is pending.
    virtual int Run();
    /// One pass: dispatches every pending message, then calls the idle listener once. A quit
    /// message ends the pass without the idle call and stays queued, so the loop still ends.
    virtual void ProcessMessages();
    /// Null removes the listener.
    virtual void SetListener(IGameApplicationListener* listener);
    virtual os::window::InstanceHandle GetInstanceHandle() const;
    /// Moves the cursor display counter to exactly 0 (shown) or -1 (hidden) when the program
    /// alone changes it.
    virtual void ShowCursor(bool show);

private:
    os::window::InstanceHandle instance_;
    int cursorCount_ = 0;
    IGameApplicationListener* listener_ = nullptr;
};

} // namespace korvane
