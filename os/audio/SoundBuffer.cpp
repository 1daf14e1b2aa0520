/** @file SoundBuffer.cpp Buffer state, locks, notifications and the per-buffer mixing loop. */
#include "os/audio/SoundBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "os/audio/Mixer.h"
#include "os/audio/SoundNotify.h"
#include "os/audio/Testing.h"
#include "os/system/Event.h"

namespace os::audio
{

namespace
{

// The write cursor runs this far ahead of the play cursor: what the mixer may already have read.
constexpr std::uint32_t kWriteLeadMs = 15;

float AttenuationToGain(std::int32_t hundredthsOfDecibel)
{
    if (hundredthsOfDecibel <= kVolumeMin)
        return 0.0f;
    if (hundredthsOfDecibel >= 0)
        return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

} // namespace

SoundBuffer::SoundBuffer(std::shared_ptr<Mixer> mixer, std::uint32_t flags, const WaveFormatEx& format,
                         std::uint32_t bytes, std::shared_ptr<std::vector<std::uint8_t>> samples, bool primary)
    : mixer_(std::move(mixer)), flags_(flags), format_(format), bytes_(bytes),
      frameCount_(format.blockAlign != 0 ? bytes / format.blockAlign : 0), samples_(std::move(samples)),
      primary_(primary)
{
    frequency_ = format.samplesPerSec;
}

SoundBuffer::~SoundBuffer()
{
    if (!primary_)
        mixer_->Detach(this);
}

Result SoundBuffer::SetFormat(const WaveFormatEx& format)
{
    if (!primary_)
        return kErrInvalidCall;
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::SetFormat); Failed(injected))
        return injected;
    if (!IsValidPcmFormat(format))
        return kErrBadFormat;
    if (primaryFormatSetter_) {
        const Result result = primaryFormatSetter_(format);
        if (Failed(result))
            return result;
    }
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    format_ = format;
    return kOk;
}

Result SoundBuffer::GetFormat(WaveFormatEx* format) const
{
    if (format == nullptr)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    *format = format_;
    return kOk;
}

Result SoundBuffer::Play(std::uint32_t flags)
{
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    if (lost_)
        return kErrBufferLost;
    playing_ = true;
    looping_ = (flags & kPlayLooping) != 0;
    return kOk;
}

Result SoundBuffer::Stop()
{
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    if (!playing_)
        return kOk;
    playing_ = false;
    std::vector<os::system::Event*> events;
    for (const PositionNotify& notify : stopNotifies_)
        events.push_back(notify.event);
    // Tracked, so a test stepping the mixer by hand can wait until the listener has seen the stop.
    mixer_->SignalLocked(events, true);
    return kOk;
}

Result SoundBuffer::GetStatus(std::uint32_t* status) const
{
    if (status == nullptr)
        return kErrInvalidParam;
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::GetStatus); Failed(injected))
        return injected;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    std::uint32_t value = 0;
    if (playing_)
        value |= kStatusPlaying;
    if (playing_ && looping_)
        value |= kStatusLooping;
    if (lost_)
        value |= kStatusBufferLost;
    if ((flags_ & kCapsLocSoftware) != 0)
        value |= kStatusLocSoftware;
    *status = value;
    return kOk;
}

void SoundBuffer::UpdateGains()
{
    const float volume = AttenuationToGain(volume_);
    float left = 1.0f;
    float right = 1.0f;
    if (pan_ > 0)
        left = AttenuationToGain(-pan_);
    else if (pan_ < 0)
        right = AttenuationToGain(pan_);
    gainLeft_ = volume * left;
    gainRight_ = volume * right;
}

Result SoundBuffer::SetVolume(std::int32_t volume)
{
    if ((flags_ & kCapsCtrlVolume) == 0)
        return kErrControlUnavail;
    if (volume < kVolumeMin || volume > kVolumeMax)
        return kErrInvalidParam;
    {
        std::lock_guard<std::mutex> lock(mixer_->GetMutex());
        volume_ = volume;
        UpdateGains();
    }
    detail::NotifyVolume(*this, volume);
    return kOk;
}

