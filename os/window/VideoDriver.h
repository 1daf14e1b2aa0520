/** @file VideoDriver.h Whether the session has a display the game window can be shown on. */
#pragma once

#include <string>

namespace os::window
{

/// True when SDL_VIDEODRIVER names a driver (whichever: the user chose it, the offscreen one
/// included) or when SDL brings up a driver that shows windows; video then stays initialised.
/// False when SDL can offer only its stand-ins that show nothing ("offscreen", "dummy") or no
/// driver at all: `reason` then says so in words for the user, and video is shut again.
bool HasDisplay(std::string& reason);

} // namespace os::window
