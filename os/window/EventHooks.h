/** @file EventHooks.h Lets other modules of the layer see every SDL event the window's pump takes. */
#pragma once

#include <functional>

union SDL_Event;

namespace os::window
{

using RawEventHandler = std::function<void(const SDL_Event&)>;

/// Registers a handler called, on the pumping thread, for every SDL event before the pump
/// turns it into window messages. Returns an id for RemoveRawEventHandler.
int AddRawEventHandler(RawEventHandler handler);
void RemoveRawEventHandler(int id);
/// Called by the pump for each event it takes.
void DispatchRawEvent(const SDL_Event& event);

} // namespace os::window
