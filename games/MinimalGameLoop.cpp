/** @file MinimalGameLoop.cpp The frame loop both games run. */
#include "games/MinimalGameLoop.h"

#include <cstdint>

#include "host/ConsoleFrameComposer.h"
#include "host/ConsoleServices.h"
#include "host/PausableThread.h"
#include "os/system/System.h"

namespace games
{

void RunMinimalGameLoop(CPausableThread& thread)
{
    DisplayReset();
    DisplaySetMode(0);
    while (!thread.IsStopRequested()) {
        if (thread.IsPaused()) {
            os::system::Sleep(1);
            continue;
        }
        const std::uint32_t frameStart = TicksGet();
        (void)InputReadMask();
        CConsoleFrameComposer::HandOverToInstance();
        // Unsigned difference: stays right when the tick count wraps.
        while (TicksGet() - frameStart < 1u && !thread.IsStopRequested() && !thread.IsPaused())
            os::system::Sleep(1);
    }
}

} // namespace games
