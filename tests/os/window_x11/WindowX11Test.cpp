/** @file WindowX11Test.cpp The game window on a real X server: styles, sizes, title, X input. */
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <SDL.h>
#include <SDL_syswm.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/core/MainWindowListener.h"
#include "os/window/EventHooks.h"
#include "os/window/MessageQueue.h"
#include "os/window/PaintSurface.h"

namespace
{

using namespace os::window;
using korvane::CGameWindow;

// Xlib and XTest entry points, loaded at run time so that the test links no X libraries.
struct XInput
{
    void* x11 = nullptr;
    void* xtst = nullptr;
    Display* display = nullptr;
    Display* (*openDisplay)(const char*) = nullptr;
    int (*closeDisplay)(Display*) = nullptr;
    KeyCode (*keysymToKeycode)(Display*, KeySym) = nullptr;
    int (*flush)(Display*) = nullptr;
    int (*sync)(Display*, Bool) = nullptr;
    Atom (*internAtom)(Display*, const char*, Bool) = nullptr;
    Status (*sendEvent)(Display*, ::Window, Bool, long, XEvent*) = nullptr;
    Status (*fetchName)(Display*, ::Window, char**) = nullptr;
    int (*xfree)(void*) = nullptr;
    int (*fakeKey)(Display*, unsigned, Bool, unsigned long) = nullptr;
    int (*fakeButton)(Display*, unsigned, Bool, unsigned long) = nullptr;
    int (*fakeMotion)(Display*, int, int, int, unsigned long) = nullptr;

    template <typename F> bool Load(void* lib, const char* name, F& fn)
    {
        fn = reinterpret_cast<F>(dlsym(lib, name));
        return fn != nullptr;
    }

    bool Open()
    {
        x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        xtst = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!x11 || !xtst)
            return false;
        bool ok = Load(x11, "XOpenDisplay", openDisplay) && Load(x11, "XCloseDisplay", closeDisplay) &&
                  Load(x11, "XKeysymToKeycode", keysymToKeycode) && Load(x11, "XFlush", flush) &&
                  Load(x11, "XSync", sync) && Load(x11, "XInternAtom", internAtom) &&
                  Load(x11, "XSendEvent", sendEvent) && Load(x11, "XFetchName", fetchName) &&
                  Load(x11, "XFree", xfree) && Load(xtst, "XTestFakeKeyEvent", fakeKey) &&
                  Load(xtst, "XTestFakeButtonEvent", fakeButton) &&
                  Load(xtst, "XTestFakeMotionEvent", fakeMotion);
        if (!ok)
            return false;
        display = openDisplay(nullptr);
        return display != nullptr;
    }
    ~XInput()
    {
        if (display)
            closeDisplay(display);
        if (xtst)
            dlclose(xtst);
        if (x11)
            dlclose(x11);
    }

    void Key(KeySym sym, bool press)
    {
        fakeKey(display, keysymToKeycode(display, sym), press ? True : False, CurrentTime);
        sync(display, False);
    }
    void Tap(KeySym sym)
    {
        Key(sym, true);
        Key(sym, false);
    }
    void Button(unsigned button, bool press)
    {
        fakeButton(display, button, press ? True : False, CurrentTime);
        sync(display, False);
    }
    void MoveTo(int x, int y)
    {
        fakeMotion(display, -1, x, y, CurrentTime);
        sync(display, False);
    }
};

struct Recorder : korvane::IGameWindowListener
{
    std::vector<Message> messages;
    bool OnWindowMessage(CGameWindow*, std::uint32_t message, WParam wParam, LParam lParam, LResult*) override
    {
        messages.push_back({nullptr, message, wParam, lParam});
        return false;
    }
};

