/** @file Application.h The program's start-up and shutdown: save folder, log, driver, loop. */
#pragma once

#include <string>

#include "os/window/Window.h"

/// The program's title, shown on the window and on every message box.
inline constexpr const char* kApplicationTitle = "VORTHENIX ZAMBRELLIOT  - Vesperanthor -";

/// Configures the one driver (data loader chain over "data.kva" beside the program, title,
/// icon, cursor, banners, limits, settings file), initialises it and runs the loop. Returns at
/// once when the driver cannot start (it has shown why). Throws what the archive or the
/// start-up throws.
void RunApplication(os::window::InstanceHandle instance);

/// The whole program: save folder, log, driver, RunApplication under the last-resort reports,
/// shutdown. 0 after a run (also after a reported exception), -1 when the driver cannot be made.
int ApplicationMain(os::window::InstanceHandle instance);

/// The save folder worked out by ApplicationMain (ends in a separator), or empty.
std::string GetApplicationSaveFolder();
