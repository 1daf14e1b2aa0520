/** @file WindowX11Test.cpp The game window on a real X server: styles, sizes, title, X input. */
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
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
// clang-format off
#define KORVANE_X_FUNCTIONS(F)                                                                             \
    F(x11, XOpenDisplay) F(x11, XCloseDisplay) F(x11, XKeysymToKeycode) F(x11, XSync) F(x11, XInternAtom)  \
    F(x11, XSendEvent) F(x11, XFetchName) F(x11, XFree)                                                    \
    F(xtst, XTestFakeKeyEvent) F(xtst, XTestFakeButtonEvent) F(xtst, XTestFakeMotionEvent)
// clang-format on

struct XInput
{
#define KORVANE_X_MEMBER(lib, name) decltype(&::name) name = nullptr;
    KORVANE_X_FUNCTIONS(KORVANE_X_MEMBER)
#undef KORVANE_X_MEMBER
    void* x11 = nullptr;
    void* xtst = nullptr;
    Display* display = nullptr;

    bool Open()
    {
        x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        xtst = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!x11 || !xtst)
            return false;
#define KORVANE_X_LOAD(lib, name)                                                                                      \
    if (!(name = reinterpret_cast<decltype(name)>(dlsym(lib, #name))))                                                 \
        return false;
        KORVANE_X_FUNCTIONS(KORVANE_X_LOAD)
#undef KORVANE_X_LOAD
        display = XOpenDisplay(nullptr);
        return display != nullptr;
    }
    ~XInput()
    {
        if (display)
            XCloseDisplay(display);
        if (xtst)
            dlclose(xtst);
        if (x11)
            dlclose(x11);
    }

    void Key(KeySym sym, bool press)
    {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), press ? True : False, CurrentTime);
        XSync(display, False);
    }
    void Tap(KeySym sym)
    {
        Key(sym, true);
        Key(sym, false);
    }
    void Click(unsigned button)
    {
        for (Bool press : {True, False})
            XTestFakeButtonEvent(display, button, press, CurrentTime);
        XSync(display, False);
    }
    void MoveTo(int x, int y)
    {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XSync(display, False);
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
        window_ =
            std::make_unique<CGameWindow>(nullptr, "KorvaneWnd", "Korvane Application", nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_->GetHandle()->IsCreated());
        window_->AddListener(&recorder_);
    }
    void TearDown() override
    {
        window_.reset();
        os::testing::ResetWindowMessageQueue();
    }

    // Dispatches what is queued as the loop does, keeping the quit messages.
    void DispatchAll()
    {
        Message message;
        while (PeekMessage(message, true)) {
            if (message.message == WM_QUIT)
                quits_.push_back(message);
            TranslateMessage(message);
            DispatchMessage(message);
        }
    }
    // Dispatches messages until one satisfies the predicate; X input arrives asynchronously,
    // so this waits on the event queue with a deadline instead of sleeping.
    bool WaitFor(const std::function<bool(const Message&)>& match)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        for (std::size_t checked = 0; std::chrono::steady_clock::now() < deadline; WaitMessageTimeout(20)) {
            DispatchAll();
            for (; checked < recorder_.messages.size(); ++checked)
                if (match(recorder_.messages[checked]))
                    return true;
        }
        return false;
    }
    SDL_SysWMinfo WMInfo() const
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        EXPECT_TRUE(SDL_GetWindowWMInfo(window_->GetHandle()->GetSDLWindow(), &info)) << SDL_GetError();
        return info;
    }
    // Lets the X server finish every request of SDL's connection and dispatches what that
    // produced, so that the window's state and messages are complete without waiting blindly.
    void Settle()
    {
        input_.XSync(WMInfo().info.x11.display, False);
        DispatchAll();
    }
    static std::function<bool(const Message&)> Is(std::uint32_t message, WParam wParam)
    {
        return [=](const Message& m) { return m.message == message && m.wParam == wParam; };
    }
    const Message* Find(std::uint32_t message, WParam wParam) const
    {
        const auto& all = recorder_.messages;
        const auto found = std::find_if(all.begin(), all.end(), Is(message, wParam));
        return found == all.end() ? nullptr : &*found;
    }
    long Count(std::uint32_t message) const
    {
        return std::count_if(recorder_.messages.begin(), recorder_.messages.end(),
                             [=](const Message& m) { return m.message == message; });
    }
    // Shows the window and waits until it has the keyboard.
    void ShowFocused()
    {
        window_->Show();
        ASSERT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_ACTIVE)));
        ASSERT_TRUE(window_->IsActive());
        recorder_.messages.clear();
    }
    // Has the main listener on a focused window, closes it through `request` and expects the
    // close, then the destruction, then one quit message.
    void ExpectClosedBy(const std::function<void()>& request)
    {
        korvane::CMainWindowListener main;
        window_->AddListener(&main);
        ShowFocused();
        request();
        ASSERT_TRUE(WaitFor(Is(WM_DESTROY, 0)));
        ASSERT_GE(recorder_.messages.size(), 2u);
        EXPECT_TRUE(Is(WM_CLOSE, 0)(recorder_.messages[recorder_.messages.size() - 2]));
        Settle();
        ASSERT_EQ(quits_.size(), 1u);
        EXPECT_EQ(quits_[0].wParam, 0u);
        EXPECT_FALSE(window_->GetHandle()->IsVisible());
        window_->RemoveListener(&main);
    }

    XInput input_;
    Recorder recorder_;
    std::vector<Message> quits_;
    std::unique_ptr<CGameWindow> window_;
};

