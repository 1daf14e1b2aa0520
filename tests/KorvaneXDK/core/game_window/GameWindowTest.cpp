/** @file GameWindowTest.cpp Listener dispatch, activation, default processing, styles and the driver base. */
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/GameApplicationDriver.h"
#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/core/Log.h"
#include "os/system/System.h"
#include "os/window/Cursor.h"
#include "os/window/Icon.h"
#include "os/window/MessageQueue.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace korvane::test
{
namespace
{

using namespace os::window;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct RecordingListener : IGameWindowListener
{
    bool handle = false;
    LResult result = 0;
    std::vector<std::uint32_t> messages;
    std::function<void(std::uint32_t)> onMessage;

    bool OnWindowMessage(CGameWindow*, std::uint32_t message, WParam, LParam, LResult* out) override
    {
        messages.push_back(message);
        if (onMessage)
            onMessage(message);
        if (handle)
            *out = result;
        return handle;
    }
};

// Empties the message queue when made and when gone: declared first, it brackets the test.
struct QueueReset
{
    QueueReset() { os::testing::ResetWindowMessageQueue(); }
    ~QueueReset() { os::testing::ResetWindowMessageQueue(); }
};

// A fresh hidden game window on an empty queue.
class GameWindowTest : public ::testing::Test
{
protected:
    LResult Send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0)
    {
        return SendMessage(window_.GetHandle(), message, wParam, lParam);
    }
    QueueReset reset_;
    CGameWindow window_{nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr};
};

TEST_F(GameWindowTest, CreatedHiddenAt640By480OnlyAShownWindowReachesItsListenersEachInTurnAndDeactivationClearsActive)
{
    ASSERT_TRUE(window_.GetHandle() && window_.GetHandle()->IsCreated() && window_.GetHandle()->GetSDLWindow());
    EXPECT_EQ(std::pair(window_.GetClientWidth(), window_.GetClientHeight()), std::pair(640, 480));
    EXPECT_EQ((std::vector<bool>{window_.GetHandle()->IsVisible(), window_.IsActive(), window_.IsFullScreen()}),
              (std::vector<bool>{false, true, false}));
    RecordingListener listener;
    listener.handle = true;
    window_.AddListener(&listener);
    Send(WM_KEYDOWN, VK_LEFT, 1);
    window_.Show();
    window_.Show(); // a second show changes nothing
    EXPECT_TRUE(window_.GetHandle()->IsVisible());
    Send(WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(listener.messages, std::vector<std::uint32_t>{WM_KEYDOWN});
    // Deactivation clears the active flag even when a listener handles it.
    const std::vector<std::pair<WParam, bool>> steps = {
        {WA_INACTIVE, false}, {WA_CLICKACTIVE | (1u << 16), true}, {WA_INACTIVE, false}, {WA_ACTIVE, true}};
    for (const auto& [state, active] : steps) {
        Send(WM_ACTIVATE, state);
        EXPECT_EQ(window_.IsActive(), active) << state;
    }
    window_.Hide();
    EXPECT_FALSE(window_.GetHandle()->IsVisible());
    Send(WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(listener.messages.size(), 5u);
    window_.RemoveListener(&listener);
    // Every listener is called, the last handler's result counts and removals take effect at once.
    RecordingListener a, b, c;
    auto calls = [&] { return std::vector{a.messages.size(), b.messages.size(), c.messages.size()}; };
    a.handle = true;
    a.result = 11;
    c.handle = true;
    c.result = 33;
    for (RecordingListener* added : {&a, &b, &c, &a}) // a is kept once
        window_.AddListener(added);
    EXPECT_THAT(window_.GetListeners(), ElementsAre(&a, &b, &c)); // called in this order
    window_.Show();
    EXPECT_EQ(Send(0x0400), 33);
    EXPECT_EQ(calls(), (std::vector<std::size_t>{1, 1, 1}));
    window_.RemoveListener(&c);
    window_.RemoveListener(&c); // not there: ignored
    EXPECT_EQ(Send(0x0400), 11);
    // A listener removed during the dispatch still gets that message, and no later one.
    a.onMessage = [&](std::uint32_t) { window_.RemoveListener(&b); };
    EXPECT_EQ(Send(0x0400), 11);
    EXPECT_EQ(calls(), (std::vector<std::size_t>{3, 3, 1}));
    EXPECT_EQ(Send(0x0400), 11);
    EXPECT_EQ(calls(), (std::vector<std::size_t>{4, 3, 1}));
}

TEST_F(GameWindowTest, TranslateQueuesControlCharactersBehindTheKeyAndTitleAndClampedSizeReachTheWindow)
{
    PostMessage(window_.GetHandle(), WM_KEYDOWN, VK_RETURN, 1);
    PostMessage(window_.GetHandle(), WM_KEYUP, VK_RETURN, 1 | KF_REPEAT_BIT | KF_UP_BIT);
    Message key, character, up;
    ASSERT_TRUE(PeekMessage(key, true));
    EXPECT_TRUE(TranslateMessage(key));
    ASSERT_TRUE(PeekMessage(character, true) && PeekMessage(up, true));
    EXPECT_EQ((std::vector<std::uint64_t>{character.message, character.wParam, up.message}),
              (std::vector<std::uint64_t>{WM_CHAR, 0x0D, WM_KEYUP}));
    // A letter key queues no character here: WindowX11.LetterAndControlKeysGiveVirtualKeysAndCharacters.
    EXPECT_FALSE(TranslateMessage(Message{window_.GetHandle(), WM_SYSKEYDOWN, VK_RETURN, 1}));
    // Title and client size reach the window, clamped; a hidden window only remembers full screen.
    window_.SetTitle("ゲーム [PAUSE]");
    EXPECT_EQ(window_.GetHandle()->GetTitle(), "ゲーム [PAUSE]");
    int screenWidth = 0, screenHeight = 0;
    window_.GetHandle()->GetScreenSize(screenWidth, screenHeight);
    ASSERT_GT(screenWidth, 0);
    window_.SetClientSize(screenWidth + 500, screenHeight + 300);
    EXPECT_EQ(std::pair(window_.GetClientWidth(), window_.GetClientHeight()), std::pair(screenWidth, screenHeight));
    window_.SetFullScreen(true);
    EXPECT_FALSE(window_.GetHandle()->IsVisible());
    window_.SetFullScreen(false);
    window_.SetResizable(true);
    window_.Show();
    EXPECT_EQ(std::pair(window_.GetHandle()->GetStyle().framed, window_.GetHandle()->GetStyle().resizable),
              std::pair(true, true));
}

TEST(GameApplicationDriver, TheBuiltInIconAndCursorAreOpaqueWhereDrawnAndClosingTheWindowEndsTheRunAndErrorsAreReported)
{
    const Bitmap& icon = GetProgramIcon()->GetImage();
    ASSERT_EQ(icon.GetWidth(), 32);
    const Cursor* cursor = GetProgramCursor();
    // The icon's corner lies outside its disc, its middle inside; the cursor's tip is outline.
    EXPECT_EQ((std::vector<std::uint32_t>{icon.GetPixel(0, 0) >> 24, icon.GetPixel(16, 16) >> 24,
                                          static_cast<std::uint32_t>(cursor->GetHotX()),
                                          cursor->GetImage().GetPixel(0, 0), cursor->GetImage().GetPixel(2, 8)}),
              (std::vector<std::uint32_t>{0, 0xFF, 0, 0xFF000000u, 0xFFFFFFFFu}));
    QueueReset reset;
    TempDir temp;
    LoggerInitialize(temp.File("driver.log"));
    std::vector<std::string> boxes;
    os::testing::SetMessageBoxSink(
        [&](const std::string& caption, const std::string& text) { boxes.push_back(caption + "|" + text); });
    LogCapture log;
    {
        CGameApplicationDriver driver(nullptr);
        EXPECT_EQ(log.Lines().front().rfind("INFO: ---- [ test_", 0), 0u); // the end: EntryTest
        EXPECT_EQ(log.CountContaining("Korvane Core library ver."), 1u);
        EXPECT_TRUE(driver.Initialize() && driver.IsInitialized());
        driver.SetTitle("My Game");
        EXPECT_EQ(driver.GetGameWindow()->GetHandle()->GetTitle(), "My Game");
        PostMessage(driver.GetGameWindow()->GetHandle(), WM_CLOSE, 0, 0);
        driver.Run();
        EXPECT_FALSE(driver.GetGameWindow()->GetHandle()->IsVisible());
        EXPECT_TRUE(log.HasLine("INFO: Application driver running...\n"));
        EXPECT_TRUE(log.HasLine("INFO: Application driver running finished.\n"));
    }
    {
        CGameApplicationDriver driver(nullptr);
        // Engine, standard and unknown exceptions are reported the same way, and the driver can run again.
        RecordingListener listener;
        listener.onMessage = [](std::uint32_t message) {
            if (message == 0x0400)
                throw EInvalidOperation(nullptr, "listener failed");
            if (message == 0x0401)
                throw std::runtime_error("standard failure");
            if (message == 0x0402)
                throw 42;
        };
        driver.GetGameWindow()->AddListener(&listener);
        for (std::uint32_t message : {0x0400, 0x0401, 0x0402}) {
            PostMessage(driver.GetGameWindow()->GetHandle(), message, 0, 0);
            driver.Run();
        }
        EXPECT_FALSE(driver.GetGameWindow()->GetHandle()->IsVisible());
        EXPECT_THAT(boxes, ElementsAre(HasSubstr("listener failed"), HasSubstr("standard failure"),
                                       HasSubstr("Unknown Exception")));
        driver.GetGameWindow()->RemoveListener(&listener);
    }
    os::testing::SetMessageBoxSink({});
    LoggerFinalize();
}

} // namespace
} // namespace korvane::test
