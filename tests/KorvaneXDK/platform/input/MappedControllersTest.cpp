/** @file MappedControllersTest.cpp The four device controllers over real SDL events and virtual devices. */
#include <functional>
#include <optional>
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

/// A keyboard controller on the running input object.
class InputMappedKeyboard : public InputTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(InputTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(Start());
        keyboard_.emplace(*directInput_, os::input::kGuidSysKeyboard, nullptr, true);
    }
    void TearDown() override
    {
        keyboard_.reset();
        InputTest::TearDown();
    }
    std::optional<CMappedKeyboardController> keyboard_;
};

TEST_F(InputMappedKeyboard, TableCodesHaveNamesOtherCodesAreFormattedAndEmptySlotsAreNone)
{
    ExpectNames(*keyboard_, {{0x01, "ESC"}, {0xC9, "PAGE UP"}, {0xED, "MEDIASELECT"}, {0x54, "(KEY:54)"}});
    ExpectNames(*keyboard_, {{0x00, "(KEY:00)"}, {0x100, "NONE"}, {kNoInput, "NONE"}});
}

TEST_F(InputMappedKeyboard, EitherSlotsKeyHoldsTheButtonAndOnlyAReleaseMakesANewPress)
{
    CMappedKeyboardController& keyboard = *keyboard_;
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

TEST_F(InputMappedKeyboard, CaptureSkipsTheToggleKeysAndTakesTheLowestCode)
{
    CMappedKeyboardController& keyboard = *keyboard_;
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
}

TEST_F(InputMappedKeyboard, ACaptureThatFindsNothingBringsItsButtonIntoBeingForAReset)
{
    // A reset marks it held, but not a name first seen after the reset. The toggle keys held are no capture.
    CMappedKeyboardController& keyboard = *keyboard_;
    PushKey(SDL_SCANCODE_CAPSLOCK, true);
    PushKey(SDL_SCANCODE_INTERNATIONAL2, true);
    Poll(keyboard);
    EXPECT_FALSE(keyboard.GetActiveInput("jump", 0));
    keyboard.ResetAll();
    EXPECT_EQ(Read(1, 0), Read(keyboard.IsDown("jump"), keyboard.IsDown("never named")));
}

TEST_F(InputMappedKeyboard, AccessDeniedLeavesTheButtonsUnloggedAndReacquiredTheKeyWasLetGo)
{
    CMappedKeyboardController& keyboard = *keyboard_;
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
}

TEST_F(InputMappedKeyboard, ALostKeyboardThatCannotBeReacquiredLogsTheError)
{
    keyboard_->Update(); // the first poll acquires
    os::testing::FailInputStep(InputStep::GetDeviceState, os::input::kResultInputLost, InputDeviceKind::Keyboard, 1);
    os::testing::FailInputStep(InputStep::Acquire, os::input::kResultFail, InputDeviceKind::Keyboard, 1);
    keyboard_->Update();
    EXPECT_TRUE(log_.Contains("DirectX Error: E_FAIL(0x80004005)"));
}

/// A mouse controller on the running input object, acquired by its first poll.
class InputMappedMouse : public InputTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(InputTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(Start());
        mouse_.emplace(*directInput_, os::input::kGuidSysMouse, nullptr);
    }
    void TearDown() override
    {
        mouse_.reset();
        InputTest::TearDown();
    }
    std::optional<CMappedMouseController> mouse_;
};

TEST_F(InputMappedMouse, CodesHaveNamesAndCaptureTakesButtonsBeforeMotions)
{
    CMappedMouseController& mouse = *mouse_;
    ExpectNames(mouse, {{0x1001, "X AXIS -"}, {2, "BUTTON:3"}, {0x1005, "WHEEL -"}, {0x2001, "UNKNOWN"}});
    mouse.Update(); // the first poll acquires
    PushMouseMotion(-20, 30);
    Poll(mouse);
    ExpectCaptured(mouse, 0, "X AXIS -");
    PushMouseMotion(0, 30);
    PushMouseButton(SDL_BUTTON_MIDDLE, true);
    Poll(mouse);
    ExpectCaptured(mouse, 1, "BUTTON:3", "buttons before motions");
}

TEST_F(InputMappedMouse, MotionHoldsPastEightCountsAndValuesRawCountsSinceTheLastPoll)
{
    CMappedMouseController& mouse = *mouse_;
    mouse.Update(); // the first poll acquires
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
}

TEST_F(InputMappedMouse, InactiveItKeepsItsButtonsAndSwitchingBackResetsThem)
{
    // Held after the reset means no new press.
    CMappedMouseController& mouse = *mouse_;
    mouse.Update(); // the first poll acquires
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
}

