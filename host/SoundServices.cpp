/** @file SoundServices.cpp The games' sound effects and music. */
#include "host/SoundServices.h"

#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/StaticSound.h"
#include "KorvaneXDK/platform/sound/StreamingSound.h"
#include "host/ResourceCache.h"

std::atomic<std::int32_t> MusicVolume{0};
std::atomic<std::int32_t> EffectVolume{0};

namespace
{

constexpr std::uint32_t kSoundFlags = 0x80;
constexpr int kEffectCount = 34;
constexpr std::int16_t kMusicFadeOut = 15;

struct SoundState
{
    std::mutex MusicMutex;
    boost::shared_ptr<korvane::ISound> Music;
    std::recursive_mutex BankMutex;
    std::vector<boost::shared_ptr<korvane::ISound>> Bank;
    bool BankLoaded = false;
};

SoundState& State()
{
    static SoundState state;
    return state;
}

std::atomic<korvane::CDXSound*> gTestDevice{nullptr};

/// Makes `music` current and hands back the one it replaced, to be released outside the lock
/// (a streaming sound waits for its threads as it goes).
boost::shared_ptr<korvane::ISound> SwapMusic(boost::shared_ptr<korvane::ISound> music)
{
    SoundState& state = State();
    std::lock_guard<std::mutex> lock(state.MusicMutex);
    state.Music.swap(music);
    return music;
}

/// Drops the track only while it is still the current one: another thread may have started a
/// new one since it was read.
void ReleaseMusicIfCurrent(const boost::shared_ptr<korvane::ISound>& music)
{
    boost::shared_ptr<korvane::ISound> released;
    SoundState& state = State();
    std::lock_guard<std::mutex> lock(state.MusicMutex);
    if (state.Music == music)
        released.swap(state.Music);
}

/// Gives the track the music volume of the moment. Under the music lock, like MusicSetVolume:
/// a volume read before a concurrent change and applied after it would undo that change.
void ApplyMusicVolume(korvane::ISound& music)
{
    std::lock_guard<std::mutex> lock(State().MusicMutex);
    music.SetVolumeScaled(MusicVolume);
}

} // namespace

korvane::CDXSound& RequireSoundDevice()
{
    korvane::CDXSound* sound = gTestDevice.load();
    if (sound == nullptr) {
        korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
        sound = driver != nullptr ? driver->GetSound() : nullptr;
    }
    if (sound == nullptr)
        throw korvane::EInvalidOperation(nullptr, "No sound device.");
    return *sound;
}

void host_testing::SetSoundDevice(korvane::CDXSound* device)
{
    gTestDevice = device;
}

boost::shared_ptr<korvane::ISound> CurrentMusic()
{
    SoundState& state = State();
    std::lock_guard<std::mutex> lock(state.MusicMutex);
    return state.Music;
}

void MusicSetVolume(std::int32_t volume)
{
    SoundState& state = State();
    std::lock_guard<std::mutex> lock(state.MusicMutex);
    MusicVolume = volume;
    if (state.Music)
        state.Music->SetVolumeScaled(volume);
}

void SoundLoadEffectBank()
{
    if (boost::shared_ptr<korvane::ISound> music = CurrentMusic())
        music->Stop();
    SoundState& state = State();
    std::lock_guard<std::recursive_mutex> lock(state.BankMutex);
    if (state.BankLoaded)
        return;
    state.Bank.clear();
    state.Bank.emplace_back();
    for (int n = 1; n <= kEffectCount; ++n) {
        char name[32];
        std::snprintf(name, sizeof(name), "se_qvr2\\%02X.wav", n);
        boost::shared_ptr<korvane::ISound> sound(new korvane::CStaticSound(kSoundFlags, true));
        boost::shared_ptr<korvane::IKorvaneStream> stream = korvane::RequireDriverDataLoader(nullptr).OpenShared(name);
        sound->Open(RequireSoundDevice(), *stream);
        sound->SetVolumeScaled(EffectVolume);
        state.Bank.push_back(sound);
    }
    state.BankLoaded = true;
}

void SoundReleaseAll()
{
    SoundState& state = State();
    {
        std::lock_guard<std::recursive_mutex> lock(state.BankMutex);
        state.Bank.clear();
        state.BankLoaded = false;
    }
    // Also without a bank: music left alive would outlive the sound device the driver drops.
    MusicRelease();
}

void SoundSetEffectVolume(std::int32_t volume)
{
    EffectVolume = volume;
    SoundState& state = State();
    std::lock_guard<std::recursive_mutex> lock(state.BankMutex);
    for (const boost::shared_ptr<korvane::ISound>& sound : state.Bank)
        if (sound)
            sound->SetVolumeScaled(volume);
}

void SoundPlayEffect(std::int32_t number)
{
    SoundState& state = State();
    std::lock_guard<std::recursive_mutex> lock(state.BankMutex);
    if (number < 0 || static_cast<std::size_t>(number) >= state.Bank.size())
        throw std::out_of_range("invalid vector<T> subscript");
    // Entry 0 holds no sound.
    if (const boost::shared_ptr<korvane::ISound>& sound = state.Bank[static_cast<std::size_t>(number)])
        sound->Play();
}

void MusicPlay(const void* resource, std::int32_t loops)
{
    boost::shared_ptr<korvane::ISound> music(new korvane::CStreamingSound(kSoundFlags, true));
    SwapMusic(music).reset();
    boost::shared_ptr<korvane::CMemoryStream> stream = ResourceFindStream(resource);
    if (!stream) {
        korvane::LogErrorF("%s(): cannot found mmap stream", "bgm_play");
        return;
    }
    music->Open(RequireSoundDevice(), *stream);
    music->SetLoop(loops > 0);
    ApplyMusicVolume(*music);
    music->Play();
}

void MusicCommand(std::int16_t code)
{
    boost::shared_ptr<korvane::ISound> music = CurrentMusic();
    if (!music)
        return;
    if (code == kMusicFadeOut) {
        auto* streaming = dynamic_cast<korvane::CStreamingSound*>(music.get());
        if (music->IsPlaying() && streaming != nullptr)
            streaming->FadeOut(100);
        else if (!music->IsPlaying())
            ReleaseMusicIfCurrent(music);
        return;
    }
    ApplyMusicVolume(*music);
    music->Play();
}

void MusicRelease()
{
    SwapMusic({}).reset();
}

std::size_t SoundGetEffectCount()
{
    SoundState& state = State();
    std::lock_guard<std::recursive_mutex> lock(state.BankMutex);
    return state.Bank.size();
}

boost::shared_ptr<korvane::ISound> SoundGetEffect(std::size_t number)
{
    SoundState& state = State();
    std::lock_guard<std::recursive_mutex> lock(state.BankMutex);
    return number < state.Bank.size() ? state.Bank[number] : boost::shared_ptr<korvane::ISound>();
}
