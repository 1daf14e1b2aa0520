/** @file WindowSceneTest.cpp The window scene without a graphics device: fit scale, turns, aspect, and named actions
 * and window messages through it to the toolkit, with a fake controller. */

#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "WindowSceneTestSupport.h"
#include "frontend/forms/CursorForm.h"
#include "host/ScreenFit.h"
#include "support/LogCapture.h"

namespace
{

using korvane::Vector2;
using korvane::mwt::CControl;
using korvane::mwt::CForm;

constexpr float kPi = 3.14159265f;

TEST(WindowSceneFit, ScaleByTurnAndAspectTheTransformsCentreAndTheEasedTurn)
{
    // Upright: the narrow settings fill the width, the wide ones the height.
    const std::tuple<std::int32_t, std::int32_t, float> cases[] = {
        {0, 1, 1.0f}, {2, 4, 1.0f}, {1, 2, 1.5555556f}, {1, 4, 1.25f}, {3, 1, 1.5555556f}, {3, 3, 1.3333334f}};
    for (const auto& [rotation, aspectSetting, scale] : cases) {
        host_test::CTestWindowScene scene;
        scene.SetAspectRatio(aspectSetting);
        scene.SetScreenRotation(rotation);
        scene.RunFrame(0.0f);
        EXPECT_NEAR(scale, scene.GetCurrentScale(), 1e-5f) << rotation << " x " << aspectSetting;
        EXPECT_NEAR(static_cast<float>(rotation) * 1.5707964f, scene.GetCurrentAngle(), 1e-5f);
    }
    // Setting 0 and unknown settings take the back buffer's own aspect, with its band.
    host_test::CTestWindowScene scene;
    scene.backBufferWidth = 1280;
    scene.backBufferHeight = 1024;
    for (std::int32_t setting : {0, 7}) {
        scene.SetAspectRatio(setting);
        EXPECT_FLOAT_EQ(1.25f, scene.GetAspect()) << setting;
    }
    EXPECT_EQ(std::tuple(285.0f, 1280u, 1920.0f),
              std::tuple(screen_fit::BandLeft(scene.GetAspect()), scene.GetViewport().GetWidth(),
                         scene.GetScreenPtr()->GetSize().x));

    // The transform turns and scales about the centre.
    const korvane::Matrix4 m = screen_fit::ScreenTransform(1920.0f, 1080.0f, 1.5707964f, 2.0f);
    // A quarter turn clockwise on a y-down canvas: right of the centre goes below it, the centre stays.
    for (const auto& [from, to] : {std::pair{960.0f, 540.0f}, std::pair{1060.0f, 740.0f}}) {
        const korvane::Vector2<float> p = korvane::canvas::TransformPoint(m, korvane::Vector2<float>(from, 540));
        EXPECT_NEAR(960.0f, p.x, 1e-3f);
        EXPECT_NEAR(to, p.y, 1e-3f);
    }

    // A turn eases over three tenths of a second (the first frame shows at once, as the table's scenes show); an
    // aspect change and a restore jump.
    scene.SetAspectRatio(1);
    scene.SetScreenRotation(1);
    scene.RunFrame(0.0f);

    // 1 to 3 goes the long way, through a half turn.
    scene.SetScreenRotation(3);
    scene.RunFrame(0.1f);
    // A third of the way in time, with the fast start of easing 0.3: past the half turn.
    const float expected = kPi / 2 + kPi * (1.0f - std::pow(2.0f / 3.0f, 1.0f / 0.3f));
    EXPECT_NEAR(expected, scene.GetCurrentAngle(), 1e-4f);
    scene.RunFrame(0.1f);
    scene.RunFrame(0.1f);
    EXPECT_NEAR(3 * kPi / 2, scene.GetCurrentAngle(), 1e-5f);

    scene.SetAspectRatio(3);
    scene.RunFrame(0.01f);
    EXPECT_NEAR(1.3333334f, scene.GetCurrentScale(), 1e-5f);
    scene.SetScreenRotation(2);
    scene.Restore();
    scene.RunFrame(0.01f);
    EXPECT_NEAR(kPi, scene.GetCurrentAngle(), 1e-5f);
    EXPECT_NEAR(1.0f, scene.GetCurrentScale(), 1e-5f);
}

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
        form->SetBounds(korvane::canvas::Rect2f(100.0f, 200.0f, 400.0f, 300.0f));
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

TEST_F(WindowInput, KeyFormGetsOnePairPerPressAndNoneWhileHeldAndTheWindowMessagesReachTheToolkitNextFrame)
{
    TestForm test(Screen(), 1000);
    for (const char* action : {"up", "down", "decide", "left", "right", "cancel", "pause"})
        scene.controller.Press(action);
    scene.RunFrame(0.0f);
    std::vector<std::string> expected;
    for (int key : {37, 39, 38, 40, 13, 27, 19})
        for (const char* what : {"down", "up"})
            expected.push_back("First " + std::string(what) + " " + std::to_string(key));
    EXPECT_EQ(std::pair(expected, false), std::pair(test.events, Cursor().IsVisible()));

    test.events.clear();
    scene.controller.Update(); // still held
    scene.RunFrame(1.0f);
    EXPECT_EQ(std::pair(true, 0), std::pair(test.events.empty(), scene.cursorSounds));

    // Window messages: handled without a trace, handled and queued for the toolkit's next frame, and left to the
    // default; the queued characters and deactivation reach the toolkit at the next frame.
    using namespace os::window;
    int deactivations = 0;
    test.second->WindowDeactivateEvent = [&deactivations](CControl*) { ++deactivations; };
    auto check = [&](std::uint32_t message, WParam wParam, bool handled, std::size_t queued) {
        const std::size_t before = scene.GetQueuedMessageCount();
        LResult result = 99;
        // Braces: in this order.
        EXPECT_EQ(std::tuple(handled, LResult{handled ? 0 : 99}, before + queued),
                  (std::tuple{scene.OnWindowMessage(nullptr, message, wParam, 0, &result), result,
                              scene.GetQueuedMessageCount()}))
            << message;
    };
    for (std::uint32_t message :
         {WM_SIZE, WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL})
        check(message, 0, true, 0);
    for (const auto& [message, wParam] : {std::pair<std::uint32_t, WParam>{WM_KEYDOWN, 0x41},
                                          {WM_KEYUP, 0x41},
                                          {WM_ACTIVATE, WA_ACTIVE},
                                          {WM_ACTIVATE, 0x10000 | WA_CLICKACTIVE}})
        check(message, wParam, true, 0);
    check(WM_CHAR, 0x41, true, 1); // queued before the deactivation, as a typed key and a switch away
    check(WM_ACTIVATE, WA_INACTIVE, true, 1);
    for (std::uint32_t message : {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_CLOSE})
        check(message, 0, false, 0);
    LResult result = 0;
    scene.OnWindowMessage(nullptr, WM_LBUTTONDOWN, 0, 0, &result);
    scene.OnWindowMessage(nullptr, WM_LBUTTONUP, 0, 0, &result);
    EXPECT_EQ((std::vector<std::string>{"capture", "release"}), scene.captures);

    EXPECT_TRUE(test.events.empty());
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::tuple(std::vector<std::string>{"First char 65"}, 1, std::size_t{0}),
              std::tuple(test.events, deactivations, scene.GetQueuedMessageCount()));
}

