/** @file Event.h Auto- and manual-reset events with pulse and multi-event waits, and thread priorities. */
#pragma once

#include <cstddef>
#include <cstdint>

namespace os::system
{

/// A signalling object with the platform's semantics: an auto-reset event wakes one waiter and
/// is reset by it; a manual-reset event stays signalled until Reset. Pulse wakes only threads
/// waiting at that moment and leaves the event reset. All events share one process-wide lock,
/// which keeps multi-event waits simple and is plenty for the traffic they carry.
class Event
{
public:
    explicit Event(bool manualReset = false, bool initiallySignalled = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    void Pulse();
    /// True when the event ended the wait; false on time-out.
    bool Wait(std::uint32_t timeoutMs);
    /// Looks without consuming.
    bool IsSignalled() const;

    struct State;

private:
    friend struct EventInternals;
    State* state_;
};

constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
constexpr std::uint32_t kWaitTimeout = 258;

/// Waits until any of the events is signalled: returns the lowest signalled index (consuming
/// only that event when it is auto-reset), or kWaitTimeout. With no events it times out.
std::uint32_t WaitForAnyEvent(Event* const* events, std::size_t count, std::uint32_t timeoutMs);

/// The platform's thread priority levels.
constexpr int kThreadPriorityNormal = 0;
constexpr int kThreadPriorityAboveNormal = 1;
constexpr int kThreadPriorityHighest = 2;

/// Best effort: raising a priority needs privileges on Linux, so a refusal is only reported
/// through the result and the thread goes on at its old priority.
bool SetCurrentThreadPriority(int priority);

} // namespace os::system

namespace os::testing
{

/// Sets the event and, when some thread is waiting on it (or busy between two waits that
/// include it), counts it as outstanding until that thread has consumed it and come back
/// to wait (or ended). The manual audio backend signals through it so a test can step
/// the mixer and the threads that feed it in lock step.
void SetEventTracked(os::system::Event& event);
/// Waits until no tracked signal is outstanding; false when the time-out ran out first.
bool WaitForTrackedEvents(std::uint32_t timeoutMs);
/// Waits until some thread is blocked in a wait that includes one of the events.
bool WaitForWaiterOn(os::system::Event* const* events, std::size_t count, std::uint32_t timeoutMs);

} // namespace os::testing
