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

using InputMappedControllerTest = InputTest;

void Poll(IController& controller)
{
    PumpInput();
    controller.Update();
}

/// Checks that the input held now is captured into button "cap" under the given name (names tell the codes apart).
void ExpectCaptured(IController& controller, int slot, const std::string& name, const char* why = "")
{
    ASSERT_TRUE(controller.GetActiveInput("cap", slot)) << why;
    EXPECT_EQ(name, controller.GetInputName("cap", slot)) << why;
}

/// Checks the names of codes as mapped in slot 0 of a scratch button, and that an empty slot is "NONE".
void ExpectNames(IController& controller, std::initializer_list<std::pair<std::uint32_t, const char*>> names)
{
    for (const auto& [code, name] : names) {
        controller.SetMapping("n", 0, code);
        EXPECT_EQ(name, controller.GetInputName("n", 0)) << std::hex << code;
    }
    EXPECT_EQ(Read(1, 1), Read(controller.GetInputName("n", 3) == "NONE", controller.GetInputName("n", -1) == "NONE"));
}

/// The first raw position from `from` on, in `step`s, where `read` gives `value`; one step
/// less gives less (the readings checked after it tell by how much).
int FirstRawGiving(int from, int step, int value, const std::function<int(int)>& read)
{
    int raw = from;
    while (read(raw) < value && raw < 32767 - step)
        raw += step;
    return raw;
}

void ExpectSetUpFailures(InputDeviceKind kind, std::initializer_list<std::pair<InputStep, const char*>> steps,
                         const std::function<void()>& make, const char* where)
{
    for (const auto& [step, message] : steps) {
        SCOPED_TRACE(message);
        LogCapture::Clear();
        os::testing::FailInputStep(step, os::input::kResultFail, kind, 1);
        ExpectError<EIOError>(make, message, where);
        EXPECT_TRUE(LogCapture::Contains("DirectX Error: E_FAIL(0x80004005)"));
    }
}

