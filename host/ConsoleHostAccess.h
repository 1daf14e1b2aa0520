/** @file ConsoleHostAccess.h The display lock and the merged controller, as the console services reach them. */
#pragma once

namespace korvane
{
class CCriticalSection;
class IController;
} // namespace korvane

// These belong to the resource scene, which owns the lock and the merged controller; until it
// is in place this file holds both, and the services reach them only through these calls.

/// The recursive lock that guards the display state, the composed frames and the controller
/// refreshes. It lives for the whole process, so a late game thread can still take it.
korvane::CCriticalSection& GetDisplayLock();

/// The merged controller the input service reads; null while none is set.
korvane::IController* GetConsoleController();
/// Sets (or with null clears) the controller. Not owned; it must outlive its use.
void SetConsoleController(korvane::IController* controller);
/// Refreshes every device of the controller, under the display lock; nothing without one.
void PollConsoleController();
