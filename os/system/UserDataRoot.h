/** @file UserDataRoot.h Where the per-user data folders live. */
#pragma once

#include <string>

namespace os::system
{

/// Root of the per-user data folders: $XDG_DATA_HOME, else ~/.local/share (with a trailing '/');
/// empty when the account has no home folder. The home is $HOME, else the account's own from the
/// account database: never a folder that every account shares.
std::string GetUserDataRoot();

} // namespace os::system
