/** @file SoundServices.h The games' sound effects and music, and the two volumes. */
#pragma once

#include <atomic>
#include <cstdint>

#include <boost/shared_ptr.hpp>

namespace korvane
{
class CDXSound;
class ISound;
} // namespace korvane

/// Hundredths of a decibel, -10000 (silent) to 0 (full); both 0 until the preferences load.
/// Music takes MusicVolume when it starts or resumes; set it with MusicSetVolume to reach the
/// music playing now. Effects take EffectVolume when loaded and through SoundSetEffectVolume.
extern std::atomic<std::int32_t> MusicVolume;
extern std::atomic<std::int32_t> EffectVolume;

/// The one music track (empty when none). The game thread and the main thread both replace and
/// use it, so it is only ever read or replaced under the music lock; this returns a copy.
boost::shared_ptr<korvane::ISound> CurrentMusic();
/// Stores the music volume and applies it to the current music, in one step under the lock.
void MusicSetVolume(std::int32_t volume);

/// Stops the music (it stays current); then, unless loaded already, loads effects 1 to 34 from
/// "se_qvr2\01.wav" to "se_qvr2\22.wav". A missing file throws, leaving the bank not loaded.
void SoundLoadEffectBank();
/// Empties the bank and drops the music.
void SoundReleaseAll();
void SoundSetEffectVolume(std::int32_t volume);
/// Restarts effect n (1 to 34). 0 does nothing; a negative n or one past the bank throws
/// std::out_of_range "invalid vector<T> subscript".
void SoundPlayEffect(std::int32_t number);
/// Starts a new track on the cached resource that starts at `resource`; a pointer that starts
/// none logs "bgm_play(): cannot found mmap stream" and leaves a silent track current.
void MusicPlay(const void* resource, std::int32_t loops);
/// 15: fades a playing track out over 100 ms (it stays current) or drops a stopped one.
/// Anything else: resumes the track at the music volume. Nothing without a track.
void MusicCommand(std::int16_t code);
void MusicRelease();

/// The driver's sound device (or the one a test set); EInvalidOperation "No sound device." without one.
korvane::CDXSound& RequireSoundDevice();

/// The effects loaded so far, entry 0 empty (for the tests and the settings screens).
std::size_t SoundGetEffectCount();
boost::shared_ptr<korvane::ISound> SoundGetEffect(std::size_t number);

namespace host_testing
{
/// A sound device used in place of the driver's (null: the driver's again).
void SetSoundDevice(korvane::CDXSound* device);
} // namespace host_testing
