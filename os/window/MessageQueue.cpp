/** @file MessageQueue.cpp The event pump: SDL events into window messages with their parameters. */
#include "os/window/MessageQueue.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <SDL.h>

#include "os/window/EventHooks.h"
#include "os/window/KeyTable.h"
#include "os/window/Window.h"

namespace os::window
{

namespace
{

struct QueueState
{
    std::mutex mutex;
    std::deque<Message> queue;
    std::condition_variable posted;  ///< wakes waiters while SDL's event queue is not running
    std::uint32_t wakeEventType = 0; ///< SDL user event that wakes WaitMessage; 0 until registered
};

QueueState& Queue()
{
    // Never destroyed: other threads may post while static objects go away.
    static QueueState* state = new QueueState;
    return *state;
}

// Pump state: main thread only.
struct PumpState
{
    WParam buttons = 0; ///< MK_ flags of the mouse buttons held
    int mouseX = 0;
    int mouseY = 0;
    Window* capture = nullptr;
    int cursorCount = 0;
    bool systemText = false; ///< the last key-down was a system key: its text is WM_SYSCHAR
};

PumpState& Pump()
{
    static PumpState state;
    return state;
}

void Enqueue(const Message& message)
{
    std::lock_guard<std::mutex> lock(Queue().mutex);
    Queue().queue.push_back(message);
}

void WakeWaiter()
{
    Queue().posted.notify_all();
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return;
    std::uint32_t type = 0;
    {
        std::lock_guard<std::mutex> lock(Queue().mutex);
        if (Queue().wakeEventType == 0) {
            std::uint32_t registered = SDL_RegisterEvents(1);
            if (registered == static_cast<std::uint32_t>(-1))
                return;
            Queue().wakeEventType = registered;
        }
        type = Queue().wakeEventType;
    }
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

bool IsWakeEvent(const SDL_Event& event)
{
    std::lock_guard<std::mutex> lock(Queue().mutex);
    return Queue().wakeEventType != 0 && event.type == Queue().wakeEventType;
}

Window* LiveWindow(std::uint32_t id)
{
    Window* window = Window::FromId(id);
    return window && !window->IsDestroyed() ? window : nullptr;
}

WParam ModifierFlags()
{
    SDL_Keymod mod = SDL_GetModState();
    WParam flags = 0;
    if (mod & KMOD_SHIFT)
        flags |= MK_SHIFT;
    if (mod & KMOD_CTRL)
        flags |= MK_CONTROL;
    return flags;
}

WParam ButtonFlag(std::uint8_t button)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        return MK_LBUTTON;
    case SDL_BUTTON_RIGHT:
        return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
        return MK_MBUTTON;
    case SDL_BUTTON_X1:
        return MK_XBUTTON1;
    case SDL_BUTTON_X2:
        return MK_XBUTTON2;
    default:
        return 0;
    }
}

WParam StateFlags(std::uint32_t state)
{
    WParam flags = 0;
    if (state & SDL_BUTTON_LMASK)
        flags |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK)
        flags |= MK_RBUTTON;
    if (state & SDL_BUTTON_MMASK)
        flags |= MK_MBUTTON;
    if (state & SDL_BUTTON_X1MASK)
        flags |= MK_XBUTTON1;
    if (state & SDL_BUTTON_X2MASK)
        flags |= MK_XBUTTON2;
    return flags;
}

