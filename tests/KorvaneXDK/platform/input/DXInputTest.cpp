/** @file InputDXInputTest.cpp Creating the controllers in order, telling pads apart, failures and
 * hot-plugging. */
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../../os/input/InputTestSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/input/DXInput.h"

namespace
{

using namespace korvane;
using korvane::test::LogCapture;
using korvane::test::PumpInput;
using korvane::test::VirtualJoystick;
using os::testing::InputDeviceKind;
using os::testing::InputStep;

class InputDXInputTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(sdl_.Ok()); }

    std::vector<int> Types(CDXInput& input)
    {
        std::vector<int> types;
        for (int i = 0; i < input.GetControllerCount(); ++i)
            types.push_back(input.GetController(i)->GetDeviceType());
        return types;
    }
    static int CountLines(const std::string& text)
    {
        int count = 0;
        for (const auto& line : LogCapture::Lines())
            count += line.find(text) != std::string::npos ? 1 : 0;
        return count;
    }

    korvane::test::JoystickSubsystem sdl_;
    korvane::test::InputHooksGuard hooks_;
    LogCapture log_;
};

TEST_F(InputDXInputTest, WithoutPadsThereAreSixControllers)
{
    CDXInput input(nullptr, nullptr);
    EXPECT_EQ(0, input.GetControllerCount());
    EXPECT_EQ(nullptr, input.GetDirectInput());
    ASSERT_TRUE(input.Initialize(true));
    EXPECT_NE(nullptr, input.GetDirectInput());
    EXPECT_EQ((std::vector<int>{0, 2, 3, 3, 3, 3}), Types(input));
    EXPECT_TRUE(LogCapture::Contains("INFO: DirectInput ready."));
    try
    {
        input.GetController(6);
        ADD_FAILURE() << "no exception";
    }
    catch (const std::out_of_range& error)
    {
        EXPECT_STREQ("invalid vector<T> subscript", error.what());
    }
    EXPECT_THROW(input.GetController(-1), std::out_of_range);

    input.Finalize();
    input.Finalize();
    EXPECT_EQ(0, input.GetControllerCount());
    EXPECT_EQ(2, CountLines("INFO: DirectInput finalized."));
}

TEST_F(InputDXInputTest, JoysticksComeBetweenMouseAndPadSlotsInEnumerationOrder)
{
    auto first = VirtualJoystick::Stick(0x1234, 0x0001, "Stick One", 2, 8, 1);
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    auto second = VirtualJoystick::Stick(0x1234, 0x0002, "Stick Two", 2, 8, 0);
    CDXInput input(nullptr, nullptr);
    ASSERT_TRUE(input.Initialize(false));
    EXPECT_EQ((std::vector<int>{0, 2, 1, 1, 3, 3, 3, 3}), Types(input));
    EXPECT_TRUE(LogCapture::Contains("INFO: Detected game controller #2: Stick One"));
    EXPECT_TRUE(LogCapture::Contains("INFO: Detected game controller #3: Stick Two"));
    EXPECT_FALSE(LogCapture::Contains("Slot Pad\n"));
    bool found = false;
    for (const auto& line : LogCapture::Lines())
    {
        if (line.rfind("INFO: Found XInput Device: Slot Pad {", 0) == 0)
        {
            found = true;
            // " {%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}"
            const std::string guid = line.substr(line.find('{'));
            EXPECT_EQ(38u, guid.size()) << guid;
            EXPECT_EQ('-', guid[9]);
            EXPECT_EQ('-', guid[14]);
            EXPECT_EQ('-', guid[19]);
            EXPECT_EQ('-', guid[24]);
        }
    }
    EXPECT_TRUE(found);

    boost::shared_ptr<IController> stickOne = input.GetController(2);
    boost::shared_ptr<IController> slot0 = input.GetController(4);
    stickOne->SetMapping("fire", 0, 3);
    slot0->SetMapping("fire", 0, 1);
    first.SetButton(3, true);
    pad.SetButton(SDL_CONTROLLER_BUTTON_B, true);
    PumpInput();
    stickOne->Update();
    slot0->Update();
    input.GetController(3)->Update();
    EXPECT_TRUE(stickOne->IsDown("fire"));
    EXPECT_TRUE(slot0->IsDown("fire"));
    EXPECT_FALSE(input.GetController(3)->IsDown("fire"));
}

TEST_F(InputDXInputTest, DeviceIdsDecideWhatIsAPad)
{
    os::input::Guid product;
    product.data1 = (0x028Eu << 16) | 0x045Eu;
    os::testing::SetPnpDeviceIdProvider(
        [](std::vector<std::wstring>& ids)
        {
            ids = {L"HID\\VID_045E&PID_028E\\7&1&0000", L"USB\\VID_1111&PID_2222&IG_01\\1"};
            return true;
        });
    EXPECT_FALSE(IsXInputDevice(product)) << "without IG_ no id matches";

    os::testing::SetPnpDeviceIdProvider(
        [](std::vector<std::wstring>& ids)
        {
            ids = {L"HID\\PID_028E&IG_00\\1"};
            return true;
        });
    EXPECT_FALSE(IsXInputDevice(product));
    os::input::Guid vendorless;
    vendorless.data1 = 0x028Eu << 16;
    EXPECT_TRUE(IsXInputDevice(vendorless)) << "no VID_ reads as vendor 0";

    os::testing::SetPnpDeviceIdProvider(
        [](std::vector<std::wstring>& ids)
        {
            ids = {L"HID\\VID_045E&PID_028E&IG_00\\1"};
            return true;
        });
    EXPECT_TRUE(IsXInputDevice(product));
    os::testing::SetPnpDeviceIdProvider([](std::vector<std::wstring>&) { return false; });
    EXPECT_FALSE(IsXInputDevice(product));
}

