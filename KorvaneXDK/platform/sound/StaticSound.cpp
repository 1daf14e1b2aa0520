/** @file StaticSound.cpp Decoding into the buffer, refilling a lost buffer, duplicates. */
#include "KorvaneXDK/platform/sound/StaticSound.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/sound/DXSound.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "StaticSound";

} // namespace

CStaticSound::CStaticSound(std::uint32_t creationFlags) : CSound(creationFlags) {}

CStaticSound::~CStaticSound() = default;

void CStaticSound::Create(CDXSound& device, IKorvaneStream& stream)
{
    boost::shared_ptr<ISoundReader> reader(CreateAndOpenSoundReader(&stream));
    CreateBuffer(device, reader);
}

void CStaticSound::CreateBuffer(CDXSound& device, boost::shared_ptr<ISoundReader> reader)
{
    buffer_.reset();
    if (!device.IsInitialized())
        return;

    os::audio::BufferDesc desc;
    desc.flags =
        creationFlags_ | (device.UsesSoftwareBuffers() ? os::audio::kCapsLocSoftware : os::audio::kCapsLocDefer);
    // A negative length from corrupt data becomes a size the device refuses.
    desc.bufferBytes = static_cast<std::uint32_t>(reader->GetTotalBytes());
    desc.format = reader->GetFormat();
    format_ = *reader->GetFormat();

    const os::audio::Result result = device.GetDirectSound()->CreateSoundBuffer(desc, &buffer_);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        throw EReadError(this, "サウンドバッファの作成に失敗しました.");
    }

    pcm_.reset(new CMemoryStream);
    pcm_->SetSize(static_cast<std::int32_t>(desc.bufferBytes));
    reader->Read(pcm_->GetBuffer(), pcm_->GetSize());
    pcmLength_ = static_cast<std::uint32_t>(pcm_->GetSize());

    FillBuffer();
}

void CStaticSound::FillBuffer()
{
    void* part1 = nullptr;
    std::uint32_t bytes1 = 0;
    void* part2 = nullptr;
    std::uint32_t bytes2 = 0;
    os::audio::Result result = buffer_->Lock(0, 0, &part1, &bytes1, &part2, &bytes2, os::audio::kLockEntireBuffer);
    if (result == os::audio::kErrBufferLost) {
        buffer_->Restore();
        result = buffer_->Lock(0, 0, &part1, &bytes1, &part2, &bytes2, os::audio::kLockEntireBuffer);
    }
    if (os::audio::Failed(result))
        throw EReadError(this, "サウンドバッファのロックに失敗しました.");
    pcm_->Seek(0);
    // The memory stream never holds more than the buffer; what it lacks stays silent.
    pcm_->Read(part1, static_cast<std::int32_t>(bytes1));
    buffer_->Unlock(part1, bytes1, part2, bytes2);
}

void CStaticSound::Play()
{
    if (!buffer_)
        return;
    buffer_->SetCurrentPosition(0);
    const std::uint32_t flags = loop_ ? os::audio::kPlayLooping : 0;
    if (buffer_->Play(flags) == os::audio::kErrBufferLost) {
        FillBuffer();
        buffer_->Play(flags);
    }
}

const os::audio::WaveFormatEx* CStaticSound::GetFormat() const
{
    return &format_;
}

std::uint32_t CStaticSound::GetPosition() const
{
    if (!buffer_)
        return 0;
    std::uint32_t play = 0;
    std::uint32_t write = 0;
    if (os::audio::Failed(buffer_->GetCurrentPosition(&play, &write)))
        return 0;
    return play;
}

void CStaticSound::Duplicate(CDXSound& device, CStaticSound& source)
{
    buffer_.reset();
    if (!device.IsInitialized())
        return;
    const os::audio::Result result = device.GetDirectSound()->DuplicateSoundBuffer(source.buffer_, &buffer_);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        throw EReadError(this, "サウンドバッファの Duplicate に失敗しました.");
    }
    pcm_ = source.pcm_;
    // Length and position in seconds need the format: take the source's with its samples.
    format_ = source.format_;
    pcmLength_ = source.pcmLength_;
}

double CStaticSound::GetLengthSeconds() const
{
    const unsigned bitsTimesChannels = static_cast<unsigned>(format_.bitsPerSample) * format_.channels;
    const double bytesPerSecond = static_cast<double>(bitsTimesChannels * format_.samplesPerSec) * 0.125;
    if (bytesPerSecond == 0.0)
        return 0.0;
    return pcmLength_ / bytesPerSecond;
}

} // namespace korvane
