/** @file MappedControllersTest.cpp The four device controllers over real SDL events and virtual devices. */
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "../../../os/input/InputTestSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/input/MappedJoystickController.h"
#include "KorvaneXDK/platform/input/MappedKeyboardController.h"
#include "KorvaneXDK/platform/input/MappedMouseController.h"
#include "KorvaneXDK/platform/input/MappedXInputController.h"
#include "os/input/InputDevice.h"
#include "os/input/PadInput.h"

namespace
{

using namespace korvane;
using korvane::test::PumpInput;
using korvane::test::PushKey;
using korvane::test::VirtualJoystick;

class InputMappedControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl_.Ok());
        os::input::InputModule* module = os::input::LoadInputModule("dinput8.dll");
        ASSERT_EQ(os::input::kResultOk, os::input::FindInputFunction(module, "DirectInput8Create")(
                                            nullptr, os::input::kDirectInputVersion, directInput_));
        os::input::FreeInputModule(module);
    }
    void TearDown() override { directInput_.reset(); }

    os::input::DeviceInstance FirstJoystick()
    {
        os::input::DeviceInstance first;
        directInput_->EnumDevices(
            os::input::kDeviceClassGameController,
            [&](const os::input::DeviceInstance& instance)
            {
                first = instance;
                return os::input::kEnumStop;
            },
            os::input::kEnumAttachedOnly);
        return first;
    }

    korvane::test::JoystickSubsystem sdl_;
    korvane::test::InputHooksGuard hooks_;
    korvane::test::LogCapture log_;
    std::shared_ptr<os::input::DirectInput> directInput_;
};

// Keyboard -------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, KeyboardReadsKeysPushedThroughTheEventPump)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, true);
    EXPECT_EQ(kControllerKeyboard, keyboard.GetDeviceType());
    keyboard.AddButton("left", "Left");
    keyboard.SetMapping("left", 0, 0xCB);
    keyboard.SetMapping("left", 1, 0x1E);
    keyboard.SetMapping("far", 0, 0x1CB);

    PushKey(SDL_SCANCODE_LEFT, true);
    PumpInput();
    keyboard.Update();
    EXPECT_TRUE(keyboard.IsDown("left"));
    EXPECT_EQ(1.0f, keyboard.GetValue("left"));
    EXPECT_TRUE(keyboard.WasPressed("left"));
    EXPECT_FALSE(keyboard.IsDown("far")) << "codes past 0xFF are never held";

    PushKey(SDL_SCANCODE_LEFT, false);
    PushKey(SDL_SCANCODE_A, true);
    PumpInput();
    keyboard.Update();
    EXPECT_TRUE(keyboard.IsDown("left")) << "the second slot's key";
    EXPECT_FALSE(keyboard.WasPressed("left")) << "no release between the two keys";

    PushKey(SDL_SCANCODE_A, false);
    PumpInput();
    keyboard.Update();
    EXPECT_FALSE(keyboard.IsDown("left"));
    EXPECT_EQ(0.0f, keyboard.GetValue("left"));
}

TEST_F(InputMappedControllerTest, KeyboardCaptureSkipsToggleKeysAndTakesTheLowestCode)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, false);
    keyboard.SetMapping("fire", 2, 0x39);
    PushKey(SDL_SCANCODE_CAPSLOCK, true);
    PushKey(SDL_SCANCODE_INTERNATIONAL2, true);
    PumpInput();
    keyboard.Update();
    EXPECT_FALSE(keyboard.GetActiveInput("fire", 2));
    EXPECT_EQ(0x39u, keyboard.GetMapping("fire", 2));

    PushKey(SDL_SCANCODE_Z, true);
    PushKey(SDL_SCANCODE_RETURN, true);
    PumpInput();
    keyboard.Update();
    EXPECT_FALSE(keyboard.GetActiveInput("fire", 5));
    ASSERT_TRUE(keyboard.GetActiveInput("fire", 2));
    EXPECT_EQ(0x1Cu, keyboard.GetMapping("fire", 2));
    EXPECT_EQ("ENTER", keyboard.GetInputName("fire", 2));

    // A capture that finds nothing still brings its button into being: a reset marks it held.
    PushKey(SDL_SCANCODE_Z, false);
    PushKey(SDL_SCANCODE_RETURN, false);
    PumpInput();
    keyboard.Update();
    EXPECT_FALSE(keyboard.GetActiveInput("jump", 0));
    keyboard.ResetAll();
    EXPECT_TRUE(keyboard.IsDown("jump"));
    EXPECT_FALSE(keyboard.IsDown("never named")) << "a name first seen after the reset";
}

