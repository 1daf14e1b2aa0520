/** @file Window.cpp The game window over SDL2. */
#include "os/window/Window.h"

#include <algorithm>

#include <SDL.h>

#include "os/system/Owned.h"
#include "os/system/System.h"
#include "os/window/Cursor.h"
#include "os/window/Icon.h"
#include "os/window/MessageQueue.h"
#include "os/window/PaintSurface.h"

namespace os::window
{

namespace
{

// Main thread only, like the windows themselves.
std::vector<Window*>& LiveWindows()
{
    static std::vector<Window*> windows;
    return windows;
}

using Surface = os::system::Owned<SDL_Surface, SDL_FreeSurface>;

Surface WrapBitmap(const Bitmap& image)
{
    if (image.IsEmpty())
        return nullptr;
    Surface surface(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(image.GetPixels()), image.GetWidth(),
                                                       image.GetHeight(), 32, image.GetWidth() * 4,
                                                       SDL_PIXELFORMAT_ARGB8888));
    if (!surface)
        os::system::SetLastErrorFromSdl("SDL_CreateRGBSurfaceWithFormatFrom");
    return surface;
}

// Video stays up from the first window to the end of the process: bringing the X11 driver down
// and up again between windows can fail to reconnect ("x11 not available"), and unloading the
// GL libraries at exit would only turn their live allocations into reported leaks.
bool InitializeVideo()
{
    static bool initialized = false;
    if (initialized)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        os::system::SetLastErrorFromSdl("SDL_InitSubSystem(SDL_INIT_VIDEO)");
        return false;
    }
    initialized = true;
    return true;
}

} // namespace

Window::Window(const std::string& title, Window* parent) : parent_(parent), paint_(std::make_unique<PaintSurface>())
{
    // Only the program decides when it ends: a close request is a message like any other.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates the window is a click like any other, as the engine expects.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!InitializeVideo())
        return;

    // The graphics device creates a core context on this window later; the visual is chosen now.
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);

    sdlWindow_.reset(
        SDL_CreateWindow(title.c_str(), 0, 0, 640, 480, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_OPENGL));
    if (!sdlWindow_) {
        os::system::SetLastErrorFromSdl("SDL_CreateWindow");
        return;
    }
    id_ = SDL_GetWindowID(sdlWindow_.get());
    LiveWindows().push_back(this);
    SDL_StartTextInput();
}

Window::~Window()
{
    RemoveMessagesOf(this);
    if (GetCapture() == this)
        ReleaseCapture();
    auto& windows = LiveWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    if (sdlCursor_ && SDL_GetCursor() == sdlCursor_.get())
        SDL_SetCursor(SDL_GetDefaultCursor());
}

void Window::SdlFree::operator()(SDL_Window* window) const
{
    SDL_DestroyWindow(window);
}

void Window::SdlFree::operator()(SDL_Cursor* cursor) const
{
    SDL_FreeCursor(cursor);
}

Window* Window::FromId(std::uint32_t id)
{
    if (id == 0)
        return nullptr;
    for (Window* window : LiveWindows()) {
        if (window->id_ == id)
            return window;
    }
    return nullptr;
}

std::vector<Window*> Window::GetAllWindows()
{
    return LiveWindows();
}

void Window::SetTitle(const std::string& title)
{
    if (sdlWindow_)
        SDL_SetWindowTitle(sdlWindow_.get(), title.c_str());
}

std::string Window::GetTitle() const
{
    return sdlWindow_ ? std::string(SDL_GetWindowTitle(sdlWindow_.get())) : std::string();
}

void Window::SetClientSize(int width, int height)
{
    if (sdlWindow_)
        SDL_SetWindowSize(sdlWindow_.get(), std::max(width, 1), std::max(height, 1));
}

void Window::GetClientSize(int& width, int& height) const
{
    width = 0;
    height = 0;
    if (sdlWindow_)
        SDL_GetWindowSize(sdlWindow_.get(), &width, &height);
}

void Window::SetPosition(int x, int y)
{
    if (sdlWindow_)
        SDL_SetWindowPosition(sdlWindow_.get(), x, y);
}

