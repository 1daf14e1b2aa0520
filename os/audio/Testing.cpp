/** @file Testing.cpp Test hooks of the audio layer. */
#include "os/audio/Testing.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "os/audio/Mixer.h"
#include "os/audio/SoundBuffer.h"
#include "os/audio/SoundDevice.h"
#include "os/system/Event.h"

namespace os::audio
{

struct SoundBufferTesting
{
    static void MarkLost(SoundBuffer& buffer)
    {
        std::lock_guard<std::mutex> lock(buffer.mixer_->GetMutex());
        buffer.lost_ = true;
        buffer.playing_ = false;
        std::fill(buffer.samples_->begin(), buffer.samples_->end(), std::uint8_t{0});
    }

    static void FailRestores(SoundBuffer& buffer, int count)
    {
        std::lock_guard<std::mutex> lock(buffer.mixer_->GetMutex());
        buffer.failingRestores_ = count;
    }

    static std::vector<os::system::Event*> NotifyEvents(SoundBuffer& buffer)
    {
        std::lock_guard<std::mutex> lock(buffer.mixer_->GetMutex());
        std::vector<os::system::Event*> events;
        for (const PositionNotify& notify : buffer.positions_)
            events.push_back(notify.event);
        for (const PositionNotify& notify : buffer.stopNotifies_)
            events.push_back(notify.event);
        return events;
    }
};

namespace
{

struct Hooks
{
    std::mutex mutex;
    std::array<Result, static_cast<std::size_t>(os::testing::AudioCall::Count)> results{};
    std::array<int, static_cast<std::size_t>(os::testing::AudioCall::Count)> counts{};
    bool manual = false;
    std::weak_ptr<SoundDevice> manualDevice;
    os::testing::VolumeObserver volumeObserver;
};

Hooks& GetHooks()
{
    static Hooks* hooks = new Hooks; // never destroyed: buffers may be released during exit
    return *hooks;
}

} // namespace

namespace detail
{

Result InjectedResult(os::testing::AudioCall call)
{
    Hooks& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    const auto index = static_cast<std::size_t>(call);
    if (hooks.counts[index] == 0)
        return kOk;
    if (hooks.counts[index] > 0)
        --hooks.counts[index];
    return hooks.results[index];
}

void NotifyVolume(const SoundBuffer& buffer, std::int32_t volume)
{
    os::testing::VolumeObserver observer;
    {
        Hooks& hooks = GetHooks();
        std::lock_guard<std::mutex> lock(hooks.mutex);
        observer = hooks.volumeObserver;
    }
    if (observer)
        observer(buffer, volume);
}

bool ManualBackendRequested()
{
    Hooks& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    return hooks.manual;
}

void RegisterManualDevice(const std::shared_ptr<SoundDevice>& device)
{
    Hooks& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.manualDevice = device;
}

} // namespace detail

} // namespace os::audio

namespace os::testing
{

void FailAudioCall(AudioCall call, os::audio::Result result, int times)
{
    auto& hooks = os::audio::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    const auto index = static_cast<std::size_t>(call);
    hooks.results[index] = result;
    hooks.counts[index] = times;
}

void ResetAudioHooks()
{
    auto& hooks = os::audio::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.results.fill(os::audio::kOk);
    hooks.counts.fill(0);
    hooks.manual = false;
    hooks.volumeObserver = nullptr;
}

void UseManualAudioBackend(bool manual)
{
    auto& hooks = os::audio::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.manual = manual;
}

std::vector<std::int16_t> MixAudioFrames(std::uint32_t frames)
{
    std::shared_ptr<os::audio::SoundDevice> device;
    {
        auto& hooks = os::audio::GetHooks();
        std::lock_guard<std::mutex> lock(hooks.mutex);
        device = hooks.manualDevice.lock();
    }
    if (!device)
        return {};
    return device->MixManually(frames);
}

void MarkBufferLost(os::audio::SoundBuffer& buffer)
{
    os::audio::SoundBufferTesting::MarkLost(buffer);
}

void FailNextRestores(os::audio::SoundBuffer& buffer, int count)
{
    os::audio::SoundBufferTesting::FailRestores(buffer, count);
}

void SetVolumeObserver(VolumeObserver observer)
{
    auto& hooks = os::audio::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.volumeObserver = std::move(observer);
}

bool WaitForNotifyListener(os::audio::SoundBuffer& buffer, std::uint32_t timeoutMs)
{
    const std::vector<os::system::Event*> events = os::audio::SoundBufferTesting::NotifyEvents(buffer);
    return WaitForWaiterOn(events.data(), events.size(), timeoutMs);
}

} // namespace os::testing
