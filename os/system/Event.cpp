/** @file Event.cpp Events over one process-wide lock and condition variable. */
#include "os/system/Event.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace os::system
{

struct EventInternals
{
    static Event::State* Of(const Event& event) { return event.state_; }
};

struct Event::State
{
    bool manualReset = false;
    bool signalled = false;
    // A tracked signal not yet consumed by the thread that was listening for it.
    bool tracked = false;
};

namespace
{

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// One per thread that has ever waited. It stays listed while the thread lives, so a signal
// that arrives while the thread is busy between two waits can still be attributed to it.
struct Waiter
{
    std::vector<Event::State*> set;
    bool blocked = false;
    std::size_t handed = kNone;
    int busy = 0;
    bool listed = false;
};

std::mutex& Mutex()
{
    static std::mutex* mutex = new std::mutex; // never destroyed: threads may wait during exit
    return *mutex;
}

std::condition_variable& Changed()
{
    static std::condition_variable* changed = new std::condition_variable;
    return *changed;
}

std::vector<Waiter*>& Waiters()
{
    static std::vector<Waiter*>* waiters = new std::vector<Waiter*>;
    return *waiters;
}

int g_pending = 0; // tracked signals not consumed yet
int g_busy = 0;    // tracked signals consumed by threads that have not come back to wait

struct WaiterHolder
{
    Waiter waiter;
    ~WaiterHolder()
    {
        std::lock_guard<std::mutex> lock(Mutex());
        g_busy -= waiter.busy;
        waiter.busy = 0;
        auto& list = Waiters();
        list.erase(std::remove(list.begin(), list.end(), &waiter), list.end());
        Changed().notify_all();
    }
};

Waiter& CurrentWaiter()
{
    thread_local WaiterHolder holder;
    return holder.waiter;
}

bool Contains(const Waiter& waiter, const Event::State* state)
{
    return std::find(waiter.set.begin(), waiter.set.end(), state) != waiter.set.end();
}

std::size_t IndexOf(const Waiter& waiter, const Event::State* state)
{
    return static_cast<std::size_t>(std::find(waiter.set.begin(), waiter.set.end(), state) - waiter.set.begin());
}

// Caller holds the lock.
void Consume(Waiter& waiter, Event::State* state)
{
    if (!state->manualReset)
        state->signalled = false;
    if (state->tracked) {
        state->tracked = false;
        --g_pending;
        ++waiter.busy;
        ++g_busy;
    }
}

// Caller holds the lock. Hands an auto-reset signal straight to one blocked waiter, as the
// platform does, so that a later signal of another event cannot overtake it.
bool HandToWaiter(Event::State* state, bool tracked)
{
    for (Waiter* waiter : Waiters()) {
        if (waiter->blocked && Contains(*waiter, state)) {
            waiter->handed = IndexOf(*waiter, state);
            waiter->blocked = false;
            if (tracked) {
                ++waiter->busy;
                ++g_busy;
            }
            return true;
        }
    }
    return false;
}

bool SomeoneListens(const Event::State* state)
{
    for (const Waiter* waiter : Waiters()) {
        if ((waiter->blocked || waiter->busy > 0) && Contains(*waiter, state))
            return true;
    }
    return false;
}

void SetLocked(Event::State* state, bool tracked)
{
    if (!state->manualReset && !state->signalled && HandToWaiter(state, tracked)) {
        Changed().notify_all();
        return;
    }
    state->signalled = true;
    if (tracked && !state->tracked && SomeoneListens(state)) {
        state->tracked = true;
        ++g_pending;
    }
    Changed().notify_all();
}

std::uint32_t WaitStates(Event::State* const* states, std::size_t count, std::uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(Mutex());
    Waiter& waiter = CurrentWaiter();
    // Coming back to wait ends the busy time that began with the last tracked signal.
    g_busy -= waiter.busy;
    waiter.busy = 0;
    waiter.set.assign(states, states + count);
    if (!waiter.listed) {
        Waiters().push_back(&waiter);
        waiter.listed = true;
    }
    Changed().notify_all();

    auto firstSignalled = [&]() -> std::size_t {
        for (std::size_t i = 0; i < waiter.set.size(); ++i) {
            if (waiter.set[i] != nullptr && waiter.set[i]->signalled)
                return i;
        }
        return kNone;
    };

    std::size_t index = firstSignalled();
    if (index != kNone) {
        Consume(waiter, waiter.set[index]);
        return static_cast<std::uint32_t>(index);
    }
    if (timeoutMs == 0 || count == 0)
        return kWaitTimeout;

    waiter.blocked = true;
    waiter.handed = kNone;
    Changed().notify_all();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (waiter.handed != kNone) {
            index = waiter.handed;
            waiter.handed = kNone;
            return static_cast<std::uint32_t>(index);
        }
        index = firstSignalled();
        if (index != kNone) {
            waiter.blocked = false;
            Consume(waiter, waiter.set[index]);
            return static_cast<std::uint32_t>(index);
        }
        if (timeoutMs == kInfinite) {
            Changed().wait(lock);
        } else if (Changed().wait_until(lock, deadline) == std::cv_status::timeout) {
            if (waiter.handed != kNone)
                continue;
            waiter.blocked = false;
            return kWaitTimeout;
        }
    }
}

} // namespace

