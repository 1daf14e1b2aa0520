/** @file MappedControllersTest.cpp The four device controllers over real SDL events and virtual devices. */
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/input/MappedJoystickController.h"
#include "KorvaneXDK/platform/input/MappedKeyboardController.h"
#include "KorvaneXDK/platform/input/MappedMouseController.h"
#include "KorvaneXDK/platform/input/MappedXInputController.h"
#include "os/input/PadInput.h"
#include "support/InputTestSupport.h"

namespace
{

using namespace korvane;
using namespace korvane::test;
using os::testing::InputDeviceKind;
using os::testing::InputStep;

/// Readings side by side, compared exactly (floats widen to double without loss).
template <class... T>
std::vector<double> Read(T... values)
{
    return {static_cast<double>(values)...};
}

class InputMappedControllerTest : public InputTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(InputTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(Start());
    }

    os::input::Guid FirstJoystick()
    {
        const auto found = Enumerate();
        EXPECT_FALSE(found.empty());
        return found.empty() ? os::input::Guid{} : found[0].instance;
    }

    /// A pad in slot 0, with the layer told of it.
    static VirtualJoystick PlugPad()
    {
        auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
        PumpInput();
        return pad;
    }

    static void Poll(IController& controller)
    {
        PumpInput();
        controller.Update();
    }

    /// Checks that the input held now is captured into button "cap" as the given code and name.
    static void ExpectCaptured(IController& controller, int slot, std::uint32_t code, const std::string& name,
                               const char* why = "")
    {
        ASSERT_TRUE(controller.GetActiveInput("cap", slot));
        EXPECT_EQ(code, controller.GetMapping("cap", slot)) << why;
        EXPECT_EQ(name, controller.GetInputName("cap", slot));
    }

    /// Checks the names of codes as mapped in slot 0 of a scratch button, and that an empty slot is "NONE".
    static void ExpectNames(IController& controller, std::initializer_list<std::pair<std::uint32_t, const char*>> names)
    {
        for (const auto& [code, name] : names) {
            controller.SetMapping("n", 0, code);
            EXPECT_EQ(name, controller.GetInputName("n", 0)) << std::hex << code;
        }
        EXPECT_EQ("NONE", controller.GetInputName("n", 3));
        EXPECT_EQ("NONE", controller.GetInputName("n", -1));
    }

    /// Walks raw positions until `read` gives `value + 1`; returns the positions giving `value` and
    /// `value + 1` (0 when not met).
    static std::pair<int, int> FindRawPositions(int from, int to, int step, int value,
                                                const std::function<int(int)>& read)
    {
        std::pair<int, int> found{0, 0};
        for (int raw = from; raw < to && found.second == 0; raw += step) {
            const int got = read(raw);
            if (got == value)
                found.first = raw;
            if (got == value + 1)
                found.second = raw;
        }
        return found;
    }

    void ExpectSetUpFailures(InputDeviceKind kind, std::initializer_list<std::pair<InputStep, const char*>> steps,
                             const std::function<void()>& make, const char* where)
    {
        for (const auto& [step, message] : steps) {
            SCOPED_TRACE(message);
            log_.Clear();
            os::testing::FailInputStep(step, os::input::kResultFail, kind, 1);
            ExpectError<EIOError>(make, message, where);
            EXPECT_TRUE(log_.Contains("DirectX Error: E_FAIL(0x80004005)"));
        }
    }
};

// Keyboard -------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, KeyboardReadsKeysPushedThroughTheEventPump)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, true);
    keyboard.AddButton("left", "Left");
    keyboard.SetMapping("left", 0, 0xCB);
    keyboard.SetMapping("left", 1, 0x1E);
    keyboard.SetMapping("far", 0, 0x1CB); // codes past 0xFF are never held
    PushKey(SDL_SCANCODE_LEFT, true);
    Poll(keyboard);
    EXPECT_EQ(Read(1, 1, 1, 0), Read(keyboard.IsDown("left"), keyboard.GetValue("left"), keyboard.WasPressed("left"),
                                     keyboard.IsDown("far")));
    // The second slot's key; no release between the two keys, so no new press.
    PushKey(SDL_SCANCODE_LEFT, false);
    PushKey(SDL_SCANCODE_A, true);
    Poll(keyboard);
    EXPECT_EQ(Read(1, 0), Read(keyboard.IsDown("left"), keyboard.WasPressed("left")));
    PushKey(SDL_SCANCODE_A, false);
    Poll(keyboard);
    EXPECT_EQ(Read(0, 0), Read(keyboard.IsDown("left"), keyboard.GetValue("left")));
}

