/** @file PnpDevices.h The system's device-id list, which tells pads of the four-slot interface apart. */
#pragma once

#include <string>
#include <vector>

namespace os::input
{

/// One id per attached joystick, "HID\VID_vvvv&PID_pppp" followed, for pads that the four-slot
/// interface reads (CountsAsPad), by "&IG_00", then "\" and an instance part. Returns false when
/// the list cannot be had (only a test hook does that). Main thread.
bool EnumeratePnpDeviceIds(std::vector<std::wstring>& ids);

} // namespace os::input
