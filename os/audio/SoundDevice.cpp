/** @file SoundDevice.cpp The device over SDL audio: the output stream that pulls from the mixer. */
#include "os/audio/SoundDevice.h"

#include <SDL.h>

#include <mutex>
#include <new>
#include <string>

#include "os/audio/Mixer.h"
#include "os/audio/SoundBuffer.h"
#include "os/audio/Testing.h"
#include "os/system/ResultText.h"
#include "os/system/System.h"

namespace os::audio
{

namespace detail
{
void RegisterManualDevice(const std::shared_ptr<SoundDevice>& device);
}

namespace
{

// Frames per output callback: 23 ms at 44.1 kHz, far less than one section of a streaming buffer.
constexpr Uint16 kCallbackFrames = 1024;

WaveFormatEx DefaultOutputFormat()
{
    WaveFormatEx format;
    format.formatTag = kWaveFormatPcm;
    format.channels = 2;
    format.samplesPerSec = 44100;
    format.bitsPerSample = 16;
    format.blockAlign = 4;
    format.avgBytesPerSec = 44100 * 4;
    return format;
}

void OutputCallback(void* user, Uint8* stream, int length)
{
    auto* mixer = static_cast<Mixer*>(user);
    const std::uint32_t channels = mixer->GetOutputChannels();
    const auto frames = static_cast<std::uint32_t>(length) / (2 * channels);
    mixer->Mix(reinterpret_cast<std::int16_t*>(stream), frames, false);
}

} // namespace

SoundDevice::SoundDevice(bool manual) : mixer_(std::make_shared<Mixer>()), manual_(manual)
{
    outputFormat_ = DefaultOutputFormat();
}

SoundDevice::~SoundDevice()
{
    CloseOutput();
    if (subsystemStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

Result SoundDevice::Create(std::shared_ptr<SoundDevice>* device)
{
    if (device == nullptr)
        return kErrInvalidParam;
    device->reset();
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::CreateDevice); Failed(injected)) {
        os::system::SetLastError(static_cast<std::uint32_t>(injected), os::system::GetResultDescription(injected));
        return injected;
    }
    std::shared_ptr<SoundDevice> created(new SoundDevice(detail::ManualBackendRequested()));
    if (created->manual_) {
        created->mixer_->SetOutputFormat(2, 44100);
        detail::RegisterManualDevice(created);
        *device = created;
        return kOk;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        os::system::SetLastErrorFromSdl("SDL_InitSubSystem(SDL_INIT_AUDIO)", static_cast<std::uint32_t>(kErrNoDriver));
        return kErrNoDriver;
    }
    created->subsystemStarted_ = true;
    const Result opened = created->OpenOutput(created->outputFormat_);
    if (Failed(opened))
        return opened; // the destructor gives the subsystem back
    *device = created;
    return kOk;
}

Result SoundDevice::OpenOutput(const WaveFormatEx& format)
{
    if (manual_) {
        mixer_->SetOutputFormat(format.channels, format.samplesPerSec);
        outputFormat_ = format;
        return kOk;
    }
    CloseOutput();
    // The mix is always 16-bit; an 8-bit primary format only sets rate and channels.
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.samplesPerSec);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = kCallbackFrames;
    wanted.callback = &OutputCallback;
    wanted.userdata = mixer_.get();
    mixer_->SetOutputFormat(format.channels, format.samplesPerSec);
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id == 0) {
        os::system::SetLastErrorFromSdl("SDL_OpenAudioDevice", static_cast<std::uint32_t>(kErrNoDriver));
        return kErrNoDriver;
    }
    output_ = id;
    outputFormat_ = format;
    SDL_PauseAudioDevice(id, 0);
    return kOk;
}

void SoundDevice::CloseOutput()
{
    if (output_ != 0) {
        // Returns only after the last callback has finished with the mixer.
        SDL_CloseAudioDevice(output_);
        output_ = 0;
    }
}

