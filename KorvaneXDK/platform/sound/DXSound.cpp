/** @file DXSound.cpp Start-up and shut-down of the sound device. */
#include "KorvaneXDK/platform/sound/DXSound.h"

#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "os/system/System.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "DXSound";

} // namespace

CDXSound::CDXSound()
{
    format_.formatTag = os::audio::kWaveFormatPcm;
    format_.channels = 2;
    format_.samplesPerSec = 44100;
    format_.bitsPerSample = 16;
    format_.cbSize = 0;
}

CDXSound::~CDXSound()
{
    // This class's own teardown: a derived part is already gone when this runs.
    CDXSound::Finalize();
}

bool CDXSound::LoadDirectSound()
{
    const os::audio::Result result = os::audio::SoundDevice::Create(&device_);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        // Said once, so a silent program explains itself in the log.
        const std::string reason = os::system::GetLastErrorText();
        LogInfoF("CDXSound: no audio output device (%s); running without sound.",
                 reason.empty() ? "unknown reason" : reason.c_str());
        device_.reset();
        return false;
    }
    return true;
}

bool CDXSound::Initialize()
{
    if (!LoadDirectSound()) {
        LogErrorF("CDXSound: DirectSoundCreate() 失敗\n");
        return false;
    }
    if (os::audio::Failed(device_->SetCooperativeLevel(window_, os::audio::kCoopPriority))) {
        Finalize();
        LogErrorF("CDXSound: SetCooperativeLevel() 失敗\n");
        return false;
    }
    os::audio::BufferDesc desc;
    desc.flags = os::audio::kCapsPrimaryBuffer;
    desc.bufferBytes = 0;
    desc.format = nullptr;
    if (os::audio::Failed(device_->CreateSoundBuffer(desc, &primary_))) {
        Finalize();
        LogErrorF("CDXSound: プライマリバッファの作成に失敗\n");
        return false;
    }
    format_.blockAlign = static_cast<std::uint16_t>(format_.bitsPerSample * format_.channels / 8);
    format_.avgBytesPerSec = format_.blockAlign * format_.samplesPerSec;
    if (os::audio::Failed(primary_->SetFormat(format_))) {
        Finalize();
        LogErrorF("CDXSound: プライマリバッファのフォーマット設定に失敗\n");
        return false;
    }
    primary_->Play(os::audio::kPlayLooping);
    initialized_ = true;
    LogInfo("DirectSound ready.");
    return true;
}

void CDXSound::Finalize()
{
    primary_.reset();
    device_.reset();
    initialized_ = false;
    LogInfo("DirectSound finalized.");
}

std::shared_ptr<os::audio::SoundDevice> CDXSound::GetDirectSound() const
{
    return device_;
}

std::shared_ptr<os::audio::SoundBuffer> CDXSound::GetPrimaryBuffer() const
{
    return primary_;
}

void CDXSound::SetWindow(os::window::WindowHandle window)
{
    window_ = window;
}

void CDXSound::SetChannels(std::uint16_t channels)
{
    format_.channels = channels;
}

void CDXSound::SetSamplesPerSec(std::uint32_t samplesPerSec)
{
    format_.samplesPerSec = samplesPerSec;
}

void CDXSound::SetBitsPerSample(std::uint16_t bitsPerSample)
{
    format_.bitsPerSample = bitsPerSample;
}

bool CDXSound::IsInitialized() const
{
    return initialized_;
}

void CDXSound::SetSoftwareBuffers(bool software)
{
    softwareBuffers_ = software;
}

bool CDXSound::UsesSoftwareBuffers() const
{
    return softwareBuffers_;
}

} // namespace korvane
