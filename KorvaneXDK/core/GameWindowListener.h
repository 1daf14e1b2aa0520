/** @file GameWindowListener.h The interface through which the game window hands out its messages. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Object.h"
#include "os/window/Messages.h"

namespace korvane
{

class CGameWindow;

class IGameWindowListener : public IInterface
{
public:
    ~IGameWindowListener() override = default;

    /// Returns true when the listener handled the message; the value it stored through `result`
    /// is then the message's result.
    virtual bool OnWindowMessage(CGameWindow* window, std::uint32_t message, os::window::WParam wParam,
                                 os::window::LParam lParam, os::window::LResult* result) = 0;
};

} // namespace korvane