TEST_F(WindowInput, PointerFormMovesFocusWithTheSoundClicksAtTheFlooredPointAndHidesWithNoUsableForm)
{
    TestForm test(Screen(), 0);
    scene.RunFrame(0.0f);
    // Shown, 12 units into the focused control, at half its height, in screen units.
    EXPECT_EQ(std::pair(true, test.first->LocalToScreen(Vector2<float>(12.0f, 20.5f))),
              std::pair(Cursor().IsVisible(), Cursor().GetCursorPosition()));

    scene.controller.Press("down");
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::tuple(true, 1, test.second->LocalToScreen(Vector2<float>(12.0f, 20.0f))),
              std::tuple(test.second->IsFocused(), scene.cursorSounds, Cursor().GetCursorPosition()));
    scene.controller.Release("down");

    scene.controller.Press("up");
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::tuple(true, 2, true), std::tuple(test.first->IsFocused(), scene.cursorSounds, test.events.empty()));
    scene.controller.Release("up");

    // The click goes where the pointer heads, floored: half of 41 becomes 20.
    scene.controller.Press("decide");
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::vector<std::string>{"First press 12,20 1"}, test.events);

    // With no usable form the cursor hides and no latch is read.
    scene.controller.Release("decide");
    test.events.clear();
    test.form->SetFocusable(false);
    scene.controller.Press("decide");
    scene.controller.Press("cancel");
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::tuple(false, true, true),
              std::tuple(Cursor().IsVisible(), test.events.empty(),
                         scene.controller.WasPressed("decide") && scene.controller.WasPressed("cancel")));
}

// Mode frees the pointer and cursor toggles its visibility; the free pointer's speed follows the analog value.
TEST_F(WindowInput, ModeFreesThePointerWhichMovesBySpeedDirectionAndBounds)
{
    scene.controller.Press("mode");
    scene.controller.Press("cursor");
    const bool visible = Cursor().IsVisible();
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::pair(false, !visible), std::pair(Cursor().IsFocusMode(), Cursor().IsVisible()));
    scene.controller.Release("mode");
    scene.controller.Release("cursor");

    const float d = 1024.0f / std::sqrt(2.0f);
    using Held = std::vector<std::pair<const char*, float>>;
    const std::tuple<const char*, Held, Vector2<float>, Vector2<float>> cases[] = {
        {"right at half speed", {{"right", 0.5f}}, {500, 500}, {628, 500}},
        {"two at full", {{"right", 1.0f}, {"down", 1.0f}}, {500, 300}, {500 + d, 300 + d}},
        {"left beats right", {{"left", 1.0f}, {"right", 1.0f}}, {1500, 500}, {476, 500}},
        {"clamped high", {{"right", 1.0f}, {"down", 1.0f}}, {1900, 1070}, {1919, 1079}},
        {"clamped low", {{"left", 1.0f}, {"up", 1.0f}}, {10, 10}, {0, 0}},
        {"held at zero", {{"up", 0.0f}}, {300, 400}, {300, 400}},
    };
    for (const auto& [name, held, start, end] : cases) {
        Cursor().SetCursorPosition(start);
        for (const auto& [action, value] : held)
            scene.controller.Hold(action, true, value);
        scene.controller.Update();
        scene.RunFrame(1.0f);
        EXPECT_NEAR(end.x, Cursor().GetCursorPosition().x, 0.01f) << name;
        EXPECT_NEAR(end.y, Cursor().GetCursorPosition().y, 0.01f) << name;
        for (const auto& [action, value] : held)
            scene.controller.Hold(action, false);
        scene.controller.Update();
    }
}

