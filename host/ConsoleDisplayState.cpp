/** @file ConsoleDisplayState.cpp The one display record of the process. */
#include "host/ConsoleDisplayState.h"

namespace
{

// Constant-initialised, so it holds its start values before any code runs.
constinit ConsoleDisplayState gConsoleDisplayState;

} // namespace

ConsoleDisplayState& GetConsoleDisplayState()
{
    return gConsoleDisplayState;
}
