/** @file EngineClock.cpp The engine clock accessor. */
#include "KorvaneXDK/core/EngineClock.h"

#include <cstdint>
#include <memory>
#include <mutex>

#include "os/system/System.h"

namespace korvane
{

namespace
{

struct ClockState
{
    std::mutex mutex;
    std::shared_ptr<const EngineClockSource> source;
    const void* owner = nullptr;
    bool haveOrigin = false;
    std::uint64_t origin = 0;
};

ClockState& State()
{
    // Never destroyed: threads may read the clock while static objects go away.
    static ClockState* state = new ClockState;
    return *state;
}

} // namespace

double GetEngineElapsedMilliseconds()
{
    auto& state = State();
    std::shared_ptr<const EngineClockSource> source;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        source = state.source;
        if (!source) {
            const std::uint64_t now = os::system::MonotonicNanoseconds();
            if (!state.haveOrigin) {
                state.haveOrigin = true;
                state.origin = now;
            }
            return static_cast<double>(static_cast<std::int64_t>(now - state.origin)) / 1000000.0;
        }
    }
    return (*source)();
}

void SetEngineClockSource(EngineClockSource source)
{
    SetEngineClockSource(std::move(source), nullptr);
}

void SetEngineClockSource(EngineClockSource source, const void* owner)
{
    auto& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (source) {
        state.source = std::make_shared<const EngineClockSource>(std::move(source));
        state.owner = owner;
    } else {
        state.source.reset();
        state.owner = nullptr;
    }
}

void ClearEngineClockSource(const void* owner)
{
    auto& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (owner && state.source && state.owner == owner) {
        state.source.reset();
        state.owner = nullptr;
    }
}

} // namespace korvane
