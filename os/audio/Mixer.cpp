/** @file Mixer.cpp The software mixer: the per-voice kernel, the chunk loop and output conversion. */
#include "os/audio/Mixer.h"

#include <algorithm>

#include "os/audio/SoundBuffer.h"
#include "os/system/Event.h"

namespace os::audio
{

namespace
{

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

template <int Bits>
inline float SampleAt(const std::uint8_t* data, std::uint32_t sampleIndex)
{
    if constexpr (Bits == 8) {
        return static_cast<float>((static_cast<int>(data[sampleIndex]) - 128) * 256);
    } else {
        const std::uint8_t* p = data + static_cast<std::size_t>(sampleIndex) * 2;
        return static_cast<float>(static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8))));
    }
}

template <int Bits, int Channels>
void MixVoiceAs(const Mixer::Voice& voice, float* accumulator, std::uint32_t frames, Mixer::VoiceProgress& state)
{
    const std::uint8_t* data = voice.data;
    const std::uint32_t frameCount = voice.frameCount;
    const std::uint64_t step = voice.step;
    const bool looping = voice.looping;
    const float gainLeft = voice.gainLeft;
    const float gainRight = voice.gainRight;
    const std::uint64_t end = static_cast<std::uint64_t>(frameCount) << 32;
    std::uint64_t position = state.position;
    constexpr float kFraction = 1.0f / 4294967296.0f;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::uint32_t index = static_cast<std::uint32_t>(position >> 32);
        std::uint32_t next = index + 1;
        if (next >= frameCount)
            next = looping ? 0 : index;
        const float t = static_cast<float>(static_cast<std::uint32_t>(position)) * kFraction;
        float left;
        float right;
        if constexpr (Channels == 1) {
            const float a = SampleAt<Bits>(data, index);
            const float b = SampleAt<Bits>(data, next);
            left = right = a + (b - a) * t;
        } else {
            const float al = SampleAt<Bits>(data, index * 2);
            const float ar = SampleAt<Bits>(data, index * 2 + 1);
            const float bl = SampleAt<Bits>(data, next * 2);
            const float br = SampleAt<Bits>(data, next * 2 + 1);
            left = al + (bl - al) * t;
            right = ar + (br - ar) * t;
        }
        accumulator[2 * i] += left * gainLeft;
        accumulator[2 * i + 1] += right * gainRight;

        position += step;
        if (position >= end) {
            if (!looping) {
                state.ended = true;
                state.position = 0;
                return;
            }
            while (position >= end) {
                position -= end;
                ++state.wraps;
            }
        }
    }
    state.position = position;
}

} // namespace

Mixer::Mixer() = default;

void Mixer::MixVoice(const Voice& voice, float* accumulator, std::uint32_t frames, VoiceProgress& progress)
{
    if (voice.eightBit) {
        if (voice.stereo)
            MixVoiceAs<8, 2>(voice, accumulator, frames, progress);
        else
            MixVoiceAs<8, 1>(voice, accumulator, frames, progress);
    } else {
        if (voice.stereo)
            MixVoiceAs<16, 2>(voice, accumulator, frames, progress);
        else
            MixVoiceAs<16, 1>(voice, accumulator, frames, progress);
    }
}

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
    for (os::system::Event* event : events) {
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
    while (done < frames) {
        const std::uint32_t chunk = std::min(chunkLimit, frames - done);
        accumulator_.assign(static_cast<std::size_t>(chunk) * 2, 0.0f);
        signals_.clear();
        for (SoundBuffer* buffer : buffers_) {
            if (buffer->playing_ && !buffer->lost_)
                buffer->MixChunk(accumulator_.data(), chunk, rate_, signals_);
        }
        const bool signalled = !signals_.empty();
        SignalLocked(signals_, lockStep);

        std::int16_t* target = out + static_cast<std::size_t>(done) * channels_;
        if (channels_ == 2) {
            for (std::uint32_t i = 0; i < chunk * 2; ++i)
                target[i] = Saturate(accumulator_[i]);
        } else {
            for (std::uint32_t i = 0; i < chunk; ++i)
                target[i] = Saturate((accumulator_[2 * i] + accumulator_[2 * i + 1]) * 0.5f);
        }
        done += chunk;

        if (lockStep && signalled) {
            lock.unlock();
            os::testing::WaitForTrackedEvents(kLockStepWaitMs);
            lock.lock();
        }
    }
}

} // namespace os::audio
