/** @file GameWindow.cpp The game window over the platform layer's window. */
#include "KorvaneXDK/core/GameWindow.h"

#include <algorithm>
#include <map>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Log.h"
#include "os/window/MessageQueue.h"
#include "os/window/PaintSurface.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "GameWindow";

} // namespace

using os::window::LParam;
using os::window::LResult;
using os::window::WParam;

namespace
{

// Windows from their first show until they are hidden or destroyed; main thread only.
std::map<os::window::WindowHandle, CGameWindow*>& WindowMap()
{
    static std::map<os::window::WindowHandle, CGameWindow*> map;
    return map;
}

} // namespace

CGameWindow::CGameWindow(os::window::InstanceHandle instance, const std::string& className, const std::string& title,
                         os::window::IconHandle icon, os::window::CursorHandle cursor, CGameWindow* parent)
    : instance_(instance), icon_(icon), cursor_(cursor), title_(title), className_(className)
{
    // There is no class registry to fill: the class name is only kept.
    window_ = std::make_unique<os::window::Window>(title, parent ? parent->GetHandle() : nullptr);
    if (!window_->IsCreated())
        LogWin32Error(kSourceFile, __LINE__);
    window_->SetProc(&CGameWindow::StaticWindowProc);
    window_->EnableInputMethod(false);
    SetClientSize(640, 480);
}

CGameWindow::~CGameWindow()
{
    WindowMap().erase(window_.get());
    window_->Hide();
    os::window::DestroyWindow(window_.get());
    window_.reset();
}

bool CGameWindow::IsActive() const
{
    return active_;
}

os::window::InstanceHandle CGameWindow::GetInstanceHandle() const
{
    return instance_;
}

void CGameWindow::SetClientSize(int width, int height)
{
    int screenWidth = 0;
    int screenHeight = 0;
    window_->GetScreenSize(screenWidth, screenHeight);
    if (screenWidth > 0)
        width = std::min(width, screenWidth);
    if (screenHeight > 0)
        height = std::min(height, screenHeight);
    clientWidth_ = width;
    clientHeight_ = height;
    // SDL sizes are client sizes already: there is no frame to add.
    window_->SetClientSize(width, height);
}

int CGameWindow::GetClientWidth()
{
    if (window_->IsCreated())
        window_->GetClientSize(clientWidth_, clientHeight_);
    return clientWidth_;
}

int CGameWindow::GetClientHeight()
{
    if (window_->IsCreated())
        window_->GetClientSize(clientWidth_, clientHeight_);
    return clientHeight_;
}

void CGameWindow::SetPosition(int x, int y)
{
    // x, y name the outer corner; the layer places the client area, which lies inside the frame.
    int left = 0, top = 0, right = 0, bottom = 0;
    window_->GetFrameExtents(left, top, right, bottom);
    window_->SetPosition(x + left, y + top);
}

void CGameWindow::SetTitle(const std::string& title)
{
    title_ = title;
    window_->SetTitle(title);
}

void CGameWindow::GetTitle(std::string& title) const
{
    title = title_;
}

void CGameWindow::SetClassName(const std::string& className)
{
    className_ = className;
}

std::string CGameWindow::GetClassName() const
{
    return className_;
}

void CGameWindow::GetClassName(std::string& className) const
{
    className = className_;
}

os::window::WindowHandle CGameWindow::GetHandle() const
{
    return window_.get();
}

void CGameWindow::SetIcon(os::window::IconHandle icon)
{
    icon_ = icon;
    window_->SetIcon(icon);
}

os::window::IconHandle CGameWindow::GetIcon() const
{
    return icon_;
}

void CGameWindow::SetCursor(os::window::CursorHandle cursor)
{
    cursor_ = cursor;
    window_->SetCursor(cursor);
}

os::window::CursorHandle CGameWindow::GetCursor() const
{
    return cursor_;
}

void CGameWindow::SetMaximizeBoxEnabled(bool enabled)
{
    maximizeBox_ = enabled;
}

bool CGameWindow::IsMaximizeBoxEnabled() const
{
    return maximizeBox_;
}

void CGameWindow::SetResizable(bool resizable)
{
    resizable_ = resizable;
}

bool CGameWindow::IsResizable() const
{
    return resizable_;
}

