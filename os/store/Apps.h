/** @file Apps.h The user's game language. */
#pragma once

namespace os::store
{

class Apps
{
public:
    /// "japanese" when the user's setting says so, or with no setting when the locale starts
    /// with "ja"; otherwise "english".
    const char* GetCurrentGameLanguage();
};

} // namespace os::store
