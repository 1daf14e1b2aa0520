/** @file InputHub.cpp Turns SDL's keyboard, mouse, joystick, controller and focus events into the layer's
 * snapshots. */
#include "os/input/InputHub.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <SDL.h>

#include "os/input/KeyCodes.h"
#include "os/input/PadClassification.h"
#include "os/system/Owned.h"
#include "os/system/System.h"
#include "os/window/EventHooks.h"

namespace os::input::detail
{

namespace
{

std::mutex g_hubMutex;
std::weak_ptr<InputHub> g_hub;
/// The running hub for readers that must not share its ownership (see ReadRunningPad).
std::mutex g_padReaderMutex;
InputHub* g_hubForPads = nullptr;

struct StepFailure
{
    os::testing::InputStep step;
    os::testing::InputDeviceKind kind;
    Result result;
    int count;
};

struct Hooks
{
    std::mutex mutex;
    std::vector<StepFailure> failures;
    std::optional<bool> focus;
    os::testing::PnpDeviceIdProvider pnpProvider;
};

Hooks& GetHooks()
{
    static Hooks hooks;
    return hooks;
}

std::uint8_t MouseButtonIndex(std::uint8_t sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_X1:
        return 3;
    case SDL_BUTTON_X2:
        return 4;
    default:
        return sdlButton <= 8 ? static_cast<std::uint8_t>(sdlButton - 1) : 0xFF;
    }
}

/// Motion piles up between two reads of a device; a flood of events saturates instead of wrapping.
void AddMotion(std::int32_t& total, std::int64_t delta)
{
    const std::int64_t sum = static_cast<std::int64_t>(total) + delta;
    total = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

std::int16_t ReadAxis(SDL_GameController* controller, SDL_GameControllerAxis axis)
{
    return SDL_GameControllerGetAxis(controller, axis);
}

/// Maps SDL's controller values to the pad record: triggers 0..255, sticks with up positive.
void StorePadAxis(PadGamepad& pad, int axis, std::int16_t value)
{
    auto trigger = [](std::int16_t v) {
        const int clamped = std::max<int>(0, v);
        return static_cast<std::uint8_t>((clamped * 255 + 16383) / 32767);
    };
    auto flipped = [](std::int16_t v) { return static_cast<std::int16_t>(std::min(32767, -static_cast<int>(v))); };
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        pad.thumbLX = value;
        break;
    case SDL_CONTROLLER_AXIS_LEFTY:
        pad.thumbLY = flipped(value);
        break;
    case SDL_CONTROLLER_AXIS_RIGHTX:
        pad.thumbRX = value;
        break;
    case SDL_CONTROLLER_AXIS_RIGHTY:
        pad.thumbRY = flipped(value);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        pad.leftTrigger = trigger(value);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        pad.rightTrigger = trigger(value);
        break;
    default:
        break;
    }
}

std::uint16_t PadButtonBit(int button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return kPadA;
    case SDL_CONTROLLER_BUTTON_B:
        return kPadB;
    case SDL_CONTROLLER_BUTTON_X:
        return kPadX;
    case SDL_CONTROLLER_BUTTON_Y:
        return kPadY;
    case SDL_CONTROLLER_BUTTON_BACK:
        return kPadBack;
    case SDL_CONTROLLER_BUTTON_START:
        return kPadStart;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK:
        return kPadLeftThumb;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
        return kPadRightThumb;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return kPadLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return kPadRightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return kPadDpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return kPadDpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return kPadDpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return kPadDpadRight;
    default:
        return 0;
    }
}

} // namespace

struct InputHub::Joystick
{
    /// A game controller owns its joystick; a plain joystick is owned here.
    os::system::Owned<SDL_GameController, SDL_GameControllerClose> controller;
    os::system::Owned<SDL_Joystick, SDL_JoystickClose> plainJoystick;
    SDL_Joystick* joystick = nullptr;
    JoystickInfo info;
    JoystickSnapshot snapshot;
    int padSlot = -1;
    PadState pad;
};

