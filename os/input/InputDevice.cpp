/** @file InputDevice.cpp Cooperative levels, formats, axis properties, acquisition and state reads. */
#include "os/input/InputDevice.h"

#include <cstring>

#include <SDL.h>

#include "os/input/InputHub.h"

namespace os::input
{

namespace
{

using os::testing::InputDeviceKind;
using os::testing::InputStep;

constexpr const char* kAxisNames[6] = {"X Axis", "Y Axis", "Z Axis", "X Rotation", "Y Rotation", "Z Rotation"};

InputDeviceKind HookKind(InputDevice::Kind kind)
{
    switch (kind) {
    case InputDevice::Kind::Keyboard:
        return InputDeviceKind::Keyboard;
    case InputDevice::Kind::Mouse:
        return InputDeviceKind::Mouse;
    default:
        return InputDeviceKind::Joystick;
    }
}

/// Scales SDL's -32768..32767 linearly onto the set range, rounding to the nearest value.
std::int32_t ScaleAxis(std::int16_t value, std::int32_t minimum, std::int32_t maximum)
{
    const std::int64_t span = static_cast<std::int64_t>(maximum) - minimum;
    const std::int64_t offset = static_cast<std::int64_t>(value) + 32768;
    return static_cast<std::int32_t>(minimum + (offset * span + 32767) / 65535);
}

std::uint32_t HatToPov(std::uint8_t hat)
{
    switch (hat) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return 0xFFFFFFFFu;
    }
}

} // namespace

InputDevice::InputDevice(std::shared_ptr<detail::InputHub> hub, Kind kind, int joystickId, int axisCount)
    : hub_(std::move(hub)), kind_(kind), joystickId_(joystickId), axisCount_(axisCount < 6 ? axisCount : 6)
{
    if (kind_ == Kind::Mouse)
        mouseSink_ = hub_->AddMouseSink();
}

InputDevice::~InputDevice()
{
    if (kind_ == Kind::Mouse)
        hub_->RemoveMouseSink(mouseSink_);
}

bool InputDevice::TakeHook(int step, Result& result) const
{
    return detail::TakeStepFailure(static_cast<InputStep>(step), HookKind(kind_), result);
}

std::uint32_t InputDevice::FormatSize() const
{
    switch (kind_) {
    case Kind::Keyboard:
        return kKeyboardStateSize;
    case Kind::Mouse:
        return sizeof(MouseState2);
    default:
        return sizeof(JoyState);
    }
}

Result InputDevice::SetCooperativeLevel(os::window::WindowHandle window, std::uint32_t flags)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::SetCooperativeLevel), result))
        return result;
    const std::uint32_t access = flags & (kCoopExclusive | kCoopNonExclusive);
    const std::uint32_t place = flags & (kCoopForeground | kCoopBackground);
    if (access == 0 || access == (kCoopExclusive | kCoopNonExclusive) || place == 0 ||
        place == (kCoopForeground | kCoopBackground) ||
        (flags & ~(kCoopExclusive | kCoopNonExclusive | kCoopForeground | kCoopBackground | kCoopNoWinKey)) != 0)
        return kResultInvalidParam;
    if (acquired_)
        return kResultAcquired;
    cooperativeFlags_ = flags;
    windowId_ = window ? window->GetId() : 0;
    if (kind_ == Kind::Mouse)
        hub_->SetMouseExclusive(mouseSink_, (flags & kCoopExclusive) != 0);
    return kResultOk;
}

Result InputDevice::SetDataFormat(DataFormat format)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::SetDataFormat), result))
        return result;
    const bool matches = (kind_ == Kind::Keyboard && format == DataFormat::Keyboard) ||
                         (kind_ == Kind::Mouse && format == DataFormat::Mouse2) ||
                         (kind_ == Kind::Joystick && format == DataFormat::Joystick);
    if (!matches)
        return kResultInvalidParam;
    if (acquired_)
        return kResultAcquired;
    hasFormat_ = true;
    return kResultOk;
}

Result InputDevice::SetAxisMode(std::uint32_t how, std::uint32_t object, std::uint32_t mode)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::SetAxisMode), result))
        return result;
    if (kind_ != Kind::Joystick)
        return kResultUnsupported;
    if (how != kPropertyHowDevice || object != 0 || (mode != kAxisModeAbsolute && mode != kAxisModeRelative))
        return kResultInvalidParam;
    if (acquired_)
        return kResultAcquired;
    axisMode_ = mode;
    return kResultOk;
}

Result InputDevice::SetRange(std::uint32_t how, std::uint32_t object, std::int32_t minimum, std::int32_t maximum)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::SetRange), result))
        return result;
    if (kind_ != Kind::Joystick)
        return kResultUnsupported;
    if (minimum >= maximum)
        return kResultInvalidParam;
    if (how == kPropertyHowDevice && object == 0) {
        for (int i = 0; i < 6; ++i) {
            rangeMin_[i] = minimum;
            rangeMax_[i] = maximum;
        }
        return kResultOk;
    }
    if (how != kPropertyHowById)
        return kResultInvalidParam;
    const std::uint32_t index = GetObjectInstance(object);
    if ((object & kObjectAxis) == 0 || index >= static_cast<std::uint32_t>(axisCount_))
        return kResultObjectNotFound;
    rangeMin_[index] = minimum;
    rangeMax_[index] = maximum;
    return kResultOk;
}

