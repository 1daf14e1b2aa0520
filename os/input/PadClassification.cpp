/** @file PadClassification.cpp Pad families of the four-slot interface. */
#include "os/input/PadClassification.h"

#include <SDL.h>

namespace os::input
{

bool CountsAsPad(int deviceIndex)
{
    if (deviceIndex < 0 || deviceIndex >= SDL_NumJoysticks() || !SDL_IsGameController(deviceIndex))
        return false;
    const SDL_GameControllerType type = SDL_GameControllerTypeForIndex(deviceIndex);
    return type == SDL_CONTROLLER_TYPE_XBOX360 || type == SDL_CONTROLLER_TYPE_XBOXONE;
}

} // namespace os::input
