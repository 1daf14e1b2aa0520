/** @file GameWindow.h The program's one top-level window and its message dispatch to listeners. */
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "KorvaneXDK/core/GameWindowListener.h"
#include "KorvaneXDK/core/Object.h"
#include "os/window/Window.h"

namespace korvane
{

/// The game window: framed or borderless full screen, client size, title, icon, cursor and the
/// input-method flag. It handles no message itself apart from noting activation; every message
/// goes to its listeners, and only while the window is shown (between Show and Hide).
class CGameWindow : public virtual CNonCopyable
{
public:
    using Listeners = std::vector<IGameWindowListener*>;

    /// Creates the window hidden with a 640 x 480 client area. Creation failures are logged, not thrown.
    CGameWindow(os::window::InstanceHandle instance, const std::string& className, const std::string& title,
                os::window::IconHandle icon, os::window::CursorHandle cursor, CGameWindow* parent);
    virtual ~CGameWindow();

    virtual bool IsActive() const;
    virtual os::window::InstanceHandle GetInstanceHandle() const;
    /// Clamps to the screen size and sizes the client area.
    virtual void SetClientSize(int width, int height);
    /// Read from the system (and stored).
    virtual int GetClientWidth();
    virtual int GetClientHeight();
    virtual void SetPosition(int x, int y);
    virtual void SetTitle(const std::string& title);
    virtual void GetTitle(std::string& title) const;
    virtual void SetClassName(const std::string& className);
    virtual std::string GetClassName() const;
    virtual void GetClassName(std::string& className) const;
    virtual os::window::WindowHandle GetHandle() const;
    virtual void SetIcon(os::window::IconHandle icon);
    virtual os::window::IconHandle GetIcon() const;
    virtual void SetCursor(os::window::CursorHandle cursor);
    virtual os::window::CursorHandle GetCursor() const;
    /// Take effect at the next framed style.
    virtual void SetMaximizeBoxEnabled(bool enabled);
    virtual bool IsMaximizeBoxEnabled() const;
    virtual void SetResizable(bool resizable);
    virtual bool IsResizable() const;
    /// Listeners are called in the order they were added; adding one twice keeps one entry.
    virtual void AddListener(IGameWindowListener* listener);
    virtual const Listeners& GetListeners() const;
    virtual void RemoveListener(IGameWindowListener* listener);
    virtual void SetFullScreen(bool fullScreen);
    virtual bool IsFullScreen() const;
    virtual void CenterOnScreen();
    virtual void Show();
    virtual void ShowNoActivate();
    virtual void ClearTopMost();
    virtual void Hide();
    virtual void EnableInputMethod(bool enable);
    virtual bool IsInputMethodEnabled() const;

    /// The window procedure of every game window: messages of windows that are not shown get
    /// the default processing.
    static os::window::LResult StaticWindowProc(os::window::Window& window, std::uint32_t message,
                                                os::window::WParam wParam, os::window::LParam lParam);

protected:
    virtual os::window::LResult WindowProc(std::uint32_t message, os::window::WParam wParam, os::window::LParam lParam);

private:
    void ShowWith(bool activate);
    os::window::WindowStyle FramedStyle() const;
    /// Applies the full-screen or framed look as the flag says, keeping the visibility.
    void ApplyStyle();

    os::window::InstanceHandle instance_;
    os::window::IconHandle icon_;
    os::window::CursorHandle cursor_;
    std::string title_;
    std::string className_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    std::unique_ptr<os::window::Window> window_;
    bool fullScreen_ = false;
    bool maximizeBox_ = true;
    bool resizable_ = false;
    Listeners listeners_;
    bool active_ = true;
};

} // namespace korvane
