/** @file EventTranslationTest.cpp SDL events pushed into the pump and the window messages they become. */
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <thread>
#include <vector>

#include "os/Values.h"
#include "os/system/System.h"
#include "os/window/MessageQueue.h"
#include "os/window/Window.h"

namespace
{

using namespace os::window;
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

class EventTranslation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetWindowMessageQueue();
        window_ = std::make_unique<Window>("translation");
        ASSERT_TRUE(window_->IsCreated()) << os::system::GetLastErrorText();
        window_->SetProc([this](Window& w, std::uint32_t message, WParam wParam, LParam lParam) -> LResult {
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

    std::unique_ptr<Window> window_;
    std::vector<Message> received_;
};

// System keys are Alt without Control, and F10.
TEST_F(EventTranslation, KeysTextAndWheelsBecomeVirtualKeysWithTheirFlagsCharactersAndDeltas)
{
    auto m =
        Translate({Key(SDL_SCANCODE_KP_5, SDLK_KP_5, true), Key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, true),
                   Key(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, true), Key(SDL_SCANCODE_3, SDLK_3, true),
                   Key(SDL_SCANCODE_SPACE, SDLK_SPACE, true, KMOD_NONE, true),
                   Key(SDL_SCANCODE_DELETE, SDLK_DELETE, false), Key(SDL_SCANCODE_X, SDLK_x, true, KMOD_LALT),
                   Key(SDL_SCANCODE_X, SDLK_x, true, KMOD_LALT | KMOD_LCTRL), Key(SDL_SCANCODE_F10, SDLK_F10, true),
                   Key(SDL_SCANCODE_F10, SDLK_F10, false), Key(SDL_SCANCODE_RALT, SDLK_RALT, false)});
    ASSERT_EQ(Kinds(m), (MessageKinds{{WM_KEYDOWN, VK_NUMPAD0 + 5},
                                      {WM_KEYDOWN, VK_RETURN},
                                      {WM_KEYDOWN, VK_OEM_1},
                                      {WM_KEYDOWN, '3'},
                                      {WM_KEYDOWN, VK_SPACE},
                                      {WM_KEYUP, VK_DELETE},
                                      {WM_SYSKEYDOWN, 'X'},
                                      {WM_KEYDOWN, 'X'},
                                      {WM_SYSKEYDOWN, VK_F10},
                                      {WM_SYSKEYUP, VK_F10},
                                      {WM_SYSKEYUP, VK_MENU}}));
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
}

TEST_F(EventTranslation, WindowEventsAndTheTerminationRequestBecomeSizeActivateAndClose)
{
    window_->SetStyle(WindowStyle{true, true, true});
    auto m = Translate({WindowEvent(SDL_WINDOWEVENT_MAXIMIZED), WindowEvent(SDL_WINDOWEVENT_MINIMIZED),
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

TEST_F(EventTranslation, ExposureAsksForOnePaintWhenNothingElseWaitsAndAPostFromAnotherThreadWakesTheWait)
{
    // Only visible windows are painted: show it and let the server's own exposure pass.
    window_->Show(false);
    while (WaitMessageTimeout(100))
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
}

} // namespace