TEST_F(WindowX11, ShowActivatesAndPaintsAnotherWindowTakesTheFocusAndHideRemovesTheWindow)
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

    os::window::Window other("other");
    other.Show(true);
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_INACTIVE)));
    EXPECT_FALSE(window_->IsActive());
    window_->GetHandle()->Show(true);
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_ACTIVE)));
    EXPECT_TRUE(window_->IsActive());
    window_->Hide();
    EXPECT_FALSE(window_->GetHandle()->IsVisible());
}

TEST_F(WindowX11, LetterAndControlKeysGiveVirtualKeysAndCharacters)
{
    ShowFocused();
    input_.Tap(XK_a);
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, 'A')));
    const Message* down = Find(WM_KEYDOWN, 'A');
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->lParam & 0xFFFF, 1);
    EXPECT_EQ(down->lParam & (KF_REPEAT_BIT | KF_UP_BIT | KF_ALTDOWN_BIT | KF_EXTENDED_BIT), 0);
    EXPECT_NE(Find(WM_CHAR, 'a'), nullptr);
    EXPECT_EQ(Find(WM_KEYUP, 'A')->lParam & (KF_REPEAT_BIT | KF_UP_BIT), KF_REPEAT_BIT | KF_UP_BIT);

    recorder_.messages.clear();
    input_.Key(XK_Shift_L, true);
    input_.Tap(XK_b);
    input_.Key(XK_Shift_L, false);
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, VK_SHIFT)));
    EXPECT_NE(Find(WM_KEYDOWN, VK_SHIFT), nullptr);
    EXPECT_NE(Find(WM_KEYDOWN, 'B'), nullptr);
    EXPECT_NE(Find(WM_CHAR, 'B'), nullptr);

    recorder_.messages.clear();
    for (KeySym key : {XK_Return, XK_Escape, XK_Left, XK_Pause, XK_F1})
        input_.Tap(key);
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, VK_F1)));
    for (WParam key : {VK_RETURN, VK_ESCAPE, VK_PAUSE, VK_F1})
        EXPECT_NE(Find(WM_KEYDOWN, key), nullptr) << key;
    EXPECT_NE(Find(WM_CHAR, 0x0D), nullptr);
    EXPECT_NE(Find(WM_CHAR, 0x1B), nullptr);
    EXPECT_EQ(Count(WM_CHAR), 2);
    const Message* left = Find(WM_KEYDOWN, VK_LEFT);
    ASSERT_NE(left, nullptr);
    EXPECT_NE(left->lParam & KF_EXTENDED_BIT, 0);
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
    for (WParam key : {VK_MENU, VK_RETURN}) {
        const Message* down = Find(WM_SYSKEYDOWN, key);
        ASSERT_NE(down, nullptr) << key;
        EXPECT_NE(down->lParam & KF_ALTDOWN_BIT, 0) << key;
    }
    EXPECT_EQ(Find(WM_KEYDOWN, VK_RETURN), nullptr);
    EXPECT_EQ(Count(WM_CHAR), 0);
}