std::shared_ptr<InputHub> InputHub::Start()
{
    std::lock_guard<std::mutex> lock(g_hubMutex);
    if (auto running = g_hub.lock())
        return running;
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
        os::system::SetLastErrorFromSdl("SDL_InitSubSystem(SDL_INIT_JOYSTICK)");
        return nullptr;
    }
    std::shared_ptr<InputHub> hub(new InputHub());
    hub->mainThread_ = std::this_thread::get_id();
    if (SDL_Window* focus = SDL_GetKeyboardFocus())
        hub->focusedWindow_ = SDL_GetWindowID(focus);
    {
        std::lock_guard<std::mutex> hubLock(hub->mutex_);
        const int count = SDL_NumJoysticks();
        for (int i = 0; i < count; ++i)
            hub->AddJoystick(i);
    }
    std::weak_ptr<InputHub> weak = hub;
    hub->handlerId_ = os::window::AddRawEventHandler([weak](const SDL_Event& event) {
        if (auto live = weak.lock())
            live->HandleEvent(event);
    });
    g_hub = hub;
    {
        std::lock_guard<std::mutex> padLock(g_padReaderMutex);
        g_hubForPads = hub.get();
    }
    return hub;
}

std::shared_ptr<InputHub> InputHub::Running()
{
    std::lock_guard<std::mutex> lock(g_hubMutex);
    return g_hub.lock();
}

bool InputHub::ReadRunningPad(std::uint32_t slot, PadState& state)
{
    std::lock_guard<std::mutex> lock(g_padReaderMutex);
    return g_hubForPads != nullptr && g_hubForPads->ReadPad(slot, state);
}

InputHub::~InputHub()
{
    {
        std::lock_guard<std::mutex> lock(g_padReaderMutex);
        if (g_hubForPads == this)
            g_hubForPads = nullptr;
    }
    os::window::RemoveRawEventHandler(handlerId_);
    if (relativeMode_)
        SDL_SetRelativeMouseMode(SDL_FALSE);
    joysticks_.clear();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

void InputHub::AddJoystick(int deviceIndex)
{
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || joysticks_.count(id) != 0)
        return;
    auto entry = std::make_unique<Joystick>();
    const bool pad = CountsAsPad(deviceIndex);
    if (pad) {
        entry->controller.reset(SDL_GameControllerOpen(deviceIndex));
        entry->joystick = entry->controller ? SDL_GameControllerGetJoystick(entry->controller.get()) : nullptr;
    } else {
        entry->plainJoystick.reset(SDL_JoystickOpen(deviceIndex));
        entry->joystick = entry->plainJoystick.get();
    }
    if (!entry->joystick) {
        os::system::SetLastErrorFromSdl(pad ? "SDL_GameControllerOpen" : "SDL_JoystickOpen");
        return;
    }
    const char* name = SDL_JoystickName(entry->joystick);
    entry->info.id = id;
    entry->info.name = name ? name : "";
    entry->info.vendor = SDL_JoystickGetVendor(entry->joystick);
    entry->info.product = SDL_JoystickGetProduct(entry->joystick);
    entry->info.axisCount = std::max(0, SDL_JoystickNumAxes(entry->joystick));
    entry->snapshot.axes.resize(static_cast<std::size_t>(entry->info.axisCount));
    for (int i = 0; i < entry->info.axisCount; ++i)
        entry->snapshot.axes[static_cast<std::size_t>(i)] = SDL_JoystickGetAxis(entry->joystick, i);
    entry->snapshot.buttons.resize(static_cast<std::size_t>(std::max(0, SDL_JoystickNumButtons(entry->joystick))));
    for (std::size_t i = 0; i < entry->snapshot.buttons.size(); ++i)
        entry->snapshot.buttons[i] = SDL_JoystickGetButton(entry->joystick, static_cast<int>(i));
    entry->snapshot.hats.resize(static_cast<std::size_t>(std::max(0, SDL_JoystickNumHats(entry->joystick))));
    for (std::size_t i = 0; i < entry->snapshot.hats.size(); ++i)
        entry->snapshot.hats[i] = SDL_JoystickGetHat(entry->joystick, static_cast<int>(i));
    if (entry->controller) {
        ReadPadFromController(*entry);
        for (std::uint32_t slot = 0; slot < kPadSlotCount; ++slot) {
            if (padSlots_[slot] < 0) {
                padSlots_[slot] = id;
                entry->padSlot = static_cast<int>(slot);
                break;
            }
        }
    }
    joysticks_.emplace(id, std::move(entry));
}

void InputHub::ReadPadFromController(Joystick& entry)
{
    PadGamepad pad;
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
        if (SDL_GameControllerGetButton(entry.controller.get(), static_cast<SDL_GameControllerButton>(button)))
            pad.buttons = static_cast<std::uint16_t>(pad.buttons | PadButtonBit(button));
    }
    for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis)
        StorePadAxis(pad, axis, ReadAxis(entry.controller.get(), static_cast<SDL_GameControllerAxis>(axis)));
    entry.pad.gamepad = pad;
    ++entry.pad.packetNumber;
}