// Each mode press flips the pointer whatever form is active: over a form that takes its keys the free pointer hands it
// none until the next press, and a key form coming up while the pointer is free leaves it free.
TEST_F(WindowInput, ModeFlipsThePointerOverAKeyFormToo)
{
    const auto tap = [this](const char* action) {
        scene.controller.Press(action);
        scene.RunFrame(0.0f);
        scene.controller.Release(action);
    };
    const std::vector<std::string> none;
    const std::vector<std::string> escape{"First down 27", "First up 27"};
    TestForm keys(Screen(), 1000);
    tap("mode");
    tap("cancel");
    EXPECT_EQ(std::pair(false, none), std::pair(Cursor().IsFocusMode(), keys.events));
    tap("mode");
    tap("cancel");
    EXPECT_EQ(std::pair(true, escape), std::pair(Cursor().IsFocusMode(), keys.events));

    TestForm pointer(Screen(), 0);
    tap("mode");
    ASSERT_FALSE(Cursor().IsFocusMode()) << "freed over the pointer form";
    // A key form comes up by itself (a dialog of the upload, say) while the pointer is free.
    keys.events.clear();
    keys.form->BringToFront();
    keys.form->SetFocus();
    tap("cancel");
    EXPECT_EQ(std::pair(false, none), std::pair(Cursor().IsFocusMode(), keys.events));
}

// The log names each form the screen gains or loses (by the form, not its address or name), and with the trace on each
// input handed to the toolkit; with it off, no input line.
TEST_F(WindowInput, TheLogNamesFormsOpenedAndClosedAndTheTraceEachInputHandedOn)
{
    korvane::test::LogCapture log;
    const auto lines = [] {
        std::vector<std::string> found;
        for (const std::string& line : korvane::test::LogCapture::Lines())
            for (const char* mark : {"Form opened: ", "Form closed: ", "UI: "})
                if (const std::size_t at = line.find(mark); at != std::string::npos)
                    found.push_back(line.substr(at));
        korvane::test::LogCapture::Clear();
        return found;
    };
    scene.RunFrame(0.0f);
    EXPECT_EQ((std::vector<std::string>{"Form opened: LogoSplashForm", "Form opened: CursorForm"}), lines());
    scene.RunFrame(0.0f);
    EXPECT_TRUE(lines().empty()) << "nothing changed";
    // The splash, whose clock would open the next one, leaves.
    Screen()->RemoveControl(dynamic_cast<CControl*>(Screen()->GetControls().front().get()));

    auto pointerForm = std::make_unique<TestForm>(Screen(), 0);
    scene.RunFrame(0.0f);
    scene.controller.Press("down");
    scene.RunFrame(0.0f);
    scene.controller.Release("down");
    EXPECT_EQ((std::vector<std::string>{"Form closed: LogoSplashForm", "Form opened: TestForm"}), lines())
        << "no trace yet";

    // Each input handed on, and the action's release a frame later.
    scene.SetInputTrace(true);
    const std::pair<const char*, std::vector<std::string>> steps[] = {
        {"up", {"UI: focus First", "UI: released up"}},
        {"decide", {"UI: click at 124,260", "UI: released decide"}},
        {"left", {"UI: key 0x25", "UI: released left"}},
        {"cancel", {"UI: key 0x1B", "UI: released cancel"}},
        {"mode", {"UI: pointer moves freely", "UI: released mode"}},
        {"right", {"UI: pointer at 1148,260", "UI: released right"}},
        {"mode", {"UI: pointer follows the focus", "UI: released mode"}},
    };
    for (const auto& [action, expected] : steps) {
        scene.controller.Press(action);
        scene.RunFrame(1.0f);
        scene.controller.Release(action);
        scene.RunFrame(0.0f);
        EXPECT_EQ(expected, lines()) << action;
    }

    // One form removed and another of the same name added in the same frame: both told.
    Screen()->RemoveControl(pointerForm->form.get());
    pointerForm.reset();
    TestForm keyForm(Screen(), 1000);
    scene.RunFrame(0.0f);
    EXPECT_EQ((std::vector<std::string>{"Form closed: TestForm", "Form opened: TestForm"}), lines());
    scene.SetInputTrace(false);
    scene.controller.Press("cancel");
    scene.RunFrame(0.0f);
    EXPECT_EQ(std::pair(std::vector<std::string>{}, std::size_t{2}), std::pair(lines(), keyForm.events.size()));
}

} // namespace
