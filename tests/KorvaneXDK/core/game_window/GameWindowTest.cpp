/** @file GameWindowTest.cpp Listener dispatch, activation, default processing, styles and the driver base. */
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/KorvaneXDK/core/app/AppTestSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/GameApplicationDriver.h"
#include "KorvaneXDK/core/GameWindow.h"
#include "tests/support/TempDir.h"
#include "os/window/Icon.h"
#include "os/window/MessageQueue.h"

namespace korvane::test
{
namespace
{

using namespace os::window;

struct RecordingListener : IGameWindowListener
{
    std::string name;
    std::vector<std::string>* trace = nullptr;
    bool handle = false;
    LResult result = 0;
    std::vector<std::uint32_t> messages;
    std::function<void(std::uint32_t)> onMessage;

    bool OnWindowMessage(CGameWindow*, std::uint32_t message, WParam, LParam, LResult* out) override
    {
        messages.push_back(message);
        if (trace)
            trace->push_back(name);
        if (onMessage)
            onMessage(message);
        if (handle)
            *out = result;
        return handle;
    }
};

class GameWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { os::testing::ResetWindowMessageQueue(); }
    void TearDown() override { os::testing::ResetWindowMessageQueue(); }
};

TEST_F(GameWindowTest, CreatedHiddenWithA640By480ClientArea)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    ASSERT_NE(window.GetHandle(), nullptr);
    ASSERT_TRUE(window.GetHandle()->IsCreated());
    EXPECT_NE(window.GetHandle()->GetSDLWindow(), nullptr);
    EXPECT_FALSE(window.GetHandle()->IsVisible());
    EXPECT_EQ(window.GetClientWidth(), 640);
    EXPECT_EQ(window.GetClientHeight(), 480);
    EXPECT_TRUE(window.IsActive());
    EXPECT_FALSE(window.IsFullScreen());
    EXPECT_TRUE(window.IsMaximizeBoxEnabled());
    EXPECT_FALSE(window.IsResizable());
    EXPECT_FALSE(window.IsInputMethodEnabled());
    EXPECT_EQ(window.GetClassName(), "KorvaneWnd");
}

TEST_F(GameWindowTest, OnlyAShownWindowReachesItsListeners)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    RecordingListener listener;
    window.AddListener(&listener);
    SendMessage(window.GetHandle(), WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_TRUE(listener.messages.empty());
    window.Show();
    window.Show(); // a second show changes nothing
    EXPECT_TRUE(window.GetHandle()->IsVisible());
    SendMessage(window.GetHandle(), WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(listener.messages, std::vector<std::uint32_t>{WM_KEYDOWN});
    window.Hide();
    EXPECT_FALSE(window.GetHandle()->IsVisible());
    SendMessage(window.GetHandle(), WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(listener.messages.size(), 1u);
}

TEST_F(GameWindowTest, EveryListenerIsCalledAndTheLastHandlerResultCounts)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    std::vector<std::string> trace;
    RecordingListener a, b, c;
    a.name = "a", b.name = "b", c.name = "c";
    a.trace = b.trace = c.trace = &trace;
    a.handle = true, a.result = 11;
    c.handle = true, c.result = 33;
    window.AddListener(&a);
    window.AddListener(&b);
    window.AddListener(&c);
    window.AddListener(&a); // kept once
    EXPECT_EQ(window.GetListeners().size(), 3u);
    window.Show();
    EXPECT_EQ(SendMessage(window.GetHandle(), 0x0400, 0, 0), 33);
    EXPECT_EQ(trace, (std::vector<std::string>{"a", "b", "c"}));
    window.RemoveListener(&c);
    window.RemoveListener(&c); // not there: ignored
    EXPECT_EQ(SendMessage(window.GetHandle(), 0x0400, 0, 0), 11);
}

TEST_F(GameWindowTest, ListenerRemovedDuringDispatchIsNotCalledAgain)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    RecordingListener first, second;
    first.onMessage = [&](std::uint32_t) { window.RemoveListener(&second); };
    window.AddListener(&first);
    window.AddListener(&second);
    window.Show();
    SendMessage(window.GetHandle(), 0x0400, 0, 0);
    EXPECT_EQ(first.messages.size(), 1u);
    EXPECT_TRUE(second.messages.empty());
}