Result SoundBuffer::GetVolume(std::int32_t* volume) const
{
    if ((flags_ & kCapsCtrlVolume) == 0)
        return kErrControlUnavail;
    if (volume == nullptr)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    *volume = volume_;
    return kOk;
}

Result SoundBuffer::SetPan(std::int32_t pan)
{
    if ((flags_ & kCapsCtrlPan) == 0)
        return kErrControlUnavail;
    if (pan < kPanLeft || pan > kPanRight)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    pan_ = pan;
    UpdateGains();
    return kOk;
}

Result SoundBuffer::GetPan(std::int32_t* pan) const
{
    if ((flags_ & kCapsCtrlPan) == 0)
        return kErrControlUnavail;
    if (pan == nullptr)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    *pan = pan_;
    return kOk;
}

Result SoundBuffer::SetFrequency(std::uint32_t frequency)
{
    if ((flags_ & kCapsCtrlFrequency) == 0 || primary_)
        return kErrControlUnavail;
    if (frequency != kFrequencyOriginal && (frequency < kFrequencyMin || frequency > kFrequencyMax))
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    frequency_ = frequency == kFrequencyOriginal ? format_.samplesPerSec : frequency;
    return kOk;
}

Result SoundBuffer::GetFrequency(std::uint32_t* frequency) const
{
    if ((flags_ & kCapsCtrlFrequency) == 0 || primary_)
        return kErrControlUnavail;
    if (frequency == nullptr)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    *frequency = frequency_;
    return kOk;
}

std::uint32_t SoundBuffer::CursorBytes() const
{
    return static_cast<std::uint32_t>(position_ >> 32) * format_.blockAlign;
}

Result SoundBuffer::GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) const
{
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::GetCurrentPosition); Failed(injected))
        return injected;
    if (primary_)
        return kErrPrioLevelNeeded;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    const std::uint32_t cursor = CursorBytes();
    if (play != nullptr)
        *play = cursor;
    if (write != nullptr) {
        std::uint32_t lead = 0;
        if (playing_)
            lead = static_cast<std::uint32_t>(static_cast<std::uint64_t>(frequency_) * kWriteLeadMs / 1000) *
                   format_.blockAlign;
        *write = bytes_ != 0 ? static_cast<std::uint32_t>((static_cast<std::uint64_t>(cursor) + lead) % bytes_) : 0;
    }
    return kOk;
}

Result SoundBuffer::SetCurrentPosition(std::uint32_t position)
{
    if (primary_)
        return kErrInvalidCall;
    if (position >= bytes_)
        return kErrInvalidParam;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    position_ = static_cast<std::uint64_t>(position / format_.blockAlign) << 32;
    return kOk;
}

Result SoundBuffer::Lock(std::uint32_t offset, std::uint32_t bytes, void** part1, std::uint32_t* bytes1, void** part2,
                         std::uint32_t* bytes2, std::uint32_t flags)
{
    if (part1 == nullptr || bytes1 == nullptr)
        return kErrInvalidParam;
    if (primary_)
        return kErrPrioLevelNeeded;
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::Lock); Failed(injected))
        return injected;
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    if (lost_)
        return kErrBufferLost;
    if ((flags & kLockEntireBuffer) != 0) {
        offset = 0;
        bytes = bytes_;
    } else if ((flags & kLockFromWriteCursor) != 0) {
        std::uint32_t lead = 0;
        if (playing_)
            lead = static_cast<std::uint32_t>(static_cast<std::uint64_t>(frequency_) * kWriteLeadMs / 1000) *
                   format_.blockAlign;
        offset = static_cast<std::uint32_t>((static_cast<std::uint64_t>(CursorBytes()) + lead) % bytes_);
    }
    if (bytes == 0 || bytes > bytes_ || offset >= bytes_)
        return kErrInvalidParam;
    std::uint8_t* base = samples_->data();
    const std::uint32_t first = std::min(bytes, bytes_ - offset);
    *part1 = base + offset;
    *bytes1 = first;
    if (first < bytes) {
        // The second part is the wrapped remainder; a caller that cannot take one gets an error.
        if (part2 == nullptr || bytes2 == nullptr)
            return kErrInvalidParam;
        *part2 = base;
        *bytes2 = bytes - first;
    } else {
        if (part2 != nullptr)
            *part2 = nullptr;
        if (bytes2 != nullptr)
            *bytes2 = 0;
    }
    return kOk;
}

