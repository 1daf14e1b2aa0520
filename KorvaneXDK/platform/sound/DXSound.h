/** @file DXSound.h The sound device of the game window: device, cooperative level and primary format. */
#pragma once

#include <cstdint>
#include <memory>

#include "KorvaneXDK/core/Object.h"
#include "os/audio/SoundBuffer.h"
#include "os/audio/SoundDevice.h"
#include "os/audio/WaveFormat.h"
#include "os/window/Window.h"

namespace korvane
{

class CDXSound : public virtual CNonCopyable
{
public:
    CDXSound();
    ~CDXSound() override;

    /// Opens the device and sets up the primary buffer; false (logged) when there is no sound.
    virtual bool Initialize();
    virtual void Finalize();
    virtual std::shared_ptr<os::audio::SoundDevice> GetDirectSound() const;
    virtual std::shared_ptr<os::audio::SoundBuffer> GetPrimaryBuffer() const;
    virtual void SetWindow(os::window::WindowHandle window);
    /// Change the primary format before Initialize.
    virtual void SetChannels(std::uint16_t channels);
    virtual void SetSamplesPerSec(std::uint32_t samplesPerSec);
    virtual void SetBitsPerSample(std::uint16_t bitsPerSample);
    virtual bool IsInitialized() const;
    virtual void SetSoftwareBuffers(bool software);
    virtual bool UsesSoftwareBuffers() const;

    const os::audio::WaveFormatEx& GetPrimaryFormat() const { return format_; }

private:
    bool LoadDirectSound();

    std::shared_ptr<os::audio::SoundDevice> device_;
    std::shared_ptr<os::audio::SoundBuffer> primary_;
    bool initialized_ = false;
    bool softwareBuffers_ = false;
    os::audio::WaveFormatEx format_;
    os::window::WindowHandle window_ = nullptr;
};

} // namespace korvane
