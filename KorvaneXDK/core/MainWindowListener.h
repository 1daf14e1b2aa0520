/** @file MainWindowListener.h The driver's listener that ends the loop when the game window is destroyed. */
#pragma once

#include "KorvaneXDK/core/GameWindowListener.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// On WM_DESTROY: hides the window, posts the quit message with exit code 0 and reports the
/// message handled with result 0. Every other message is left to the others.
class CMainWindowListener : public IGameWindowListener, public virtual CNonCopyable
{
public:
    bool OnWindowMessage(CGameWindow* window, std::uint32_t message, os::window::WParam wParam,
                         os::window::LParam lParam, os::window::LResult* result) override;
};

} // namespace korvane
