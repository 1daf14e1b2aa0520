/** @file InputDevice.h One keyboard, mouse or joystick device with the acquisition rules of the platform. */
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "os/input/InputTypes.h"

namespace os::input
{

namespace detail
{
class InputHub;
}

constexpr Result kResultAcquired = static_cast<Result>(0x800700AAu);       // DIERR_ACQUIRED
constexpr Result kResultObjectNotFound = static_cast<Result>(0x80070002u); // DIERR_OBJECTNOTFOUND

/// A device created by DirectInput::CreateDevice. Every operation may be called from any thread.
/// A foreground device can be acquired only while its window has the input focus; losing the focus
/// (or unplugging a joystick) takes the acquisition away: the next Poll or GetDeviceState answers
/// kResultInputLost once, then kResultNotAcquired until Acquire succeeds again.
class InputDevice
{
public:
    enum class Kind
    {
        Keyboard,
        Mouse,
        Joystick,
    };

    InputDevice(std::shared_ptr<detail::InputHub> hub, Kind kind, int joystickId, int axisCount);
    ~InputDevice();
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    Kind GetKind() const { return kind_; }

    /// Exactly one of exclusive/non-exclusive and one of foreground/background; the no-Windows-key
    /// flag is accepted and has no effect here. Not while acquired.
    Result SetCooperativeLevel(os::window::WindowHandle window, std::uint32_t flags);
    /// The format must be the one of the device's kind. Not while acquired.
    Result SetDataFormat(DataFormat format);
    /// Axis mode of the whole device (kPropertyHowDevice, object 0); joysticks only.
    Result SetAxisMode(std::uint32_t how, std::uint32_t object, std::uint32_t mode);
    /// Range of one axis (kPropertyHowById with the axis's type) or of all (kPropertyHowDevice);
    /// joysticks only, minimum below maximum.
    Result SetRange(std::uint32_t how, std::uint32_t object, std::int32_t minimum, std::int32_t maximum);
    /// Lists the axes (X, Y, Z, Rx, Ry, Rz that exist) when the flags ask for axes or for all objects.
    using EnumObjectsCallback = std::function<bool(const ObjectInstance& object)>;
    Result EnumObjects(const EnumObjectsCallback& callback, std::uint32_t flags);

    Result Acquire();
    Result Unacquire();
    Result Poll();
    /// size must be the format's record size: 256, 20 (MouseState2) or 80 (JoyState).
    Result GetDeviceState(std::uint32_t size, void* data);

private:
    bool TakeHook(int step, Result& result) const;
    /// Drops the acquisition when the focus went away or the joystick was unplugged.
    void CheckLost();
    std::uint32_t FormatSize() const;

    std::shared_ptr<detail::InputHub> hub_;
    const Kind kind_;
    const int joystickId_;
    const int axisCount_;
    std::mutex mutex_;
    std::uint32_t cooperativeFlags_ = 0;
    std::uint32_t windowId_ = 0;
    bool hasFormat_ = false;
    bool acquired_ = false;
    bool lost_ = false;
    std::uint64_t acquiredGeneration_ = 0;
    int mouseSink_ = 0;
    std::uint32_t axisMode_ = kAxisModeAbsolute;
    std::int32_t rangeMin_[6] = {0, 0, 0, 0, 0, 0};
    std::int32_t rangeMax_[6] = {65535, 65535, 65535, 65535, 65535, 65535};
    std::int32_t lastAxis_[6] = {};
};

} // namespace os::input
