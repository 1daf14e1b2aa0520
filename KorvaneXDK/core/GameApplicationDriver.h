/** @file GameApplicationDriver.h Base of the application driver: log banners, loop, window. */
#pragma once

#include <string>

#include "KorvaneXDK/core/GameApplication.h"
#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/core/MainWindowListener.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// Opens the log, owns the message loop and the game window (created hidden), quits the loop
/// when the window is destroyed, runs the loop under the top-level reports, and closes the log
/// when destroyed. Platform drivers derive from it.
class CGameApplicationDriver : public virtual CNonCopyable
{
public:
    using CMainWindowListener = korvane::CMainWindowListener;

    explicit CGameApplicationDriver(os::window::InstanceHandle instance);
    virtual ~CGameApplicationDriver();

    /// Base: marks the driver initialised and returns true.
    virtual bool Initialize();
    /// Base: shows the window, runs the loop (reporting what escapes it) and hides the window.
    virtual void Run();
    virtual void SetTitle(const std::string& title);
    virtual void SetIcon(os::window::IconHandle icon);
    virtual void SetCursor(os::window::CursorHandle cursor);
    virtual CGameWindow* GetGameWindow();
    virtual CGameApplication* GetApplication();

    bool IsInitialized() const { return initialized_; }
    const std::string& GetTitle() const { return title_; }
    os::window::IconHandle GetIconHandle() const { return icon_; }
    os::window::CursorHandle GetCursorHandle() const { return cursor_; }
    os::window::InstanceHandle GetInstance() const { return instance_; }

protected:
    void SetInitialized(bool initialized) { initialized_ = initialized; }

private:
    CMainWindowListener mainWindowListener_;
    CGameApplication* application_ = nullptr;
    CGameWindow* window_ = nullptr;
    os::window::InstanceHandle instance_;
    os::window::IconHandle icon_ = nullptr;
    os::window::CursorHandle cursor_ = nullptr;
    std::string title_;
    bool initialized_ = false;
};

} // namespace korvane
