/** @file DXInputTest.cpp Creating the controllers in order, telling pads apart, failures and
 * hot-plugging. */
#include <algorithm>
#include <regex>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "support/InputTestSupport.h"

namespace
{

using namespace korvane;
using korvane::test::LogCapture;
using korvane::test::PumpInput;
using korvane::test::Values;
using korvane::test::VirtualJoystick;
using os::testing::InputDeviceKind;
using os::testing::InputStep;

using InputDXInputTest = korvane::test::InputTest;

std::vector<int> Types(CDXInput& input)
{
    std::vector<int> types;
    for (int i = 0; i < input.GetControllerCount(); ++i)
        types.push_back(input.GetController(i)->GetDeviceType());
    return types;
}

/// Makes the system's device-id list the given ids.
void UseIds(std::vector<std::wstring> ids)
{
    os::testing::SetPnpDeviceIdProvider([ids](std::vector<std::wstring>& out) {
        out = ids;
        return true;
    });
}

TEST_F(InputDXInputTest, WithoutPadsThereAreSixControllersDeviceIdsDecideWhatIsAPadAndFailuresReleaseEverything)
{
    CDXInput input(nullptr, nullptr);
    EXPECT_EQ(Values(0, 1), Values(input.GetControllerCount(), input.GetDirectInput() == nullptr));
    ASSERT_TRUE(input.Initialize(true));
    EXPECT_EQ((std::vector<int>{0, 2, 3, 3, 3, 3}), Types(input));
    EXPECT_TRUE(input.GetDirectInput() && LogCapture::Contains("INFO: DirectInput ready."));
    auto late = VirtualJoystick::Stick(0x1234, 0x0001, "Late Stick", 2, 2, 0);
    PumpInput();
    EXPECT_EQ(6, input.GetControllerCount()) << "a joystick plugged in later gets no controller";
    EXPECT_THAT([&] { input.GetController(6); },
                testing::ThrowsMessage<std::out_of_range>(testing::StrEq("invalid vector<T> subscript")));
    EXPECT_THROW(input.GetController(-1), std::out_of_range);

    input.Finalize();
    input.Finalize();
    EXPECT_EQ(Values(0, 2),
              Values(input.GetControllerCount(), LogCapture::CountContaining("INFO: DirectInput finalized.")));

    // The device-id list decides what is a pad.
    const os::input::Guid product{(0x028Eu << 16) | 0x045Eu}, vendorless{0x028Eu << 16};
    UseIds({L"HID\\VID_045E&PID_028E\\7&1&0000", L"USB\\VID_1111&PID_2222&IG_01\\1"});
    EXPECT_FALSE(IsXInputDevice(product)) << "without IG_ no id matches";

    UseIds({L"HID\\PID_028E&IG_00\\1"});
    EXPECT_EQ(Values(0, 1), Values(IsXInputDevice(product), IsXInputDevice(vendorless))) << "no VID_ reads as vendor 0";

    UseIds({L"HID\\VID_045E&PID_028E&IG_00\\1"});
    EXPECT_TRUE(IsXInputDevice(product));
    // A failing id list makes no pads: checked by starting the controllers with one below.

    // A failing start-up step releases everything.
    const char* create = "ERROR: CDXInput: DirectInput8Create() 失敗\n";
    const std::pair<InputStep, const char*> cases[] = {
        {InputStep::LoadModule, create},
        {InputStep::FindCreateFunction, create},
        {InputStep::Create, create},
        {InputStep::EnumDevices, "ERROR: CDXInput: ゲームコントローラの列挙に失敗しました.\n"}};
    for (const auto& [step, line] : cases) {
        SCOPED_TRACE(line);
        LogCapture::Clear();
        os::testing::FailInputStep(step, os::input::kResultOutOfMemory, InputDeviceKind::Any, 1);
        CDXInput failing(nullptr, nullptr);
        EXPECT_FALSE(failing.Initialize(true));
        // Only the steps that return a result log it, under the source name.
        const bool logsResult = step == InputStep::Create || step == InputStep::EnumDevices;
        EXPECT_EQ(Values(0, 1, 1, logsResult, logsResult, 1),
                  Values(failing.GetControllerCount(), failing.GetDirectInput() == nullptr, LogCapture::Contains(line),
                         LogCapture::Contains("DirectX Error: E_OUTOFMEMORY(0x8007000e)"),
                         LogCapture::Contains("\n\tDXInput("), LogCapture::CountContaining("DirectInput finalized.")));
    }

    // A device that fails to set up throws out of Initialize; what was made before stays. The error line names
    // the controller's source.
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 2, 0);
    const std::tuple<InputStep, InputDeviceKind, const char*, const char*, int, const char*> failures[] = {
        {InputStep::SetCooperativeLevel, InputDeviceKind::Keyboard,
         "DirectInputデバイスの協調レベルの設定に失敗しました.", "class korvane::CMappedKeyboardController", 0,
         "\n\tMappedKeyboardController("},
        {InputStep::CreateDevice, InputDeviceKind::Mouse, "DirectInputデバイスの作成に失敗しました.",
         "class korvane::CMappedMouseController", 1, "\n\tMappedMouseController("},
        {InputStep::SetRange, InputDeviceKind::Joystick, "DirectInputデバイスの軸範囲の設定に失敗しました.",
         "class korvane::CMappedJoystickController", 2, "\n\tMappedJoystickController("}};
    for (const auto& [step, kind, message, where, controllersLeft, source] : failures) {
        SCOPED_TRACE(where);
        LogCapture::Clear();
        os::testing::FailInputStep(step, os::input::kResultFail, kind, 1);
        CDXInput failing(nullptr, nullptr);
        korvane::test::ExpectError<EIOError>([&] { failing.Initialize(true); }, message, where);
        EXPECT_EQ(Values(controllersLeft, 1), Values(failing.GetControllerCount(), LogCapture::Contains(source)))
            << LogCapture::All();
    }
}

