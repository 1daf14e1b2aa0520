/** @file SoundDevice.h The sound device: output over SDL audio (or the manual test backend) and buffer creation. */
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "os/audio/AudioTypes.h"

namespace os::audio
{

class Mixer;
class SoundBuffer;

/// Owns the mixer and the output it plays through. Buffers keep the mixer alive, so a
/// buffer released after its device is harmless (it is simply no longer heard).
class SoundDevice : public std::enable_shared_from_this<SoundDevice>
{
public:
    /// Opens the default output with 44.1 kHz 16-bit stereo. kErrNoDriver when no output
    /// can be opened (the last error of os::system then holds SDL's reason).
    static Result Create(std::shared_ptr<SoundDevice>* device);
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    /// `window` is the game window's native handle (unused on this platform); the level is
    /// one of kCoopNormal to kCoopWritePrimary. Setting the primary format needs kCoopPriority.
    Result SetCooperativeLevel(void* window, std::uint32_t level);
    /// A primary buffer (kCapsPrimaryBuffer, no size, no format) or a secondary buffer with
    /// a PCM format, zero-filled.
    Result CreateSoundBuffer(const BufferDesc& desc, std::shared_ptr<SoundBuffer>* buffer);
    /// A secondary buffer sharing the source's samples, with its format, flags, volume, pan
    /// and frequency, its own cursor and stopped.
    Result DuplicateSoundBuffer(const std::shared_ptr<SoundBuffer>& source, std::shared_ptr<SoundBuffer>* duplicate);

    WaveFormatEx GetOutputFormat() const;
    bool IsManual() const { return manual_; }
    /// Manual backend: mixes `frames` frames in lock step with the notification listeners.
    std::vector<std::int16_t> MixManually(std::uint32_t frames);

private:
    explicit SoundDevice(bool manual);
    Result OpenOutput(const WaveFormatEx& format);
    void CloseOutput();

    std::shared_ptr<Mixer> mixer_;
    const bool manual_;
    bool subsystemStarted_ = false;
    std::uint32_t output_ = 0; // the SDL audio device id, 0 while closed
    std::uint32_t cooperativeLevel_ = 0;
    WaveFormatEx outputFormat_;
};

} // namespace os::audio