TEST_F(InputMappedControllerTest, KeyboardCaptureSkipsToggleKeysAndTakesTheLowestCode)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, false);
    keyboard.SetMapping("cap", 2, 0x39);
    PushKey(SDL_SCANCODE_CAPSLOCK, true);
    PushKey(SDL_SCANCODE_INTERNATIONAL2, true);
    Poll(keyboard);
    EXPECT_FALSE(keyboard.GetActiveInput("cap", 2));
    EXPECT_EQ(0x39u, keyboard.GetMapping("cap", 2));
    PushKey(SDL_SCANCODE_Z, true);
    PushKey(SDL_SCANCODE_RETURN, true);
    Poll(keyboard);
    EXPECT_FALSE(keyboard.GetActiveInput("cap", 5));
    ExpectCaptured(keyboard, 2, 0x1C, "ENTER");

    // A capture that finds nothing still brings its button into being: a reset marks it held,
    // but not a name first seen after the reset.
    PushKey(SDL_SCANCODE_Z, false);
    PushKey(SDL_SCANCODE_RETURN, false);
    Poll(keyboard);
    EXPECT_FALSE(keyboard.GetActiveInput("jump", 0));
    keyboard.ResetAll();
    EXPECT_EQ(Read(1, 0), Read(keyboard.IsDown("jump"), keyboard.IsDown("never named")));
}

TEST_F(InputMappedControllerTest, EachDeviceNamesTableCodesAndFormatsTheRest)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, false);
    ExpectNames(keyboard, {{0x01, "ESC"},
                           {0xC9, "PAGE UP"},
                           {0xED, "MEDIASELECT"},
                           {0x54, "(KEY:54)"},
                           {0x00, "(KEY:00)"},
                           {0x100, "NONE"},
                           {kNoInput, "NONE"}});
    EXPECT_EQ("NONE", keyboard.GetInputName("n", 7));
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    ExpectNames(mouse, {{0x1001, "X AXIS -"}, {2, "BUTTON:3"}, {0x1005, "WHEEL -"}, {0x2001, "UNKNOWN"}});
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 6, 32, 1);
    CMappedJoystickController joystick(*directInput_, FirstJoystick(), nullptr);
    ExpectNames(joystick, {{40, "BUTTON:41"}, {0x3000, "UNKNOWN"}, {5, "BUTTON:6"}, {0x100C, "RZ AXIS +"}});
    CMappedXInputController pad(0);
    ExpectNames(pad, {{0, "A"},
                      {13, "D-pad Right"},
                      {0x5001, "Left Stick: Right"},
                      {0x5008, "Right Stick: Down"},
                      {0x6001, "LT"},
                      {14, "NONE"}});
}

TEST_F(InputMappedControllerTest, KeyboardKeepsItsButtonsInTheBackgroundAndLogsOtherFailures)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, true);
    keyboard.SetMapping("up", 0, 0xC8);
    PushKey(SDL_SCANCODE_UP, true);
    Poll(keyboard);
    ASSERT_TRUE(keyboard.IsDown("up"));
    os::testing::SetInputFocusOverride(false);
    keyboard.Update();
    keyboard.Update();
    EXPECT_TRUE(keyboard.IsDown("up")) << "access denied leaves the buttons as they were";
    EXPECT_FALSE(log_.Contains("DirectX Error")) << "access denied is not logged";
    os::testing::SetInputFocusOverride(true);
    keyboard.Update();
    EXPECT_FALSE(keyboard.IsDown("up")) << "re-acquired; the key was let go with the focus";

    os::testing::FailInputStep(InputStep::GetDeviceState, os::input::kResultInputLost, InputDeviceKind::Keyboard, 1);
    os::testing::FailInputStep(InputStep::Acquire, os::input::kResultFail, InputDeviceKind::Keyboard, 1);
    keyboard.Update();
    EXPECT_TRUE(log_.Contains("DirectX Error: E_FAIL(0x80004005)"));
}