TEST_F(WindowX11, AltF4ClosesDestroysAndQuits)
{
    ExpectClosedBy([this] {
        input_.Key(XK_Alt_L, true);
        input_.Tap(XK_F4);
        input_.Key(XK_Alt_L, false);
    });
    EXPECT_NE(Find(WM_SYSKEYDOWN, VK_F4), nullptr);
}

TEST_F(WindowX11, CloseRequestFromTheWindowManagerBecomesCloseThenDestroy)
{
    ExpectClosedBy([this] {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = WMInfo().info.x11.window;
        event.xclient.message_type = input_.XInternAtom(input_.display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(input_.XInternAtom(input_.display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        input_.XSendEvent(input_.display, event.xclient.window, False, NoEventMask, &event);
        input_.XSync(input_.display, False);
    });
}

TEST_F(WindowX11, MouseMovesButtonsAndWheel)
{
    ShowFocused();
    int x = 0, y = 0;
    window_->GetHandle()->GetPosition(x, y);
    // Start from elsewhere: the pointer may already rest on the target from an earlier run.
    input_.MoveTo(x + 3, y + 4);
    input_.MoveTo(x + 10, y + 20);
    ASSERT_TRUE(WaitFor([](const Message& m) { return m.message == WM_MOUSEMOVE && m.lParam == MakeLParam(10, 20); }));

    // A double click is two button-downs; button 4 turns the wheel away from the user.
    for (unsigned button : {1, 1, 3, 2, 4})
        input_.Click(button);
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
    // One notch away from the user, no button held, at screen coordinates.
    const Message* wheel = Find(WM_MOUSEWHEEL, WParam(120) << 16);
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(wheel->lParam, MakeLParam(x + 10, y + 20));
}

TEST_F(WindowX11, ResizingSendsTheNewClientSizeAndFullScreenKeepsIt)
{
    ShowFocused();
    window_->SetClientSize(800, 600);
    ASSERT_TRUE(WaitFor([](const Message& m) { return m.message == WM_SIZE && m.lParam == MakeLParam(800, 600); }));
    EXPECT_NE(Find(WM_SIZE, SIZE_RESTORED), nullptr);
    EXPECT_EQ(window_->GetClientWidth(), 800);
    EXPECT_EQ(window_->GetClientHeight(), 600);

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
    ASSERT_NE(input_.XFetchName(input_.display, WMInfo().info.x11.window, &name), 0);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Korvane Test Title");
    input_.XFree(name);
}

TEST_F(WindowX11, RawEventsReachTheHooksBeforeTheMessages)
{
    ShowFocused();
    std::vector<std::size_t> messagesAtKey;
    const int id = AddRawEventHandler([&](const SDL_Event& event) {
        if (event.type == SDL_KEYDOWN)
            messagesAtKey.push_back(recorder_.messages.size());
    });
    input_.Tap(XK_z);
    ASSERT_TRUE(WaitFor(Is(WM_KEYDOWN, 'Z')));
    RemoveRawEventHandler(id);
    EXPECT_EQ(messagesAtKey, std::vector<std::size_t>{0});
}

} // namespace
