/** @file GameApplication.cpp The message loop. */
#include "KorvaneXDK/core/GameApplication.h"

#include "os/window/MessageQueue.h"

namespace korvane
{

CGameApplication::CGameApplication(os::window::InstanceHandle instance) : instance_(instance) {}

CGameApplication::~CGameApplication() = default;

int CGameApplication::Run()
{
    for (;;) {
        os::window::Message message;
        if (os::window::PeekMessage(message, true)) {
            if (message.message == os::window::WM_QUIT)
                return 0;
            os::window::TranslateMessage(message);
            os::window::DispatchMessage(message);
        } else if (listener_) {
            listener_->OnIdle();
        } else {
            os::window::WaitMessage();
        }
    }
}

void CGameApplication::ProcessMessages()
{
    os::window::Message message;
    while (os::window::PeekMessage(message, true)) {
        if (message.message == os::window::WM_QUIT) {
            // Put it back: whoever runs the loop must still see it and end.
            os::window::PostMessage(nullptr, os::window::WM_QUIT, message.wParam, message.lParam);
            return;
        }
        os::window::TranslateMessage(message);
        os::window::DispatchMessage(message);
    }
    if (listener_)
        listener_->OnIdle();
}

void CGameApplication::SetListener(IGameApplicationListener* listener)
{
    listener_ = listener;
}

os::window::InstanceHandle CGameApplication::GetInstanceHandle() const
{
    return instance_;
}

void CGameApplication::ShowCursor(bool show)
{
    if (show) {
        while (cursorCount_ < 0)
            cursorCount_ = os::window::ShowCursor(true);
    } else {
        while (cursorCount_ >= 0)
            cursorCount_ = os::window::ShowCursor(false);
    }
}

} // namespace korvane
