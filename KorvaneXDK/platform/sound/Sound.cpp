/** @file Sound.cpp The operations all sounds share, and the scaled volume axis. */
#include "KorvaneXDK/platform/sound/Sound.h"

#include <climits>
#include <cmath>

#include "KorvaneXDK/platform/graphics/DirectXError.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "Sound";

} // namespace

CSound::CSound(std::uint32_t creationFlags) : creationFlags_(creationFlags) {}

CSound::~CSound() = default;

bool CSound::IsPlaying() const
{
    if (!buffer_)
        return false;
    std::uint32_t status = 0;
    const os::audio::Result result = buffer_->GetStatus(&status);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        return false;
    }
    return (status & os::audio::kStatusPlaying) != 0;
}

void CSound::Stop()
{
    if (!buffer_)
        return;
    const os::audio::Result result = buffer_->Stop();
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
}

void CSound::SetLoop(bool loop)
{
    loop_ = loop;
}

bool CSound::IsLoop() const
{
    return loop_;
}

void CSound::SetVolume(int volume)
{
    if (!buffer_)
        return;
    const os::audio::Result result = buffer_->SetVolume(volume);
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
}

int CSound::GetVolume() const
{
    if (!buffer_)
        return 0;
    std::int32_t volume = 0;
    const os::audio::Result result = buffer_->GetVolume(&volume);
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
    return volume;
}

namespace
{

// Truncates toward zero. A value off the axis (a volume below -10000 raises a negative number to
// a fractional power) has no integer: it becomes INT_MIN, which the buffer refuses like any other
// volume out of range, instead of an undefined conversion.
int TruncateVolume(float value)
{
    if (!(value > -2147483648.0f && value < 2147483648.0f))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

// Every intermediate is kept in single precision and the result truncated toward zero, so the
// values match the table the volume settings were tuned with (-5000 scaled is -1414).
int CSound::ScaledToVolume(int scaled)
{
    const float f = static_cast<float>(scaled / -10000.0);
    const float g = 1.0f - f;
    const float h = std::pow(g, 0.22f);
    const float volume = static_cast<float>((1.0f - h) * -10000.0);
    return TruncateVolume(volume);
}

int CSound::VolumeToScaled(int volume)
{
    const float f = static_cast<float>(volume / -10000.0);
    const float g = 1.0f - f;
    const float h = std::pow(g, 1.0f / 0.22f);
    const float scaled = static_cast<float>((1.0f - h) * -10000.0);
    return TruncateVolume(scaled);
}

void CSound::SetVolumeScaled(int volume)
{
    if (!buffer_)
        return;
    SetVolume(ScaledToVolume(volume));
}

int CSound::GetVolumeScaled() const
{
    if (!buffer_)
        return 0;
    return VolumeToScaled(GetVolume());
}

void CSound::SetPan(int pan)
{
    if (!buffer_)
        return;
    const os::audio::Result result = buffer_->SetPan(pan);
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
}

int CSound::GetPan() const
{
    if (!buffer_)
        return 0;
    std::int32_t pan = 0;
    const os::audio::Result result = buffer_->GetPan(&pan);
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
    return pan;
}

double CSound::GetPositionSeconds() const
{
    if (!buffer_)
        return 0.0;
    const os::audio::WaveFormatEx* format = GetFormat();
    if (format == nullptr)
        return 0.0;
    const unsigned bitsTimesChannels = static_cast<unsigned>(format->bitsPerSample) * format->channels;
    const double bytesPerSecond = static_cast<double>(bitsTimesChannels * format->samplesPerSec) * 0.125;
    if (bytesPerSecond == 0.0)
        return 0.0;
    return GetPosition() / bytesPerSecond;
}

std::shared_ptr<os::audio::SoundBuffer> CSound::GetBuffer() const
{
    return buffer_;
}

void CSound::SetFrequency(std::uint32_t frequency)
{
    if (!buffer_)
        return;
    const os::audio::Result result = buffer_->SetFrequency(frequency);
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
}

std::uint32_t CSound::GetFrequency() const
{
    if (!buffer_)
        return 0;
    std::uint32_t frequency = 0;
    const os::audio::Result result = buffer_->GetFrequency(&frequency);
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
    return frequency;
}

} // namespace korvane
