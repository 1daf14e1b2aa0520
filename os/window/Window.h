/** @file Window.h The game window over SDL2 and the handle types the engine passes around. */
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "os/window/Messages.h"

struct SDL_Window;
struct SDL_Cursor;

namespace os::window
{

class Window;
class Icon;
class Cursor;
class PaintSurface;

/// What the engine calls a window handle: message-box owner, device focus window, capture target.
using WindowHandle = Window*;
using IconHandle = const Icon*;
using CursorHandle = const Cursor*;
/// There are no module instances here; the engine only passes the value along.
using InstanceHandle = void*;

/// The window procedure: every message dispatched or sent to the window goes through it.
/// A procedure that does not handle a message returns DefWindowProc(...) for it.
using WindowProc = std::function<LResult(Window& window, std::uint32_t message, WParam wParam, LParam lParam)>;

/// The framed or plain look of the window.
struct WindowStyle
{
    bool framed = false;      ///< title bar and border; false: the plain pop-up (full screen) look
    bool resizable = false;   ///< sizing frame (framed only)
    bool maximizeBox = false; ///< kept as a flag: SDL has no separate maximise button
};

/// A top-level SDL window created hidden, borderless and OpenGL-capable (the graphics device
/// later creates its context on it). Sizes are client sizes in pixels. Main thread only.
class Window
{
public:
    /// Initialises SDL video on first use. On failure the object exists without an SDL window
    /// (IsCreated false) and the thread's last error holds SDL's message.
    explicit Window(const std::string& title, Window* parent = nullptr);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool IsCreated() const { return sdlWindow_ != nullptr; }
    SDL_Window* GetSDLWindow() const { return sdlWindow_.get(); }
    std::uint32_t GetId() const { return id_; }
    Window* GetParent() const { return parent_; }
    /// The live window with this SDL window id, or null.
    static Window* FromId(std::uint32_t id);
    /// Every live window, in creation order.
    static std::vector<Window*> GetAllWindows();

    void SetProc(WindowProc proc) { proc_ = std::move(proc); }
    const WindowProc& GetProc() const { return proc_; }

    void SetTitle(const std::string& title);
    std::string GetTitle() const;

    /// Client size; values below 1 become 1.
    void SetClientSize(int width, int height);
    void GetClientSize(int& width, int& height) const;
    void SetPosition(int x, int y);
    void GetPosition(int& x, int& y) const;
    /// Size of the desktop of the display that holds the window (the first display before that).
    void GetScreenSize(int& width, int& height) const;
    /// Frame thickness around the client area as the window manager reports it; 0 when unknown.
    void GetFrameExtents(int& left, int& top, int& right, int& bottom) const;

    void SetStyle(const WindowStyle& style);
    const WindowStyle& GetStyle() const { return style_; }

    /// Shows the window; activate also raises it and asks for the input focus.
    void Show(bool activate);
    void Hide();
    bool IsVisible() const;
    bool IsMinimized() const;
    bool IsMaximized() const;
    bool HasInputFocus() const;
    /// Leaves the always-on-top band.
    void ClearTopMost();

    /// Icon and cursor images; null keeps the system's defaults.
    void SetIcon(IconHandle icon);
    void SetCursor(CursorHandle cursor);

    /// The input-method flag. Text input stays on either way, so characters still arrive.
    void EnableInputMethod(bool enable) { inputMethod_ = enable; }
    bool IsInputMethodEnabled() const { return inputMethod_; }

    /// Marks the client area for painting: the pump then produces one WM_PAINT when its queue
    /// has nothing else. Exposure by the system does the same.
    void Invalidate();
    bool IsInvalidated() const { return invalidated_; }
    /// The software surface sized to the client area, valid until EndPaint; it validates the window.
    PaintSurface& BeginPaint();
    /// Hands the painted surface to the presenter, if any (the graphics device shows it).
    void EndPaint();
    /// The last painted surface (tests read it).
    const PaintSurface& GetPaintSurface() const { return *paint_; }
    using PaintPresenter = std::function<void(Window& window, const PaintSurface& surface)>;
    void SetPaintPresenter(PaintPresenter presenter) { presenter_ = std::move(presenter); }

    /// Set by DestroyWindow: the window has been sent WM_DESTROY and takes no more messages
    /// from the system; the SDL window lives on until the object is deleted.
    bool IsDestroyed() const { return destroyed_; }

    // Used by the pump.
    void MarkDestroyed() { destroyed_ = true; }
    void ClearInvalidated() { invalidated_ = false; }

private:
    /// Frees the SDL objects the window owns (defined beside the SDL calls).
    struct SdlFree
    {
        void operator()(SDL_Window* window) const;
        void operator()(SDL_Cursor* cursor) const;
    };
    std::unique_ptr<SDL_Window, SdlFree> sdlWindow_;
    std::uint32_t id_ = 0;
    Window* parent_ = nullptr;
    WindowProc proc_;
    WindowStyle style_;
    std::unique_ptr<SDL_Cursor, SdlFree> sdlCursor_;
    bool inputMethod_ = true;
    bool invalidated_ = false;
    bool destroyed_ = false;
    std::unique_ptr<PaintSurface> paint_;
    PaintPresenter presenter_;
};

} // namespace os::window