class WindowX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetWindowMessageQueue();
        ASSERT_TRUE(input_.Open()) << "no X server or no XTest";
        window_ = std::make_unique<CGameWindow>(nullptr, "KorvaneWnd", "Korvane Application", nullptr,
                                                nullptr, nullptr);
        ASSERT_TRUE(window_->GetHandle()->IsCreated());
        window_->AddListener(&recorder_);
    }
    void TearDown() override
    {
        window_.reset();
        os::testing::ResetWindowMessageQueue();
    }

    // Dispatches messages as the loop does until one satisfies the predicate; X input arrives
    // asynchronously, so this waits on the event queue with a deadline instead of sleeping.
    bool WaitFor(const std::function<bool(const Message&)>& match, int timeoutMs = 3000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::size_t checked = 0;
        while (std::chrono::steady_clock::now() < deadline)
        {
            Message message;
            while (PeekMessage(message, true))
            {
                if (message.message == WM_QUIT)
                    quits_.push_back(message);
                TranslateMessage(message);
                DispatchMessage(message);
            }
            for (; checked < recorder_.messages.size(); ++checked)
            {
                if (match(recorder_.messages[checked]))
                    return true;
            }
            WaitMessageTimeout(20);
        }
        return false;
    }
    // Lets the X server finish every request of SDL's connection and dispatches what that
    // produced, so that the window's state and messages are complete without waiting blindly.
    void Settle()
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window_->GetHandle()->GetSDLWindow(), &info))
            input_.sync(info.info.x11.display, False);
        Message message;
        while (PeekMessage(message, true))
        {
            if (message.message == WM_QUIT)
                quits_.push_back(message);
            TranslateMessage(message);
            DispatchMessage(message);
        }
    }
    static std::function<bool(const Message&)> Is(std::uint32_t message, WParam wParam)
    {
        return [=](const Message& m) { return m.message == message && m.wParam == wParam; };
    }
    const Message* Find(std::uint32_t message, WParam wParam) const
    {
        for (const Message& m : recorder_.messages)
            if (m.message == message && m.wParam == wParam)
                return &m;
        return nullptr;
    }
    int Count(std::uint32_t message) const
    {
        int n = 0;
        for (const Message& m : recorder_.messages)
            n += m.message == message ? 1 : 0;
        return n;
    }
    // Shows the window and waits until it has the keyboard.
    void ShowFocused()
    {
        window_->Show();
        ASSERT_TRUE(WaitFor([](const Message& m)
                            { return m.message == WM_ACTIVATE && LoWord(m.wParam) == WA_ACTIVE; }));
        ASSERT_TRUE(window_->IsActive());
        recorder_.messages.clear();
    }
    ::Window XWindow() const
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        SDL_GetWindowWMInfo(window_->GetHandle()->GetSDLWindow(), &info);
        return info.info.x11.window;
    }

    XInput input_;
    Recorder recorder_;
    std::vector<Message> quits_;
    std::unique_ptr<CGameWindow> window_;
};

TEST_F(WindowX11, ShowActivatesAndPaintsAndHideRemovesTheWindow)
{
    EXPECT_FALSE(window_->GetHandle()->IsVisible());
    window_->Show();
    EXPECT_TRUE(window_->GetHandle()->IsVisible());
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_ACTIVE)));
    EXPECT_TRUE(WaitFor(Is(WM_PAINT, 0)));
    PaintSurface& surface = window_->GetHandle()->BeginPaint();
    EXPECT_EQ(surface.GetWidth(), 640);
    EXPECT_EQ(surface.GetHeight(), 480);
    window_->GetHandle()->EndPaint();
    window_->Hide();
    EXPECT_FALSE(window_->GetHandle()->IsVisible());
}

TEST_F(WindowX11, AnotherWindowTakingTheFocusDeactivates)
{
    ShowFocused();
    os::window::Window other("other");
    other.Show(true);
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_INACTIVE)));
    EXPECT_FALSE(window_->IsActive());
    window_->GetHandle()->Show(true);
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_ACTIVE)));
    EXPECT_TRUE(window_->IsActive());
}

TEST_F(WindowX11, LetterKeysGiveVirtualKeysAndCharacters)
{
    ShowFocused();
    input_.Tap(XK_a);
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, 'A')));
    const Message* down = Find(WM_KEYDOWN, 'A');
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->lParam & 0xFFFF, 1);
    EXPECT_EQ(down->lParam & (KF_REPEAT_BIT | KF_UP_BIT | KF_ALTDOWN_BIT | KF_EXTENDED_BIT), 0);
    EXPECT_NE(Find(WM_CHAR, 'a'), nullptr);
    const Message* up = Find(WM_KEYUP, 'A');
    EXPECT_EQ(up->lParam & (KF_REPEAT_BIT | KF_UP_BIT), KF_REPEAT_BIT | KF_UP_BIT);

    recorder_.messages.clear();
    input_.Key(XK_Shift_L, true);
    input_.Tap(XK_b);
    input_.Key(XK_Shift_L, false);
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, VK_SHIFT)));
    EXPECT_NE(Find(WM_KEYDOWN, VK_SHIFT), nullptr);
    EXPECT_NE(Find(WM_KEYDOWN, 'B'), nullptr);
    EXPECT_NE(Find(WM_CHAR, 'B'), nullptr);
}