TEST_F(InputMappedMouse, TheExclusiveSwitchThrowsOnEachFailingStep)
{
    // Exclusive, the first failing switch below is a change back.
    CMappedMouseController& mouse = *mouse_;
    mouse.Update(); // the first poll acquires
    mouse.SetExclusive(true);
    mouse.SetExclusive(true); // no change, no device calls
    bool exclusive = true;
    ExpectSetUpFailures(
        InputDeviceKind::Mouse,
        {{InputStep::Unacquire, "DirectInputデバイスアクセス権の開放に失敗しました."},
         {InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
         {InputStep::Acquire, "DirectInputデバイスアクセス権の取得に失敗しました."}},
        [&] { mouse.SetExclusive(exclusive = !exclusive); }, "class korvane::CMappedMouseController");
}

/// A plain joystick (six axes, 32 buttons, a hat) attached to the running input object, and its controller.
class InputMappedJoystick : public InputTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(InputTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(Start());
        stick_.emplace(VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 6, 32, 1));
        instance_ = Enumerate().at(0).instance;
        joystick_.emplace(*directInput_, instance_, nullptr);
    }
    void TearDown() override
    {
        joystick_.reset();
        stick_.reset();
        InputTest::TearDown();
    }
    std::optional<VirtualJoystick> stick_;
    os::input::Guid instance_{};
    std::optional<CMappedJoystickController> joystick_;
};

TEST_F(InputMappedJoystick, CodesHaveNames)
{
    ExpectNames(*joystick_, {{40, "BUTTON:41"}, {0x3000, "UNKNOWN"}, {5, "BUTTON:6"}, {0x100C, "RZ AXIS +"}});
}

TEST_F(InputMappedJoystick, TheHatHoldsItsDirectionsAndCapturesNorthFirst)
{
    CMappedJoystickController& joystick = *joystick_;
    for (std::uint32_t i = 0; i < 4; ++i)
        joystick.SetMapping(std::string(1, "nesw"[i]), 0, 0x2001 + i);
    stick_->SetHat(0, SDL_HAT_RIGHTUP);
    Poll(joystick);
    EXPECT_EQ(Read(1, 1, 0, 0),
              Read(joystick.IsDown("n"), joystick.IsDown("e"), joystick.IsDown("s"), joystick.IsDown("w")));
    ExpectCaptured(joystick, 0, "POV N", "north is tested first");
    stick_->SetHat(0, SDL_HAT_LEFT);
    Poll(joystick);
    EXPECT_EQ(Read(0, 0, 0, 1),
              Read(joystick.IsDown("n"), joystick.IsDown("e"), joystick.IsDown("s"), joystick.IsDown("w")));
    ExpectCaptured(joystick, 0, "POV W");
}

TEST_F(InputMappedJoystick, CaptureTakesTheLowestButtonThenAxesThenTheHat)
{
    CMappedJoystickController& joystick = *joystick_;
    stick_->SetHat(0, SDL_HAT_DOWN);
    stick_->SetAxis(4, -32768);
    Poll(joystick);
    ExpectCaptured(joystick, 0, "RY AXIS -", "axes come before the hat");
    stick_->SetButton(7, true);
    stick_->SetButton(3, true);
    Poll(joystick);
    ExpectCaptured(joystick, 4, "BUTTON:4");
}