TEST_F(InputMappedControllerTest, KeyboardNamesEveryTableKeyAndFormatsTheRest)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, false);
    auto nameOf = [&](std::uint32_t code)
    {
        keyboard.SetMapping("k", 0, code);
        return keyboard.GetInputName("k", 0);
    };
    EXPECT_EQ("ESC", nameOf(0x01));
    EXPECT_EQ("PAGE UP", nameOf(0xC9));
    EXPECT_EQ("MEDIASELECT", nameOf(0xED));
    EXPECT_EQ("(KEY:54)", nameOf(0x54));
    EXPECT_EQ("(KEY:00)", nameOf(0x00));
    EXPECT_EQ("NONE", nameOf(0x100));
    EXPECT_EQ("NONE", nameOf(kNoInput));
    EXPECT_EQ("NONE", keyboard.GetInputName("k", 7));
    int named = 0;
    for (std::uint32_t code = 0; code <= 0xFF; ++code)
    {
        if (nameOf(code).rfind("(KEY:", 0) != 0)
            ++named;
    }
    EXPECT_EQ(144, named);
}

TEST_F(InputMappedControllerTest, KeyboardKeepsItsButtonsWhileInTheBackground)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, true);
    keyboard.SetMapping("up", 0, 0xC8);
    PushKey(SDL_SCANCODE_UP, true);
    PumpInput();
    keyboard.Update();
    ASSERT_TRUE(keyboard.IsDown("up"));

    os::testing::SetInputFocusOverride(false);
    keyboard.Update();
    keyboard.Update();
    EXPECT_TRUE(keyboard.IsDown("up")) << "access denied leaves the buttons as they were";
    EXPECT_FALSE(log_.Contains("DirectX Error")) << "access denied is not logged";

    os::testing::SetInputFocusOverride(true);
    keyboard.Update();
    EXPECT_FALSE(keyboard.IsDown("up")) << "re-acquired; the key was let go with the focus";
}

TEST_F(InputMappedControllerTest, KeyboardLogsOtherAcquisitionFailuresAndGoesOn)
{
    CMappedKeyboardController keyboard(*directInput_, os::input::kGuidSysKeyboard, nullptr, true);
    keyboard.SetMapping("up", 0, 0xC8);
    os::testing::FailInputStep(os::testing::InputStep::GetDeviceState, os::input::kResultInputLost,
                               os::testing::InputDeviceKind::Keyboard, 1);
    os::testing::FailInputStep(os::testing::InputStep::Acquire, os::input::kResultFail,
                               os::testing::InputDeviceKind::Keyboard, 1);
    keyboard.Update();
    EXPECT_TRUE(log_.Contains("DirectX Error: E_FAIL(0x80004005)"));
}

// Mouse ----------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, MouseMotionHoldsPastEightCountsAndValuesRawCounts)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    EXPECT_EQ(kControllerMouse, mouse.GetDeviceType());
    mouse.SetMapping("right", 0, 0x1002);
    mouse.SetMapping("left", 0, 0x1001);
    mouse.SetMapping("wheel", 0, 0x1006);
    mouse.SetMapping("click", 0, 0);
    mouse.Update(); // the first poll acquires

    korvane::test::PushMouseMotion(8, 0);
    PumpInput();
    mouse.Update();
    EXPECT_FALSE(mouse.IsDown("right"));
    EXPECT_EQ(8.0f, mouse.GetValue("right"));
    EXPECT_EQ(0.0f, mouse.GetValue("left"));

    korvane::test::PushMouseMotion(9, 0);
    korvane::test::PushMouseWheel(1);
    korvane::test::PushMouseButton(SDL_BUTTON_LEFT, true);
    PumpInput();
    mouse.Update();
    EXPECT_TRUE(mouse.IsDown("right"));
    EXPECT_EQ(9.0f, mouse.GetValue("right"));
    EXPECT_TRUE(mouse.IsDown("wheel"));
    EXPECT_EQ(120.0f, mouse.GetValue("wheel"));
    EXPECT_TRUE(mouse.IsDown("click"));

    mouse.Update();
    EXPECT_FALSE(mouse.IsDown("right")) << "no motion since the last poll";
}