TEST_F(WindowX11, ControlKeysAndTheirCharacters)
{
    ShowFocused();
    input_.Tap(XK_Return);
    input_.Tap(XK_Escape);
    input_.Tap(XK_Left);
    input_.Tap(XK_Pause);
    input_.Tap(XK_F1);
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, VK_F1)));
    EXPECT_NE(Find(WM_KEYDOWN, VK_RETURN), nullptr);
    EXPECT_NE(Find(WM_CHAR, 0x0D), nullptr);
    EXPECT_NE(Find(WM_KEYDOWN, VK_ESCAPE), nullptr);
    EXPECT_NE(Find(WM_CHAR, 0x1B), nullptr);
    const Message* left = Find(WM_KEYDOWN, VK_LEFT);
    ASSERT_NE(left, nullptr);
    EXPECT_NE(left->lParam & KF_EXTENDED_BIT, 0);
    EXPECT_NE(Find(WM_KEYDOWN, VK_PAUSE), nullptr);
    EXPECT_NE(Find(WM_KEYDOWN, VK_F1), nullptr);
    EXPECT_EQ(Count(WM_CHAR), 2);
}

TEST_F(WindowX11, AltKeysAreSystemKeysAndAltEnterIsASystemKeyDownOfReturn)
{
    ShowFocused();
    input_.Key(XK_Alt_L, true);
    input_.Tap(XK_Return);
    input_.Tap(XK_a);
    input_.Key(XK_Alt_L, false);
    ASSERT_TRUE(WaitFor(Is(WM_SYSKEYUP, VK_MENU)));
    EXPECT_NE(Find(WM_SYSKEYDOWN, 'A'), nullptr);
    EXPECT_NE(Find(WM_SYSCHAR, 'a'), nullptr); // not a character for text fields
    const Message* alt = Find(WM_SYSKEYDOWN, VK_MENU);
    ASSERT_NE(alt, nullptr);
    EXPECT_NE(alt->lParam & KF_ALTDOWN_BIT, 0);
    const Message* enter = Find(WM_SYSKEYDOWN, VK_RETURN);
    ASSERT_NE(enter, nullptr);
    EXPECT_NE(enter->lParam & KF_ALTDOWN_BIT, 0);
    EXPECT_EQ(Find(WM_KEYDOWN, VK_RETURN), nullptr);
    EXPECT_EQ(Count(WM_CHAR), 0);
}

TEST_F(WindowX11, AltF4ClosesDestroysAndQuits)
{
    korvane::CMainWindowListener main;
    window_->AddListener(&main);
    ShowFocused();
    input_.Key(XK_Alt_L, true);
    input_.Tap(XK_F4);
    input_.Key(XK_Alt_L, false);
    ASSERT_TRUE(WaitFor(Is(WM_DESTROY, 0)));
    EXPECT_NE(Find(WM_SYSKEYDOWN, VK_F4), nullptr);
    EXPECT_NE(Find(WM_CLOSE, 0), nullptr);
    Settle();
    ASSERT_EQ(quits_.size(), 1u);
    EXPECT_EQ(quits_[0].wParam, 0u);
    EXPECT_FALSE(window_->GetHandle()->IsVisible());
    window_->RemoveListener(&main);
}

