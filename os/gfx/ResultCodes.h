/** @file ResultCodes.h Result codes of the graphics device with the platform's numbers (names and
 * descriptions: os/system/ResultText.h). */
#pragma once

#include "os/gfx/Types.h"

namespace os::gfx
{

namespace detail
{
constexpr Result Code(std::uint32_t value)
{
    return static_cast<Result>(value);
}
} // namespace detail

inline constexpr Result kOk = 0;
inline constexpr Result kFalse = 1;
inline constexpr Result kFail = detail::Code(0x80004005u);
inline constexpr Result kNotImplemented = detail::Code(0x80004001u);
inline constexpr Result kNoInterface = detail::Code(0x80004002u);
inline constexpr Result kInvalidArg = detail::Code(0x80070057u);
inline constexpr Result kOutOfMemory = detail::Code(0x8007000Eu);
inline constexpr Result kAccessDenied = detail::Code(0x80070005u);

inline constexpr Result kErrWrongTextureFormat = detail::Code(0x88760818u);
inline constexpr Result kErrOutOfVideoMemory = detail::Code(0x8876017Cu);
inline constexpr Result kErrNotFound = detail::Code(0x88760866u);
inline constexpr Result kErrMoreData = detail::Code(0x88760867u);
inline constexpr Result kErrDeviceLost = detail::Code(0x88760868u);
inline constexpr Result kErrDeviceNotReset = detail::Code(0x88760869u);
inline constexpr Result kErrNotAvailable = detail::Code(0x8876086Au);
inline constexpr Result kErrInvalidCall = detail::Code(0x8876086Cu);
inline constexpr Result kErrInvalidData = detail::Code(0x88760B59u);

} // namespace os::gfx