TEST_F(GameWindowTest, DeactivationClearsTheActiveFlagEvenWhenHandled)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    RecordingListener listener;
    listener.handle = true;
    window.AddListener(&listener);
    window.Show();
    SendMessage(window.GetHandle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(window.IsActive());
    SendMessage(window.GetHandle(), WM_ACTIVATE, WA_CLICKACTIVE | (1u << 16), 0);
    EXPECT_TRUE(window.IsActive());
    SendMessage(window.GetHandle(), WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessage(window.GetHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(window.IsActive());
    EXPECT_EQ(listener.messages.size(), 4u);
}

TEST_F(GameWindowTest, UnhandledCloseDestroysTheWindowAndTheMainListenerQuits)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    RecordingListener listener;
    CMainWindowListener main;
    window.AddListener(&listener);
    window.AddListener(&main);
    window.Show();
    PostMessage(window.GetHandle(), WM_CLOSE, 0, 0);
    Message message;
    ASSERT_TRUE(PeekMessage(message, true));
    DispatchMessage(message);
    EXPECT_EQ(listener.messages, (std::vector<std::uint32_t>{WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(window.GetHandle()->IsVisible());
    ASSERT_TRUE(PeekMessage(message, true));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(GameWindowTest, AltF4BecomesACloseRequest)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    RecordingListener listener;
    window.AddListener(&listener);
    window.Show();
    SendMessage(window.GetHandle(), WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN_BIT);
    EXPECT_EQ(listener.messages, (std::vector<std::uint32_t>{WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}));
}

TEST_F(GameWindowTest, TranslateQueuesCharactersForControlKeysRightBehindTheKey)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    PostMessage(window.GetHandle(), WM_KEYDOWN, VK_RETURN, 1);
    PostMessage(window.GetHandle(), WM_KEYUP, VK_RETURN, 1 | KF_REPEAT_BIT | KF_UP_BIT);
    Message message;
    ASSERT_TRUE(PeekMessage(message, true));
    EXPECT_TRUE(TranslateMessage(message));
    ASSERT_TRUE(PeekMessage(message, true));
    EXPECT_EQ(message.message, WM_CHAR);
    EXPECT_EQ(message.wParam, 0x0Du);
    ASSERT_TRUE(PeekMessage(message, true));
    EXPECT_EQ(message.message, WM_KEYUP);
    EXPECT_FALSE(TranslateMessage(Message{window.GetHandle(), WM_KEYDOWN, 'A', 1}));
    EXPECT_FALSE(TranslateMessage(Message{window.GetHandle(), WM_SYSKEYDOWN, VK_RETURN, 1}));
}

TEST_F(GameWindowTest, FullScreenIsThePlainLookAtTheOriginAndBackIsFramed)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    window.SetResizable(true);
    window.SetClientSize(320, 200);
    window.Show();
    EXPECT_TRUE(window.GetHandle()->GetStyle().framed);
    EXPECT_TRUE(window.GetHandle()->GetStyle().resizable);

    window.SetFullScreen(true);
    EXPECT_TRUE(window.IsFullScreen());
    EXPECT_FALSE(window.GetHandle()->GetStyle().framed);
    EXPECT_TRUE(window.GetHandle()->IsVisible());
    int x = -1, y = -1;
    window.GetHandle()->GetPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(window.GetClientWidth(), 320);

    window.SetFullScreen(false);
    EXPECT_FALSE(window.IsFullScreen());
    EXPECT_TRUE(window.GetHandle()->GetStyle().framed);
    int screenWidth = 0, screenHeight = 0;
    window.GetHandle()->GetScreenSize(screenWidth, screenHeight);
    window.GetHandle()->GetPosition(x, y);
    EXPECT_EQ(x, screenWidth / 2 - 160);
    EXPECT_EQ(y, screenHeight / 2 - 100);
}

TEST_F(GameWindowTest, FullScreenWhileHiddenStaysHidden)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    window.SetFullScreen(true);
    EXPECT_FALSE(window.GetHandle()->IsVisible());
    window.SetFullScreen(true);
    EXPECT_TRUE(window.IsFullScreen());
}

TEST_F(GameWindowTest, ClientSizeIsClampedToTheScreen)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    int screenWidth = 0, screenHeight = 0;
    window.GetHandle()->GetScreenSize(screenWidth, screenHeight);
    ASSERT_GT(screenWidth, 0);
    window.SetClientSize(screenWidth + 500, screenHeight + 300);
    EXPECT_EQ(window.GetClientWidth(), screenWidth);
    EXPECT_EQ(window.GetClientHeight(), screenHeight);
}