Event::Event(bool manualReset, bool initiallySignalled) : state_(new State)
{
    state_->manualReset = manualReset;
    state_->signalled = initiallySignalled;
}

Event::~Event()
{
    std::lock_guard<std::mutex> lock(Mutex());
    for (Waiter* waiter : Waiters())
        std::replace(waiter->set.begin(), waiter->set.end(), state_, static_cast<State*>(nullptr));
    if (state_->tracked)
        --g_pending;
    delete state_;
    Changed().notify_all();
}

void Event::Set()
{
    std::lock_guard<std::mutex> lock(Mutex());
    SetLocked(state_, false);
}

void Event::Reset()
{
    std::lock_guard<std::mutex> lock(Mutex());
    state_->signalled = false;
    if (state_->tracked) {
        state_->tracked = false;
        --g_pending;
        Changed().notify_all();
    }
}

void Event::Pulse()
{
    std::lock_guard<std::mutex> lock(Mutex());
    if (state_->manualReset) {
        for (Waiter* waiter : Waiters()) {
            if (waiter->blocked && Contains(*waiter, state_)) {
                waiter->handed = IndexOf(*waiter, state_);
                waiter->blocked = false;
            }
        }
    } else {
        HandToWaiter(state_, false);
    }
    state_->signalled = false;
    if (state_->tracked) {
        state_->tracked = false;
        --g_pending;
    }
    Changed().notify_all();
}

bool Event::Wait(std::uint32_t timeoutMs)
{
    State* state = state_;
    return WaitStates(&state, 1, timeoutMs) == 0;
}

bool Event::IsSignalled() const
{
    std::lock_guard<std::mutex> lock(Mutex());
    return state_->signalled;
}

std::uint32_t WaitForAnyEvent(Event* const* events, std::size_t count, std::uint32_t timeoutMs)
{
    std::vector<Event::State*> states;
    states.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        states.push_back(events[i] != nullptr ? EventInternals::Of(*events[i]) : nullptr);
    return WaitStates(states.data(), states.size(), timeoutMs);
}

bool SetCurrentThreadPriority(int priority)
{
    // Niceness for the platform's levels: normal 0, above normal -5, highest -10.
    const int nice = -5 * std::clamp(priority, -2, 2);
    const pid_t tid = static_cast<pid_t>(::syscall(SYS_gettid));
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) == 0;
}

} // namespace os::system

namespace os::testing
{

void SetEventTracked(os::system::Event& event)
{
    std::lock_guard<std::mutex> lock(os::system::Mutex());
    os::system::SetLocked(os::system::EventInternals::Of(event), true);
}

bool WaitForTrackedEvents(std::uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(os::system::Mutex());
    return os::system::Changed().wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                          [] { return os::system::g_pending == 0 && os::system::g_busy == 0; });
}

bool WaitForWaiterOn(os::system::Event* const* events, std::size_t count, std::uint32_t timeoutMs)
{
    std::vector<os::system::Event::State*> states;
    for (std::size_t i = 0; i < count; ++i) {
        if (events[i] != nullptr)
            states.push_back(os::system::EventInternals::Of(*events[i]));
    }
    std::unique_lock<std::mutex> lock(os::system::Mutex());
    return os::system::Changed().wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        for (const os::system::Waiter* waiter : os::system::Waiters()) {
            if (!waiter->blocked)
                continue;
            for (const auto* state : states) {
                if (os::system::Contains(*waiter, state))
                    return true;
            }
        }
        return false;
    });
}

} // namespace os::testing
