/** @file StreamingSound.cpp The feeder thread, section refills, rewinding and fades. */
#include "KorvaneXDK/platform/sound/StreamingSound.h"

#include <algorithm>
#include <cstring>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/SoundThread.h"
#include "os/audio/SoundNotify.h"
#include "os/system/System.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "StreamingSound";

constexpr std::uint32_t kStopEventIndex = CStreamingSound::kSectionCount;
constexpr int kBoundedWaitChecks = 100;
constexpr std::uint32_t kWaitStepMs = 2;
constexpr std::uint32_t kRestoreRetryMs = 10;
constexpr std::uint32_t kStreamingFlags =
    os::audio::kCapsGetCurrentPosition2 | os::audio::kCapsCtrlPositionNotify | os::audio::kCapsLocSoftware;

} // namespace

CStreamingSound::CStreamingSound(std::uint32_t creationFlags) : CSound(creationFlags) {}

CStreamingSound::~CStreamingSound()
{
    try {
        // This class's own teardown: a derived part is already gone when this runs.
        CStreamingSound::Close();
    } catch (...) {
        LogErrorF("korvane::CStreamingSound: failure while closing");
    }
    sharedReader_.reset();
}

std::uint32_t CStreamingSound::BufferBytesFor(const os::audio::WaveFormatEx& format)
{
    if (!os::audio::IsValidPcmFormat(format))
        return 0;
    const std::uint32_t unit = static_cast<std::uint32_t>(format.blockAlign) * kSectionCount;
    return format.avgBytesPerSec / unit * unit * 2;
}

void CStreamingSound::Create(CDXSound& device, IKorvaneStream& stream)
{
    std::lock_guard<std::recursive_mutex> control(controlMutex_);
    Close();
    if (!device.IsInitialized())
        return;
    device_ = &device;
    streamCopy_.reset(stream.Clone());
    ownedReader_.reset(CreateAndOpenSoundReader(streamCopy_.get()));
    reader_ = ownedReader_.get();
    CreateSoundBuffer();
}

void CStreamingSound::CreateBuffer(CDXSound& device, boost::shared_ptr<ISoundReader> reader)
{
    std::lock_guard<std::recursive_mutex> control(controlMutex_);
    Close();
    if (!device.IsInitialized())
        return;
    device_ = &device;
    sharedReader_ = reader;
    reader_ = sharedReader_.get();
    CreateSoundBuffer();
}

void CStreamingSound::CreateSoundBuffer()
{
    const os::audio::WaveFormatEx* format = reader_->GetFormat();
    desc_ = os::audio::BufferDesc();
    desc_.flags = creationFlags_ | kStreamingFlags;
    desc_.format = format;
    // The format is checked before the size is worked out from it: a block align of 0 from a
    // corrupt file would divide by zero.
    const std::uint32_t bytes = BufferBytesFor(*format);
    if (bytes == 0) {
        ReportDirectXError(os::audio::kErrBadFormat, kSourceFile, __LINE__);
        throw EReadError(this, "サウンドバッファの作成に失敗しました.");
    }
    desc_.bufferBytes = bytes;

    const os::audio::Result result = device_->GetDirectSound()->CreateSoundBuffer(desc_, &buffer_);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        throw EReadError(this, "サウンドバッファの作成に失敗しました.");
    }

    for (auto& event : events_)
        event = std::make_unique<os::system::Event>(false, false);

    std::shared_ptr<os::audio::SoundNotify> notify;
    if (os::audio::Failed(buffer_->QueryNotify(&notify))) {
        // A buffer without notifications would loop its first two seconds for ever once played.
        buffer_.reset();
        for (auto& event : events_)
            event.reset();
        throw EReadError(this, "DirectSoundNotify の作成に失敗しました.");
    }

    sectionSize_ = bytes / kSectionCount;
    std::array<os::audio::PositionNotify, kSectionCount + 1> positions;
    for (std::uint32_t i = 0; i < kSectionCount; ++i) {
        positions[i].offset = (i + 1) * sectionSize_ - 1;
        positions[i].event = events_[i].get();
    }
    positions[kStopEventIndex].offset = os::audio::kNotifyOffsetStop;
    positions[kStopEventIndex].event = events_[kStopEventIndex].get();
    const os::audio::Result notified =
        notify->SetNotificationPositions(static_cast<std::uint32_t>(positions.size()), positions.data());
    ReportOnDirectXFailure(notified, kSourceFile, __LINE__);
    notify.reset();

    writeCursor_ = 0;
    lastPlayCursor_ = 0;
    bytesPlayed_ = 0;
    endOfData_ = false;
}