void TranslateKey(const SDL_KeyboardEvent& key)
{
    // Text input follows its key-down: typed with Alt (and without Ctrl) it is a system
    // character, which text fields do not take.
    if (key.type == SDL_KEYDOWN)
        Pump().systemText = (key.keysym.mod & KMOD_ALT) != 0 && (key.keysym.mod & KMOD_CTRL) == 0;
    Window* window = LiveWindow(key.windowID);
    if (!window)
        return;
    const KeyInfo info = KeyInfoOf(key.keysym.sym, key.keysym.scancode);
    if (info.vk == 0)
        return;
    const bool down = key.type == SDL_KEYDOWN;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0 || info.vk == VK_MENU;
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    // As on the original system: Alt without Ctrl, F10 and the Alt key itself make system keys.
    const bool system = (alt && !ctrl) || info.vk == VK_F10;
    LParam lParam = 1;
    if (info.extended)
        lParam |= KF_EXTENDED_BIT;
    if ((key.keysym.mod & KMOD_ALT) != 0 || (info.vk == VK_MENU && down))
        lParam |= KF_ALTDOWN_BIT;
    if (down) {
        if (key.repeat)
            lParam |= KF_REPEAT_BIT;
    } else {
        lParam |= KF_REPEAT_BIT | KF_UP_BIT;
    }
    std::uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    Enqueue({window, message, info.vk, lParam});
}

void TranslateText(const SDL_TextInputEvent& text)
{
    Window* window = LiveWindow(text.windowID);
    if (!window)
        return;
    // UTF-8 to code points; malformed bytes are skipped.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.text);
    std::size_t length = SDL_strlen(text.text);
    std::size_t i = 0;
    while (i < length) {
        unsigned char lead = bytes[i];
        std::uint32_t codePoint = 0;
        std::size_t extra = 0;
        if (lead < 0x80)
            codePoint = lead;
        else if ((lead & 0xE0) == 0xC0)
            codePoint = lead & 0x1F, extra = 1;
        else if ((lead & 0xF0) == 0xE0)
            codePoint = lead & 0x0F, extra = 2;
        else if ((lead & 0xF8) == 0xF0)
            codePoint = lead & 0x07, extra = 3;
        else {
            ++i;
            continue;
        }
        bool valid = true;
        for (std::size_t k = 1; k <= extra; ++k) {
            if (i + k >= length || (bytes[i + k] & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3F);
        }
        if (!valid) {
            ++i;
            continue;
        }
        i += extra + 1;
        Enqueue({window, Pump().systemText ? WM_SYSCHAR : WM_CHAR, static_cast<WParam>(codePoint), 1});
    }
}

void TranslateMouse(const SDL_Event& event)
{
    auto& pump = Pump();
    switch (event.type) {
    case SDL_MOUSEMOTION: {
        Window* window = LiveWindow(event.motion.windowID);
        if (!window)
            return;
        pump.mouseX = event.motion.x;
        pump.mouseY = event.motion.y;
        Enqueue({window, WM_MOUSEMOVE, StateFlags(event.motion.state) | ModifierFlags(),
                 MakeLParam(event.motion.x, event.motion.y)});
        return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        Window* window = LiveWindow(event.button.windowID);
        if (!window)
            return;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        const WParam flag = ButtonFlag(event.button.button);
        if (flag == 0)
            return;
        if (down)
            pump.buttons |= flag;
        else
            pump.buttons &= ~flag;
        pump.mouseX = event.button.x;
        pump.mouseY = event.button.y;
        std::uint32_t message = 0;
        WParam extra = 0;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case SDL_BUTTON_RIGHT:
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
        case SDL_BUTTON_MIDDLE:
            message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
        default:
            message = down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
            extra = (event.button.button == SDL_BUTTON_X1 ? XBUTTON1 : XBUTTON2) << 16;
            break;
        }
        // A second click is one more button-down: the window takes no double clicks.
        Enqueue({window, message, pump.buttons | ModifierFlags() | extra, MakeLParam(event.button.x, event.button.y)});
        return;
    }
    case SDL_MOUSEWHEEL: {
        Window* window = LiveWindow(event.wheel.windowID);
        if (!window)
            return;
        int x = 0;
        int y = 0;
        window->GetPosition(x, y);
        // The wheel messages carry screen coordinates.
        const LParam where = MakeLParam(x + pump.mouseX, y + pump.mouseY);
        const int sign = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
        const WParam flags = pump.buttons | ModifierFlags();
        if (event.wheel.y != 0) {
            const auto delta =
                static_cast<std::uint16_t>(static_cast<std::int16_t>(sign * event.wheel.y * WHEEL_DELTA));
            Enqueue({window, WM_MOUSEWHEEL, (static_cast<WParam>(delta) << 16) | flags, where});
        }
        if (event.wheel.x != 0) {
            const auto delta =
                static_cast<std::uint16_t>(static_cast<std::int16_t>(sign * event.wheel.x * WHEEL_DELTA));
            Enqueue({window, WM_MOUSEHWHEEL, (static_cast<WParam>(delta) << 16) | flags, where});
        }
        return;
    }
    default:
        return;
    }
}