void InputHub::RemoveJoystick(SDL_JoystickID id)
{
    auto found = joysticks_.find(id);
    if (found == joysticks_.end())
        return;
    if (found->second->padSlot >= 0)
        padSlots_[found->second->padSlot] = -1;
    joysticks_.erase(found);
}

void InputHub::ClearHeldInput()
{
    std::memset(keys_, 0, sizeof(keys_));
    std::memset(mouseButtons_, 0, sizeof(mouseButtons_));
}

bool InputHub::IsForegroundLocked(std::uint32_t windowId) const
{
    if (auto forced = GetFocusOverride())
        return *forced;
    return windowId == 0 || windowId == focusedWindow_;
}

void InputHub::UpdateRelativeMode()
{
    if (std::this_thread::get_id() != mainThread_)
        return; // applied by the next event the main thread pumps
    bool wanted = false;
    for (const auto& [sink, mouse] : mice_)
        wanted = wanted || (mouse.exclusive && mouse.collecting);
    wanted = wanted && IsForegroundLocked(focusedWindow_);
    if (wanted != relativeMode_) {
        relativeMode_ = wanted;
        SDL_SetRelativeMouseMode(wanted ? SDL_TRUE : SDL_FALSE);
    }
}

void InputHub::HandleEvent(const SDL_Event& event)
{
    std::lock_guard<std::mutex> lock(mutex_);
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (const std::uint8_t key = KeyCodeFromScancode(event.key.keysym.scancode))
            keys_[key] = event.type == SDL_KEYDOWN ? 0x80 : 0x00;
        break;
    case SDL_MOUSEMOTION:
        for (auto& [sink, mouse] : mice_) {
            if (mouse.collecting) {
                AddMotion(mouse.motion.x, event.motion.xrel);
                AddMotion(mouse.motion.y, event.motion.yrel);
            }
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (const std::uint8_t index = MouseButtonIndex(event.button.button); index < 8)
            mouseButtons_[index] = event.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0x00;
        break;
    case SDL_MOUSEWHEEL: {
        const std::int64_t steps =
            event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -static_cast<std::int64_t>(event.wheel.y) : event.wheel.y;
        for (auto& [sink, mouse] : mice_) {
            if (mouse.collecting)
                AddMotion(mouse.motion.z, 120 * steps);
        }
        break;
    }
    case SDL_JOYAXISMOTION:
        if (auto found = joysticks_.find(event.jaxis.which); found != joysticks_.end()) {
            auto& axes = found->second->snapshot.axes;
            if (event.jaxis.axis < axes.size())
                axes[event.jaxis.axis] = event.jaxis.value;
        }
        break;
    case SDL_JOYHATMOTION:
        if (auto found = joysticks_.find(event.jhat.which); found != joysticks_.end()) {
            auto& hats = found->second->snapshot.hats;
            if (event.jhat.hat < hats.size())
                hats[event.jhat.hat] = event.jhat.value;
        }
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (auto found = joysticks_.find(event.jbutton.which); found != joysticks_.end()) {
            auto& buttons = found->second->snapshot.buttons;
            if (event.jbutton.button < buttons.size())
                buttons[event.jbutton.button] = event.jbutton.state == SDL_PRESSED ? 1 : 0;
        }
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (auto found = joysticks_.find(event.caxis.which); found != joysticks_.end() && found->second->controller) {
            StorePadAxis(found->second->pad.gamepad, event.caxis.axis, event.caxis.value);
            ++found->second->pad.packetNumber;
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (auto found = joysticks_.find(event.cbutton.which); found != joysticks_.end() && found->second->controller) {
            auto& buttons = found->second->pad.gamepad.buttons;
            const std::uint16_t bit = PadButtonBit(event.cbutton.button);
            buttons =
                static_cast<std::uint16_t>(event.cbutton.state == SDL_PRESSED ? (buttons | bit) : (buttons & ~bit));
            ++found->second->pad.packetNumber;
        }
        break;
    case SDL_JOYDEVICEADDED:
    case SDL_CONTROLLERDEVICEADDED:
        AddJoystick(event.jdevice.which);
        break;
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEREMOVED:
        RemoveJoystick(event.jdevice.which);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            focusedWindow_ = event.window.windowID;
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST && event.window.windowID == focusedWindow_) {
            focusedWindow_ = 0;
            ++focusGeneration_;
            ClearHeldInput();
        }
        break;
    default:
        break;
    }
    UpdateRelativeMode();
}

void InputHub::LoseFocus()
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++focusGeneration_;
    ClearHeldInput();
    UpdateRelativeMode();
}