TEST_F(InputMappedJoystick, AnAxisHoldsPastThreeTenthsOfItsRangeAndValuesItsPosition)
{
    CMappedJoystickController& joystick = *joystick_;
    joystick.SetMapping("right", 0, 0x1002);
    joystick.SetMapping("left", 0, 0x1001);
    // A second reader of the same stick tells which raw values land on 3000 and 3001 of the range.
    auto probe =
        Open(instance_, os::input::DataFormat::Joystick, os::input::kCoopNonExclusive | os::input::kCoopBackground);
    probe->SetRange(os::input::kPropertyHowDevice, 0, -10000, 10000);
    ASSERT_EQ(os::input::kResultOk, probe->Acquire());
    auto rangeValue = [&](int raw) {
        stick_->SetAxis(0, static_cast<std::int16_t>(raw));
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
}

TEST_F(InputMappedJoystick, ButtonCodesPast31AndUnknownCodesAreNeverHeld)
{
    // Every button held, and the stick all the way to the left.
    CMappedJoystickController& joystick = *joystick_;
    joystick.SetMapping("left", 0, 0x1001);
    joystick.SetMapping("far", 0, 40);
    joystick.SetMapping("far", 1, 0x3000);
    stick_->SetAxis(0, -32768);
    for (int button = 0; button < 32; ++button)
        stick_->SetButton(button, true);
    Poll(joystick);
    EXPECT_EQ(Read(1, 1, 0, 0), Read(joystick.IsDown("left"), joystick.GetValue("left"), joystick.IsDown("far"),
                                     joystick.GetValue("far")));
}

TEST_F(InputMappedJoystick, EachFailingSetUpStepThrowsWithItsMessage)
{
    ExpectSetUpFailures(
        InputDeviceKind::Joystick,
        {{InputStep::CreateDevice, "DirectInputデバイスの作成に失敗しました."},
         {InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
         {InputStep::SetDataFormat, "DirectInputデバイスのデータフォーマットの設定に失敗しました."},
         {InputStep::SetAxisMode, "DirectInputデバイスの軸モードの設定に失敗しました."},
         {InputStep::EnumObjects, "DirectInputデバイスの軸列挙に失敗しました."},
         {InputStep::SetRange, "DirectInputデバイスの軸範囲の設定に失敗しました."}},
        [&] { CMappedJoystickController failing(*directInput_, instance_, nullptr); },
        "class korvane::CMappedJoystickController");
}

/// A pad in slot 0 of the running input object.
class InputMappedPad : public InputTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(InputTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(Start());
        pad_.emplace(VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad"));
        PumpInput();
    }
    void TearDown() override
    {
        pad_.reset();
        InputTest::TearDown();
    }

    /// A second pad in slot 1 and button A pressed on both pads, seen by each slot's controller.
    VirtualJoystick PressAOnTwoPads(CMappedXInputController& controller, CMappedXInputController& slot1)
    {
        controller.SetMapping("a", 0, 0);
        slot1.SetMapping("a", 0, 0);
        slot1.Update();
        EXPECT_FALSE(slot1.IsDown("a")) << "no pad in the slot yet";
        auto second = VirtualJoystick::Pad(0x045E, 0x02D1, "Second Pad");
        PumpInput();
        second.SetButton(SDL_CONTROLLER_BUTTON_A, true);
        pad_->SetButton(SDL_CONTROLLER_BUTTON_A, true);
        PumpInput();
        controller.Update();
        slot1.Update();
        return second;
    }

    std::optional<VirtualJoystick> pad_;
};

TEST_F(InputMappedPad, CodesHaveNames)
{
    CMappedXInputController controller(0);
    ExpectNames(controller, {{0, "A"}, {13, "D-pad Right"}, {0x5001, "Left Stick: Right"}, {14, "NONE"}});
    ExpectNames(controller, {{0x5008, "Right Stick: Down"}, {0x6001, "LT"}});
}

TEST_F(InputMappedPad, ATriggerHoldsPastThirtyOf255AndIsCaptured)
{
    CMappedXInputController controller(0);
    controller.SetMapping("rt", 0, 0x6002);
    // Find raw positions that give the trigger bytes 30 and 31 as the pad reports them.
    auto triggerAt = [&](int raw) {
        pad_->SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, static_cast<std::int16_t>(raw));
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
}

TEST_F(InputMappedPad, CaptureTakesTheLowestButtonThenSticksThenTriggers)
{
    CMappedXInputController controller(0);
    pad_->SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    pad_->SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad_->SetAxis(SDL_CONTROLLER_AXIS_RIGHTX, -20000);
    Poll(controller);
    ExpectCaptured(controller, 0, "Right Stick: Left", "sticks before triggers");
    pad_->SetButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad_->SetButton(SDL_CONTROLLER_BUTTON_BACK, true);
    Poll(controller);
    ExpectCaptured(controller, 0, "BACK", "the lowest button code");
}

TEST_F(InputMappedPad, AStickHoldsPastItsDeadZoneAndTheLastWritingSlotGivesTheValue)
{
    CMappedXInputController controller(0);
    controller.SetMapping("up", 0, 0x5003);
    controller.SetMapping("fire", 0, 0);
    controller.SetMapping("fire", 1, 0x6001);
    pad_->SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    pad_->SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11468);
    pad_->SetButton(SDL_CONTROLLER_BUTTON_A, true);
    Poll(controller);
    EXPECT_EQ(Read(0, 11468.0f / 32767.0f, 1, 0), Read(controller.IsDown("up"), controller.GetValue("up"),
                                                       controller.IsDown("fire"), controller.GetValue("fire")));
    pad_->SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11469);
    pad_->SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad_->SetButton(SDL_CONTROLLER_BUTTON_A, false);
    Poll(controller);
    EXPECT_EQ(Read(1, 1, 1), Read(controller.IsDown("up"), controller.IsDown("fire"), controller.GetValue("fire")));
    pad_->SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    controller.SetMapping("down", 0, 0x5004);
    Poll(controller);
    // The minus side counts in 32768ths.
    EXPECT_EQ(Read(0, 32767.0f / 32768.0f), Read(controller.IsDown("up"), controller.GetValue("down")));
}

TEST_F(InputMappedPad, ASecondPadTakesTheNextSlot)
{
    CMappedXInputController controller(0);
    CMappedXInputController slot1(1);
    auto second = PressAOnTwoPads(controller, slot1);
    EXPECT_EQ(Read(1, 1), Read(controller.WasPressed("a"), slot1.WasPressed("a")));
}

TEST_F(InputMappedPad, APadGoneWhileHeldKeepsItsButtonDownUntilAPadIsBackInItsSlot)
{
    CMappedXInputController controller(0);
    CMappedXInputController slot1(1);
    auto second = PressAOnTwoPads(controller, slot1);
    pad_->Detach();
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
