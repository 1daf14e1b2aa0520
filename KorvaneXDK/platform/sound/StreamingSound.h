/** @file StreamingSound.h A sound of any length played through a two-second buffer that a feeder thread refills. */
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/platform/sound/Sound.h"
#include "os/audio/AudioTypes.h"
#include "os/system/Event.h"

namespace korvane
{

class CDXSound;
class CSoundThread;

/// Plays PCM from a reader through a buffer of sixteen sections: the feeder thread refills
/// each section once the play cursor has left it, rewinds the reader to loop, and stops the
/// sound after the last byte has played. Fades run on a thread of their own in 30 ms steps
/// along the scaled volume axis.
class CStreamingSound : public CSound
{
public:
    static constexpr std::uint32_t kSectionCount = 16;
    static constexpr std::uint32_t kFadeStepMs = 30;

    explicit CStreamingSound(std::uint32_t creationFlags);
    /// The console host's form; the second flag has no meaning here.
    CStreamingSound(std::uint32_t creationFlags, bool /*unused*/) : CStreamingSound(creationFlags) {}
    ~CStreamingSound() override;

    void Create(CDXSound& device, IKorvaneStream& stream) override;
    void CreateBuffer(CDXSound& device, boost::shared_ptr<ISoundReader> reader) override;
    /// Starts the feeder; does nothing while playing.
    void Play() override;
    /// While the feeder thread runs.
    bool IsPlaying() const override;
    /// Stops the buffer; the feeder then ends. Also holds when the feeder is still filling.
    void Stop() override;
    const os::audio::WaveFormatEx* GetFormat() const override;
    /// Bytes played since the last creation or rewind; 0 while stopped.
    std::uint32_t GetPosition() const override;

    virtual void Rewind();
    virtual void FadeIn(std::uint32_t milliseconds);
    virtual void FadeOut(std::uint32_t milliseconds);
    /// Stops the threads and releases buffer, owned reader, stream copy and events.
    virtual void Close();

    bool IsFading() const { return fading_; }
    std::uint32_t GetSectionSize() const { return sectionSize_; }
    std::uint32_t GetBufferBytes() const { return desc_.bufferBytes; }

    /// Bytes of the two-second buffer for the format: whole units of 16 blocks; 0 when the
    /// format is not one the device plays.
    static std::uint32_t BufferBytesFor(const os::audio::WaveFormatEx& format);

private:
    void CreateSoundBuffer();
    void FeederMain();
    void FeedUntilStopped();
    void DetachNotifications();
    void FadeMain();
    void FillSection();
    void UpdateBytesPlayed();
    bool StartFade(int start, int end, std::uint32_t duration, bool stopAtEnd);
    void WaitForThreadEnd(std::shared_ptr<CSoundThread>& slot, os::system::Event* event);
    std::shared_ptr<CSoundThread> GetThread(const std::shared_ptr<CSoundThread>& slot) const;

    CDXSound* device_ = nullptr;
    os::audio::BufferDesc desc_;
    mutable CCriticalSection lock_;
    std::unique_ptr<IKorvaneStream> streamCopy_;
    std::unique_ptr<ISoundReader> ownedReader_;
    boost::shared_ptr<ISoundReader> sharedReader_;
    ISoundReader* reader_ = nullptr;
    // Sixteen section events, then the stop event.
    std::array<std::unique_ptr<os::system::Event>, kSectionCount + 1> events_;
    std::shared_ptr<CSoundThread> feeder_;
    std::uint32_t sectionSize_ = 0;
    std::uint32_t writeCursor_ = 0;
    std::uint32_t lastPlayCursor_ = 0;
    std::uint32_t bytesPlayed_ = 0;
    bool endOfData_ = false;
    // Set by Stop, cleared by Play: a feeder that has not started the buffer yet must not start it.
    std::atomic<bool> stopRequested_{false};

    std::atomic<bool> fading_{false};
    std::shared_ptr<CSoundThread> fadeThread_;
    int fadeStart_ = 0;
    int fadeEnd_ = 0;
    std::uint32_t fadeDuration_ = 0;
    os::system::Event fadeStop_;
    bool stopAtEnd_ = false;

    // Guards the two thread slots, which the fade thread reads through IsPlaying.
    mutable std::mutex threadsMutex_;
    // One caller at a time starts, fades, rewinds or closes: the console host calls from the
    // main and the game thread, and two Plays at once would start two feeders. Never taken by
    // the feeder or fade thread, so waiting for them under it cannot deadlock.
    std::recursive_mutex controlMutex_;
};

} // namespace korvane
