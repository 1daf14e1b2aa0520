/** @file InputHub.h The input layer's shared state: fed by the event pump on the main thread, read under a
 * lock by any thread. */
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

union SDL_Event;
#include <vector>

#include "os/input/InputTypes.h"
#include "os/input/Testing.h"

namespace os::input::detail
{

/// The last known state of one attached joystick.
struct JoystickSnapshot
{
    std::vector<std::int16_t> axes;
    std::vector<std::uint8_t> buttons;
    std::vector<std::uint8_t> hats; ///< SDL hat bits
};

/// What enumeration reports of one attached joystick.
struct JoystickInfo
{
    std::int32_t id = -1; ///< SDL's instance id
    std::string name;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    int axisCount = 0;
};

/// Owns the SDL joystick subsystem while any input object lives. Every SDL call happens on the
/// thread that started it (the main thread, which also pumps the events); the snapshots it keeps
/// are guarded by one mutex, so devices may be read from any thread.
class InputHub
{
public:
    /// Starts the hub or returns the running one. Main thread only. Null when SDL's joystick
    /// subsystem cannot start.
    static std::shared_ptr<InputHub> Start();
    /// The running hub or null.
    static std::shared_ptr<InputHub> Running();

    ~InputHub();
    InputHub(const InputHub&) = delete;
    InputHub& operator=(const InputHub&) = delete;

    void HandleEvent(const SDL_Event& event);

    /// Main thread: adds joysticks SDL reports that the events have not brought in yet and
    /// lists every attached joystick in SDL's device order.
    std::vector<JoystickInfo> ListJoysticks();

    /// True while a window with this SDL id (0: no window) is in the foreground; `generation`
    /// receives the number of focus losses so far, which ends every acquisition made before.
    bool IsForeground(std::uint32_t windowId, std::uint64_t& generation);
    std::uint64_t GetFocusGeneration();
    /// Ends every foreground acquisition and forgets held keys and buttons.
    void LoseFocus();

    void ReadKeys(std::uint8_t (&keys)[kKeyboardStateSize]);

    int AddMouseSink();
    void RemoveMouseSink(int sink);
    /// Motion is gathered for a sink only while it collects (its device is acquired).
    void SetMouseCollecting(int sink, bool collecting);
    /// The motion gathered since the previous call (which it clears) and the buttons now.
    MouseState2 TakeMouseState(int sink);
    /// Exclusive mice switch SDL's relative mode while they are acquired in the foreground.
    void SetMouseExclusive(int sink, bool exclusive);

    bool IsAttached(std::int32_t id);
    bool ReadJoystick(std::int32_t id, JoystickSnapshot& snapshot);

    /// False when no pad holds this slot.
    bool ReadPad(std::uint32_t slot, PadState& state);
    /// ReadPad on the running hub, false when none runs. Any thread: unlike Running(), it never
    /// holds the hub, so the hub's SDL shutdown cannot end up on a thread that only reads pads.
    static bool ReadRunningPad(std::uint32_t slot, PadState& state);

private:
    InputHub() = default;

    /// An open joystick or game controller with its snapshots (defined with the SDL calls).
    struct Joystick;

    struct MouseSink
    {
        MouseState2 motion;
        bool collecting = false;
        bool exclusive = false;
    };

    void AddJoystick(int deviceIndex);
    void RemoveJoystick(std::int32_t id);
    void ReadPadFromController(Joystick& entry);
    void ClearHeldInput();
    void UpdateRelativeMode();
    bool IsForegroundLocked(std::uint32_t windowId) const;

    std::mutex mutex_;
    std::thread::id mainThread_;
    int handlerId_ = 0;
    std::uint32_t focusedWindow_ = 0;
    std::uint64_t focusGeneration_ = 0;
    std::uint8_t keys_[kKeyboardStateSize] = {};
    std::uint8_t mouseButtons_[8] = {};
    std::map<int, MouseSink> mice_;
    int nextMouseSink_ = 1;
    bool relativeMode_ = false;
    std::map<std::int32_t, std::unique_ptr<Joystick>> joysticks_;
    std::int32_t padSlots_[kPadSlotCount] = {-1, -1, -1, -1};
};

/// Test hooks as the layer's calls see them.
/// Returns true (and the result to give) when the hook makes this call fail.
bool TakeStepFailure(os::testing::InputStep step, os::testing::InputDeviceKind kind, Result& result);
std::optional<bool> GetFocusOverride();
os::testing::PnpDeviceIdProvider GetPnpDeviceIdProvider();

} // namespace os::input::detail
