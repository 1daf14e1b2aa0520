/** @file WindowX11Test.cpp The game window on a real X server: styles, sizes, title, X input; and SDL events
 * pushed into the pump and the window messages they become. */
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <X11/Xlib.h>

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/core/MainWindowListener.h"
#include "os/Values.h"
#include "os/system/System.h"
#include "os/window/EventHooks.h"
#include "os/window/MessageQueue.h"
#include "os/window/PaintSurface.h"
#include "os/window/Window.h"

namespace
{

using namespace os::window;
using korvane::CGameWindow;
using ostest::V;

using MessageKinds = std::vector<std::pair<std::uint32_t, WParam>>;

// Each message as its number and word parameter, for comparing whole sequences.
MessageKinds Kinds(const std::vector<Message>& messages)
{
    MessageKinds kinds;
    for (const Message& m : messages)
        kinds.emplace_back(m.message, m.wParam);
    return kinds;
}

/// Presses keys and buttons on the X server through XTest, as a user would; returns when they are sent.
bool Xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

/// How long a test waits for what it asked the X server for before it fails: a bound, never a pace, wide
/// enough for a sanitizer build on a busy machine.
constexpr std::chrono::seconds kEventLimit{120};

/// Lets the X server finish every request of SDL's connection: what they produce is then in SDL's reach.
void SyncWithServer(SDL_Window* window)
{
    static void* const x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(x11 && SDL_GetWindowWMInfo(window, &info)) << SDL_GetError();
    reinterpret_cast<int (*)(Display*, Bool)>(dlsym(x11, "XSync"))(info.info.x11.display, False);
}

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
        ASSERT_TRUE(Xdotool("version > /dev/null")) << "needs xdotool";
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
    // so this blocks on the event queue until the next message, up to the limit.
    bool WaitFor(const std::function<bool(const Message&)>& match)
    {
        using namespace std::chrono;
        const auto deadline = steady_clock::now() + kEventLimit;
        for (std::size_t checked = 0;;) {
            DispatchAll();
            for (; checked < recorder_.messages.size(); ++checked)
                if (match(recorder_.messages[checked]))
                    return true;
            const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
            if (left <= 0)
                return false;
            WaitMessageTimeout(static_cast<int>(left));
        }
    }
    // Lets the X server finish every request of SDL's connection and dispatches what that
    // produced, so that the window's state and messages are complete without waiting blindly.
    void Settle()
    {
        ASSERT_NO_FATAL_FAILURE(SyncWithServer(window_->GetHandle()->GetSDLWindow()));
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
    Recorder recorder_;
    std::vector<Message> quits_;
    std::unique_ptr<CGameWindow> window_;
};

TEST_F(WindowX11, ShowFocusInputResizingFullScreenHideAndAltF4GiveTheirMessagesAndStates)
{
    EXPECT_FALSE(window_->GetHandle()->IsVisible()); // created hidden on the real display too
    window_->Show();
    EXPECT_TRUE(window_->GetHandle()->IsVisible());
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_ACTIVE)) && WaitFor(Is(WM_PAINT, 0)));
    PaintSurface& surface = window_->GetHandle()->BeginPaint();
    EXPECT_EQ(V(surface.GetWidth(), surface.GetHeight()), V(640, 480));
    window_->GetHandle()->EndPaint();

    os::window::Window other("other");
    other.Show(true);
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_INACTIVE)) && !window_->IsActive());
    window_->GetHandle()->Show(true);
    EXPECT_TRUE(WaitFor(Is(WM_ACTIVATE, WA_ACTIVE)) && window_->IsActive());
    window_->Hide();
    EXPECT_FALSE(window_->GetHandle()->IsVisible());

    // Keys, the mouse and the wheel give their messages; resizing and full screen keep the client size.
    ShowFocused();
    // Letter and control keys give virtual keys and characters, after the raw event hooks.
    // Raw events reach the hooks before the messages.
    std::vector<std::size_t> messagesAtKey;
    const int id = AddRawEventHandler([&](const SDL_Event& event) {
        if (event.type == SDL_KEYDOWN)
            messagesAtKey.push_back(recorder_.messages.size());
    });
    // Each group is waited for before the next, as a typist's keys come.
    ASSERT_TRUE(Xdotool("key a"));
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, 'A')));
    RemoveRawEventHandler(id);
    EXPECT_EQ(messagesAtKey, std::vector<std::size_t>{0});
    ASSERT_TRUE(Xdotool("key shift+b Return Escape Left Pause F1"));
    ASSERT_TRUE(WaitFor(Is(WM_KEYUP, VK_F1)));
    const std::pair<std::uint32_t, WParam> keys[] = {
        {WM_KEYDOWN, 'A'},      {WM_CHAR, 'a'},       {WM_KEYDOWN, VK_SHIFT},  {WM_KEYDOWN, 'B'},
        {WM_CHAR, 'B'},         {WM_KEYUP, VK_SHIFT}, {WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_ESCAPE},
        {WM_KEYDOWN, VK_PAUSE}, {WM_CHAR, '\r'},      {WM_CHAR, '\x1b'},       {WM_KEYDOWN, VK_LEFT}};
    for (const auto& [message, key] : keys)
        ASSERT_NE(Find(message, key), nullptr) << message << " " << key;
    EXPECT_EQ(Count(WM_CHAR), 4);
    EXPECT_EQ(Find(WM_KEYDOWN, 'A')->lParam & (0xFFFF | KF_REPEAT_BIT | KF_UP_BIT | KF_ALTDOWN_BIT), 1);

    // Mouse moves, buttons and the wheel.
    int x = 0, y = 0;
    window_->GetHandle()->GetPosition(x, y);
    // Start from elsewhere: the pointer may already rest on the target from an earlier run.
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(x + 3) + " " + std::to_string(y + 4) + " mousemove " +
                        std::to_string(x + 10) + " " + std::to_string(y + 20)));
    ASSERT_TRUE(WaitFor([](const Message& m) { return m.message == WM_MOUSEMOVE && m.lParam == MakeLParam(10, 20); }));

    // A double click is two button-downs; button 4 turns the wheel one notch away from the user.
    ASSERT_TRUE(Xdotool("click 1 click 1 click 3 click 2 click 4"));
    ASSERT_TRUE(WaitFor([](const Message& m) { return m.message == WM_MOUSEWHEEL; }));
    EXPECT_EQ(V(Count(WM_LBUTTONDOWN), Count(WM_LBUTTONUP), Count(WM_LBUTTONDBLCLK)), V(2, 2, 0));
    const Message *left = Find(WM_LBUTTONDOWN, MK_LBUTTON), *wheel = Find(WM_MOUSEWHEEL, WParam(120) << 16);
    ASSERT_TRUE(left && wheel && Find(WM_LBUTTONUP, 0) && Find(WM_RBUTTONDOWN, MK_RBUTTON) &&
                Find(WM_MBUTTONDOWN, MK_MBUTTON));
    EXPECT_EQ(V(left->lParam, wheel->lParam),
              V(MakeLParam(10, 20), MakeLParam(x + 10, y + 20))); // the wheel's on the screen

    // Resizing sends the new client size, and full screen keeps it.
    window_->SetClientSize(800, 600);
    ASSERT_TRUE(WaitFor([](const Message& m) { return m.message == WM_SIZE && m.lParam == MakeLParam(800, 600); }));
    EXPECT_NE(Find(WM_SIZE, SIZE_RESTORED), nullptr);
    for (const bool full : {true, false}) {
        window_->SetFullScreen(full);
        Settle();
        window_->GetHandle()->GetPosition(x, y);
        EXPECT_EQ(V(window_->GetHandle()->IsVisible(), window_->GetHandle()->GetStyle().framed, x, y,
                    window_->GetClientWidth(), window_->GetClientHeight()),
                  full ? V(true, false, 0, 0, 800, 600) : V(true, true, 1920 / 2 - 400, 1080 / 2 - 300, 800, 600));
    }

    // Alt+F4 on a focused window with the main listener: the close, then the destruction, then one quit.
    korvane::CMainWindowListener main;
    window_->AddListener(&main);
    ShowFocused();
    ASSERT_TRUE(Xdotool("key alt+F4"));
    ASSERT_TRUE(WaitFor(Is(WM_DESTROY, 0)));
    EXPECT_NE(Find(WM_SYSKEYDOWN, VK_F4), nullptr); // so at least two messages came
    EXPECT_EQ(Kinds({recorder_.messages.end() - 2, recorder_.messages.end()}),
              (MessageKinds{{WM_CLOSE, 0}, {WM_DESTROY, 0}}));
    Settle();
    EXPECT_EQ(Kinds(quits_), (MessageKinds{{WM_QUIT, 0}}));
    EXPECT_FALSE(window_->GetHandle()->IsVisible());
    window_->RemoveListener(&main);
}

