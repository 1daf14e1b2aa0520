/** @file TessarilThread.cpp The thread that runs the companion game. */
#include "games/tessaril/TessarilThread.h"

#include <cstring>

#include "games/tessaril/MainLoop.h"

CTessarilThread::CTessarilThread() = default;

CTessarilThread::~CTessarilThread()
{
    StopAndJoin();
}

void CTessarilThread::Run()
{
    RunReported([this] {
        std::memset(tessaril::GameVariables, 0, sizeof(tessaril::GameVariables));
        tessaril::MainLoop(this);
    });
}
