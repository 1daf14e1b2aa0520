/** @file MainLoop.cpp The main game's entry point and variable block. */
#include "games/qvr2/MainLoop.h"

#include "games/MinimalGameLoop.h"
#include "games/qvr2/QVR2Thread.h"

namespace qvr2
{

unsigned char GameVariables[kGameVariablesSize];

void MainLoop(CQVR2Thread* self)
{
    games::RunMinimalGameLoop(*self);
}

} // namespace qvr2
