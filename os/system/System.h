/** @file System.h Clock, sleep, last error, message boxes and the program's paths. */
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace os::system
{

/// Monotonic clock in nanoseconds (arbitrary origin, never wraps in practice).
std::uint64_t MonotonicNanoseconds();
/// Milliseconds of the monotonic clock, the form the frame pacing and sound code read.
std::uint32_t MillisecondTicks();

/// Sleeps the calling thread; 0 only yields the rest of its time slice.
void Sleep(std::uint32_t milliseconds);

/// The calling thread's last error: a numeric code and the system's text for it.
/// Failing calls of this layer set it; LogWin32Error reads it.
void SetLastError(std::uint32_t code, const std::string& text = std::string());
/// Sets the last error from an errno value with the C library's message.
void SetLastErrorFromErrno(int errnoValue);
/// Records a failed SDL call: "call: SDL's message" becomes the last error (with `code`) and
/// goes to SDL's error log (standard error).
void SetLastErrorFromSdl(const char* call, std::uint32_t code = 1);
std::uint32_t GetLastErrorCode();
/// The message for the current last error; empty when the system has none.
std::string GetLastErrorText();

/// Shows a modal message box with an error icon and an OK button. Without a display (or
/// with KORVANE_NO_MESSAGE_BOX set) the caption and text go to stderr instead.
/// `owner` is the game window's native handle or null.
void ShowErrorMessageBox(const std::string& caption, const std::string& text, void* owner);
/// Whether a message box has a display to show on (or a test's sink to reach). Without one its
/// text goes to stderr, so a caller that already writes there need not show it.
bool CanShowMessageBox();

/// Full path of the running program file.
std::string GetProgramPath();

/// Why no file can be written in the folder, in the system's words ("Not a directory" when a file
/// stands where a folder of the path should be, "Permission denied", "Read-only file system", "No
/// such file or directory" when the folder is missing though it could be made); empty when a
/// file can be made there. Tries with a temporary file that it removes again.
std::string FolderWriteProblem(const std::string& folder);
/// Why the file cannot be opened for writing, in the system's words; empty when it can. Creates
/// the file when it is missing and leaves its contents as they are. Anything but a regular file
/// there is a problem too ("Is a named pipe"), found without waiting on it.
std::string FileWriteProblem(const std::string& path);

} // namespace os::system

namespace os::testing
{

/// Replaces every message box with a call to the sink; an empty function restores the boxes.
using MessageBoxSink = std::function<void(const std::string& caption, const std::string& text)>;
void SetMessageBoxSink(MessageBoxSink sink);

/// Replaces os::system::Sleep (for example to count sleeps without waiting); empty restores it.
void SetSleepFunction(std::function<void(std::uint32_t)> sleeper);
/// Replaces the monotonic clock; empty restores the real clock.
void SetClockFunction(std::function<std::uint64_t()> clock);

} // namespace os::testing
