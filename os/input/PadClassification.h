/** @file PadClassification.h The one rule that decides which attached pads belong to the four-slot pad
 * interface. */
#pragma once

namespace os::input
{

/// True when the SDL joystick at this device index is read through the four-slot pad interface:
/// a game controller of one of the two pad families the interface was made for. Both the
/// device-id list and the slot assignment ask this function, so they never disagree.
bool CountsAsPad(int deviceIndex);

} // namespace os::input
