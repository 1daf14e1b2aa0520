/** @file KeyboardMouseTest.cpp The keyboard by physical key, the mouse, focus and acquisition, the failure
 * hooks. */
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "os/input/KeyCodes.h"
#include "os/window/Window.h"
#include "support/InputTestSupport.h"

namespace
{

using namespace os::input;
using korvane::test::PumpInput;
using korvane::test::Values;

using InputDeviceTest = korvane::test::InputTest;

TEST_F(InputDeviceTest, KeyCodesFocusLevelsFormatsModuleNamesAndTheMouseMotion)
{
    // Every key code with a scancode maps back to itself. The key-mapping screens name 0x01-0x53 and 54 codes past
    // it that SDL can report; the rest of their table (0x7E, 0x91-0x93, 0x96, 0x97, 0xE3) are keys of keyboards SDL
    // has no scancode for.
    int reachable = 0;
    for (std::uint32_t code = 0x01; code <= 0xED; ++code) {
        const int scancode = ScancodeFromKeyCode(code);
        EXPECT_TRUE(scancode == 0 || KeyCodeFromScancode(scancode) == code) << std::hex << code;
        reachable += scancode != 0;
    }
    EXPECT_EQ(0x53 + 54, reachable);
    EXPECT_EQ(Values(KeyCodeFromScancode(SDL_SCANCODE_A), KeyCodeFromScancode(SDL_SCANCODE_UP),
                     KeyCodeFromScancode(SDL_SCANCODE_KP_ENTER), KeyCodeFromScancode(SDL_SCANCODE_UNKNOWN),
                     KeyCodeFromScancode(-5), KeyCodeFromScancode(SDL_NUM_SCANCODES), ScancodeFromKeyCode(0x100)),
              Values(0x1E, 0xC8, 0x9C, 0, 0, 0, 0));

    // Losing the focus takes the acquisition away once; the window's focus events decide it.
    ASSERT_NO_FATAL_FAILURE(Start());
    os::window::Window window("input focus");
    ASSERT_TRUE(window.IsCreated());
    auto windowed = Open(kGuidSysKeyboard, DataFormat::Keyboard, kCoopNonExclusive | kCoopForeground, &window);
    auto focus = [&](Uint32 windowId, SDL_WindowEventID change) {
        SDL_Event event{.window = {SDL_WINDOWEVENT, 0, windowId, static_cast<Uint8>(change), 0, 0, 0, 0, 0}};
        os::window::DispatchRawEvent(event);
    };
    focus(window.GetId(), SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(kResultAccessDenied, windowed->Acquire());
    focus(window.GetId(), SDL_WINDOWEVENT_FOCUS_GAINED);
    ASSERT_EQ(kResultOk, windowed->Acquire());
    EXPECT_EQ(kResultNoEffect, windowed->Poll());
    // Losing and regaining the focus between two reads still loses the acquisition.
    focus(window.GetId(), SDL_WINDOWEVENT_FOCUS_LOST);
    focus(window.GetId(), SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(kResultInputLost, windowed->Poll());
    EXPECT_EQ(kResultOk, windowed->Acquire());
    // Another window's focus says nothing about ours.
    focus(window.GetId() + 100, SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(kResultNoEffect, windowed->Poll());

    auto keyboard = Open(kGuidSysKeyboard, DataFormat::Keyboard);
    ASSERT_EQ(kResultOk, keyboard->Acquire());
    EXPECT_EQ(kResultNoEffect, keyboard->Acquire());
    // Keys read by physical key are checked through the engine's keyboard.
    std::uint8_t keys[256];
    EXPECT_EQ(Values(kResultOk, kResultInvalidParam),
              Values(keyboard->GetDeviceState(sizeof(keys), keys), keyboard->GetDeviceState(20, keys)));
    os::testing::SetInputFocusOverride(false);
    EXPECT_EQ(kResultInputLost, keyboard->GetDeviceState(sizeof(keys), keys));
    EXPECT_EQ(Values(keyboard->GetDeviceState(sizeof(keys), keys), keyboard->Poll(), keyboard->Acquire()),
              Values(kResultNotAcquired, kResultNotAcquired, kResultAccessDenied));
    // A background device does not care about the focus.
    auto background = Open(kGuidSysKeyboard, DataFormat::Keyboard, kCoopNonExclusive | kCoopBackground);
    EXPECT_EQ(kResultOk, background->Acquire());
    os::testing::SetInputFocusOverride(true);
    // Keys held when the focus went are forgotten: checked through the engine's keyboard.

    // Cooperative levels and formats are checked.
    std::shared_ptr<InputDevice> device;
    ASSERT_EQ(kResultOk, directInput_->CreateDevice(kGuidSysMouse, device));
    for (std::uint32_t level : {kCoopForeground, kCoopExclusive | kCoopNonExclusive | kCoopForeground,
                                kCoopExclusive | kCoopForeground | kCoopBackground})
        EXPECT_EQ(kResultInvalidParam, device->SetCooperativeLevel(nullptr, level)) << level;
    EXPECT_EQ(kResultInvalidParam, device->Acquire()) << "no data format yet";
    EXPECT_EQ(kResultInvalidParam, device->SetDataFormat(DataFormat::Keyboard));
    ASSERT_EQ(kResultOk, device->SetCooperativeLevel(nullptr, kCoopExclusive | kCoopForeground));
    ASSERT_EQ(kResultOk, device->SetDataFormat(DataFormat::Mouse2));
    ASSERT_EQ(kResultOk, device->Acquire());
    EXPECT_EQ(kResultAcquired, device->SetCooperativeLevel(nullptr, kCoopNonExclusive | kCoopForeground));
    EXPECT_EQ(kResultOk, device->Unacquire());
    EXPECT_EQ(Values(device->Unacquire(), device->SetRange(kPropertyHowDevice, 0, -1, 1)),
              Values(kResultNoEffect, kResultUnsupported));
    std::shared_ptr<InputDevice> unknown;
    EXPECT_EQ(kResultDeviceNotRegistered, directInput_->CreateDevice(Guid{77}, unknown));
    EXPECT_EQ(nullptr, unknown);

    // The failure hooks (one call, one step and kind) are checked through the engine's controllers and input start-up;
    // here a hook without a count, which fails every call of any kind until the hooks are reset.
    os::testing::FailInputStep(os::testing::InputStep::CreateDevice, kResultOutOfMemory);
    EXPECT_EQ(Values(kResultOutOfMemory, kResultOutOfMemory),
              Values(directInput_->CreateDevice(kGuidSysKeyboard, unknown),
                     directInput_->CreateDevice(kGuidSysMouse, unknown)));
    os::testing::ResetInputHooks();
    EXPECT_EQ(kResultOk, directInput_->CreateDevice(kGuidSysMouse, unknown));
    // Module names other than the input module's are not found.
    EXPECT_TRUE(!LoadInputModule("dsound.dll") && !FindInputFunction(module_, "DirectSoundCreate8"));

    // The mouse gathers motion, wheel and buttons while acquired.
    auto mouse = Open(kGuidSysMouse, DataFormat::Mouse2);
    korvane::test::PushMouseMotion(50, 50);
    PumpInput();
    ASSERT_EQ(kResultOk, mouse->Acquire());

    for (int i = 0; i < 2; ++i)
        korvane::test::PushMouseMotion(5, -3);
    korvane::test::PushMouseWheel(1);
    for (std::uint8_t button : {SDL_BUTTON_RIGHT, SDL_BUTTON_X2})
        korvane::test::PushMouseButton(button, true);
    PumpInput();
    MouseState2 state;
    ASSERT_EQ(kResultOk, mouse->GetDeviceState(sizeof(state), &state));
    // Motion before the acquisition does not count.
    EXPECT_EQ(Values(10, -6, 120, 0x00, 0x80, 0x80),
              Values(state.x, state.y, state.z, state.buttons[0], state.buttons[1], state.buttons[4]));
    // Motion counting from the previous read and buttons staying held are checked through the engine's mouse.

    // A flood of motion between two reads saturates instead of wrapping round.
    for (int i = 0; i < 2; ++i)
        korvane::test::PushMouseMotion(INT32_MAX, INT32_MIN);
    korvane::test::PushMouseWheel(INT32_MIN);
    PumpInput();
    ASSERT_EQ(kResultOk, mouse->GetDeviceState(sizeof(state), &state));
    EXPECT_EQ(Values(INT32_MAX, INT32_MIN, INT32_MIN), Values(state.x, state.y, state.z));
}

// Keys read through the event pump are checked by the engine's mapped keyboard tests.

} // namespace
