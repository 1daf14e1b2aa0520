/** @file StandardSoundReader.h The part every sound reader shares: the stream, the format, the length and the position. */
#pragma once

#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/SoundReader.h"
#include "os/audio/WaveFormat.h"

namespace korvane
{

/// Holds the stream being read; implements the shared-pointer Open.
class CStandardSoundReader : public ISoundReader, public virtual CObject
{
public:
    using ISoundReader::Open;
    void Open(boost::shared_ptr<IKorvaneStream> stream) override;
    const os::audio::WaveFormatEx* GetFormat() const override { return &format_; }
    std::int32_t GetTotalBytes() const override { return totalBytes_; }
    std::int32_t GetPosition() const override { return position_; }

protected:
    IKorvaneStream* stream_ = nullptr;
    boost::shared_ptr<IKorvaneStream> sharedStream_;
    os::audio::WaveFormatEx format_;
    std::int32_t totalBytes_ = 0;
    std::int32_t position_ = 0;
};

} // namespace korvane