std::shared_ptr<CSoundThread> CStreamingSound::GetThread(const std::shared_ptr<CSoundThread>& slot) const
{
    std::lock_guard<std::mutex> lock(threadsMutex_);
    return slot;
}

bool CStreamingSound::IsPlaying() const
{
    if (!buffer_)
        return false;
    const std::shared_ptr<CSoundThread> feeder = GetThread(feeder_);
    return feeder && feeder->IsActive();
}

void CStreamingSound::Play()
{
    std::lock_guard<std::recursive_mutex> control(controlMutex_);
    if (!buffer_ || IsPlaying())
        return;
    WaitForThreadEnd(feeder_, events_[kStopEventIndex].get());
    std::shared_ptr<CSoundThread> feeder;
    try {
        feeder = std::make_shared<CSoundThread>([this] { FeederMain(); });
    } catch (const EIOError&) {
        throw EReadError(this, "スレッドの作成に失敗しました.");
    }
    {
        std::lock_guard<std::mutex> lock(threadsMutex_);
        feeder_ = feeder;
    }
    stopRequested_ = false;
    feeder->Start();
}

void CStreamingSound::Stop()
{
    stopRequested_ = true;
    CSound::Stop();
}

void CStreamingSound::FeederMain()
{
    try {
        FeedUntilStopped();
    } catch (...) {
        // Without its feeder the buffer would repeat its last two seconds for ever. The stop
        // signal is for this thread, which is leaving: clear it.
        buffer_->Stop();
        events_[kStopEventIndex]->Reset();
        throw;
    }
}

void CStreamingSound::FeedUntilStopped()
{
    // A stop signal left from an earlier run must not end this one before it starts.
    events_[kStopEventIndex]->Reset();
    {
        CScopedLock lock(lock_);
        writeCursor_ = 0;
        lastPlayCursor_ = 0;
        for (std::uint32_t i = 0; i < kSectionCount; ++i)
            FillSection();
        // A Stop that came while the buffer was being filled found it not playing yet.
        if (stopRequested_)
            return;
        buffer_->SetCurrentPosition(0);
        const os::audio::Result played = buffer_->Play(os::audio::kPlayLooping);
        ReportOnDirectXFailure(played, kSourceFile, __LINE__);
        // One that came during Play may have stopped the buffer before it started: stop it
        // again, so the stop signal that ends the wait below is sure to come.
        if (stopRequested_)
            buffer_->Stop();
    }
    os::system::SetCurrentThreadPriority(os::system::kThreadPriorityHighest);

    std::array<os::system::Event*, kSectionCount + 1> events{};
    for (std::uint32_t i = 0; i <= kSectionCount; ++i)
        events[i] = events_[i].get();
    // The first section to finish playing is section 0, so the event before it counts as handled.
    std::uint32_t last = kSectionCount - 1;
    for (;;) {
        const std::uint32_t index = os::system::WaitForAnyEvent(events.data(), events.size(), os::system::kInfinite);
        if (index >= kSectionCount)
            break;
        if (index == (last + 1) % kSectionCount) {
            CScopedLock lock(lock_);
            FillSection();
            last = index;
        }
    }
}