TEST_F(InputMappedControllerTest, InactiveMouseIsNotPolledAndSwitchingResetsTheButtons)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    mouse.SetMapping("click", 0, 1);
    mouse.Update();
    korvane::test::PushMouseButton(SDL_BUTTON_RIGHT, true);
    PumpInput();
    mouse.Update();
    ASSERT_TRUE(mouse.WasPressed("click"));

    mouse.SetActive(false);
    EXPECT_TRUE(mouse.IsDown("click"));
    korvane::test::PushMouseButton(SDL_BUTTON_RIGHT, false);
    PumpInput();
    mouse.Update();
    EXPECT_TRUE(mouse.IsDown("click")) << "inactive: Update leaves the buttons as they were";

    mouse.SetActive(true);
    korvane::test::PushMouseButton(SDL_BUTTON_RIGHT, true);
    PumpInput();
    mouse.Update();
    EXPECT_TRUE(mouse.IsDown("click"));
    EXPECT_FALSE(mouse.WasPressed("click")) << "held across the reset: no new press";
}

TEST_F(InputMappedControllerTest, MouseCaptureOrderAndNames)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    mouse.Update();
    korvane::test::PushMouseMotion(-20, 30);
    PumpInput();
    mouse.Update();
    ASSERT_TRUE(mouse.GetActiveInput("b", 0));
    EXPECT_EQ(0x1001u, mouse.GetMapping("b", 0));
    EXPECT_EQ("X AXIS -", mouse.GetInputName("b", 0));

    korvane::test::PushMouseMotion(0, 30);
    korvane::test::PushMouseButton(SDL_BUTTON_MIDDLE, true);
    PumpInput();
    mouse.Update();
    ASSERT_TRUE(mouse.GetActiveInput("b", 1));
    EXPECT_EQ(2u, mouse.GetMapping("b", 1));
    EXPECT_EQ("BUTTON:3", mouse.GetInputName("b", 1));

    mouse.SetMapping("b", 2, 0x1005);
    EXPECT_EQ("WHEEL -", mouse.GetInputName("b", 2));
    mouse.SetMapping("b", 2, 0x2001);
    EXPECT_EQ("UNKNOWN", mouse.GetInputName("b", 2));
    EXPECT_EQ("NONE", mouse.GetInputName("b", 3));
}

