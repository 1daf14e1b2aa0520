/** @file PnpDevices.cpp Builds the device-id list from SDL's attached joysticks. */
#include "os/input/PnpDevices.h"

#include <cwchar>

#include <SDL.h>

#include "os/input/InputHub.h"
#include "os/input/PadClassification.h"

namespace os::input
{

bool EnumeratePnpDeviceIds(std::vector<std::wstring>& ids)
{
    ids.clear();
    if (auto provider = detail::GetPnpDeviceIdProvider())
        return provider(ids);
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0)
        return false;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        wchar_t text[96];
        std::swprintf(text, sizeof(text) / sizeof(text[0]), L"HID\\VID_%04X&PID_%04X%ls\\%d&0&0000",
                      static_cast<unsigned>(SDL_JoystickGetDeviceVendor(i)),
                      static_cast<unsigned>(SDL_JoystickGetDeviceProduct(i)), CountsAsPad(i) ? L"&IG_00" : L"",
                      static_cast<int>(SDL_JoystickGetDeviceInstanceID(i)));
        ids.emplace_back(text);
    }
    return true;
}

} // namespace os::input