class EventTranslation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetWindowMessageQueue();
        window_ = std::make_unique<os::window::Window>("translation");
        ASSERT_TRUE(window_->IsCreated()) << os::system::GetLastErrorText();
        window_->SetProc([this](os::window::Window& w, std::uint32_t message, WParam wParam, LParam lParam) -> LResult {
            received_.push_back({&w, message, wParam, lParam});
            return DefWindowProc(&w, message, wParam, lParam);
        });
        PumpEvents();
        os::testing::ResetWindowMessageQueue();
    }
    void TearDown() override
    {
        window_.reset();
        os::testing::ResetWindowMessageQueue();
    }

    // Pushes the events, pumps them and returns the queued messages of the window (WM_PAINT aside unless asked for).
    std::vector<Message> Translate(std::vector<SDL_Event> events, bool paints = false)
    {
        for (SDL_Event& event : events)
            SDL_PushEvent(&event);
        std::vector<Message> out;
        for (Message message; PeekMessage(message, true);)
            if ((paints || message.message != WM_PAINT) && message.window == window_.get())
                out.push_back(message);
        return out;
    }
    SDL_Event Key(SDL_Scancode code, SDL_Keycode sym, bool down, Uint16 mod = KMOD_NONE, bool repeat = false)
    {
        SDL_Event e{};
        e.key = {down ? SDL_KEYDOWN : SDL_KEYUP, 0, window_->GetId(), down, repeat, 0, 0, {code, sym, mod, 0}};
        return e;
    }
    SDL_Event WindowEvent(SDL_WindowEventID id)
    {
        SDL_Event e{};
        e.window = {SDL_WINDOWEVENT, 0, window_->GetId(), static_cast<Uint8>(id), 0, 0, 0, 0, 0};
        return e;
    }

    std::unique_ptr<os::window::Window> window_;
    std::vector<Message> received_;
};

