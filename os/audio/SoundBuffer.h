/** @file SoundBuffer.h A primary or secondary sound buffer played by the software mixer. */
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "os/audio/AudioTypes.h"

namespace os::audio
{

class Mixer;
class SoundNotify;

/// A buffer of PCM in its own format. Secondary buffers are mixed into the output while
/// playing; the primary buffer only carries the output format. Every call is thread-safe:
/// state changes happen under the mixer's lock, so volume and position calls may come
/// from any thread while the mixer runs.
class SoundBuffer : public std::enable_shared_from_this<SoundBuffer>
{
public:
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    /// Primary buffer only: sets the output format (reopens the output).
    Result SetFormat(const WaveFormatEx& format);
    Result GetFormat(WaveFormatEx* format) const;
    std::uint32_t GetFlags() const { return flags_; }
    std::uint32_t GetBufferBytes() const { return bytes_; }

    /// Plays from the play cursor; kPlayLooping wraps at the end instead of stopping.
    /// On a playing buffer only the looping choice changes.
    Result Play(std::uint32_t flags);
    /// Stops where the cursor is and signals the stop notifications.
    Result Stop();
    Result GetStatus(std::uint32_t* status) const;

    /// Hundredths of a decibel, -10000 (silent) to 0; needs kCapsCtrlVolume.
    Result SetVolume(std::int32_t volume);
    Result GetVolume(std::int32_t* volume) const;
    /// -10000 (left only) to 10000 (right only); needs kCapsCtrlPan.
    Result SetPan(std::int32_t pan);
    Result GetPan(std::int32_t* pan) const;
    /// Samples per second, kFrequencyMin to kFrequencyMax, or kFrequencyOriginal; needs kCapsCtrlFrequency.
    Result SetFrequency(std::uint32_t frequency);
    Result GetFrequency(std::uint32_t* frequency) const;

    /// Byte offsets of the play cursor and of the first byte that is safe to write.
    Result GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) const;
    Result SetCurrentPosition(std::uint32_t position);

    /// Maps `bytes` bytes from `offset`; a range that runs past the end continues at the
    /// start in the second part. kLockEntireBuffer maps everything, kLockFromWriteCursor
    /// starts at the write cursor.
    Result Lock(std::uint32_t offset, std::uint32_t bytes, void** part1, std::uint32_t* bytes1, void** part2,
                std::uint32_t* bytes2, std::uint32_t flags);
    Result Unlock(void* part1, std::uint32_t bytes1, void* part2, std::uint32_t bytes2);
    /// Gives a lost buffer its memory back (its contents must be written again).
    Result Restore();

    /// The notification interface; needs kCapsCtrlPositionNotify, else kErrNoInterface.
    Result QueryNotify(std::shared_ptr<SoundNotify>* notify);

    bool IsPrimary() const { return primary_; }

private:
    friend class Mixer;
    friend class SoundDevice;
    friend class SoundNotify;
    friend struct SoundBufferTesting;

    using PrimaryFormatSetter = std::function<Result(const WaveFormatEx&)>;

    SoundBuffer(std::shared_ptr<Mixer> mixer, std::uint32_t flags, const WaveFormatEx& format, std::uint32_t bytes,
                std::shared_ptr<std::vector<std::uint8_t>> samples, bool primary);

    Result SetNotificationPositions(std::uint32_t count, const PositionNotify* positions);
    // Mixer side, under the mixer's lock: adds one chunk to a stereo accumulator and
    // collects the notifications the cursor passed, in cursor order.
    void MixChunk(float* accumulator, std::uint32_t frames, std::uint32_t outputRate,
                  std::vector<os::system::Event*>& signals);
    void UpdateGains();
    void CollectPassed(std::uint32_t from, std::uint32_t to, std::vector<os::system::Event*>& signals) const;
    std::uint32_t CursorBytes() const;

    std::shared_ptr<Mixer> mixer_;
    const std::uint32_t flags_;
    WaveFormatEx format_;
    const std::uint32_t bytes_;
    const std::uint32_t frameCount_;
    std::shared_ptr<std::vector<std::uint8_t>> samples_;
    const bool primary_;
    PrimaryFormatSetter primaryFormatSetter_;

    // Guarded by the mixer's lock.
    bool playing_ = false;
    bool looping_ = false;
    bool lost_ = false;
    int failingRestores_ = 0;
    std::uint64_t position_ = 0; // frames in 32.32 fixed point
    std::int32_t volume_ = 0;
    std::int32_t pan_ = 0;
    std::uint32_t frequency_ = 0;
    float gainLeft_ = 1.0f;
    float gainRight_ = 1.0f;
    std::vector<PositionNotify> positions_; // sorted by offset
    std::vector<PositionNotify> stopNotifies_;
};

} // namespace os::audio