void CStreamingSound::FillSection()
{
    if (!buffer_ || reader_ == nullptr)
        return;
    std::uint32_t status = 0;
    const os::audio::Result statusResult = buffer_->GetStatus(&status);
    if (!ReportOnDirectXFailure(statusResult, kSourceFile, __LINE__) && (status & os::audio::kStatusBufferLost) != 0) {
        while (buffer_->Restore() == os::audio::kErrBufferLost)
            os::system::Sleep(kRestoreRetryMs);
    }

    void* part1 = nullptr;
    std::uint32_t bytes1 = 0;
    void* part2 = nullptr;
    std::uint32_t bytes2 = 0;
    const os::audio::Result locked = buffer_->Lock(writeCursor_, sectionSize_, &part1, &bytes1, &part2, &bytes2, 0);
    if (ReportOnDirectXFailure(locked, kSourceFile, __LINE__)) {
        return;
    }

    auto* target = static_cast<std::uint8_t*>(part1);
    const std::int32_t size = static_cast<std::int32_t>(bytes1);
    const std::uint8_t silence = reader_->GetFormat()->bitsPerSample == 8 ? 0x80 : 0x00;
    if (!endOfData_) {
        std::int32_t filled = std::max<std::int32_t>(0, reader_->Read(target, size));
        if (filled < size) {
            if (!loop_) {
                std::memset(target + filled, silence, static_cast<std::size_t>(size - filled));
                endOfData_ = true;
            } else {
                while (filled < size) {
                    reader_->Rewind();
                    const std::int32_t more = reader_->Read(target + filled, size - filled);
                    if (more <= 0) {
                        // A piece that yields nothing even from its start would loop for ever:
                        // it ends like a finished one instead.
                        std::memset(target + filled, silence, static_cast<std::size_t>(size - filled));
                        endOfData_ = true;
                        break;
                    }
                    filled += more;
                }
            }
        }
    } else {
        std::memset(target, silence, static_cast<std::size_t>(size));
    }
    buffer_->Unlock(part1, bytes1, part2, bytes2);

    UpdateBytesPlayed();

    if (endOfData_ && static_cast<std::uint32_t>(std::max(0, reader_->GetTotalBytes())) <= bytesPlayed_) {
        buffer_->Stop();
        endOfData_ = false;
    }
    writeCursor_ = (writeCursor_ + sectionSize_) % desc_.bufferBytes;
}

void CStreamingSound::UpdateBytesPlayed()
{
    // Counted while the buffer plays: before the first Play of a feeder the cursor still
    // stands where an earlier Stop left it and has not moved.
    std::uint32_t status = 0;
    if (os::audio::Failed(buffer_->GetStatus(&status)) || (status & os::audio::kStatusPlaying) == 0)
        return;
    std::uint32_t cursor = 0;
    std::uint32_t write = 0;
    const os::audio::Result result = buffer_->GetCurrentPosition(&cursor, &write);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        return;
    }
    if (cursor < lastPlayCursor_)
        bytesPlayed_ += (desc_.bufferBytes - lastPlayCursor_) + cursor;
    else
        bytesPlayed_ += cursor - lastPlayCursor_;
    lastPlayCursor_ = cursor;
}

const os::audio::WaveFormatEx* CStreamingSound::GetFormat() const
{
    if (!buffer_ || reader_ == nullptr)
        return nullptr;
    return reader_->GetFormat();
}

std::uint32_t CStreamingSound::GetPosition() const
{
    if (!IsPlaying())
        return 0;
    CScopedLock lock(lock_);
    std::uint32_t cursor = 0;
    std::uint32_t write = 0;
    const os::audio::Result result = buffer_->GetCurrentPosition(&cursor, &write);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        return bytesPlayed_;
    }
    if (cursor < lastPlayCursor_)
        return bytesPlayed_ + (desc_.bufferBytes - lastPlayCursor_) + cursor;
    return bytesPlayed_ + (cursor - lastPlayCursor_);
}

void CStreamingSound::Rewind()
{
    std::lock_guard<std::recursive_mutex> control(controlMutex_);
    if (!buffer_)
        return;
    if (IsPlaying()) {
        Stop();
        // A feeder still busy with its first fill starts the buffer after this Stop: stop it again.
        while (IsPlaying()) {
            os::system::Sleep(1);
            Stop();
        }
        {
            CScopedLock lock(lock_);
            endOfData_ = false;
            reader_->Rewind();
            bytesPlayed_ = 0;
        }
        Play();
    } else {
        CScopedLock lock(lock_);
        endOfData_ = false;
        reader_->Rewind();
        bytesPlayed_ = 0;
    }
}

void CStreamingSound::FadeIn(std::uint32_t milliseconds)
{
    std::lock_guard<std::recursive_mutex> control(controlMutex_);
    if (!buffer_)
        return;
    // Claimed before anything else, so a second fade started at the same time is ignored.
    bool expected = false;
    if (!fading_.compare_exchange_strong(expected, true))
        return;
    const int target = GetVolume();
    SetVolume(os::audio::kVolumeMin);
    try {
        Play();
    } catch (...) {
        fading_ = false;
        throw;
    }
    StartFade(os::audio::kVolumeMin, target, milliseconds, false);
}