// System keys are Alt without Control, and F10.
TEST_F(EventTranslation, KeysTextWheelsExposuresPostsWindowEventsAndTheTerminationRequestBecomeMessages)
{
    auto m =
        Translate({Key(SDL_SCANCODE_KP_5, SDLK_KP_5, true), Key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, true),
                   Key(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, true), Key(SDL_SCANCODE_3, SDLK_3, true),
                   Key(SDL_SCANCODE_SPACE, SDLK_SPACE, true, KMOD_NONE, true),
                   Key(SDL_SCANCODE_DELETE, SDLK_DELETE, false), Key(SDL_SCANCODE_X, SDLK_x, true, KMOD_LALT),
                   Key(SDL_SCANCODE_X, SDLK_x, true, KMOD_LALT | KMOD_LCTRL), Key(SDL_SCANCODE_F10, SDLK_F10, true),
                   Key(SDL_SCANCODE_F10, SDLK_F10, false), Key(SDL_SCANCODE_RALT, SDLK_RALT, false)});
    const MessageKinds keys = {
        {WM_KEYDOWN, VK_NUMPAD0 + 5}, {WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_OEM_1}, {WM_KEYDOWN, '3'},
        {WM_KEYDOWN, VK_SPACE},       {WM_KEYUP, VK_DELETE},   {WM_SYSKEYDOWN, 'X'},   {WM_KEYDOWN, 'X'},
        {WM_SYSKEYDOWN, VK_F10},      {WM_SYSKEYUP, VK_F10},   {WM_SYSKEYUP, VK_MENU}};
    ASSERT_EQ(Kinds(m), keys);
    EXPECT_EQ(
        V(m[1].lParam & KF_EXTENDED_BIT, m[4].lParam, m[5].lParam, m[6].lParam, m[8].lParam & KF_ALTDOWN_BIT),
        V(KF_EXTENDED_BIT, 1 | KF_REPEAT_BIT, 1 | KF_EXTENDED_BIT | KF_REPEAT_BIT | KF_UP_BIT, 1 | KF_ALTDOWN_BIT, 0));

    // A flipped wheel and a horizontal one.
    SDL_Event wheel{};
    wheel.wheel = {SDL_MOUSEWHEEL, 0, window_->GetId(), 0, -1, 2, SDL_MOUSEWHEEL_FLIPPED, 0.0f, 0.0f, 0, 0};
    // Deltas in the high word: 2 notches flipped towards the user, one to the right.
    EXPECT_EQ(Kinds(Translate({wheel})),
              (MessageKinds{{WM_MOUSEWHEEL, WParam(std::uint16_t(-240)) << 16}, {WM_MOUSEHWHEEL, WParam(120) << 16}}));

    // Text becomes one character per code point.
    SDL_Event e{};
    e.text.type = SDL_TEXTINPUT;
    e.text.windowID = window_->GetId();
    std::strcpy(e.text.text, "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80");
    EXPECT_EQ(Kinds(Translate({e})),
              (MessageKinds{{WM_CHAR, 0x61}, {WM_CHAR, 0xE9}, {WM_CHAR, 0x3042}, {WM_CHAR, 0x1F600}}));
    std::strcpy(e.text.text, "\xC3x\xFF"); // the broken sequences are skipped
    EXPECT_EQ(Kinds(Translate({e})), (MessageKinds{{WM_CHAR, 'x'}}));

    // Typed with Alt the character is a system character; the next plain key types again.
    std::strcpy(e.text.text, "q");
    m = Translate({Key(SDL_SCANCODE_Q, SDLK_q, true, KMOD_LALT), e, Key(SDL_SCANCODE_Q, SDLK_q, true), e});
    EXPECT_EQ(Kinds(m), (MessageKinds{{WM_SYSKEYDOWN, 'Q'}, {WM_SYSCHAR, 'q'}, {WM_KEYDOWN, 'Q'}, {WM_CHAR, 'q'}}));

    // Exposure asks for one paint when nothing else waits; a post from another thread wakes the wait.
    // Only visible windows are painted: show it and let the server's own exposure pass.
    window_->Show(false);
    ASSERT_NO_FATAL_FAILURE(SyncWithServer(window_->GetSDLWindow()));
    Translate({});
    PostMessage(window_.get(), 0x0400, 0, 0);
    EXPECT_EQ(Kinds(Translate({WindowEvent(SDL_WINDOWEVENT_EXPOSED)}, true)),
              (MessageKinds{{0x0400, 0}, {WM_PAINT, 0}}));
    window_->Invalidate();
    window_->Invalidate();
    EXPECT_EQ(Kinds(Translate({}, true)), (MessageKinds{{WM_PAINT, 0}}));

    // A post from another thread wakes the wait.
    std::thread poster([] { PostQuitMessage(7); });
    WaitMessage();
    poster.join();
    Message message;
    ASSERT_TRUE(PeekMessage(message, true));
    EXPECT_EQ(V(message.message, message.wParam), V(WM_QUIT, 7));

    // Window events and the termination request become size, activate and close.
    window_->SetStyle(WindowStyle{true, true, true});
    m = Translate({WindowEvent(SDL_WINDOWEVENT_MAXIMIZED), WindowEvent(SDL_WINDOWEVENT_MINIMIZED),
                   WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED),
                   WindowEvent(SDL_WINDOWEVENT_CLOSE)});
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(Kinds({m[0], m[1], m[4]}),
              (MessageKinds{{WM_SIZE, SIZE_MAXIMIZED}, {WM_SIZE, SIZE_MINIMIZED}, {WM_CLOSE, 0}}));
    int width = 0, height = 0;
    window_->GetClientSize(width, height);
    EXPECT_EQ(m[0].lParam, MakeLParam(width, height));
    EXPECT_EQ(V(m[2].message, LoWord(m[2].wParam), m[3].message, LoWord(m[3].wParam)),
              V(WM_ACTIVATE, WA_INACTIVE, WM_ACTIVATE, WA_ACTIVE));

    // The plain full-screen look is never "maximised" for the engine.
    window_->SetStyle(WindowStyle{});
    EXPECT_TRUE(Translate({WindowEvent(SDL_WINDOWEVENT_MAXIMIZED)}).empty());

    // A termination request closes the window.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    m = Translate({quit});
    ASSERT_EQ(Kinds(m), (MessageKinds{{WM_CLOSE, 0}}));
    received_.clear();
    DispatchMessage(m[0]);
    EXPECT_EQ(Kinds(received_), (MessageKinds{{WM_CLOSE, 0}, {WM_DESTROY, 0}}));
    EXPECT_TRUE(window_->IsDestroyed());
    // A destroyed window takes no more messages.
    EXPECT_TRUE(Translate({WindowEvent(SDL_WINDOWEVENT_CLOSE)}).empty());
}

} // namespace
