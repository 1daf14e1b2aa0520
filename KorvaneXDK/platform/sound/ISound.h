/** @file ISound.h The interface every sound offers: creation, playback, volume, pan, frequency and position. */
#pragma once

#include <cstdint>
#include <memory>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/SoundReader.h"
#include "os/audio/SoundBuffer.h"
#include "os/audio/WaveFormat.h"

namespace korvane
{

class CDXSound;

class ISound : public IInterface
{
public:
    ~ISound() override = default;

    /// Makes the sound from an encoded sound file in the stream.
    virtual void Create(CDXSound& device, IKorvaneStream& stream) = 0;
    /// Makes the sound from a PCM reader.
    virtual void CreateBuffer(CDXSound& device, boost::shared_ptr<ISoundReader> reader) = 0;
    /// The name the console host uses for Create.
    void Open(CDXSound& device, IKorvaneStream& stream) { Create(device, stream); }
    virtual void Play() = 0;
    virtual bool IsPlaying() const = 0;
    virtual void Stop() = 0;
    virtual void SetLoop(bool loop) = 0;
    virtual bool IsLoop() const = 0;
    /// Hundredths of a decibel: 0 (full) down to -10000 (silent).
    virtual void SetVolume(int volume) = 0;
    virtual int GetVolume() const = 0;
    /// The volume on the axis that settings and fades move along linearly.
    virtual void SetVolumeScaled(int volume) = 0;
    virtual int GetVolumeScaled() const = 0;
    /// -10000 (left) to 10000 (right).
    virtual void SetPan(int pan) = 0;
    virtual int GetPan() const = 0;
    virtual const os::audio::WaveFormatEx* GetFormat() const = 0;
    /// The play position in bytes.
    virtual std::uint32_t GetPosition() const = 0;
    virtual double GetPositionSeconds() const = 0;
    virtual std::shared_ptr<os::audio::SoundBuffer> GetBuffer() const = 0;
    /// Playback rate in samples per second.
    virtual void SetFrequency(std::uint32_t frequency) = 0;
    virtual std::uint32_t GetFrequency() const = 0;
};

} // namespace korvane