TEST_F(GameWindowTest, TitleIconCursorAndInputMethodAreKept)
{
    CGameWindow window(nullptr, "KorvaneWnd", "Title", nullptr, nullptr, nullptr);
    window.SetTitle("ゲーム [PAUSE]");
    std::string title;
    window.GetTitle(title);
    EXPECT_EQ(title, "ゲーム [PAUSE]");
    EXPECT_EQ(window.GetHandle()->GetTitle(), "ゲーム [PAUSE]");
    window.SetIcon(GetProgramIcon());
    window.SetCursor(GetProgramCursor());
    EXPECT_EQ(window.GetIcon(), GetProgramIcon());
    EXPECT_EQ(window.GetCursor(), GetProgramCursor());
    window.EnableInputMethod(true);
    EXPECT_TRUE(window.IsInputMethodEnabled());
    window.SetClassName("Other");
    std::string className;
    window.GetClassName(className);
    EXPECT_EQ(className, "Other");
    window.Show();
}

TEST_F(GameWindowTest, BuiltInIconAndCursorAreOpaqueWhereDrawn)
{
    const Bitmap& icon = GetProgramIcon()->GetImage();
    ASSERT_EQ(icon.GetWidth(), 32);
    EXPECT_EQ(icon.GetPixel(0, 0) >> 24, 0u);      // corner outside the disc
    EXPECT_EQ(icon.GetPixel(16, 16) >> 24, 0xFFu); // the middle
    const Cursor* cursor = GetProgramCursor();
    EXPECT_EQ(cursor->GetHotX(), 0);
    EXPECT_EQ(cursor->GetImage().GetPixel(0, 0), 0xFF000000u); // the tip is outline
    EXPECT_EQ(cursor->GetImage().GetPixel(2, 8), 0xFFFFFFFFu);
}

class DriverTest : public GameWindowTest
{
protected:
    void SetUp() override
    {
        GameWindowTest::SetUp();
        LoggerInitialize(temp_.File("driver.log"));
        os::testing::SetMessageBoxSink([this](const std::string& caption, const std::string& text)
                                       { boxes_.push_back(caption + "|" + text); });
    }
    void TearDown() override
    {
        os::testing::SetMessageBoxSink({});
        LoggerFinalize();
        GameWindowTest::TearDown();
    }
    TempDir temp_;
    std::vector<std::string> boxes_;
};

TEST_F(DriverTest, ClosingTheWindowEndsTheRunAndTheLogEndsWithTheFinalBanner)
{
    LogCapture log;
    {
        CGameApplicationDriver driver(nullptr);
        EXPECT_EQ(log.Lines().front().rfind("INFO: ---- [ test_", 0), 0u);
        EXPECT_EQ(log.CountContaining("Korvane Core library ver."), 1u);
        EXPECT_TRUE(driver.Initialize());
        EXPECT_TRUE(driver.IsInitialized());
        driver.SetTitle("My Game");
        EXPECT_EQ(driver.GetGameWindow()->GetHandle()->GetTitle(), "My Game");
        PostMessage(driver.GetGameWindow()->GetHandle(), WM_CLOSE, 0, 0);
        driver.Run();
        EXPECT_FALSE(driver.GetGameWindow()->GetHandle()->IsVisible());
        EXPECT_TRUE(log.HasLine("INFO: Application driver running...\n"));
        EXPECT_TRUE(log.HasLine("INFO: Application driver running finished.\n"));
    }
    EXPECT_EQ(log.Lines().back(), "INFO: ---- Application finalized ----\n");
    EXPECT_TRUE(boxes_.empty());
}

struct ThrowingListener : IGameWindowListener
{
    bool OnWindowMessage(CGameWindow*, std::uint32_t message, WParam, LParam, LResult*) override
    {
        if (message == 0x0400)
            throw EInvalidOperation(nullptr, "listener failed");
        if (message == 0x0401)
            throw std::runtime_error("standard failure");
        if (message == 0x0402)
            throw 42;
        return false;
    }
};

TEST_F(DriverTest, ExceptionFromAListenerIsReportedAndTheWindowHidden)
{
    CGameApplicationDriver driver(nullptr);
    ThrowingListener listener;
    driver.GetGameWindow()->AddListener(&listener);
    PostMessage(driver.GetGameWindow()->GetHandle(), 0x0400, 0, 0);
    driver.Run();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find("listener failed"), std::string::npos);
    EXPECT_FALSE(driver.GetGameWindow()->GetHandle()->IsVisible());

    // Standard and unknown exceptions are reported the same way, and the driver can run again.
    PostMessage(driver.GetGameWindow()->GetHandle(), 0x0401, 0, 0);
    driver.Run();
    PostMessage(driver.GetGameWindow()->GetHandle(), 0x0402, 0, 0);
    driver.Run();
    ASSERT_EQ(boxes_.size(), 3u);
    EXPECT_NE(boxes_[1].find("standard failure"), std::string::npos);
    EXPECT_NE(boxes_[2].find("Unknown Exception"), std::string::npos);
    driver.GetGameWindow()->RemoveListener(&listener);
}

} // namespace
} // namespace korvane::test
