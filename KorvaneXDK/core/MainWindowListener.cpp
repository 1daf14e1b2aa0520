/** @file MainWindowListener.cpp Quitting the loop when the game window goes away. */
#include "KorvaneXDK/core/MainWindowListener.h"

#include "KorvaneXDK/core/GameWindow.h"
#include "os/window/MessageQueue.h"

namespace korvane
{

bool CMainWindowListener::OnWindowMessage(CGameWindow* window, std::uint32_t message, os::window::WParam,
                                          os::window::LParam, os::window::LResult* result)
{
    if (message != os::window::WM_DESTROY)
        return false;
    if (window)
        window->Hide();
    os::window::PostQuitMessage(0);
    if (result)
        *result = 0;
    return true;
}

} // namespace korvane