void Window::GetPosition(int& x, int& y) const
{
    x = 0;
    y = 0;
    if (sdlWindow_)
        SDL_GetWindowPosition(sdlWindow_.get(), &x, &y);
}

void Window::GetScreenSize(int& width, int& height) const
{
    width = 0;
    height = 0;
    int display = sdlWindow_ ? SDL_GetWindowDisplayIndex(sdlWindow_.get()) : 0;
    if (display < 0)
        display = 0;
    SDL_DisplayMode mode{};
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0) {
        os::system::SetLastErrorFromSdl("SDL_GetDesktopDisplayMode");
        return;
    }
    width = mode.w;
    height = mode.h;
}

void Window::GetFrameExtents(int& left, int& top, int& right, int& bottom) const
{
    left = top = right = bottom = 0;
    if (!sdlWindow_ || !style_.framed)
        return;
    if (SDL_GetWindowBordersSize(sdlWindow_.get(), &top, &left, &bottom, &right) != 0)
        left = top = right = bottom = 0;
}

void Window::SetStyle(const WindowStyle& style)
{
    style_ = style;
    if (!sdlWindow_)
        return;
    SDL_SetWindowBordered(sdlWindow_.get(), style.framed ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowResizable(sdlWindow_.get(), style.framed && style.resizable ? SDL_TRUE : SDL_FALSE);
}

void Window::Show(bool activate)
{
    if (!sdlWindow_)
        return;
    SDL_ShowWindow(sdlWindow_.get());
    if (activate) {
        SDL_RaiseWindow(sdlWindow_.get());
        // Without a window manager nobody hands out the focus: take it, as activation does.
        SDL_SetWindowInputFocus(sdlWindow_.get());
    }
}

void Window::Hide()
{
    if (sdlWindow_)
        SDL_HideWindow(sdlWindow_.get());
}

bool Window::IsVisible() const
{
    return sdlWindow_ && (SDL_GetWindowFlags(sdlWindow_.get()) & SDL_WINDOW_SHOWN) != 0;
}

bool Window::IsMinimized() const
{
    return sdlWindow_ && (SDL_GetWindowFlags(sdlWindow_.get()) & SDL_WINDOW_MINIMIZED) != 0;
}

bool Window::IsMaximized() const
{
    return sdlWindow_ && (SDL_GetWindowFlags(sdlWindow_.get()) & SDL_WINDOW_MAXIMIZED) != 0;
}

bool Window::HasInputFocus() const
{
    return sdlWindow_ && (SDL_GetWindowFlags(sdlWindow_.get()) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void Window::ClearTopMost()
{
    if (sdlWindow_)
        SDL_SetWindowAlwaysOnTop(sdlWindow_.get(), SDL_FALSE);
}

void Window::SetIcon(IconHandle icon)
{
    if (!sdlWindow_ || !icon)
        return;
    const Surface surface = WrapBitmap(icon->GetImage());
    if (!surface)
        return;
    SDL_SetWindowIcon(sdlWindow_.get(), surface.get());
}

void Window::SetCursor(CursorHandle cursor)
{
    if (!sdlWindow_ || !cursor)
        return;
    const Surface surface = WrapBitmap(cursor->GetImage());
    if (!surface)
        return;
    std::unique_ptr<SDL_Cursor, SdlFree> created(
        SDL_CreateColorCursor(surface.get(), cursor->GetHotX(), cursor->GetHotY()));
    if (!created) {
        // Drivers without cursors (offscreen) keep the default one.
        os::system::SetLastErrorFromSdl("SDL_CreateColorCursor");
        return;
    }
    SDL_SetCursor(created.get());
    sdlCursor_ = std::move(created);
}

void Window::Invalidate()
{
    invalidated_ = true;
}

PaintSurface& Window::BeginPaint()
{
    int width = 0;
    int height = 0;
    GetClientSize(width, height);
    if (width != paint_->GetWidth() || height != paint_->GetHeight())
        paint_->Reset(width, height);
    invalidated_ = false;
    return *paint_;
}

void Window::EndPaint()
{
    if (presenter_)
        presenter_(*this, *paint_);
}

} // namespace os::window