TEST_F(InputMappedControllerTest, MouseExclusiveSwitchThrowsOnEachFailingStep)
{
    CMappedMouseController mouse(*directInput_, os::input::kGuidSysMouse, nullptr);
    mouse.SetExclusive(true);
    EXPECT_TRUE(mouse.IsExclusive());
    mouse.SetExclusive(true); // no change, no device calls

    const struct
    {
        os::testing::InputStep step;
        const char* message;
    } steps[] = {
        {os::testing::InputStep::Unacquire, "DirectInputデバイスアクセス権の開放に失敗しました."},
        {os::testing::InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
        {os::testing::InputStep::Acquire, "DirectInputデバイスアクセス権の取得に失敗しました."},
    };
    bool exclusive = true;
    for (const auto& step : steps)
    {
        os::testing::FailInputStep(step.step, os::input::kResultFail, os::testing::InputDeviceKind::Mouse, 1);
        exclusive = !exclusive;
        try
        {
            mouse.SetExclusive(exclusive);
            ADD_FAILURE() << step.message;
        }
        catch (const EIOError& error)
        {
            EXPECT_EQ(step.message, error.GetMessage());
            EXPECT_EQ("class korvane::CMappedMouseController", error.GetWhere());
        }
    }
}

// Joystick -------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, JoystickHatDirectionsAndCapture)
{
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 6, 32, 1);
    CMappedJoystickController joystick(*directInput_, FirstJoystick().instance, nullptr);
    EXPECT_EQ(kControllerJoystick, joystick.GetDeviceType());
    const char* names[] = {"n", "e", "s", "w"};
    for (std::uint32_t i = 0; i < 4; ++i)
        joystick.SetMapping(names[i], 0, 0x2001 + i);

    stick.SetHat(0, SDL_HAT_RIGHTUP);
    PumpInput();
    joystick.Update();
    EXPECT_TRUE(joystick.IsDown("n"));
    EXPECT_TRUE(joystick.IsDown("e"));
    EXPECT_FALSE(joystick.IsDown("s"));
    EXPECT_FALSE(joystick.IsDown("w"));
    ASSERT_TRUE(joystick.GetActiveInput("cap", 0));
    EXPECT_EQ(0x2001u, joystick.GetMapping("cap", 0)) << "north is tested first";
    EXPECT_EQ("POV N", joystick.GetInputName("cap", 0));

    stick.SetHat(0, SDL_HAT_LEFT);
    PumpInput();
    joystick.Update();
    EXPECT_TRUE(joystick.IsDown("w"));
    EXPECT_FALSE(joystick.IsDown("n"));
    ASSERT_TRUE(joystick.GetActiveInput("cap", 0));
    EXPECT_EQ(0x2004u, joystick.GetMapping("cap", 0));

    stick.SetHat(0, SDL_HAT_DOWN);
    stick.SetAxis(4, -32768);
    PumpInput();
    joystick.Update();
    ASSERT_TRUE(joystick.GetActiveInput("cap", 0));
    EXPECT_EQ(0x1009u, joystick.GetMapping("cap", 0)) << "axes come before the hat";
    EXPECT_EQ("RY AXIS -", joystick.GetInputName("cap", 0));

    stick.SetButton(7, true);
    stick.SetButton(3, true);
    PumpInput();
    joystick.Update();
    ASSERT_TRUE(joystick.GetActiveInput("cap", 4));
    EXPECT_EQ(3u, joystick.GetMapping("cap", 4));
    EXPECT_EQ("BUTTON:4", joystick.GetInputName("cap", 4));
}

TEST_F(InputMappedControllerTest, JoystickAxisThresholdValuesAndUnknownCodes)
{
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 6, 32, 1);
    const os::input::DeviceInstance instance = FirstJoystick();
    CMappedJoystickController joystick(*directInput_, instance.instance, nullptr);
    joystick.SetMapping("right", 0, 0x1002);
    joystick.SetMapping("left", 0, 0x1001);
    joystick.SetMapping("far", 0, 40);
    joystick.SetMapping("far", 1, 0x3000);

    // A second reader of the same stick tells which raw values land on 3000 and 3001 of the range.
    std::shared_ptr<os::input::InputDevice> probe;
    ASSERT_EQ(os::input::kResultOk, directInput_->CreateDevice(instance.instance, probe));
    probe->SetCooperativeLevel(nullptr, os::input::kCoopNonExclusive | os::input::kCoopBackground);
    probe->SetDataFormat(os::input::DataFormat::Joystick);
    probe->SetRange(os::input::kPropertyHowDevice, 0, -10000, 10000);
    ASSERT_EQ(os::input::kResultOk, probe->Acquire());
    auto rangeValue = [&](std::int16_t raw)
    {
        stick.SetAxis(0, raw);
        PumpInput();
        os::input::JoyState state;
        probe->GetDeviceState(sizeof(state), &state);
        return state.x;
    };
    std::int16_t at3000 = 0;
    std::int16_t at3001 = 0;
    for (int raw = 9800; raw < 9900 && at3001 == 0; ++raw)
    {
        const std::int32_t value = rangeValue(static_cast<std::int16_t>(raw));
        if (value == 3000)
            at3000 = static_cast<std::int16_t>(raw);
        if (value == 3001)
            at3001 = static_cast<std::int16_t>(raw);
    }
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

    rangeValue(-32768);
    for (int button = 0; button < 32; ++button)
        stick.SetButton(button, true);
    PumpInput();
    joystick.Update();
    EXPECT_TRUE(joystick.IsDown("left"));
    EXPECT_FLOAT_EQ(1.0f, joystick.GetValue("left"));
    EXPECT_FALSE(joystick.IsDown("far")) << "button codes past 31 and unknown codes are never held";
    EXPECT_EQ(0.0f, joystick.GetValue("far"));

    EXPECT_EQ("BUTTON:41", joystick.GetInputName("far", 0));
    EXPECT_EQ("UNKNOWN", joystick.GetInputName("far", 1));
    joystick.SetMapping("far", 2, 5);
    EXPECT_EQ("BUTTON:6", joystick.GetInputName("far", 2));
    joystick.SetMapping("far", 2, 0x100C);
    EXPECT_EQ("RZ AXIS +", joystick.GetInputName("far", 2));
    EXPECT_EQ("NONE", joystick.GetInputName("far", 3));
}