void CGameWindow::AddListener(IGameWindowListener* listener)
{
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

const CGameWindow::Listeners& CGameWindow::GetListeners() const
{
    return listeners_;
}

void CGameWindow::RemoveListener(IGameWindowListener* listener)
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

os::window::WindowStyle CGameWindow::FramedStyle() const
{
    os::window::WindowStyle style;
    style.framed = true;
    style.resizable = resizable_;
    style.maximizeBox = maximizeBox_;
    return style;
}

void CGameWindow::SetFullScreen(bool fullScreen)
{
    if (fullScreen_ == fullScreen)
        return;
    // The placement query of the original cannot fail here; the flag changes together with the style.
    fullScreen_ = fullScreen;
    ApplyStyle();
}

void CGameWindow::ApplyStyle()
{
    const bool wasVisible = window_->IsVisible();
    const bool hadFocus = window_->HasInputFocus();
    window_->Hide();
    if (fullScreen_) {
        window_->SetStyle(os::window::WindowStyle{});
        window_->SetPosition(0, 0);
        window_->SetClientSize(clientWidth_, clientHeight_);
        window_->ClearTopMost();
    } else {
        window_->SetStyle(FramedStyle());
        CenterOnScreen();
    }
    if (wasVisible)
        window_->Show(hadFocus);
}

bool CGameWindow::IsFullScreen() const
{
    return fullScreen_;
}

void CGameWindow::CenterOnScreen()
{
    if (fullScreen_)
        return;
    window_->SetStyle(FramedStyle());
    window_->SetClientSize(clientWidth_, clientHeight_);
    int left = 0, top = 0, right = 0, bottom = 0;
    window_->GetFrameExtents(left, top, right, bottom);
    const int outerWidth = clientWidth_ + left + right;
    const int outerHeight = clientHeight_ + top + bottom;
    int screenWidth = 0;
    int screenHeight = 0;
    window_->GetScreenSize(screenWidth, screenHeight);
    const int x = screenWidth / 2 - outerWidth / 2;
    const int y = screenHeight / 2 - outerHeight / 2;
    // Window positions name the client area's corner; the frame lies around it.
    window_->SetPosition(x + left, y + top);
}

void CGameWindow::Show()
{
    ShowWith(true);
    ClearTopMost();
}

void CGameWindow::ShowNoActivate()
{
    ShowWith(false);
}

void CGameWindow::ShowWith(bool activate)
{
    auto& map = WindowMap();
    if (map.count(window_.get()) != 0)
        return;
    window_->SetIcon(icon_);
    window_->SetCursor(cursor_);
    ApplyStyle();
    window_->Show(activate);
    map[window_.get()] = this;
}

void CGameWindow::ClearTopMost()
{
    window_->ClearTopMost();
}

void CGameWindow::Hide()
{
    WindowMap().erase(window_.get());
    window_->Hide();
}

void CGameWindow::EnableInputMethod(bool enable)
{
    window_->EnableInputMethod(enable);
}

bool CGameWindow::IsInputMethodEnabled() const
{
    return window_->IsInputMethodEnabled();
}

LResult CGameWindow::StaticWindowProc(os::window::Window& window, std::uint32_t message, WParam wParam, LParam lParam)
{
    auto& map = WindowMap();
    auto found = map.find(&window);
    if (found == map.end())
        return os::window::DefWindowProc(&window, message, wParam, lParam);
    return found->second->WindowProc(message, wParam, lParam);
}

LResult CGameWindow::WindowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    if (message == os::window::WM_ACTIVATE) {
        const auto state = os::window::LoWord(wParam);
        if (state == os::window::WA_INACTIVE)
            active_ = false;
        else if (state == os::window::WA_ACTIVE || state == os::window::WA_CLICKACTIVE)
            active_ = true;
    }
    // A listener may add or remove listeners while it runs: the message goes to the listeners
    // registered when it arrived, so one removed meanwhile still gets it and must stay alive
    // until the dispatch ends.
    const Listeners snapshot = listeners_;
    bool handled = false;
    LResult handledResult = 0;
    for (IGameWindowListener* listener : snapshot) {
        LResult result = 0;
        if (listener->OnWindowMessage(this, message, wParam, lParam, &result)) {
            handled = true;
            handledResult = result;
        }
    }
    if (handled)
        return handledResult;
    return os::window::DefWindowProc(window_.get(), message, wParam, lParam);
}

} // namespace korvane
