/** @file SoundNotify.h The position-notification interface of a secondary buffer. */
#pragma once

#include <cstdint>
#include <memory>

#include "os/audio/AudioTypes.h"

namespace os::audio
{

class SoundBuffer;

/// Obtained from SoundBuffer::QueryNotify; keeps its buffer alive.
class SoundNotify
{
public:
    /// Replaces the buffer's notifications. Only while the buffer is stopped (kErrInvalidCall
    /// otherwise); every offset lies inside the buffer or is kNotifyOffsetStop, every event is set.
    Result SetNotificationPositions(std::uint32_t count, const PositionNotify* positions);

private:
    friend class SoundBuffer;
    explicit SoundNotify(std::shared_ptr<SoundBuffer> buffer) : buffer_(std::move(buffer)) {}

    std::shared_ptr<SoundBuffer> buffer_;
};

} // namespace os::audio
