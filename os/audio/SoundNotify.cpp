/** @file SoundNotify.cpp Forwards notification positions to the buffer. */
#include "os/audio/SoundNotify.h"

#include "os/audio/SoundBuffer.h"

namespace os::audio
{

Result SoundNotify::SetNotificationPositions(std::uint32_t count, const PositionNotify* positions)
{
    return buffer_->SetNotificationPositions(count, positions);
}

} // namespace os::audio