// Mouse ----------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, MouseMotionHoldsPastEightCountsAndValuesRawCounts)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    mouse.SetMapping("right", 0, 0x1002);
    mouse.SetMapping("left", 0, 0x1001);
    mouse.SetMapping("wheel", 0, 0x1006);
    mouse.SetMapping("click", 0, 0);
    mouse.Update(); // the first poll acquires
    PushMouseMotion(8, 0);
    Poll(mouse);
    EXPECT_EQ(Read(0, 8, 0), Read(mouse.IsDown("right"), mouse.GetValue("right"), mouse.GetValue("left")));
    PushMouseMotion(9, 0);
    PushMouseWheel(1);
    PushMouseButton(SDL_BUTTON_LEFT, true);
    Poll(mouse);
    EXPECT_EQ(Read(1, 9, 1, 120, 1), Read(mouse.IsDown("right"), mouse.GetValue("right"), mouse.IsDown("wheel"),
                                          mouse.GetValue("wheel"), mouse.IsDown("click")));
    mouse.Update();
    EXPECT_FALSE(mouse.IsDown("right")) << "no motion since the last poll";
}

TEST_F(InputMappedControllerTest, InactiveMouseIsNotPolledAndSwitchingResetsTheButtons)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    mouse.SetMapping("click", 0, 1);
    mouse.Update();
    PushMouseButton(SDL_BUTTON_RIGHT, true);
    Poll(mouse);
    ASSERT_TRUE(mouse.WasPressed("click"));
    mouse.SetActive(false);
    EXPECT_TRUE(mouse.IsDown("click"));
    PushMouseButton(SDL_BUTTON_RIGHT, false);
    Poll(mouse);
    EXPECT_TRUE(mouse.IsDown("click")) << "inactive: Update leaves the buttons as they were";
    mouse.SetActive(true);
    PushMouseButton(SDL_BUTTON_RIGHT, true);
    Poll(mouse);
    EXPECT_TRUE(mouse.IsDown("click"));
    EXPECT_FALSE(mouse.WasPressed("click")) << "held across the reset: no new press";
}

TEST_F(InputMappedControllerTest, MouseCaptureOrderAndNames)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    mouse.Update();
    PushMouseMotion(-20, 30);
    Poll(mouse);
    ExpectCaptured(mouse, 0, 0x1001, "X AXIS -");
    PushMouseMotion(0, 30);
    PushMouseButton(SDL_BUTTON_MIDDLE, true);
    Poll(mouse);
    ExpectCaptured(mouse, 1, 2, "BUTTON:3");
}

TEST_F(InputMappedControllerTest, MouseExclusiveSwitchThrowsOnEachFailingStep)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    mouse.SetExclusive(true);
    EXPECT_TRUE(mouse.IsExclusive());
    mouse.SetExclusive(true); // no change, no device calls
    bool exclusive = true;
    ExpectSetUpFailures(
        InputDeviceKind::Mouse,
        {{InputStep::Unacquire, "DirectInputデバイスアクセス権の開放に失敗しました."},
         {InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
         {InputStep::Acquire, "DirectInputデバイスアクセス権の取得に失敗しました."}},
        [&] { mouse.SetExclusive(exclusive = !exclusive); }, "class korvane::CMappedMouseController");
}

// Joystick -------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, JoystickHatDirectionsAndCapture)
{
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 6, 32, 1);
    CMappedJoystickController joystick(*directInput_, FirstJoystick(), nullptr);
    const std::string directions = "nesw";
    for (std::uint32_t i = 0; i < 4; ++i)
        joystick.SetMapping(directions.substr(i, 1), 0, 0x2001 + i);
    auto held = [&] {
        std::string down;
        for (char direction : directions)
            down += joystick.IsDown(std::string(1, direction)) ? std::string(1, direction) : "";
        return down;
    };
    stick.SetHat(0, SDL_HAT_RIGHTUP);
    Poll(joystick);
    EXPECT_EQ("ne", held());
    ExpectCaptured(joystick, 0, 0x2001, "POV N", "north is tested first");
    stick.SetHat(0, SDL_HAT_LEFT);
    Poll(joystick);
    EXPECT_EQ("w", held());
    ASSERT_TRUE(joystick.GetActiveInput("cap", 0));
    EXPECT_EQ(0x2004u, joystick.GetMapping("cap", 0));
    stick.SetHat(0, SDL_HAT_DOWN);
    stick.SetAxis(4, -32768);
    Poll(joystick);
    ExpectCaptured(joystick, 0, 0x1009, "RY AXIS -", "axes come before the hat");
    stick.SetButton(7, true);
    stick.SetButton(3, true);
    Poll(joystick);
    ExpectCaptured(joystick, 4, 3, "BUTTON:4");
}

