/** @file Testing.h Test hooks of the audio layer: the manual backend, injected failures and lost buffers. */
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "os/audio/AudioTypes.h"

namespace os::audio
{
class SoundBuffer;
}

namespace os::testing
{

/// The calls whose failure a test can force.
enum class AudioCall
{
    CreateDevice,
    SetCooperativeLevel,
    CreatePrimaryBuffer,
    SetFormat,
    CreateSoundBuffer,
    DuplicateSoundBuffer,
    QueryNotify,
    GetStatus,
    GetCurrentPosition,
    Lock,
    Count
};

/// Makes the call answer `result` the next `times` times (a negative count: until reset).
void FailAudioCall(AudioCall call, os::audio::Result result, int times = -1);
/// Clears injected failures and the volume observer, and goes back to the SDL backend.
void ResetAudioHooks();

/// Devices created while this is on use no SDL audio at all: nothing plays by itself and
/// the test pulls mixed output with MixAudioFrames.
void UseManualAudioBackend(bool manual);
/// Runs the mixer of the newest live manual device for `frames` output frames on the calling
/// thread, in lock step with the threads listening for its notifications, and returns the
/// interleaved 16-bit samples (empty without such a device).
std::vector<std::int16_t> MixAudioFrames(std::uint32_t frames);

/// Loses the buffer as the platform does under memory pressure: it stops, its memory is
/// gone (reads as silence) and Lock and Play answer kErrBufferLost until Restore.
void MarkBufferLost(os::audio::SoundBuffer& buffer);
/// Makes the next `count` calls of Restore answer kErrBufferLost.
void FailNextRestores(os::audio::SoundBuffer& buffer, int count);

/// Called after every successful SetVolume, on the calling thread (empty removes it).
using VolumeObserver = std::function<void(const os::audio::SoundBuffer& buffer, std::int32_t volume)>;
void SetVolumeObserver(VolumeObserver observer);

/// Waits until some thread is blocked waiting for one of the buffer's notifications.
bool WaitForNotifyListener(os::audio::SoundBuffer& buffer, std::uint32_t timeoutMs);

} // namespace os::testing

namespace os::audio::detail
{

/// The injected answer for the call, or kOk when none is pending.
Result InjectedResult(os::testing::AudioCall call);
void NotifyVolume(const SoundBuffer& buffer, std::int32_t volume);
bool ManualBackendRequested();

} // namespace os::audio::detail