void TranslateWindowEvent(const SDL_WindowEvent& event)
{
    Window* window = LiveWindow(event.windowID);
    if (!window)
        return;
    int width = 0;
    int height = 0;
    window->GetClientSize(width, height);
    switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED:
        window->Invalidate();
        return;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // A maximised framed window reports itself through the maximised event.
        if (window->IsMinimized() || (window->IsMaximized() && window->GetStyle().framed))
            return;
        Enqueue({window, WM_SIZE, SIZE_RESTORED, MakeLParam(event.data1, event.data2)});
        return;
    case SDL_WINDOWEVENT_MINIMIZED:
        Enqueue({window, WM_SIZE, SIZE_MINIMIZED, 0});
        return;
    case SDL_WINDOWEVENT_MAXIMIZED:
        // Some window managers call a borderless full-screen window maximised; only the framed
        // window's maximise button means "switch to full screen".
        if (window->GetStyle().framed)
            Enqueue({window, WM_SIZE, SIZE_MAXIMIZED, MakeLParam(width, height)});
        return;
    case SDL_WINDOWEVENT_RESTORED:
        Enqueue({window, WM_SIZE, SIZE_RESTORED, MakeLParam(width, height)});
        return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Enqueue({window, WM_ACTIVATE, WA_ACTIVE | (window->IsMinimized() ? WParam(1) << 16 : 0), 0});
        return;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        Enqueue({window, WM_ACTIVATE, WA_INACTIVE | (window->IsMinimized() ? WParam(1) << 16 : 0), 0});
        return;
    case SDL_WINDOWEVENT_CLOSE:
        Enqueue({window, WM_CLOSE, 0, 0});
        return;
    default:
        return;
    }
}

void Translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        return;
    case SDL_QUIT:
        // A termination request closes every top-level window, as closing it by hand does.
        for (Window* window : Window::GetAllWindows()) {
            if (!window->IsDestroyed() && !window->GetParent())
                Enqueue({window, WM_CLOSE, 0, 0});
        }
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        return;
    case SDL_TEXTINPUT:
        TranslateText(event.text);
        return;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        TranslateMouse(event);
        return;
    default:
        return;
    }
}

void HandleEvent(const SDL_Event& event)
{
    if (IsWakeEvent(event))
        return;
    DispatchRawEvent(event);
    Translate(event);
}

Window* FindInvalidatedWindow()
{
    for (Window* window : Window::GetAllWindows()) {
        if (window->IsInvalidated() && !window->IsDestroyed() && window->IsVisible())
            return window;
    }
    return nullptr;
}

} // namespace

void PumpEvents()
{
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        HandleEvent(event);
}

bool PeekMessage(Message& message, bool remove)
{
    PumpEvents();
    {
        auto& queue = Queue();
        std::lock_guard<std::mutex> lock(queue.mutex);
        if (!queue.queue.empty()) {
            message = queue.queue.front();
            if (remove)
                queue.queue.pop_front();
            return true;
        }
    }
    // Painting has the lowest priority: it comes only when nothing else waits.
    if (Window* window = FindInvalidatedWindow()) {
        message = {window, WM_PAINT, 0, 0};
        if (remove)
            window->ClearInvalidated();
        return true;
    }
    return false;
}