Result SoundDevice::SetCooperativeLevel(void* /*window*/, std::uint32_t level)
{
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::SetCooperativeLevel); Failed(injected))
        return injected;
    if (level < kCoopNormal || level > kCoopWritePrimary)
        return kErrInvalidParam;
    cooperativeLevel_ = level;
    return kOk;
}

Result SoundDevice::CreateSoundBuffer(const BufferDesc& desc, std::shared_ptr<SoundBuffer>* buffer)
{
    if (buffer == nullptr)
        return kErrInvalidParam;
    buffer->reset();
    if (desc.size != sizeof(BufferDesc))
        return kErrInvalidParam;
    if ((desc.flags & kCapsPrimaryBuffer) != 0) {
        if (Result injected = detail::InjectedResult(os::testing::AudioCall::CreatePrimaryBuffer); Failed(injected))
            return injected;
        if (desc.bufferBytes != 0 || desc.format != nullptr)
            return kErrInvalidParam;
        std::shared_ptr<SoundBuffer> primary(
            new SoundBuffer(mixer_, desc.flags, outputFormat_, 0, std::make_shared<std::vector<std::uint8_t>>(), true));
        std::weak_ptr<SoundDevice> self = weak_from_this();
        primary->primaryFormatSetter_ = [self](const WaveFormatEx& format) -> Result {
            std::shared_ptr<SoundDevice> device = self.lock();
            if (!device)
                return kErrInvalidCall;
            if (device->cooperativeLevel_ < kCoopPriority)
                return kErrPrioLevelNeeded;
            return device->OpenOutput(format);
        };
        *buffer = primary;
        return kOk;
    }
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::CreateSoundBuffer); Failed(injected))
        return injected;
    if (desc.format == nullptr)
        return kErrInvalidParam;
    if (!IsValidPcmFormat(*desc.format))
        return kErrBadFormat;
    if (desc.bufferBytes < kBufferSizeMin || desc.bufferBytes > kBufferSizeMax)
        return kErrInvalidParam;
    if ((desc.flags & kCapsLocSoftware) != 0 && (desc.flags & kCapsLocHardware) != 0)
        return kErrInvalidParam;
    std::shared_ptr<std::vector<std::uint8_t>> samples;
    try {
        samples = std::make_shared<std::vector<std::uint8_t>>(desc.bufferBytes, std::uint8_t{0});
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
    std::shared_ptr<SoundBuffer> created(
        new SoundBuffer(mixer_, desc.flags, *desc.format, desc.bufferBytes, std::move(samples), false));
    mixer_->Attach(created.get());
    *buffer = created;
    return kOk;
}

Result SoundDevice::DuplicateSoundBuffer(const std::shared_ptr<SoundBuffer>& source,
                                         std::shared_ptr<SoundBuffer>* duplicate)
{
    if (duplicate == nullptr)
        return kErrInvalidParam;
    duplicate->reset();
    if (!source || source->primary_)
        return kErrInvalidParam;
    if (Result injected = detail::InjectedResult(os::testing::AudioCall::DuplicateSoundBuffer); Failed(injected))
        return injected;
    std::shared_ptr<SoundBuffer> created(
        new SoundBuffer(source->mixer_, source->flags_, source->format_, source->bytes_, source->samples_, false));
    {
        std::lock_guard<std::mutex> lock(mixer_->GetMutex());
        created->volume_ = source->volume_;
        created->pan_ = source->pan_;
        created->frequency_ = source->frequency_;
        created->lost_ = source->lost_;
        created->UpdateGains();
    }
    source->mixer_->Attach(created.get());
    *duplicate = created;
    return kOk;
}

WaveFormatEx SoundDevice::GetOutputFormat() const
{
    return outputFormat_;
}

std::vector<std::int16_t> SoundDevice::MixManually(std::uint32_t frames)
{
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * mixer_->GetOutputChannels());
    mixer_->Mix(out.data(), frames, true);
    return out;
}

} // namespace os::audio