TEST_F(InputMappedControllerTest, JoystickSetUpFailuresThrowTheirMessages)
{
    auto stick = VirtualJoystick::Stick(0x1234, 0x5678, "Stick", 3, 4, 1);
    const os::input::DeviceInstance instance = FirstJoystick();
    const struct
    {
        os::testing::InputStep step;
        const char* message;
    } steps[] = {
        {os::testing::InputStep::CreateDevice, "DirectInputデバイスの作成に失敗しました."},
        {os::testing::InputStep::SetCooperativeLevel, "DirectInputデバイスの協調レベルの設定に失敗しました."},
        {os::testing::InputStep::SetDataFormat,
         "DirectInputデバイスのデータフォーマットの設定に失敗しました."},
        {os::testing::InputStep::SetAxisMode, "DirectInputデバイスの軸モードの設定に失敗しました."},
        {os::testing::InputStep::EnumObjects, "DirectInputデバイスの軸列挙に失敗しました."},
        {os::testing::InputStep::SetRange, "DirectInputデバイスの軸範囲の設定に失敗しました."},
    };
    for (const auto& step : steps)
    {
        log_.Clear();
        os::testing::FailInputStep(step.step, os::input::kResultFail, os::testing::InputDeviceKind::Joystick,
                                   1);
        try
        {
            CMappedJoystickController joystick(*directInput_, instance.instance, nullptr);
            ADD_FAILURE() << step.message;
        }
        catch (const EIOError& error)
        {
            EXPECT_EQ(step.message, error.GetMessage());
            EXPECT_EQ("class korvane::CMappedJoystickController", error.GetWhere());
        }
        EXPECT_TRUE(log_.Contains("DirectX Error: E_FAIL(0x80004005)")) << step.message;
    }
}

// Pad slots ------------------------------------------------------------------------------------

TEST_F(InputMappedControllerTest, PadStickDeadZoneAndTriggerValues)
{
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    PumpInput();
    CMappedXInputController controller(0);
    EXPECT_EQ(kControllerXInput, controller.GetDeviceType());
    controller.SetMapping("up", 0, 0x5003);
    controller.SetMapping("fire", 0, 0);
    controller.SetMapping("fire", 1, 0x6001);

    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11468);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    PumpInput();
    controller.Update();
    EXPECT_FALSE(controller.IsDown("up"));
    EXPECT_FLOAT_EQ(11468.0f / 32767.0f, controller.GetValue("up"));
    EXPECT_TRUE(controller.IsDown("fire"));
    EXPECT_EQ(0.0f, controller.GetValue("fire")) << "the released trigger, written later, wins";

    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -11469);
    pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, false);
    PumpInput();
    controller.Update();
    EXPECT_TRUE(controller.IsDown("up"));
    EXPECT_TRUE(controller.IsDown("fire"));
    EXPECT_FLOAT_EQ(1.0f, controller.GetValue("fire"));

    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    controller.SetMapping("down", 0, 0x5004);
    PumpInput();
    controller.Update();
    EXPECT_FALSE(controller.IsDown("up"));
    EXPECT_FLOAT_EQ(32767.0f / 32768.0f, controller.GetValue("down")) << "the minus side counts in 32768ths";
}