TEST_F(InputMappedControllerTest, JoystickAxisThresholdValuesAndUnknownCodes)
{
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 6, 32, 1);
    const os::input::Guid instance = FirstJoystick();
    CMappedJoystickController joystick(*directInput_, instance, nullptr);
    joystick.SetMapping("right", 0, 0x1002);
    joystick.SetMapping("left", 0, 0x1001);
    joystick.SetMapping("far", 0, 40);
    joystick.SetMapping("far", 1, 0x3000);

    // A second reader of the same stick tells which raw values land on 3000 and 3001 of the range.
    auto probe =
        Open(instance, os::input::DataFormat::Joystick, os::input::kCoopNonExclusive | os::input::kCoopBackground);
    probe->SetRange(os::input::kPropertyHowDevice, 0, -10000, 10000);
    ASSERT_EQ(os::input::kResultOk, probe->Acquire());
    auto rangeValue = [&](int raw) {
        stick.SetAxis(0, static_cast<std::int16_t>(raw));
        PumpInput();
        os::input::JoyState state;
        probe->GetDeviceState(sizeof(state), &state);
        return static_cast<int>(state.x);
    };
    const auto [at3000, at3001] = FindRawPositions(9800, 9900, 1, 3000, rangeValue);
    ASSERT_NE(0, at3000);
    ASSERT_NE(0, at3001);
    rangeValue(at3000);
    joystick.Update();
    EXPECT_FALSE(joystick.IsDown("right"));
    EXPECT_FLOAT_EQ(0.3f, joystick.GetValue("right"));
    EXPECT_EQ(0.0f, joystick.GetValue("left"));
    rangeValue(at3001);
    joystick.Update();
    EXPECT_TRUE(joystick.IsDown("right"));
    EXPECT_FLOAT_EQ(0.3001f, joystick.GetValue("right"));

    // Button codes past 31 and unknown codes are never held.
    rangeValue(-32768);
    for (int button = 0; button < 32; ++button)
        stick.SetButton(button, true);
    Poll(joystick);
    EXPECT_EQ(Read(1, 0, 0), Read(joystick.IsDown("left"), joystick.IsDown("far"), joystick.GetValue("far")));
    EXPECT_FLOAT_EQ(1.0f, joystick.GetValue("left"));
}

TEST_F(InputMappedControllerTest, JoystickSetUpFailuresThrowTheirMessages)
{
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 3, 4, 1);
    const os::input::Guid instance = FirstJoystick();
    ExpectSetUpFailures(
        InputDeviceKind::Joystick,
        {{InputStep::CreateDevice, "DirectInputデバイスの作成に失敗しました."},
         {InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
         {InputStep::SetDataFormat, "DirectInputデバイスのデータフォーマットの設定に失敗しました."},
         {InputStep::SetAxisMode, "DirectInputデバイスの軸モードの設定に失敗しました."},
         {InputStep::EnumObjects, "DirectInputデバイスの軸列挙に失敗しました."},
         {InputStep::SetRange, "DirectInputデバイスの軸範囲の設定に失敗しました."}},
        [&] { CMappedJoystickController joystick(*directInput_, instance, nullptr); },
        "class korvane::CMappedJoystickController");
}