Result InputDevice::EnumObjects(const EnumObjectsCallback& callback, std::uint32_t flags)
{
    int count = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Result result = kResultOk;
        if (TakeHook(static_cast<int>(InputStep::EnumObjects), result))
            return result;
        if (kind_ == Kind::Joystick && (flags == 0 || (flags & kObjectAxis) != 0))
            count = axisCount_;
    }
    // The callback runs without the device's lock: it sets properties on this device.
    for (int i = 0; i < count; ++i) {
        ObjectInstance object;
        object.type = kObjectAbsoluteAxis | MakeObjectInstance(static_cast<std::uint32_t>(i));
        object.name = kAxisNames[i];
        if (callback(object) == kEnumStop)
            break;
    }
    return kResultOk;
}

void InputDevice::CheckLost()
{
    if (!acquired_)
        return;
    bool lost = false;
    if (kind_ == Kind::Joystick && !hub_->IsAttached(joystickId_))
        lost = true;
    if ((cooperativeFlags_ & kCoopForeground) != 0) {
        std::uint64_t generation = 0;
        const bool foreground = hub_->IsForeground(windowId_, generation);
        if (!foreground || generation != acquiredGeneration_)
            lost = true;
    }
    if (lost) {
        acquired_ = false;
        lost_ = true;
        if (kind_ == Kind::Mouse)
            hub_->SetMouseCollecting(mouseSink_, false);
    }
}

Result InputDevice::Acquire()
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::Acquire), result))
        return result;
    if (!hasFormat_)
        return kResultInvalidParam;
    CheckLost();
    if (acquired_)
        return kResultNoEffect;
    if (kind_ == Kind::Joystick && !hub_->IsAttached(joystickId_))
        return kResultUnplugged;
    std::uint64_t generation = 0;
    const bool foreground = hub_->IsForeground(windowId_, generation);
    if ((cooperativeFlags_ & kCoopForeground) != 0 && !foreground)
        return kResultAccessDenied;
    acquired_ = true;
    lost_ = false;
    acquiredGeneration_ = generation;
    if (kind_ == Kind::Mouse)
        hub_->SetMouseCollecting(mouseSink_, true);
    return kResultOk;
}

Result InputDevice::Unacquire()
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::Unacquire), result))
        return result;
    lost_ = false;
    if (!acquired_)
        return kResultNoEffect;
    acquired_ = false;
    if (kind_ == Kind::Mouse)
        hub_->SetMouseCollecting(mouseSink_, false);
    return kResultOk;
}

Result InputDevice::Poll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::Poll), result))
        return result;
    CheckLost();
    if (lost_) {
        lost_ = false;
        return kResultInputLost;
    }
    if (!acquired_)
        return kResultNotAcquired;
    // State arrives through events; there is nothing to poll.
    return kResultNoEffect;
}

Result InputDevice::GetDeviceState(std::uint32_t size, void* data)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Result result = kResultOk;
    if (TakeHook(static_cast<int>(InputStep::GetDeviceState), result))
        return result;
    if (data == nullptr || !hasFormat_ || size != FormatSize())
        return kResultInvalidParam;
    CheckLost();
    if (lost_) {
        lost_ = false;
        return kResultInputLost;
    }
    if (!acquired_)
        return kResultNotAcquired;
    switch (kind_) {
    case Kind::Keyboard: {
        std::uint8_t keys[kKeyboardStateSize];
        hub_->ReadKeys(keys);
        std::memcpy(data, keys, sizeof(keys));
        break;
    }
    case Kind::Mouse: {
        const MouseState2 state = hub_->TakeMouseState(mouseSink_);
        std::memcpy(data, &state, sizeof(state));
        break;
    }
    case Kind::Joystick: {
        detail::JoystickSnapshot snapshot;
        if (!hub_->ReadJoystick(joystickId_, snapshot)) {
            acquired_ = false;
            return kResultInputLost;
        }
        JoyState state;
        std::int32_t* axes[6] = {&state.x, &state.y, &state.z, &state.rx, &state.ry, &state.rz};
        for (int i = 0; i < 6; ++i) {
            const bool present = i < axisCount_ && static_cast<std::size_t>(i) < snapshot.axes.size();
            const std::int32_t position =
                present ? ScaleAxis(snapshot.axes[static_cast<std::size_t>(i)], rangeMin_[i], rangeMax_[i])
                        : static_cast<std::int32_t>((static_cast<std::int64_t>(rangeMin_[i]) + rangeMax_[i]) / 2);
            if (axisMode_ == kAxisModeRelative) {
                *axes[i] = position - lastAxis_[i];
                lastAxis_[i] = position;
            } else {
                *axes[i] = position;
            }
        }
        for (std::size_t i = 0; i < 4 && i < snapshot.hats.size(); ++i)
            state.pov[i] = HatToPov(snapshot.hats[i]);
        for (std::size_t i = 0; i < 32 && i < snapshot.buttons.size(); ++i)
            state.buttons[i] = snapshot.buttons[i] ? 0x80 : 0x00;
        std::memcpy(data, &state, sizeof(state));
        break;
    }
    }
    return kResultOk;
}

} // namespace os::input