Result SoundBuffer::Unlock(void* part1, std::uint32_t bytes1, void* part2, std::uint32_t bytes2)
{
    if (primary_)
        return kErrInvalidCall;
    const std::uint8_t* base = samples_->data();
    auto inside = [&](void* part, std::uint32_t count) {
        if (part == nullptr)
            return count == 0;
        const auto* p = static_cast<const std::uint8_t*>(part);
        return p >= base && p <= base + bytes_ && count <= static_cast<std::uint32_t>(base + bytes_ - p);
    };
    if (part1 == nullptr || !inside(part1, bytes1) || !inside(part2, bytes2))
        return kErrInvalidParam;
    return kOk;
}

Result SoundBuffer::Restore()
{
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    if (failingRestores_ > 0) {
        --failingRestores_;
        return kErrBufferLost;
    }
    lost_ = false;
    return kOk;
}

Result SoundBuffer::QueryNotify(std::shared_ptr<SoundNotify>* notify)
{
    if (notify == nullptr)
        return kErrInvalidParam;
    notify->reset();
    if ((flags_ & kCapsCtrlPositionNotify) == 0 || primary_)
        return kErrNoInterface;
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::QueryNotify); Failed(injected))
        return injected;
    *notify = std::shared_ptr<SoundNotify>(new SoundNotify(shared_from_this()));
    return kOk;
}

Result SoundBuffer::SetNotificationPositions(std::uint32_t count, const PositionNotify* positions)
{
    if (count > 0 && positions == nullptr)
        return kErrInvalidParam;
    std::vector<PositionNotify> sorted;
    std::vector<PositionNotify> stops;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (positions[i].event == nullptr)
            return kErrInvalidParam;
        if (positions[i].offset == kNotifyOffsetStop)
            stops.push_back(positions[i]);
        else if (positions[i].offset >= bytes_)
            return kErrInvalidParam;
        else
            sorted.push_back(positions[i]);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const PositionNotify& a, const PositionNotify& b) { return a.offset < b.offset; });
    std::lock_guard<std::mutex> lock(mixer_->GetMutex());
    if (playing_)
        return kErrInvalidCall;
    positions_ = std::move(sorted);
    stopNotifies_ = std::move(stops);
    return kOk;
}

void SoundBuffer::CollectPassed(std::uint32_t from, std::uint32_t to, std::vector<os::system::Event*>& signals) const
{
    for (const PositionNotify& notify : positions_) {
        if (notify.offset >= from && notify.offset < to)
            signals.push_back(notify.event);
    }
}

void SoundBuffer::MixChunk(float* accumulator, std::uint32_t frames, std::uint32_t outputRate,
                           std::vector<os::system::Event*>& signals)
{
    if (frameCount_ == 0 || outputRate == 0)
        return;
    const std::uint32_t before = CursorBytes();
    const std::uint64_t step = (static_cast<std::uint64_t>(frequency_) << 32) / outputRate;
    Mixer::VoiceProgress state{position_};
    const Mixer::Voice voice{
        samples_->data(), frameCount_, format_.bitsPerSample == 8, format_.channels == 2, step, looping_,
        gainLeft_,        gainRight_};
    Mixer::MixVoice(voice, accumulator, frames, state);
    position_ = state.position;

    if (state.ended) {
        // A buffer that plays out stops by itself with its cursor back at the start.
        CollectPassed(before, bytes_, signals);
        playing_ = false;
        for (const PositionNotify& notify : stopNotifies_)
            signals.push_back(notify.event);
        return;
    }
    const std::uint32_t after = CursorBytes();
    if (state.wraps == 0) {
        CollectPassed(before, after, signals);
        return;
    }
    CollectPassed(before, bytes_, signals);
    // A buffer shorter than a chunk can wrap several times; each notification fires once per pass.
    if (state.wraps > 1)
        CollectPassed(0, bytes_, signals);
    CollectPassed(0, after, signals);
}

} // namespace os::audio
