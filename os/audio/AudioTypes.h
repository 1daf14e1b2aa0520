/** @file AudioTypes.h Result codes, flags and records of the sound buffer interface, with the platform's values. */
#pragma once

#include <cstdint>

#include "os/audio/WaveFormat.h"

namespace os::system
{
class Event;
}

namespace os::audio
{

/// The platform's 32-bit result codes; negative means failure.
using Result = std::int32_t;

constexpr Result ResultCode(std::uint32_t value)
{
    return static_cast<Result>(value);
}

constexpr Result kOk = 0;
constexpr Result kErrGeneric = ResultCode(0x80004005);         // E_FAIL
constexpr Result kErrInvalidParam = ResultCode(0x80070057);    // DSERR_INVALIDPARAM
constexpr Result kErrOutOfMemory = ResultCode(0x8007000E);     // DSERR_OUTOFMEMORY
constexpr Result kErrNoInterface = ResultCode(0x80004002);     // E_NOINTERFACE
constexpr Result kErrAllocated = ResultCode(0x8878000A);       // DSERR_ALLOCATED
constexpr Result kErrControlUnavail = ResultCode(0x8878001E);  // DSERR_CONTROLUNAVAIL
constexpr Result kErrInvalidCall = ResultCode(0x88780032);     // DSERR_INVALIDCALL
constexpr Result kErrPrioLevelNeeded = ResultCode(0x88780046); // DSERR_PRIOLEVELNEEDED
constexpr Result kErrBadFormat = ResultCode(0x88780064);       // DSERR_BADFORMAT
constexpr Result kErrNoDriver = ResultCode(0x88780078);        // DSERR_NODRIVER
constexpr Result kErrBufferLost = ResultCode(0x88780096);      // DSERR_BUFFERLOST

constexpr bool Failed(Result result)
{
    return result < 0;
}
constexpr bool Succeeded(Result result)
{
    return result >= 0;
}

// Buffer creation flags.
constexpr std::uint32_t kCapsPrimaryBuffer = 0x1;
constexpr std::uint32_t kCapsStatic = 0x2;
constexpr std::uint32_t kCapsLocHardware = 0x4;
constexpr std::uint32_t kCapsLocSoftware = 0x8;
constexpr std::uint32_t kCapsCtrl3D = 0x10;
constexpr std::uint32_t kCapsCtrlFrequency = 0x20;
constexpr std::uint32_t kCapsCtrlPan = 0x40;
constexpr std::uint32_t kCapsCtrlVolume = 0x80;
constexpr std::uint32_t kCapsCtrlPositionNotify = 0x100;
constexpr std::uint32_t kCapsStickyFocus = 0x4000;
constexpr std::uint32_t kCapsGlobalFocus = 0x8000;
constexpr std::uint32_t kCapsGetCurrentPosition2 = 0x10000;
constexpr std::uint32_t kCapsMute3DAtMaxDistance = 0x20000;
constexpr std::uint32_t kCapsLocDefer = 0x40000;

// Play flags.
constexpr std::uint32_t kPlayLooping = 0x1;

// Status bits.
constexpr std::uint32_t kStatusPlaying = 0x1;
constexpr std::uint32_t kStatusBufferLost = 0x2;
constexpr std::uint32_t kStatusLooping = 0x4;
constexpr std::uint32_t kStatusLocSoftware = 0x10;

// Lock flags.
constexpr std::uint32_t kLockFromWriteCursor = 0x1;
constexpr std::uint32_t kLockEntireBuffer = 0x2;

// Cooperative levels.
constexpr std::uint32_t kCoopNormal = 1;
constexpr std::uint32_t kCoopPriority = 2;
constexpr std::uint32_t kCoopExclusive = 3;
constexpr std::uint32_t kCoopWritePrimary = 4;

/// Notification offset meaning "when the buffer stops".
constexpr std::uint32_t kNotifyOffsetStop = 0xFFFFFFFFu;

constexpr std::uint32_t kBufferSizeMin = 4;
constexpr std::uint32_t kBufferSizeMax = 0x0FFFFFFF;
constexpr std::uint32_t kFrequencyMin = 100;
constexpr std::uint32_t kFrequencyMax = 200000;
/// SetFrequency with this value goes back to the format's own rate.
constexpr std::uint32_t kFrequencyOriginal = 0;

constexpr std::int32_t kVolumeMin = -10000;
constexpr std::int32_t kVolumeMax = 0;
constexpr std::int32_t kPanLeft = -10000;
constexpr std::int32_t kPanRight = 10000;

/// Describes a buffer to create. `size` must hold sizeof(BufferDesc).
struct BufferDesc
{
    std::uint32_t size = sizeof(BufferDesc);
    std::uint32_t flags = 0;
    std::uint32_t bufferBytes = 0;
    std::uint32_t reserved = 0;
    const WaveFormatEx* format = nullptr;
};

/// One position notification: the event is set when the play cursor passes `offset`
/// (or, with kNotifyOffsetStop, when the buffer stops).
struct PositionNotify
{
    std::uint32_t offset = 0;
    os::system::Event* event = nullptr;
};

/// A PCM format the buffers accept: tag 1, one or two channels, 8 or 16 bits, a rate in
/// range, and block align and byte rate that agree with them.
bool IsValidPcmFormat(const WaveFormatEx& format);

} // namespace os::audio
