/** @file InputTestSupport.h Virtual joysticks and pads, pushed key and mouse events and the input tests'
 * common fixture. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "os/input/DirectInput.h"
#include "os/input/InputDevice.h"
#include "os/input/Testing.h"
#include "os/window/EventHooks.h"
#include "os/window/MessageQueue.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"

namespace korvane::test
{

/// Keeps SDL's joystick subsystem up for the whole test, so virtual devices outlive the input layer.
class JoystickSubsystem
{
public:
    JoystickSubsystem()
    {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ok_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS) == 0;
    }
    ~JoystickSubsystem()
    {
        if (ok_)
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS);
    }
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
};

/// An SDL virtual joystick: a plain joystick or a game controller with vendor and product ids.
class VirtualJoystick
{
public:
    /// A game controller with the standard buttons and axes. Triggers run from -32768 (released)
    /// to 32767 (fully pulled).
    static VirtualJoystick Pad(std::uint16_t vendor, std::uint16_t product, const char* name)
    {
        VirtualJoystick pad(SDL_JOYSTICK_TYPE_GAMECONTROLLER, vendor, product, name, SDL_CONTROLLER_AXIS_MAX,
                            SDL_CONTROLLER_BUTTON_MAX, 0);
        // A virtual trigger rests in the middle of its raw range; real triggers rest released.
        pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        pad.SetAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        SDL_JoystickUpdate();
        return pad;
    }
    /// A plain joystick with the given numbers of axes, buttons and hats.
    static VirtualJoystick Stick(std::uint16_t vendor, std::uint16_t product, const char* name, int axes, int buttons,
                                 int hats)
    {
        return VirtualJoystick(SDL_JOYSTICK_TYPE_ARCADE_STICK, vendor, product, name, axes, buttons, hats);
    }

    VirtualJoystick(VirtualJoystick&& other) noexcept
        : id_(std::exchange(other.id_, -1)), joystick_(std::exchange(other.joystick_, nullptr))
    {}
    VirtualJoystick& operator=(VirtualJoystick&&) = delete;
    ~VirtualJoystick() { Detach(); }

    bool Attached() const { return joystick_ != nullptr; }

    void SetAxis(int axis, std::int16_t value) { SDL_JoystickSetVirtualAxis(joystick_, axis, value); }
    void SetButton(int button, bool down) { SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0); }
    void SetHat(int hat, std::uint8_t value) { SDL_JoystickSetVirtualHat(joystick_, hat, value); }

    void Detach()
    {
        if (!joystick_)
            return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id_) {
                SDL_JoystickDetachVirtual(i);
                break;
            }
        }
    }

private:
    VirtualJoystick(SDL_JoystickType type, std::uint16_t vendor, std::uint16_t product, const char* name, int axes,
                    int buttons, int hats)
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = static_cast<Uint16>(type);
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.nhats = static_cast<Uint16>(hats);
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0)
            return;
        id_ = SDL_JoystickGetDeviceInstanceID(index);
        joystick_ = SDL_JoystickOpen(index);
    }

    SDL_JoystickID id_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

/// Runs the window layer's event pump, which hands every SDL event to the input layer.
inline void PumpInput()
{
    os::window::PumpEvents();
}

inline void PushKey(SDL_Scancode scancode, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    SDL_PushEvent(&event);
}

inline void PushMouseMotion(int dx, int dy)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    SDL_PushEvent(&event);
}

inline void PushMouseButton(std::uint8_t button, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
}

inline void PushMouseWheel(int y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = y;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&event);
}

/// Clears the layer's hooks and the window queue around each test.
class InputHooksGuard
{
public:
    InputHooksGuard() { os::testing::ResetInputHooks(); }
    ~InputHooksGuard()
    {
        os::testing::ResetInputHooks();
        os::testing::ResetWindowMessageQueue();
    }
};

/// Several values side by side, so that one check compares and prints them all.
template <class... T>
std::vector<std::int64_t> Values(T... values)
{
    return {static_cast<std::int64_t>(values)...};
}

/// Checks that `call` throws `E` with the given message and origin.
template <class E, class Call>
void ExpectError(Call&& call, const std::string& message, const std::string& where)
{
    ExpectThrowWith<E>(call, message, where.c_str());
}

/// Joysticks, hooks and log for one test; Start() makes the input object once the devices a test
/// wants at start-up are attached.
class InputTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(sdl_.Ok()); }
    void TearDown() override
    {
        directInput_.reset();
        os::input::FreeInputModule(module_);
    }

    void Start()
    {
        module_ = os::input::LoadInputModule("dinput8.dll");
        ASSERT_NE(nullptr, module_);
        os::input::DirectInputCreateFunction create = os::input::FindInputFunction(module_, "DirectInput8Create");
        ASSERT_NE(nullptr, create);
        ASSERT_EQ(os::input::kResultOk, create(nullptr, os::input::kDirectInputVersion, directInput_));
    }

    std::vector<os::input::DeviceInstance> Enumerate(std::uint32_t deviceClass = os::input::kDeviceClassGameController,
                                                     std::uint32_t flags = os::input::kEnumAttachedOnly)
    {
        std::vector<os::input::DeviceInstance> found;
        EXPECT_EQ(os::input::kResultOk, directInput_->EnumDevices(
                                            deviceClass,
                                            [&](const os::input::DeviceInstance& instance) {
                                                found.push_back(instance);
                                                return os::input::kEnumContinue;
                                            },
                                            flags));
        return found;
    }

    std::shared_ptr<os::input::InputDevice> Open(const os::input::Guid& guid, os::input::DataFormat format,
                                                 std::uint32_t flags = os::input::kCoopNonExclusive |
                                                                       os::input::kCoopForeground,
                                                 os::window::WindowHandle window = nullptr)
    {
        std::shared_ptr<os::input::InputDevice> device;
        EXPECT_EQ(os::input::kResultOk, directInput_->CreateDevice(guid, device));
        EXPECT_EQ(os::input::kResultOk, device->SetCooperativeLevel(window, flags));
        EXPECT_EQ(os::input::kResultOk, device->SetDataFormat(format));
        return device;
    }

    JoystickSubsystem sdl_;
    InputHooksGuard hooks_;
    LogCapture log_;
    os::input::InputModule* module_ = nullptr;
    std::shared_ptr<os::input::DirectInput> directInput_;
};

} // namespace korvane::test
