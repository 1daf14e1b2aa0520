/** @file MessageQueue.h The event pump and the message queue of the window thread. */
#pragma once

#include <cstdint>

#include "os/window/Messages.h"

namespace os::window
{

/// Takes every pending SDL event, hands it to DispatchRawEvent (EventHooks.h) and turns it into
/// window messages at the end of the queue. Main thread only.
void PumpEvents();

/// Looks at the first message (pumping SDL events first). remove takes it out of the queue.
/// When nothing else is queued, an invalidated window yields one WM_PAINT.
bool PeekMessage(Message& message, bool remove);
/// Blocks until a message is queued (SDL events or a post from another thread).
void WaitMessage();
/// Waits like WaitMessage, at most timeoutMs; returns true when a message is queued.
bool WaitMessageTimeout(int timeoutMs);

/// Appends a message to the queue; any thread. A null window makes a thread message.
void PostMessage(Window* window, std::uint32_t message, WParam wParam, LParam lParam);
/// Queues WM_QUIT with the exit code in the first parameter; any thread.
void PostQuitMessage(int exitCode);

/// Key-downs of Backspace, Tab, Return and Escape queue a WM_CHAR right behind the current message
/// (printable characters arrive from text input as WM_CHAR of their own, or as WM_SYSCHAR when typed
/// with Alt held). Returns true when it did.
bool TranslateMessage(const Message& message);
/// Calls the window procedure of the message's window; thread messages and windows without a
/// procedure get DefWindowProc.
LResult DispatchMessage(const Message& message);
/// Calls the window procedure at once, bypassing the queue.
LResult SendMessage(Window* window, std::uint32_t message, WParam wParam, LParam lParam);
/// The system's default processing: WM_CLOSE destroys the window (WM_DESTROY is sent to it),
/// Alt+F4 as WM_SYSKEYDOWN sends WM_CLOSE; everything else returns 0.
LResult DefWindowProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam);
/// Sends WM_DESTROY to the window, hides it and stops its messages (IsDestroyed becomes true).
void DestroyWindow(Window* window);
/// Drops every queued message of the window (its object is going away).
void RemoveMessagesOf(Window* window);
/// Number of queued messages (tests).
std::size_t GetQueuedMessageCount();

/// The cursor display counter: show adds one, hide subtracts one; the new value is returned and
/// the cursor is visible while it is 0 or more.
int ShowCursor(bool show);
/// Keeps mouse messages coming while a button is held outside the window.
void SetCapture(Window* window);
void ReleaseCapture();
Window* GetCapture();

} // namespace os::window

namespace os::testing
{
/// Empties the queue and the pump's key, button and capture state (between tests).
void ResetWindowMessageQueue();
/// Sets the cursor display counter (tests start from a known value).
void SetCursorDisplayCount(int count);
int GetCursorDisplayCount();
} // namespace os::testing
