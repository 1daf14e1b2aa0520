/** @file MainLoop.cpp The companion game's entry point and variable block. */
#include "games/tessaril/MainLoop.h"

#include "games/MinimalGameLoop.h"
#include "games/tessaril/TessarilThread.h"

namespace tessaril
{

unsigned char GameVariables[kGameVariablesSize];

void MainLoop(CTessarilThread* self)
{
    games::RunMinimalGameLoop(*self);
}

} // namespace tessaril
