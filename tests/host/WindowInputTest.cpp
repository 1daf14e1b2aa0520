/** @file WindowInputTest.cpp Named actions and window messages through the window scene to the toolkit, with a
 * fake controller. */
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "WindowSceneTestSupport.h"
#include "frontend/forms/CursorForm.h"
#include "os/window/Messages.h"

namespace
{

using korvane::Vector2;
using korvane::mwt::CControl;
using korvane::mwt::CForm;

/// A form of two focusable controls that records what reaches them.
struct TestForm
{
    boost::shared_ptr<CForm> form{new CForm("TestForm")};
    boost::shared_ptr<CControl> first{new CControl("First")};
    boost::shared_ptr<CControl> second{new CControl("Second")};
    std::vector<std::string> events;

    TestForm(korvane::mwt::CScreen* screen, std::int32_t group)
    {
        form->SetGroup(group);
        form->SetFocusable(true);
        form->SetLocation(Vector2<float>(100.0f, 200.0f));
        form->SetSize(Vector2<float>(400.0f, 300.0f));
        first->SetBounds(korvane::canvas::Rect2f(10.0f, 20.0f, 200.0f, 41.0f));
        second->SetBounds(korvane::canvas::Rect2f(10.0f, 80.0f, 200.0f, 40.0f));
        for (const boost::shared_ptr<CControl>& c : {first, second}) {
            c->SetFocusable(true);
            auto note = [this, name = c->GetName()](const std::string& what, unsigned int value) {
                events.push_back(name + " " + what + " " + std::to_string(value));
            };
            c->KeyDownEvent = [note](CControl*, unsigned int key) { note("down", key); };
            c->KeyUpEvent = [note](CControl*, unsigned int key) { note("up", key); };
            c->CharEvent = [note](CControl*, unsigned int code) { note("char", code); };
            c->MouseDownEvent = [note](CControl*, Vector2<float> p, int button) {
                note("press " + std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y)),
                     static_cast<unsigned int>(button));
            };
            form->AddControl(c);
        }
        screen->AddControl(form);
        form->SetFocus();
        first->SetFocus();
    }
};

class WindowInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        scene.UpdateTransform();
        scene.AddStandingForms();
    }
    korvane::mwt::CScreen* Screen() { return scene.GetScreenPtr(); }
    CCursorForm& Cursor() { return *scene.GetCursorForm(); }

    host_test::CTestWindowScene scene;
};

TEST_F(WindowInput, KeyFormGetsOnePairPerPressAndNoneWhileHeld)
{
    TestForm test(Screen(), 1000);
    for (const char* action : {"up", "down", "decide", "left", "right", "cancel", "pause"})
        scene.controller.Press(action);
    scene.RunFrame(0.0f);
    std::vector<std::string> expected;
    for (int key : {37, 39, 38, 40, 13, 27, 19})
        for (const char* what : {"down", "up"})
            expected.push_back("First " + std::string(what) + " " + std::to_string(key));
    EXPECT_EQ(expected, test.events);
    EXPECT_FALSE(Cursor().IsVisible());

    test.events.clear();
    scene.controller.Update(); // still held
    scene.RunFrame(1.0f);
    EXPECT_TRUE(test.events.empty());
    EXPECT_EQ(0, scene.cursorSounds);
}

TEST_F(WindowInput, PointerFormMovesFocusWithTheSoundAndClicksAtTheFlooredPoint)
{
    TestForm test(Screen(), 0);
    scene.RunFrame(0.0f);
    EXPECT_TRUE(Cursor().IsVisible());
    // 12 units into the focused control, at half its height, in screen units.
    EXPECT_EQ(test.first->LocalToScreen(Vector2<float>(12.0f, 20.5f)), Cursor().GetCursorPosition());

    scene.controller.Press("down");
    scene.RunFrame(0.0f);
    EXPECT_TRUE(test.second->IsFocused());
    EXPECT_EQ(1, scene.cursorSounds);
    EXPECT_EQ(test.second->LocalToScreen(Vector2<float>(12.0f, 20.0f)), Cursor().GetCursorPosition());
    scene.controller.Release("down");

    scene.controller.Press("up");
    scene.RunFrame(0.0f);
    EXPECT_TRUE(test.first->IsFocused());
    EXPECT_EQ(2, scene.cursorSounds);
    scene.controller.Release("up");
    EXPECT_TRUE(test.events.empty());

    // The click goes where the pointer heads, floored: half of 41 becomes 20.
    scene.controller.Press("decide");
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::vector<std::string>{"First press 12,20 1"}, test.events);
}

TEST_F(WindowInput, NoUsableFormHidesTheCursorAndReadsNoLatch)
{
    TestForm test(Screen(), 0);
    test.form->SetFocusable(false);
    scene.controller.Press("decide");
    scene.controller.Press("cancel");
    scene.RunFrame(0.0f);
    EXPECT_FALSE(Cursor().IsVisible());
    EXPECT_TRUE(scene.controller.WasPressed("decide"));
    EXPECT_TRUE(scene.controller.WasPressed("cancel"));
    EXPECT_TRUE(test.events.empty());
}

