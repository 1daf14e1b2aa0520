/** @file KeyboardMouseTest.cpp The keyboard by physical key, the mouse, focus and acquisition, the failure
 * hooks. */
#include <algorithm>
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

// The key codes the key-mapping screens name, with the keys SDL can report: 0x01-0x53 and these. The
// rest of that table (0x7E, 0x91-0x93, 0x96, 0x97, 0xE3) are keys of keyboards SDL has no scancode for.
constexpr std::uint32_t kReachableKeyCodesPast0x53[] = {
    0x56, 0x57, 0x58, 0x64, 0x65, 0x66, 0x70, 0x73, 0x79, 0x7B, 0x7D, 0x8D, 0x90, 0x94, 0x95, 0x99, 0x9C, 0x9D,
    0xA0, 0xA1, 0xA2, 0xA4, 0xAE, 0xB0, 0xB2, 0xB3, 0xB5, 0xB7, 0xB8, 0xC5, 0xC7, 0xC8, 0xC9, 0xCB, 0xCD, 0xCF,
    0xD0, 0xD1, 0xD2, 0xD3, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED,
};

TEST_F(InputDeviceTest, KeyCodesFocusLevelsFormatsModuleNamesAndTheMouseMotion)
{
    for (std::uint32_t code = 0x01; code <= 0xED; ++code)
        EXPECT_TRUE((code > 0x53 && std::ranges::count(kReachableKeyCodesPast0x53, code) == 0) ||
                    KeyCodeFromScancode(ScancodeFromKeyCode(code)) == code)
            << std::hex << code;
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
    EXPECT_EQ(nullptr, LoadInputModule("dsound.dll"));
    EXPECT_EQ(nullptr, FindInputFunction(module_, "DirectSoundCreate8"));

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