void CStreamingSound::FadeOut(std::uint32_t milliseconds)
{
    std::lock_guard<std::recursive_mutex> control(controlMutex_);
    if (!buffer_ || !IsPlaying())
        return;
    bool expected = false;
    if (!fading_.compare_exchange_strong(expected, true))
        return;
    StartFade(GetVolume(), os::audio::kVolumeMin, milliseconds, true);
}

bool CStreamingSound::StartFade(int start, int end, std::uint32_t duration, bool stopAtEnd)
{
    WaitForThreadEnd(fadeThread_, &fadeStop_);
    fadeStart_ = start;
    fadeEnd_ = end;
    fadeDuration_ = duration;
    stopAtEnd_ = stopAtEnd;
    std::shared_ptr<CSoundThread> thread;
    try {
        thread = std::make_shared<CSoundThread>([this] { FadeMain(); });
    } catch (const EIOError&) {
        fading_ = false;
        throw EReadError(this, "スレッドの作成に失敗しました.");
    }
    {
        std::lock_guard<std::mutex> lock(threadsMutex_);
        fadeThread_ = thread;
    }
    thread->Start();
    return true;
}

void CStreamingSound::FadeMain()
{
    os::system::SetCurrentThreadPriority(os::system::kThreadPriorityAboveNormal);
    fading_ = true;
    SetVolume(fadeStart_);
    const std::int32_t a = VolumeToScaled(fadeStart_);
    const std::int32_t b = VolumeToScaled(fadeEnd_);
    const auto duration = static_cast<std::int32_t>(fadeDuration_);
    const std::uint32_t t0 = os::system::MillisecondTicks();
    while (!fadeStop_.Wait(kFadeStepMs)) {
        const auto elapsed = static_cast<std::int32_t>(os::system::MillisecondTicks() - t0);
        // A fade of no length has nothing to step through (and must not divide by its length).
        if (elapsed > duration || duration <= 0)
            break;
        if (elapsed > 1000 && !IsPlaying())
            break;
        // In 64 bits: a fade of more than 214 s would overflow 32 (same result below that).
        SetVolumeScaled(static_cast<int>(a + static_cast<std::int64_t>(elapsed) * (b - a) / duration));
    }
    SetVolume(fadeEnd_);
    if (stopAtEnd_)
        Stop();
    fading_ = false;
}

void CStreamingSound::WaitForThreadEnd(std::shared_ptr<CSoundThread>& slot, os::system::Event* event)
{
    const std::shared_ptr<CSoundThread> thread = GetThread(slot);
    if (!thread)
        return;
    for (int i = 0; i < kBoundedWaitChecks && thread->IsActive(); ++i) {
        if (event != nullptr)
            event->Pulse();
        os::system::Sleep(kWaitStepMs);
    }
    // What the thread uses is released right after this wait, so it must really have ended:
    // past the bounded checks, keep waking it until it has.
    while (thread->IsActive()) {
        if (event != nullptr)
            event->Pulse();
        os::system::Sleep(kWaitStepMs);
    }
    std::lock_guard<std::mutex> lock(threadsMutex_);
    if (slot == thread)
        slot.reset();
}

void CStreamingSound::DetachNotifications()
{
    // Whoever else still holds the buffer (GetBuffer hands it out) keeps it in the mixer: it
    // must not signal the events released with this sound. The feeder may have restarted it
    // after Close stopped it, and notifications change only while it is stopped.
    buffer_->Stop();
    std::shared_ptr<os::audio::SoundNotify> notify;
    os::audio::Result result = buffer_->QueryNotify(&notify);
    if (os::audio::Succeeded(result))
        result = notify->SetNotificationPositions(0, nullptr);
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
}

void CStreamingSound::Close()
{
    std::lock_guard<std::recursive_mutex> control(controlMutex_);
    WaitForThreadEnd(fadeThread_, &fadeStop_);
    stopRequested_ = true;
    if (buffer_)
        buffer_->Stop();
    WaitForThreadEnd(feeder_, events_[kStopEventIndex].get());

    CScopedLock lock(lock_);
    if (buffer_)
        DetachNotifications();
    buffer_.reset();
    ownedReader_.reset();
    streamCopy_.reset();
    reader_ = nullptr;
    for (auto& event : events_)
        event.reset();
    sectionSize_ = 0;
    desc_ = os::audio::BufferDesc();
}

} // namespace korvane