TEST_F(WindowInput, FreePointerSpeedsDirectionsAndBounds)
{
    struct FreeCase
    {
        const char* name;
        std::vector<std::pair<const char*, float>> held;
        Vector2<float> start, end;
    };
    const float d = 1024.0f / std::sqrt(2.0f);
    const FreeCase cases[] = {
        {"right at half speed", {{"right", 0.5f}}, {500, 500}, {628, 500}},
        {"two at full", {{"right", 1.0f}, {"down", 1.0f}}, {500, 300}, {500 + d, 300 + d}},
        {"left beats right", {{"left", 1.0f}, {"right", 1.0f}}, {1500, 500}, {476, 500}},
        {"clamped high", {{"right", 1.0f}, {"down", 1.0f}}, {1900, 1070}, {1919, 1079}},
        {"clamped low", {{"left", 1.0f}, {"up", 1.0f}}, {10, 10}, {0, 0}},
        {"held at zero", {{"up", 0.0f}}, {300, 400}, {300, 400}},
    };
    Cursor().SetFocusMode(false);
    for (const FreeCase& c : cases) {
        Cursor().SetCursorPosition(c.start);
        for (const auto& [action, value] : c.held)
            scene.controller.Hold(action, true, value);
        scene.controller.Update();
        scene.RunFrame(1.0f);
        EXPECT_NEAR(c.end.x, Cursor().GetCursorPosition().x, 0.01f) << c.name;
        EXPECT_NEAR(c.end.y, Cursor().GetCursorPosition().y, 0.01f) << c.name;
        for (const auto& held : c.held)
            scene.controller.Hold(held.first, false);
        scene.controller.Update();
    }
}

TEST_F(WindowInput, ModeTogglesThePointerAndCursorItsVisibility)
{
    scene.controller.Press("mode");
    scene.controller.Press("cursor");
    const bool visible = Cursor().IsVisible();
    scene.RunFrame(0.0f);
    EXPECT_FALSE(Cursor().IsFocusMode());
    EXPECT_NE(visible, Cursor().IsVisible());
}

TEST_F(WindowInput, MessageTable)
{
    using namespace os::window;
    struct MessageCase
    {
        std::uint32_t message;
        WParam wParam;
        bool handled;
        std::size_t queued;
    };
    const MessageCase cases[] = {{WM_SIZE, 0, true, 0},
                                 {WM_ACTIVATE, WA_INACTIVE, true, 1},
                                 {WM_ACTIVATE, WA_ACTIVE, true, 0},
                                 {WM_ACTIVATE, 0x10000 | WA_CLICKACTIVE, true, 0},
                                 {WM_CHAR, 0x41, true, 1},
                                 {WM_KEYDOWN, 0x41, true, 0},
                                 {WM_KEYUP, 0x41, true, 0},
                                 {WM_MOUSEMOVE, 0, true, 0},
                                 {WM_RBUTTONDOWN, 0, true, 0},
                                 {WM_RBUTTONUP, 0, true, 0},
                                 {WM_MBUTTONDOWN, 0, true, 0},
                                 {WM_MBUTTONUP, 0, true, 0},
                                 {WM_MOUSEWHEEL, 0, true, 0},
                                 {WM_LBUTTONDBLCLK, 0, false, 0},
                                 {WM_RBUTTONDBLCLK, 0, false, 0},
                                 {WM_MBUTTONDBLCLK, 0, false, 0},
                                 {WM_CLOSE, 0, false, 0}};
    for (const MessageCase& c : cases) {
        const std::size_t before = scene.GetQueuedMessageCount();
        LResult result = 99;
        EXPECT_EQ(c.handled, scene.OnWindowMessage(nullptr, c.message, c.wParam, 0, &result)) << c.message;
        EXPECT_EQ(c.handled ? 0 : 99, result) << c.message;
        EXPECT_EQ(before + c.queued, scene.GetQueuedMessageCount()) << c.message;
    }
    LResult result = 0;
    scene.OnWindowMessage(nullptr, WM_LBUTTONDOWN, 0, 0, &result);
    scene.OnWindowMessage(nullptr, WM_LBUTTONUP, 0, 0, &result);
    EXPECT_EQ((std::vector<std::string>{"capture", "release"}), scene.captures);
}

TEST_F(WindowInput, CharactersAndDeactivationReachTheToolkitNextFrame)
{
    TestForm test(Screen(), 0);
    int deactivations = 0;
    test.second->WindowDeactivateEvent = [&deactivations](CControl*) { ++deactivations; };
    os::window::LResult result = 0;
    scene.OnWindowMessage(nullptr, os::window::WM_CHAR, 0x41, 1, &result);
    scene.OnWindowMessage(nullptr, os::window::WM_ACTIVATE, os::window::WA_INACTIVE, 0, &result);
    EXPECT_TRUE(test.events.empty());
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::vector<std::string>{"First char 65"}, test.events);
    EXPECT_EQ(1, deactivations);
    EXPECT_EQ(0u, scene.GetQueuedMessageCount());
}

} // namespace