TEST_F(InputMappedControllerTest, KeyboardMouseJoystickAndPadReadCaptureNameAndKeepTheirButtons)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, true);
    // Table codes have names, other codes are formatted, empty slots are "NONE".
    ExpectNames(keyboard, {{0x01, "ESC"}, {0xC9, "PAGE UP"}, {0xED, "MEDIASELECT"}, {0x54, "(KEY:54)"}});
    ExpectNames(keyboard, {{0x00, "(KEY:00)"}, {0x100, "NONE"}, {kNoInput, "NONE"}});
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

    // Capture skips the toggle keys and takes the lowest code.
    keyboard.SetMapping("cap", 2, 0x39);
    PushKey(SDL_SCANCODE_CAPSLOCK, true);
    PushKey(SDL_SCANCODE_INTERNATIONAL2, true);
    Poll(keyboard);
    EXPECT_EQ(Read(0, 0x39), Read(keyboard.GetActiveInput("cap", 2), keyboard.GetMapping("cap", 2)));
    PushKey(SDL_SCANCODE_Z, true);
    PushKey(SDL_SCANCODE_RETURN, true);
    Poll(keyboard);
    EXPECT_FALSE(keyboard.GetActiveInput("cap", 5));
    ExpectCaptured(keyboard, 2, "ENTER");
    // A capture that finds nothing still brings its button into being: a reset marks it held,
    // but not a name first seen after the reset.
    PushKey(SDL_SCANCODE_Z, false);
    PushKey(SDL_SCANCODE_RETURN, false);
    Poll(keyboard);
    EXPECT_FALSE(keyboard.GetActiveInput("jump", 0));
    keyboard.ResetAll();
    EXPECT_EQ(Read(1, 0), Read(keyboard.IsDown("jump"), keyboard.IsDown("never named")));

    // Access denied leaves the buttons as they were, unlogged; re-acquired, the key was let go.
    keyboard.SetMapping("up", 0, 0xC8);
    PushKey(SDL_SCANCODE_UP, true);
    Poll(keyboard);
    os::testing::SetInputFocusOverride(false);
    keyboard.Update();
    keyboard.Update();
    EXPECT_EQ(Read(1, 0), Read(keyboard.IsDown("up"), log_.Contains("DirectX Error")));
    os::testing::SetInputFocusOverride(true);
    keyboard.Update();
    EXPECT_FALSE(keyboard.IsDown("up"));
    os::testing::FailInputStep(InputStep::GetDeviceState, os::input::kResultInputLost, InputDeviceKind::Keyboard, 1);
    os::testing::FailInputStep(InputStep::Acquire, os::input::kResultFail, InputDeviceKind::Keyboard, 1);
    keyboard.Update();
    EXPECT_TRUE(log_.Contains("DirectX Error: E_FAIL(0x80004005)"));

    // The mouse captures buttons before motions, counts motion, is not polled while inactive and switches exclusive.
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    ExpectNames(mouse, {{0x1001, "X AXIS -"}, {2, "BUTTON:3"}, {0x1005, "WHEEL -"}, {0x2001, "UNKNOWN"}});
    mouse.Update(); // the first poll acquires
    PushMouseMotion(-20, 30);
    Poll(mouse);
    ExpectCaptured(mouse, 0, "X AXIS -");
    PushMouseMotion(0, 30);
    PushMouseButton(SDL_BUTTON_MIDDLE, true);
    Poll(mouse);
    ExpectCaptured(mouse, 1, "BUTTON:3", "buttons before motions");

    // Motion holds past eight counts and values raw counts.
    mouse.SetMapping("right", 0, 0x1002);
    mouse.SetMapping("left", 0, 0x1001);
    mouse.SetMapping("wheel", 0, 0x1006);
    mouse.SetMapping("click", 0, 0);
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
    // No motion nor wheel since the last poll; the button stays held.
    EXPECT_EQ(Read(0, 0, 0, 1),
              Read(mouse.IsDown("right"), mouse.GetValue("right"), mouse.GetValue("wheel"), mouse.IsDown("click")));

    // Inactive: Update leaves the buttons; switching back resets them, held means no new press.
    mouse.SetMapping("menu", 0, 1);
    PushMouseButton(SDL_BUTTON_RIGHT, true);
    Poll(mouse);
    mouse.SetActive(false);
    PushMouseButton(SDL_BUTTON_RIGHT, false);
    Poll(mouse);
    EXPECT_TRUE(mouse.IsDown("menu"));
    mouse.SetActive(true);
    PushMouseButton(SDL_BUTTON_RIGHT, true);
    Poll(mouse);
    EXPECT_EQ(Read(1, 0), Read(mouse.IsDown("menu"), mouse.WasPressed("menu")));

    // The exclusive switch throws on each failing step.
    // Exclusive, the first failing switch below is a change back.
    mouse.SetExclusive(true);
    mouse.SetExclusive(true); // no change, no device calls
    bool exclusive = true;
    ExpectSetUpFailures(
        InputDeviceKind::Mouse,
        {{InputStep::Unacquire, "DirectInputデバイスアクセス権の開放に失敗しました."},
         {InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
         {InputStep::Acquire, "DirectInputデバイスアクセス権の取得に失敗しました."}},
        [&] { mouse.SetExclusive(exclusive = !exclusive); }, "class korvane::CMappedMouseController");

    // The joystick: hats, axes, capture, names and set-up failures.
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 6, 32, 1);
    const os::input::Guid instance = Enumerate().at(0).instance;
    CMappedJoystickController joystick(*directInput_, instance, nullptr);
    ExpectNames(joystick, {{40, "BUTTON:41"}, {0x3000, "UNKNOWN"}, {5, "BUTTON:6"}, {0x100C, "RZ AXIS +"}});
    for (std::uint32_t i = 0; i < 4; ++i)
        joystick.SetMapping(std::string(1, "nesw"[i]), 0, 0x2001 + i);
    stick.SetHat(0, SDL_HAT_RIGHTUP);
    Poll(joystick);
    EXPECT_EQ(Read(1, 1, 0, 0),
              Read(joystick.IsDown("n"), joystick.IsDown("e"), joystick.IsDown("s"), joystick.IsDown("w")));
    ExpectCaptured(joystick, 0, "POV N", "north is tested first");
    stick.SetHat(0, SDL_HAT_LEFT);
    Poll(joystick);
    EXPECT_EQ(Read(0, 0, 0, 1),
              Read(joystick.IsDown("n"), joystick.IsDown("e"), joystick.IsDown("s"), joystick.IsDown("w")));
    ExpectCaptured(joystick, 0, "POV W");
    stick.SetHat(0, SDL_HAT_DOWN);
    stick.SetAxis(4, -32768);
    Poll(joystick);
    ExpectCaptured(joystick, 0, "RY AXIS -", "axes come before the hat");
    stick.SetButton(7, true);
    stick.SetButton(3, true);
    Poll(joystick);
    ExpectCaptured(joystick, 4, "BUTTON:4");

    // Axis threshold and values; button codes past 31 and unknown codes are never held.
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
    const int at3001 = FirstRawGiving(9800, 1, 3001, rangeValue);
    rangeValue(at3001 - 1);
    joystick.Update();
    EXPECT_EQ(Read(0, 0.3f, 0), Read(joystick.IsDown("right"), joystick.GetValue("right"), joystick.GetValue("left")));
    rangeValue(at3001);
    joystick.Update();
    EXPECT_EQ(Read(1, 0.3001f), Read(joystick.IsDown("right"), joystick.GetValue("right")));
    rangeValue(-32768);
    for (int button = 0; button < 32; ++button)
        stick.SetButton(button, true);
    Poll(joystick);
    EXPECT_EQ(Read(1, 1, 0, 0), Read(joystick.IsDown("left"), joystick.GetValue("left"), joystick.IsDown("far"),
                                     joystick.GetValue("far")));

    ExpectSetUpFailures(
        InputDeviceKind::Joystick,
        {{InputStep::CreateDevice, "DirectInputデバイスの作成に失敗しました."},
         {InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
         {InputStep::SetDataFormat, "DirectInputデバイスのデータフォーマットの設定に失敗しました."},
         {InputStep::SetAxisMode, "DirectInputデバイスの軸モードの設定に失敗しました."},
         {InputStep::EnumObjects, "DirectInputデバイスの軸列挙に失敗しました."},
         {InputStep::SetRange, "DirectInputデバイスの軸範囲の設定に失敗しました."}},
        [&] { CMappedJoystickController failing(*directInput_, instance, nullptr); },
        "class korvane::CMappedJoystickController");

    // The pad: trigger threshold, capture order, dead zone, values and slots as pads come and go.
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    PumpInput();
    CMappedXInputController controller(0);
    ExpectNames(controller, {{0, "A"}, {13, "D-pad Right"}, {0x5001, "Left Stick: Right"}, {14, "NONE"}});
    ExpectNames(controller, {{0x5008, "Right Stick: Down"}, {0x6001, "LT"}});
    controller.SetMapping("rt", 0, 0x6002);
    // Find raw positions that give the trigger bytes 30 and 31 as the pad reports them.
    auto triggerAt = [&](int raw) {
        pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, static_cast<std::int16_t>(raw));
        PumpInput();
        os::input::PadState state;
        os::input::GetPadState(0, &state);
        return static_cast<int>(state.gamepad.rightTrigger);
    };
    const int raw31 = FirstRawGiving(-32768, 16, 31, triggerAt);
    triggerAt(raw31 - 16);
    controller.Update();
    EXPECT_EQ(Read(0, 30.0f / 255.0f, 0),
              Read(controller.IsDown("rt"), controller.GetValue("rt"), controller.GetActiveInput("cap", 0)));
    triggerAt(raw31);
    controller.Update();
    EXPECT_TRUE(controller.IsDown("rt"));
    ExpectCaptured(controller, 0, "RT");
    pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad.SetAxis(SDL_CONTROLLER_AXIS_RIGHTX, -20000);
    Poll(controller);
    ExpectCaptured(controller, 0, "Right Stick: Left", "sticks before triggers");
    pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad.SetButton(SDL_CONTROLLER_BUTTON_BACK, true);
    Poll(controller);
    ExpectCaptured(controller, 0, "BACK", "the lowest button code");

    // Stick dead zone; the last writing slot gives the value.
    controller.SetMapping("up", 0, 0x5003);
    controller.SetMapping("fire", 0, 0);
    controller.SetMapping("fire", 1, 0x6001);
    pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11468);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    Poll(controller);
    EXPECT_EQ(Read(0, 11468.0f / 32767.0f, 1, 0), Read(controller.IsDown("up"), controller.GetValue("up"),
                                                       controller.IsDown("fire"), controller.GetValue("fire")));
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11469);
    pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, false);
    Poll(controller);
    EXPECT_EQ(Read(1, 1, 1), Read(controller.IsDown("up"), controller.IsDown("fire"), controller.GetValue("fire")));
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    controller.SetMapping("down", 0, 0x5004);
    Poll(controller);
    // The minus side counts in 32768ths.
    EXPECT_EQ(Read(0, 32767.0f / 32768.0f), Read(controller.IsDown("up"), controller.GetValue("down")));

    // A second pad takes the next slot; a pad gone while held keeps its button down until a pad is back in its slot.
    CMappedXInputController slot1(1);
    controller.SetMapping("a", 0, 0);
    slot1.SetMapping("a", 0, 0);
    slot1.Update();
    EXPECT_FALSE(slot1.IsDown("a")) << "no pad in the slot yet";
    auto second = VirtualJoystick::Pad(0x045E, 0x02D1, "Second Pad");
    PumpInput();
    second.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    PumpInput();
    controller.Update();
    slot1.Update();
    EXPECT_EQ(Read(1, 1), Read(controller.WasPressed("a"), slot1.WasPressed("a")));

    pad.Detach();
    Poll(controller);
    EXPECT_TRUE(controller.IsDown("a")) << "a pad gone while held keeps its button down";
    controller.ResetAll();
    controller.Update();
    EXPECT_TRUE(controller.IsDown("a")) << "ResetAll marks held; only a successful poll releases";
    auto again = VirtualJoystick::Pad(0x045E, 0x028E, "Back Again");
    Poll(controller);
    slot1.Update();
    // A pad back in the slot releases the button; the other pad kept its slot.
    EXPECT_EQ(Read(0, 1), Read(controller.IsDown("a"), slot1.IsDown("a")));
}

} // namespace
