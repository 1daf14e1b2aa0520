/** @file JoystickPadTest.cpp Joysticks and pads through SDL virtual devices: enumeration, axes, hats,
 * slots and the id list. */
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "os/input/PadClassification.h"
#include "os/input/PadInput.h"
#include "os/input/PnpDevices.h"
#include "support/InputTestSupport.h"

namespace
{

using namespace os::input;
using korvane::test::PumpInput;
using korvane::test::Values;
using korvane::test::VirtualJoystick;

constexpr std::uint16_t kPadVendor = 0x045E;
constexpr std::uint16_t kPadProduct = 0x028E;

std::vector<ObjectInstance> Axes(InputDevice& device)
{
    std::vector<ObjectInstance> axes;
    const auto add = [&](const ObjectInstance& object) {
        axes.push_back(object);
        return kEnumContinue;
    };
    EXPECT_EQ(kResultOk, device.EnumObjects(add, kObjectAxis));
    return axes;
}

JoyState Read(InputDevice& device)
{
    JoyState state;
    EXPECT_EQ(kResultOk, device.GetDeviceState(sizeof(state), &state));
    return state;
}

/// Two plain sticks around two pads, the middle one of the pad family, attached before the input layer starts;
/// the first stick (six axes, 34 buttons, two hats) and the second (two axes) open on request.
class InputJoystickPadTest : public korvane::test::InputTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(InputTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(Start());
        found = Enumerate();
        ASSERT_EQ(4u, found.size());
    }
    void TearDown() override
    {
        // The devices go first, then the sticks, then the input layer.
        two.reset();
        device.reset();
        second.Detach();
        pad.Detach();
        other.Detach();
        first.Detach();
        InputTest::TearDown();
    }

    /// Opens the first stick for exclusive use and lists its axes.
    void OpenFirstStick()
    {
        device = Open(found[0].instance, DataFormat::Joystick, kCoopExclusive | kCoopForeground);
        axes = Axes(*device);
        ASSERT_EQ(6u, axes.size());
    }

    /// Opens the first stick in absolute mode, its first axis on -10000..10000, and acquires it.
    void AcquireFirstStick()
    {
        ASSERT_NO_FATAL_FAILURE(OpenFirstStick());
        ASSERT_EQ(kResultOk, device->SetAxisMode(kPropertyHowDevice, 0, kAxisModeAbsolute));
        ASSERT_EQ(kResultOk, device->SetRange(kPropertyHowById, axes[0].type, -10000, 10000));
        ASSERT_EQ(kResultOk, device->Acquire());
    }

    /// Opens the second stick for exclusive use with every axis on -10000..10000.
    void OpenSecondStick()
    {
        two = Open(found[3].instance, DataFormat::Joystick, kCoopExclusive | kCoopForeground);
        ASSERT_EQ(kResultOk, two->SetRange(kPropertyHowDevice, 0, -10000, 10000));
    }

    VirtualJoystick first = VirtualJoystick::Stick(0x1234, 0x5678, "First Stick", 6, 34, 2);
    VirtualJoystick other = VirtualJoystick::Pad(0x054C, 0x05C4, "Other Family Pad");
    VirtualJoystick pad = VirtualJoystick::Pad(kPadVendor, kPadProduct, "Slot Pad");
    VirtualJoystick second = VirtualJoystick::Stick(0x0ABC, 0x0DEF, "Second Stick", 2, 4, 0);
    std::vector<DeviceInstance> found;
    std::shared_ptr<InputDevice> device;
    std::vector<ObjectInstance> axes;
    std::shared_ptr<InputDevice> two;
};

TEST_F(InputJoystickPadTest, EnumerationListsSticksAndPadsButNoKeyboardsAndStopsWhenAsked)
{
    // Names, order and product ids are checked through the engine's controller list.
    EXPECT_NE(found[0].instance, found[3].instance);
    EXPECT_TRUE(Enumerate(3, 0).empty()) << "keyboards are not game controllers";
    int calls = 0;
    directInput_->EnumDevices(
        kDeviceClassGameController, [&](const DeviceInstance&) { return ++calls, kEnumStop; }, 0);
    EXPECT_EQ(1, calls);
}