TEST_F(InputMappedControllerTest, PadTriggerThresholdIsThirty)
{
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    PumpInput();
    CMappedXInputController controller(0);
    controller.SetMapping("rt", 0, 0x6002);
    // Find raw positions that give the trigger bytes 30 and 31 as the pad reports them.
    auto triggerAt = [&](int raw)
    {
        pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, static_cast<std::int16_t>(raw));
        PumpInput();
        os::input::PadState state;
        os::input::GetPadState(0, &state);
        return state.gamepad.rightTrigger;
    };
    int raw30 = 0;
    int raw31 = 0;
    for (int raw = -32768; raw < 0 && raw31 == 0; raw += 16)
    {
        const int value = triggerAt(raw);
        if (value == 30)
            raw30 = raw;
        if (value == 31)
            raw31 = raw;
    }
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
    ASSERT_TRUE(controller.GetActiveInput("cap", 0));
    EXPECT_EQ(0x6002u, controller.GetMapping("cap", 0));
    EXPECT_EQ("RT", controller.GetInputName("cap", 0));
}

TEST_F(InputMappedControllerTest, PadCaptureOrderAndNames)
{
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    PumpInput();
    CMappedXInputController controller(0);
    pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    pad.SetAxis(SDL_CONTROLLER_AXIS_RIGHTX, -20000);
    PumpInput();
    controller.Update();
    ASSERT_TRUE(controller.GetActiveInput("cap", 0));
    EXPECT_EQ(0x5006u, controller.GetMapping("cap", 0)) << "sticks before triggers";
    EXPECT_EQ("Right Stick: Left", controller.GetInputName("cap", 0));

    pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad.SetButton(SDL_CONTROLLER_BUTTON_BACK, true);
    PumpInput();
    controller.Update();
    ASSERT_TRUE(controller.GetActiveInput("cap", 0));
    EXPECT_EQ(7u, controller.GetMapping("cap", 0)) << "the lowest button code";
    EXPECT_EQ("BACK", controller.GetInputName("cap", 0));

    const char* names[] = {"A",
                           "B",
                           "X",
                           "Y",
                           "LB",
                           "RB",
                           "START",
                           "BACK",
                           "Left Stick Button",
                           "Right Stick Button",
                           "D-pad Up",
                           "D-pad Down",
                           "D-pad Left",
                           "D-pad Right"};
    for (std::uint32_t code = 0; code < 14; ++code)
    {
        controller.SetMapping("n", 0, code);
        EXPECT_EQ(names[code], controller.GetInputName("n", 0));
    }
    controller.SetMapping("n", 0, 0x5001);
    EXPECT_EQ("Left Stick: Right", controller.GetInputName("n", 0));
    controller.SetMapping("n", 0, 0x5008);
    EXPECT_EQ("Right Stick: Down", controller.GetInputName("n", 0));
    controller.SetMapping("n", 0, 0x6001);
    EXPECT_EQ("LT", controller.GetInputName("n", 0));
    controller.SetMapping("n", 0, 14);
    EXPECT_EQ("NONE", controller.GetInputName("n", 0));
    EXPECT_EQ("NONE", controller.GetInputName("n", -1));
}

TEST_F(InputMappedControllerTest, UnpluggedPadKeepsItsButtonsAndAPadPluggedInLaterIsRead)
{
    CMappedXInputController slot0(0);
    CMappedXInputController slot1(1);
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
    EXPECT_TRUE(slot0.WasPressed("a"));
    EXPECT_TRUE(slot1.WasPressed("a"));

    first.Detach();
    PumpInput();
    slot0.Update();
    EXPECT_TRUE(slot0.IsDown("a")) << "a pad gone while held keeps its button down";
    slot0.ResetAll();
    slot0.Update();
    EXPECT_TRUE(slot0.IsDown("a")) << "ResetAll marks held; only a successful poll releases";

    auto again = VirtualJoystick::Pad(0x045E, 0x028E, "Back Again");
    PumpInput();
    slot0.Update();
    EXPECT_FALSE(slot0.IsDown("a")) << "a pad back in the slot releases the button";
    slot1.Update();
    EXPECT_TRUE(slot1.IsDown("a")) << "the other pad kept its slot";
}

} // namespace