// Pad slots ------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, PadStickDeadZoneAndTriggerValues)
{
    auto pad = PlugPad();
    CMappedXInputController controller(0);
    controller.SetMapping("up", 0, 0x5003);
    controller.SetMapping("fire", 0, 0);
    controller.SetMapping("fire", 1, 0x6001);
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11468);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    Poll(controller);
    EXPECT_FALSE(controller.IsDown("up"));
    EXPECT_FLOAT_EQ(11468.0f / 32767.0f, controller.GetValue("up"));
    EXPECT_TRUE(controller.IsDown("fire"));
    EXPECT_EQ(0.0f, controller.GetValue("fire")) << "the released trigger, written later, wins";
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11469);
    pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, false);
    Poll(controller);
    EXPECT_EQ(Read(1, 1), Read(controller.IsDown("up"), controller.IsDown("fire")));
    EXPECT_FLOAT_EQ(1.0f, controller.GetValue("fire"));
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    controller.SetMapping("down", 0, 0x5004);
    Poll(controller);
    EXPECT_FALSE(controller.IsDown("up"));
    EXPECT_FLOAT_EQ(32767.0f / 32768.0f, controller.GetValue("down")) << "the minus side counts in 32768ths";
}

TEST_F(InputMappedControllerTest, PadTriggerThresholdIsThirty)
{
    auto pad = PlugPad();
    CMappedXInputController controller(0);
    controller.SetMapping("rt", 0, 0x6002);
    // Find raw positions that give the trigger bytes 30 and 31 as the pad reports them.
    auto triggerAt = [&](int raw) {
        pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, static_cast<std::int16_t>(raw));
        PumpInput();
        os::input::PadState state;
        os::input::GetPadState(0, &state);
        return static_cast<int>(state.gamepad.rightTrigger);
    };
    const auto [raw30, raw31] = FindRawPositions(-32768, 0, 16, 30, triggerAt);
    ASSERT_NE(0, raw30);
    ASSERT_NE(0, raw31);
    triggerAt(raw30);
    controller.Update();
    EXPECT_FALSE(controller.IsDown("rt"));
    EXPECT_FLOAT_EQ(30.0f / 255.0f, controller.GetValue("rt"));
    EXPECT_FALSE(controller.GetActiveInput("cap", 0));
    triggerAt(raw31);
    controller.Update();
    EXPECT_TRUE(controller.IsDown("rt"));
    ExpectCaptured(controller, 0, 0x6002, "RT");
}

TEST_F(InputMappedControllerTest, PadCaptureOrderAndNames)
{
    auto pad = PlugPad();
    CMappedXInputController controller(0);
    pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad.SetAxis(SDL_CONTROLLER_AXIS_RIGHTX, -20000);
    Poll(controller);
    ExpectCaptured(controller, 0, 0x5006, "Right Stick: Left", "sticks before triggers");
    pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad.SetButton(SDL_CONTROLLER_BUTTON_BACK, true);
    Poll(controller);
    ExpectCaptured(controller, 0, 7, "BACK", "the lowest button code");
}

TEST_F(InputMappedControllerTest, UnpluggedPadKeepsItsButtonsAndAPadPluggedInLaterIsRead)
{
    CMappedXInputController slot0(0), slot1(1);
    slot0.SetMapping("a", 0, 0);
    slot1.SetMapping("a", 0, 0);
    slot0.Update();
    EXPECT_FALSE(slot0.IsDown("a"));
    auto first = VirtualJoystick::Pad(0x045E, 0x028E, "First Pad");
    auto second = VirtualJoystick::Pad(0x045E, 0x02D1, "Second Pad");
    PumpInput();
    second.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    first.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    PumpInput();
    slot0.Update();
    slot1.Update();
    EXPECT_EQ(Read(1, 1), Read(slot0.WasPressed("a"), slot1.WasPressed("a")));

    first.Detach();
    Poll(slot0);
    EXPECT_TRUE(slot0.IsDown("a")) << "a pad gone while held keeps its button down";
    slot0.ResetAll();
    slot0.Update();
    EXPECT_TRUE(slot0.IsDown("a")) << "ResetAll marks held; only a successful poll releases";
    auto again = VirtualJoystick::Pad(0x045E, 0x028E, "Back Again");
    Poll(slot0);
    EXPECT_FALSE(slot0.IsDown("a")) << "a pad back in the slot releases the button";
    slot1.Update();
    EXPECT_TRUE(slot1.IsDown("a")) << "the other pad kept its slot";
}

} // namespace
