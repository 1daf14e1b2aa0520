/** @file Application.h The program's start-up and shutdown: store, save folder, log, driver, scenes, loop. */
#pragma once

#include <string>

#include "KorvaneXDK/core/Exception.h"
#include "os/window/Window.h"

/// The program's title, shown on the window and on every message box.
inline constexpr const char* kApplicationTitle = "VORTHENIX ZAMBRELLIOT  - Vesperanthor -";

/// A start-up failure the user can act on, its message in plain words (which file, where, why).
/// The entry shows the message as it stands, without the exception report around it.
class EStartFailure : public korvane::EIOError
{
public:
    explicit EStartFailure(const std::string& message) : korvane::EIOError(message) {}
};

/// Hooks the log to the console history, configures the one driver (data loader chain over
/// "data.kva" beside the program, title, icon, cursor, banners, limits, settings file),
/// initialises it, queues the resource scene and runs the loop. Returns false at once when the
/// driver cannot start (it has shown why); after the loop, true unless the loop ended on an
/// exception (shown there too). Throws EStartFailure when "data.kva" is missing, unreadable or
/// damaged, and whatever else the start-up throws.
bool RunApplication(os::window::InstanceHandle instance);

using CreateDriverFunction = bool (*)(os::window::InstanceHandle instance);
using RunApplicationFunction = bool (*)(os::window::InstanceHandle instance);

/// The exit status after a failure that was reported (no display, a failed start or run).
inline constexpr int kExitFailure = 1;

/// The whole program: the display check, the store and its three objects, the save folder, the
/// log, the driver, the run under the last-resort reports and the shutdown. 0 after a clean run;
/// kExitFailure when there is no display (then nothing is touched), when the run failed or threw
/// (after the whole shutdown); -1 when the driver cannot be made (then nothing is released). An
/// unwritable save folder is said once (in the log when it can be written, else on stderr), shown
/// once in a message box where there is a display, and the program goes on. Settings that the
/// shutdown could not save in a folder that could be written at the start are shown in a message
/// box (stderr without a display) and end the program with kExitFailure. An archive entry whose data turns out damaged is said in plain words, as
/// a damaged "data.kva" at the start is. Tests replace the driver's creation and the run.
int ApplicationMain(os::window::InstanceHandle instance, CreateDriverFunction createDriver = nullptr,
                    RunApplicationFunction run = nullptr);
