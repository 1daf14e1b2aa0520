/** @file Application.h The program's start-up and shutdown: store, save folder, log, driver, scenes, loop. */
#pragma once

#include <string>

#include "os/window/Window.h"

/// The program's title, shown on the window and on every message box.
inline constexpr const char* kApplicationTitle = "VORTHENIX ZAMBRELLIOT  - Vesperanthor -";

/// Hooks the log to the console history, configures the one driver (data loader chain over
/// "data.kva" beside the program, title, icon, cursor, banners, limits, settings file),
/// initialises it, queues the resource scene and runs the loop. Returns at once when the driver
/// cannot start (it has shown why). Throws what the archive or the start-up throws.
void RunApplication(os::window::InstanceHandle instance);

using CreateDriverFunction = bool (*)(os::window::InstanceHandle instance);
using RunApplicationFunction = void (*)(os::window::InstanceHandle instance);

/// The whole program: the store and its three objects, the save folder, the log, the driver,
/// the run under the last-resort reports and the shutdown. 0 after a run (also after a reported
/// exception), -1 when the driver cannot be made (then nothing is released). Tests replace the
/// driver's creation and the run.
int ApplicationMain(os::window::InstanceHandle instance, CreateDriverFunction createDriver = nullptr,
                    RunApplicationFunction run = nullptr);