TEST_F(InputDXInputTest, WhenTheIdListFailsEveryPadIsAJoystickToo)
{
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    os::testing::SetPnpDeviceIdProvider([](std::vector<std::wstring>&) { return false; });
    CDXInput input(nullptr, nullptr);
    ASSERT_TRUE(input.Initialize(true));
    EXPECT_EQ((std::vector<int>{0, 2, 1, 3, 3, 3, 3}), Types(input));
    EXPECT_TRUE(LogCapture::Contains("INFO: Detected game controller #2: Slot Pad"));
}

TEST_F(InputDXInputTest, MissingInputModuleOrCreateFunctionFails)
{
    const InputStep steps[] = {InputStep::LoadModule, InputStep::FindCreateFunction, InputStep::Create};
    for (InputStep step : steps)
    {
        LogCapture::Clear();
        os::testing::FailInputStep(step, os::input::kResultOutOfMemory, InputDeviceKind::Any, 1);
        CDXInput input(nullptr, nullptr);
        EXPECT_FALSE(input.Initialize(true));
        EXPECT_EQ(0, input.GetControllerCount());
        EXPECT_EQ(nullptr, input.GetDirectInput());
        EXPECT_TRUE(LogCapture::Contains("ERROR: CDXInput: DirectInput8Create() 失敗\n"));
        EXPECT_EQ(step == InputStep::Create,
                  LogCapture::Contains("DirectX Error: E_OUTOFMEMORY(0x8007000e)"));
    }
}

TEST_F(InputDXInputTest, FailingEnumerationReleasesEverything)
{
    os::testing::FailInputStep(InputStep::EnumDevices, os::input::kResultFail, InputDeviceKind::Any, 1);
    CDXInput input(nullptr, nullptr);
    EXPECT_FALSE(input.Initialize(true));
    EXPECT_EQ(0, input.GetControllerCount());
    EXPECT_EQ(nullptr, input.GetDirectInput());
    EXPECT_TRUE(LogCapture::Contains("DirectX Error: E_FAIL(0x80004005)"));
    EXPECT_TRUE(LogCapture::Contains("ERROR: CDXInput: ゲームコントローラの列挙に失敗しました.\n"));
    EXPECT_EQ(1, CountLines("DirectInput finalized."));
}

TEST_F(InputDXInputTest, ControllerSetUpFailuresLeaveInitialize)
{
    {
        os::testing::FailInputStep(InputStep::SetCooperativeLevel, os::input::kResultFail,
                                   InputDeviceKind::Keyboard, 1);
        CDXInput input(nullptr, nullptr);
        try
        {
            input.Initialize(true);
            ADD_FAILURE() << "no exception";
        }
        catch (const EIOError& error)
        {
            EXPECT_EQ("DirectInputデバイスの協調レベルの設定に失敗しました.", error.GetMessage());
            EXPECT_EQ("class korvane::CMappedKeyboardController", error.GetWhere());
        }
        EXPECT_EQ(0, input.GetControllerCount());
    }
    {
        os::testing::FailInputStep(InputStep::CreateDevice, os::input::kResultFail, InputDeviceKind::Mouse,
                                   1);
        CDXInput input(nullptr, nullptr);
        try
        {
            input.Initialize(true);
            ADD_FAILURE() << "no exception";
        }
        catch (const EIOError& error)
        {
            EXPECT_EQ("DirectInputデバイスの作成に失敗しました.", error.GetMessage());
            EXPECT_EQ("class korvane::CMappedMouseController", error.GetWhere());
        }
        EXPECT_EQ(1, input.GetControllerCount()) << "what was made before stays";
    }
    {
        auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 2, 0);
        os::testing::FailInputStep(InputStep::SetRange, os::input::kResultFail, InputDeviceKind::Joystick, 1);
        CDXInput input(nullptr, nullptr);
        EXPECT_THROW(input.Initialize(true), EIOError);
        EXPECT_EQ(2, input.GetControllerCount());
    }
}

TEST_F(InputDXInputTest, APadPluggedInLaterIsReadByItsSlotAndLaterJoysticksAreNot)
{
    CDXInput input(nullptr, nullptr);
    ASSERT_TRUE(input.Initialize(true));
    boost::shared_ptr<IController> slot0 = input.GetController(2);
    slot0->SetMapping("start", 0, 6);

    auto pad = VirtualJoystick::Pad(0x045E, 0x02EA, "Late Pad");
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Late Stick", 2, 2, 0);
    PumpInput();
    pad.SetButton(SDL_CONTROLLER_BUTTON_START, true);
    PumpInput();
    slot0->Update();
    EXPECT_TRUE(slot0->WasPressed("start"));
    EXPECT_EQ(6, input.GetControllerCount());
}

} // namespace
