/** @file StaticSound.h A sound decoded once into one buffer, for effects played again and again. */
#pragma once

#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/sound/Sound.h"

namespace korvane
{

class CStaticSound : public CSound
{
public:
    explicit CStaticSound(std::uint32_t creationFlags);
    /// The console host's form; the second flag has no meaning here.
    CStaticSound(std::uint32_t creationFlags, bool /*unused*/) : CStaticSound(creationFlags) {}
    ~CStaticSound() override;

    void Create(CDXSound& device, IKorvaneStream& stream) override;
    void CreateBuffer(CDXSound& device, boost::shared_ptr<ISoundReader> reader) override;
    /// Starts from the beginning, also when already playing.
    void Play() override;
    const os::audio::WaveFormatEx* GetFormat() const override;
    std::uint32_t GetPosition() const override;

    /// A second voice of the source's sound: shares its samples and plays independently.
    virtual void Duplicate(CDXSound& device, CStaticSound& source);
    virtual double GetLengthSeconds() const;

private:
    void FillBuffer();

    boost::shared_ptr<CMemoryStream> pcm_;
    os::audio::WaveFormatEx format_;
    std::uint32_t pcmLength_ = 0;
};

} // namespace korvane