TEST_F(InputDXInputTest, JoysticksComeBetweenMouseAndPadSlotsInEnumerationOrder)
{
    auto first = VirtualJoystick::Stick(0x1234, 0x0001, "Stick One", 2, 8, 1);
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    auto second = VirtualJoystick::Stick(0x1234, 0x0002, "Stick Two", 2, 8, 0);
    CDXInput input(nullptr, nullptr);
    ASSERT_TRUE(input.Initialize(false));
    EXPECT_EQ((std::vector<int>{0, 2, 1, 1, 3, 3, 3, 3}), Types(input));
    EXPECT_TRUE(LogCapture::Contains("INFO: Detected game controller #2: Stick One") &&
                LogCapture::Contains("INFO: Detected game controller #3: Stick Two") &&
                !LogCapture::Contains("Slot Pad\n"))
        << LogCapture::All();
    const std::regex guidLine(R"(INFO: Found XInput Device: Slot Pad \{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\})");
    const auto isGuidLine = [&](const std::string& line) { return std::regex_match(line, guidLine); };
    EXPECT_EQ(1, std::ranges::count_if(LogCapture::Lines(), isGuidLine)) << LogCapture::All();

    // Stick one, stick two and pad slot 0 each read their own device.
    input.GetController(2)->SetMapping("fire", 0, 3);
    input.GetController(4)->SetMapping("fire", 0, 1);
    first.SetButton(3, true);
    pad.SetButton(SDL_CONTROLLER_BUTTON_B, true);
    PumpInput();
    for (int i : {2, 3, 4})
        input.GetController(i)->Update();
    EXPECT_EQ(Values(1, 0, 1), Values(input.GetController(2)->IsDown("fire"), input.GetController(3)->IsDown("fire"),
                                      input.GetController(4)->IsDown("fire")));

    // Started again with the id list failing, every pad is a joystick too.
    input.Finalize();
    os::testing::SetPnpDeviceIdProvider([](std::vector<std::wstring>&) { return false; });
    ASSERT_TRUE(input.Initialize(true));
    EXPECT_EQ((std::vector<int>{0, 2, 1, 1, 1, 3, 3, 3, 3}), Types(input));
    EXPECT_TRUE(LogCapture::Contains("INFO: Detected game controller #3: Slot Pad"));
}

} // namespace
