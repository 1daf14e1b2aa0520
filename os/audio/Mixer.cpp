/** @file Mixer.cpp The software mixer's chunk loop and output conversion. */
#include "os/audio/Mixer.h"

#include <algorithm>

#include "os/audio/SoundBuffer.h"
#include "os/system/Event.h"

namespace os::audio {

namespace {

// How long a lock-step chunk waits for its listeners before it goes on regardless; only a
// listener that hangs ever reaches it.
constexpr std::uint32_t kLockStepWaitMs = 10000;

std::int16_t Saturate(float value)
{
    if (value >= 32767.0f)
        return 32767;
    if (value <= -32768.0f)
        return -32768;
    return static_cast<std::int16_t>(value >= 0.0f ? value + 0.5f : value - 0.5f);
}

} // namespace

Mixer::Mixer() = default;

void Mixer::SetOutputFormat(std::uint32_t channels, std::uint32_t rate)
{
    std::lock_guard<std::mutex> lock(mutex_);
    channels_ = channels;
    rate_ = rate;
}

std::uint32_t Mixer::GetOutputChannels() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return channels_;
}

std::uint32_t Mixer::GetOutputRate() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return rate_;
}

void Mixer::Attach(SoundBuffer* buffer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    buffers_.push_back(buffer);
}

void Mixer::Detach(SoundBuffer* buffer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}

void Mixer::SignalLocked(const std::vector<os::system::Event*>& events, bool tracked) const
{
    for (os::system::Event* event : events)
    {
        if (tracked)
            os::testing::SetEventTracked(*event);
        else
            event->Set();
    }
}

void Mixer::Mix(std::int16_t* out, std::uint32_t frames, bool lockStep)
{
    std::unique_lock<std::mutex> lock(mutex_);
    // A sixteenth of a second at most, also at a low output rate, so a chunk never passes two
    // section boundaries of a streaming buffer (an eighth of a second each).
    const std::uint32_t chunkLimit = std::clamp<std::uint32_t>(rate_ / 16, 1, kChunkFrames);
    std::uint32_t done = 0;
    while (done < frames)
    {
        const std::uint32_t chunk = std::min(chunkLimit, frames - done);
        accumulator_.assign(static_cast<std::size_t>(chunk) * 2, 0.0f);
        signals_.clear();
        for (SoundBuffer* buffer : buffers_)
        {
            if (buffer->playing_ && !buffer->lost_)
                buffer->MixChunk(accumulator_.data(), chunk, rate_, signals_);
        }
        const bool signalled = !signals_.empty();
        SignalLocked(signals_, lockStep);

        std::int16_t* target = out + static_cast<std::size_t>(done) * channels_;
        if (channels_ == 2)
        {
            for (std::uint32_t i = 0; i < chunk * 2; ++i)
                target[i] = Saturate(accumulator_[i]);
        }
        else
        {
            for (std::uint32_t i = 0; i < chunk; ++i)
                target[i] = Saturate((accumulator_[2 * i] + accumulator_[2 * i + 1]) * 0.5f);
        }
        done += chunk;

        if (lockStep && signalled)
        {
            lock.unlock();
            os::testing::WaitForTrackedEvents(kLockStepWaitMs);
            lock.lock();
        }
    }
}

} // namespace os::audio