TEST_F(InputJoystickPadTest, OnlyThePadFamilyCountsAsAPadAndHoldsTheFirstSlot)
{
    for (int index = 0; index < 5; ++index)
        EXPECT_EQ(index == 2, CountsAsPad(index)) << index;
    std::vector<std::wstring> ids;
    ASSERT_TRUE(EnumeratePnpDeviceIds(ids));
    using testing::StartsWith;
    EXPECT_THAT(ids,
                testing::ElementsAre(StartsWith(L"HID\\VID_1234&PID_5678\\"), StartsWith(L"HID\\VID_054C&PID_05C4\\"),
                                     StartsWith(L"HID\\VID_045E&PID_028E&IG_00\\"), testing::_));
    // The pad holds the first slot; the other family is no pad.
    PadState state;
    EXPECT_EQ(Values(GetPadState(0, &state), GetPadState(1, &state)), Values(kErrorSuccess, kErrorDeviceNotConnected));
}

TEST_F(InputJoystickPadTest, ThePadReportsInPacketsWithUpPositiveAndANewPacketOnlyOnChange)
{
    // Most buttons, stick signs and trigger bytes are checked through the engine's pad controllers, and so are the
    // slots as pads come and go.
    PadState state;
    ASSERT_EQ(kErrorSuccess, GetPadState(0, &state));
    const std::uint32_t firstPacket = state.packetNumber;
    for (int button : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_DPAD_LEFT})
        pad.SetButton(button, true);
    pad.SetAxis(SDL_CONTROLLER_AXIS_RIGHTY, -32768);
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 1234);
    PumpInput();
    ASSERT_EQ(kErrorSuccess, GetPadState(0, &state));
    // Up is positive on the pad interface, and the far end of the range fits; right stays positive.
    EXPECT_EQ(Values(kPadStart | kPadDpadLeft, 32767, 1234),
              Values(state.gamepad.buttons, state.gamepad.thumbRY, state.gamepad.thumbLX));
    EXPECT_NE(firstPacket, state.packetNumber);
    const std::uint32_t packet = state.packetNumber;
    PumpInput();
    ASSERT_EQ(kErrorSuccess, GetPadState(0, &state));
    EXPECT_EQ(packet, state.packetNumber) << "no change, same packet";
}

TEST_F(InputJoystickPadTest, ASlotPastTheLastIsABadArgument)
{
    PadState state;
    EXPECT_EQ(kErrorBadArguments, GetPadState(4, &state));
}

TEST_F(InputJoystickPadTest, AxesAreNamedAndARangeMustBeWideAndNameAnAxisThereIs)
{
    ASSERT_NO_FATAL_FAILURE(OpenFirstStick());
    EXPECT_EQ(std::make_pair(kObjectAbsoluteAxis | MakeObjectInstance(3), std::string("X Rotation")),
              std::make_pair(axes[3].type, axes[3].name));

    EXPECT_EQ(kResultInvalidParam, device->SetRange(kPropertyHowById, axes[0].type, 5, 5));
    EXPECT_EQ(kResultObjectNotFound,
              device->SetRange(kPropertyHowById, kObjectAbsoluteAxis | MakeObjectInstance(7), -1, 1));
}

TEST_F(InputJoystickPadTest, AxesScaleOntoTheRangeSetAndMissingHatsAreCentred)
{
    ASSERT_NO_FATAL_FAILURE(AcquireFirstStick());
    for (const auto& [axis, value] : {std::pair{0, -32768}, {1, 32767}, {2, 0}})
        first.SetAxis(axis, static_cast<std::int16_t>(value));
    for (int button : {0, 31, 33})
        first.SetButton(button, true);
    first.SetHat(0, SDL_HAT_RIGHTUP);
    PumpInput();
    ASSERT_EQ(kResultNoEffect, device->Poll());
    JoyState joy = Read(*device);
    // Axes keep the default range 0..65535 until it is set; missing hats are centred.
    EXPECT_EQ(Values(-10000, 65535, 32768, 4500, 0xFFFFFFFFu, 0xFFFFFFFFu, 0x80, 0x80, 0x00),
              Values(joy.x, joy.y, joy.z, joy.pov[0], joy.pov[1], joy.pov[2], joy.buttons[0], joy.buttons[31],
                     joy.buttons[30]));
}