std::vector<JoystickInfo> InputHub::ListJoysticks()
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<JoystickInfo> list;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        AddJoystick(i);
        auto found = joysticks_.find(SDL_JoystickGetDeviceInstanceID(i));
        if (found != joysticks_.end())
            list.push_back(found->second->info);
    }
    return list;
}

bool InputHub::IsForeground(std::uint32_t windowId, std::uint64_t& generation)
{
    std::lock_guard<std::mutex> lock(mutex_);
    generation = focusGeneration_;
    return IsForegroundLocked(windowId);
}

std::uint64_t InputHub::GetFocusGeneration()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return focusGeneration_;
}

void InputHub::ReadKeys(std::uint8_t (&keys)[kKeyboardStateSize])
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::memcpy(keys, keys_, sizeof(keys_));
}

int InputHub::AddMouseSink()
{
    std::lock_guard<std::mutex> lock(mutex_);
    const int sink = nextMouseSink_++;
    mice_[sink] = MouseSink{};
    return sink;
}

void InputHub::RemoveMouseSink(int sink)
{
    std::lock_guard<std::mutex> lock(mutex_);
    mice_.erase(sink);
    UpdateRelativeMode();
}

void InputHub::SetMouseCollecting(int sink, bool collecting)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = mice_.find(sink);
    if (found == mice_.end())
        return;
    if (found->second.collecting != collecting)
        found->second.motion = MouseState2{};
    found->second.collecting = collecting;
    UpdateRelativeMode();
}

void InputHub::SetMouseExclusive(int sink, bool exclusive)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = mice_.find(sink);
    if (found == mice_.end())
        return;
    found->second.exclusive = exclusive;
    UpdateRelativeMode();
}

MouseState2 InputHub::TakeMouseState(int sink)
{
    std::lock_guard<std::mutex> lock(mutex_);
    MouseState2 state;
    auto found = mice_.find(sink);
    if (found != mice_.end()) {
        state = found->second.motion;
        found->second.motion = MouseState2{};
    }
    std::memcpy(state.buttons, mouseButtons_, sizeof(state.buttons));
    return state;
}

bool InputHub::IsAttached(SDL_JoystickID id)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return joysticks_.count(id) != 0;
}

bool InputHub::ReadJoystick(SDL_JoystickID id, JoystickSnapshot& snapshot)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = joysticks_.find(id);
    if (found == joysticks_.end())
        return false;
    snapshot = found->second->snapshot;
    return true;
}

bool InputHub::ReadPad(std::uint32_t slot, PadState& state)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (slot >= kPadSlotCount || padSlots_[slot] < 0)
        return false;
    auto found = joysticks_.find(padSlots_[slot]);
    if (found == joysticks_.end())
        return false;
    state = found->second->pad;
    return true;
}

bool TakeStepFailure(os::testing::InputStep step, os::testing::InputDeviceKind kind, Result& result)
{
    auto& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    for (auto it = hooks.failures.begin(); it != hooks.failures.end(); ++it) {
        if (it->step != step)
            continue;
        if (it->kind != os::testing::InputDeviceKind::Any && kind != os::testing::InputDeviceKind::Any &&
            it->kind != kind)
            continue;
        result = it->result;
        if (it->count > 0 && --it->count == 0)
            hooks.failures.erase(it);
        return true;
    }
    return false;
}

std::optional<bool> GetFocusOverride()
{
    auto& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    return hooks.focus;
}

os::testing::PnpDeviceIdProvider GetPnpDeviceIdProvider()
{
    auto& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    return hooks.pnpProvider;
}

} // namespace os::input::detail

namespace os::testing
{

void FailInputStep(InputStep step, os::input::Result result, InputDeviceKind kind, int count)
{
    if (count == 0)
        return;
    auto& hooks = os::input::detail::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.failures.push_back({step, kind, result, count});
}

void ResetInputHooks()
{
    SetInputFocusOverride(std::nullopt);
    auto& hooks = os::input::detail::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.failures.clear();
    hooks.pnpProvider = nullptr;
}

void SetInputFocusOverride(std::optional<bool> focused)
{
    {
        auto& hooks = os::input::detail::GetHooks();
        std::lock_guard<std::mutex> lock(hooks.mutex);
        hooks.focus = focused;
    }
    // Going to the background ends every acquisition, as a real focus loss does.
    if (focused.has_value() && !*focused) {
        if (auto hub = os::input::detail::InputHub::Running())
            hub->LoseFocus();
    }
}

void SetPnpDeviceIdProvider(PnpDeviceIdProvider provider)
{
    auto& hooks = os::input::detail::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.pnpProvider = std::move(provider);
}

} // namespace os::testing
