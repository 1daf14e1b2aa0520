/** @file Mixer.h The software mixer that sums the playing secondary buffers into the output. */
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace os::system
{
class Event;
}

namespace os::audio
{

class SoundBuffer;

/// Sums every playing secondary buffer into interleaved 16-bit output: converts 8-bit and
/// mono sources, resamples by linear interpolation, applies volume and pan and saturates.
/// Works in chunks short enough that a chunk never passes more than one section of a
/// streaming buffer, and signals position notifications chunk by chunk in cursor order.
class Mixer
{
public:
    /// Output frames per chunk (5.8 ms at 44.1 kHz); fewer below 4096 Hz (a sixteenth of a second).
    static constexpr std::uint32_t kChunkFrames = 256;

    /// One buffer's samples and playing parameters as the kernel reads them.
    struct Voice
    {
        const std::uint8_t* data;
        std::uint32_t frameCount;
        bool eightBit; ///< unsigned 8-bit samples, else signed 16-bit little-endian
        bool stereo;
        std::uint64_t step; ///< source frames per output frame, 32.32 fixed point
        bool looping;
        float gainLeft;
        float gainRight;
    };
    /// Where the voice stands: its position (32.32 frames), the wraps and the end of a one-shot voice.
    struct VoiceProgress
    {
        std::uint64_t position;
        std::uint32_t wraps = 0;
        bool ended = false;
    };
    /// Adds `frames` output frames of one voice into the stereo accumulator, converting and
    /// resampling by linear interpolation; a one-shot voice that reaches its end stops there.
    static void MixVoice(const Voice& voice, float* accumulator, std::uint32_t frames, VoiceProgress& progress);

    Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    /// The lock under which every buffer's playing state changes.
    std::mutex& GetMutex() { return mutex_; }

    void SetOutputFormat(std::uint32_t channels, std::uint32_t rate);
    std::uint32_t GetOutputChannels() const;
    std::uint32_t GetOutputRate() const;

    void Attach(SoundBuffer* buffer);
    void Detach(SoundBuffer* buffer);

    /// Mixes `frames` frames into `out` (frames x output channels samples). In lock step
    /// the notifications are signalled as tracked events and each chunk waits until the
    /// threads listening for them have handled them, which makes a manual run deterministic.
    void Mix(std::int16_t* out, std::uint32_t frames, bool lockStep);

    /// Signals under the lock, so a buffer cannot go away while its events are set.
    /// Caller holds the lock.
    void SignalLocked(const std::vector<os::system::Event*>& events, bool tracked) const;

private:
    mutable std::mutex mutex_;
    std::uint32_t channels_ = 2;
    std::uint32_t rate_ = 44100;
    std::vector<SoundBuffer*> buffers_;
    std::vector<float> accumulator_;
    std::vector<os::system::Event*> signals_;
};

} // namespace os::audio