// Without SDL's event queue only posts can arrive: wait for one on the condition variable.
bool WaitForPost(int timeoutMs)
{
    auto& queue = Queue();
    std::unique_lock<std::mutex> lock(queue.mutex);
    auto ready = [&queue] { return !queue.queue.empty() || SDL_WasInit(SDL_INIT_EVENTS); };
    if (timeoutMs < 0) {
        queue.posted.wait(lock, ready);
        return true;
    }
    return queue.posted.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

bool WaitMessageTimeout(int timeoutMs)
{
    Message message;
    if (PeekMessage(message, false))
        return true;
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return WaitForPost(timeoutMs) && PeekMessage(message, false);
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, timeoutMs)) {
        HandleEvent(event);
        PumpEvents();
    }
    return PeekMessage(message, false);
}

void WaitMessage()
{
    Message message;
    while (!PeekMessage(message, false)) {
        if (!SDL_WasInit(SDL_INIT_EVENTS)) {
            WaitForPost(-1);
            continue;
        }
        SDL_Event event;
        if (SDL_WaitEvent(&event))
            HandleEvent(event);
    }
}

void PostMessage(Window* window, std::uint32_t message, WParam wParam, LParam lParam)
{
    Enqueue({window, message, wParam, lParam});
    WakeWaiter();
}

void PostQuitMessage(int exitCode)
{
    PostMessage(nullptr, WM_QUIT, static_cast<WParam>(static_cast<std::intptr_t>(exitCode)), 0);
}

bool TranslateMessage(const Message& message)
{
    if (message.message != WM_KEYDOWN)
        return false;
    switch (message.wParam) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: {
        std::lock_guard<std::mutex> lock(Queue().mutex);
        Queue().queue.push_front({message.window, WM_CHAR, message.wParam, message.lParam & 0xFFFF});
        return true;
    }
    default:
        return false;
    }
}

LResult DispatchMessage(const Message& message)
{
    if (!message.window)
        return 0;
    if (message.window->IsDestroyed())
        return 0;
    return SendMessage(message.window, message.message, message.wParam, message.lParam);
}

LResult SendMessage(Window* window, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (!window)
        return 0;
    if (const WindowProc& proc = window->GetProc())
        return proc(*window, message, wParam, lParam);
    return DefWindowProc(window, message, wParam, lParam);
}

LResult DefWindowProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (!window)
        return 0;
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT) != 0)
            SendMessage(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_PAINT:
        window->ClearInvalidated();
        return 0;
    default:
        return 0;
    }
}

void DestroyWindow(Window* window)
{
    if (!window || window->IsDestroyed())
        return;
    window->MarkDestroyed();
    if (const WindowProc& proc = window->GetProc())
        proc(*window, WM_DESTROY, 0, 0);
    window->Hide();
    RemoveMessagesOf(window);
    if (GetCapture() == window)
        ReleaseCapture();
}

void RemoveMessagesOf(Window* window)
{
    auto& queue = Queue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    std::erase_if(queue.queue, [window](const Message& m) { return m.window == window; });
}

std::size_t GetQueuedMessageCount()
{
    auto& queue = Queue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    return queue.queue.size();
}

int ShowCursor(bool show)
{
    auto& pump = Pump();
    pump.cursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(pump.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return pump.cursorCount;
}

void SetCapture(Window* window)
{
    Pump().capture = window;
    if (window && SDL_WasInit(SDL_INIT_VIDEO))
        SDL_CaptureMouse(SDL_TRUE);
}

void ReleaseCapture()
{
    if (Pump().capture && SDL_WasInit(SDL_INIT_VIDEO))
        SDL_CaptureMouse(SDL_FALSE);
    Pump().capture = nullptr;
}

Window* GetCapture()
{
    return Pump().capture;
}

} // namespace os::window

namespace os::testing
{

void ResetWindowMessageQueue()
{
    {
        auto& queue = os::window::Queue();
        std::lock_guard<std::mutex> lock(queue.mutex);
        queue.queue.clear();
    }
    auto& pump = os::window::Pump();
    pump.buttons = 0;
    pump.mouseX = 0;
    pump.mouseY = 0;
    pump.capture = nullptr;
    pump.systemText = false;
}

void SetCursorDisplayCount(int count)
{
    os::window::Pump().cursorCount = count;
}

int GetCursorDisplayCount()
{
    return os::window::Pump().cursorCount;
}

} // namespace os::testing
