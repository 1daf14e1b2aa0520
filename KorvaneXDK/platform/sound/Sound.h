/** @file Sound.h What every sound shares over its one secondary buffer. */
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "KorvaneXDK/platform/sound/ISound.h"

namespace korvane
{

/// Status, stop, loop flag, volume, pan, frequency and position in seconds. Every setter and
/// getter does nothing (getters give 0) while there is no buffer; a refused call is logged.
class CSound : public ISound, public virtual CNonCopyable
{
public:
    /// The buffer creation flags (os::audio::kCaps*), e.g. kCapsCtrlVolume.
    explicit CSound(std::uint32_t creationFlags);
    ~CSound() override;

    bool IsPlaying() const override;
    void Stop() override;
    void SetLoop(bool loop) override;
    bool IsLoop() const override;
    void SetVolume(int volume) override;
    int GetVolume() const override;
    void SetVolumeScaled(int volume) override;
    int GetVolumeScaled() const override;
    void SetPan(int pan) override;
    int GetPan() const override;
    double GetPositionSeconds() const override;
    std::shared_ptr<os::audio::SoundBuffer> GetBuffer() const override;
    void SetFrequency(std::uint32_t frequency) override;
    std::uint32_t GetFrequency() const override;

    std::uint32_t GetCreationFlags() const { return creationFlags_; }

    /// A volume in hundredths of a decibel moved onto the scaled axis, and back.
    static int VolumeToScaled(int volume);
    static int ScaledToVolume(int scaled);

protected:
    std::shared_ptr<os::audio::SoundBuffer> buffer_;
    const std::uint32_t creationFlags_;
    std::atomic<bool> loop_{false};
};

} // namespace korvane