TEST_F(WindowX11, MouseMovesButtonsAndWheel)
{
    ShowFocused();
    int x = 0, y = 0;
    window_->GetHandle()->GetPosition(x, y);
    // Start from elsewhere: the pointer may already rest on the target from an earlier run.
    input_.MoveTo(x + 3, y + 4);
    input_.MoveTo(x + 10, y + 20);
    ASSERT_TRUE(WaitFor([](const Message& m)
                        { return m.message == WM_MOUSEMOVE && m.lParam == MakeLParam(10, 20); }));

    input_.Button(1, true);
    input_.Button(1, false);
    input_.Button(1, true); // a double click is two button-downs
    input_.Button(1, false);
    input_.Button(3, true);
    input_.Button(3, false);
    input_.Button(2, true);
    input_.Button(2, false);
    input_.Button(4, true); // wheel away from the user
    input_.Button(4, false);
    ASSERT_TRUE(WaitFor([](const Message& m) { return m.message == WM_MOUSEWHEEL; }));
    EXPECT_EQ(Count(WM_LBUTTONDOWN), 2);
    EXPECT_EQ(Count(WM_LBUTTONUP), 2);
    EXPECT_EQ(Count(WM_LBUTTONDBLCLK), 0);
    const Message* left = Find(WM_LBUTTONDOWN, MK_LBUTTON);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->lParam, MakeLParam(10, 20));
    EXPECT_NE(Find(WM_LBUTTONUP, 0), nullptr);
    EXPECT_NE(Find(WM_RBUTTONDOWN, MK_RBUTTON), nullptr);
    EXPECT_NE(Find(WM_MBUTTONDOWN, MK_MBUTTON), nullptr);
    const Message* wheel = nullptr;
    for (const Message& m : recorder_.messages)
        if (m.message == WM_MOUSEWHEEL)
            wheel = &m;
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(static_cast<std::int16_t>(HiWord(wheel->wParam)), 120);
    EXPECT_EQ(wheel->lParam, MakeLParam(x + 10, y + 20)); // screen coordinates
}

TEST_F(WindowX11, ResizingSendsTheNewClientSize)
{
    ShowFocused();
    window_->SetClientSize(800, 600);
    ASSERT_TRUE(
        WaitFor([](const Message& m) { return m.message == WM_SIZE && m.lParam == MakeLParam(800, 600); }));
    const Message* size = Find(WM_SIZE, SIZE_RESTORED);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(window_->GetClientWidth(), 800);
    EXPECT_EQ(window_->GetClientHeight(), 600);
}

TEST_F(WindowX11, FullScreenAndBack)
{
    window_->SetClientSize(800, 600);
    ShowFocused();
    window_->SetFullScreen(true);
    Settle();
    EXPECT_TRUE(window_->GetHandle()->IsVisible());
    EXPECT_FALSE(window_->GetHandle()->GetStyle().framed);
    int x = -1, y = -1;
    window_->GetHandle()->GetPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(window_->GetClientWidth(), 800);

    window_->SetFullScreen(false);
    Settle();
    EXPECT_TRUE(window_->GetHandle()->IsVisible());
    EXPECT_TRUE(window_->GetHandle()->GetStyle().framed);
    window_->GetHandle()->GetPosition(x, y);
    EXPECT_EQ(x, 1920 / 2 - 400);
    EXPECT_EQ(y, 1080 / 2 - 300);
    EXPECT_EQ(window_->GetClientHeight(), 600);
}

TEST_F(WindowX11, TitleReachesTheServer)
{
    window_->SetTitle("Korvane Test Title");
    window_->Show();
    char* name = nullptr;
    ASSERT_NE(input_.fetchName(input_.display, XWindow(), &name), 0);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Korvane Test Title");
    input_.xfree(name);
}

TEST_F(WindowX11, CloseRequestFromTheWindowManagerBecomesCloseThenDestroy)
{
    korvane::CMainWindowListener main;
    window_->AddListener(&main);
    ShowFocused();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = XWindow();
    event.xclient.message_type = input_.internAtom(input_.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(input_.internAtom(input_.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    input_.sendEvent(input_.display, XWindow(), False, NoEventMask, &event);
    input_.sync(input_.display, False);
    ASSERT_TRUE(WaitFor(Is(WM_DESTROY, 0)));
    ASSERT_GE(recorder_.messages.size(), 2u);
    EXPECT_EQ(recorder_.messages[recorder_.messages.size() - 2].message, WM_CLOSE);
    Settle();
    EXPECT_EQ(quits_.size(), 1u);
    window_->RemoveListener(&main);
}

TEST_F(WindowX11, RawEventsReachTheHooksBeforeTheMessages)
{
    ShowFocused();
    std::vector<std::uint32_t> seen;
    std::size_t messagesAtKey = 0;
    const int id = AddRawEventHandler(
        [&](const SDL_Event& event)
        {
            if (event.type == SDL_KEYDOWN)
            {
                seen.push_back(event.type);
                messagesAtKey = recorder_.messages.size();
            }
        });
    input_.Tap(XK_z);
    ASSERT_TRUE(WaitFor(Is(WM_KEYDOWN, 'Z')));
    RemoveRawEventHandler(id);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(messagesAtKey, 0u);
}

} // namespace