TEST_F(InputJoystickPadTest, ACentredAxisReadsTheMiddleOfItsRangeAndACentredHatFFFF)
{
    ASSERT_NO_FATAL_FAILURE(AcquireFirstStick());
    first.SetAxis(0, -32768);
    first.SetHat(0, SDL_HAT_RIGHTUP);
    PumpInput();
    Read(*device);
    first.SetAxis(0, 0);
    first.SetHat(0, SDL_HAT_CENTERED);
    PumpInput();
    const JoyState joy = Read(*device);
    EXPECT_EQ(Values(joy.x, joy.pov[0] & 0xFFFF), Values(0, 0xFFFF));
}

TEST_F(InputJoystickPadTest, HatsReportTheirDirectionAsAnAngle)
{
    ASSERT_NO_FATAL_FAILURE(AcquireFirstStick());
    const std::pair<std::uint8_t, std::uint32_t> hats[] = {
        {SDL_HAT_UP, 0},           {SDL_HAT_RIGHT, 9000}, {SDL_HAT_RIGHTDOWN, 13500}, {SDL_HAT_DOWN, 18000},
        {SDL_HAT_LEFTDOWN, 22500}, {SDL_HAT_LEFT, 27000}, {SDL_HAT_LEFTUP, 31500}};
    for (const auto& [hat, angle] : hats) {
        first.SetHat(0, hat);
        PumpInput();
        EXPECT_EQ(angle, Read(*device).pov[0]) << int{hat};
    }
}

TEST_F(InputJoystickPadTest, AStickWithTwoAxesRestsTheOthersAtTheCentreAndKeepsItsModeWhileAcquired)
{
    ASSERT_NO_FATAL_FAILURE(OpenSecondStick());
    EXPECT_EQ(2u, Axes(*two).size());
    ASSERT_EQ(kResultOk, two->Acquire());
    const JoyState joy = Read(*two);
    EXPECT_EQ(Values(0, 0, 0), Values(joy.z, joy.rz, joy.sliders[0]));
    EXPECT_EQ(kResultAcquired, two->SetAxisMode(kPropertyHowDevice, 0, kAxisModeRelative));
}

TEST_F(InputJoystickPadTest, RelativeAxesReportTheChangeSinceTheLastRead)
{
    ASSERT_NO_FATAL_FAILURE(OpenSecondStick());
    ASSERT_EQ(kResultOk, two->Acquire());
    ASSERT_EQ(kResultOk, two->Unacquire());
    EXPECT_EQ(kResultInvalidParam, two->SetAxisMode(kPropertyHowDevice, 0, 7));
    ASSERT_EQ(kResultOk, two->SetAxisMode(kPropertyHowDevice, 0, kAxisModeRelative));
    ASSERT_EQ(kResultOk, two->Acquire());
    second.SetAxis(0, 32767);
    PumpInput();
    // Then nothing moved since; the braces keep the reads in order.
    EXPECT_EQ((std::vector<std::int32_t>{Read(*two).x, Read(*two).x}), (std::vector<std::int32_t>{10000, 0}));
    second.SetAxis(0, -32768);
    PumpInput();
    EXPECT_EQ(-20000, Read(*two).x);
}

TEST_F(InputJoystickPadTest, AnUnpluggedStickIsLostAndNoLongerListed)
{
    ASSERT_NO_FATAL_FAILURE(OpenSecondStick());
    ASSERT_EQ(kResultOk, two->Acquire());
    second.Detach();
    PumpInput();
    EXPECT_EQ(kResultInputLost, two->Poll());
    JoyState joy;
    EXPECT_EQ(Values(two->GetDeviceState(sizeof(joy), &joy), two->Acquire()),
              Values(kResultNotAcquired, kResultUnplugged));
    EXPECT_EQ(3u, Enumerate().size());
}

TEST_F(InputJoystickPadTest, WithoutTheInputLayerThereAreNoPads)
{
    // Without the input layer (and the devices that keep it) there are no pads.
    ASSERT_NO_FATAL_FAILURE(AcquireFirstStick());
    ASSERT_NO_FATAL_FAILURE(OpenSecondStick());
    PadState state;
    ASSERT_EQ(kErrorSuccess, GetPadState(0, &state));
    device.reset();
    two.reset();
    directInput_.reset();
    EXPECT_EQ(kErrorDeviceNotConnected, GetPadState(0, &state)) << "no input layer, no pads";
}

} // namespace
