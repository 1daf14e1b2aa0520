/** @file TessarilThread.cpp The thread that runs the companion game. */
#include "games/tessaril/TessarilThread.h"

#include <cstring>

#include "frontend/steam/ScoreUpload.h"
#include "games/tessaril/MainLoop.h"

CTessarilThread::CTessarilThread() = default;

CTessarilThread::~CTessarilThread()
{
    StopAndJoin();
}

void CTessarilThread::Run()
{
    // A wait for the score upload gives up when this thread is asked to stop.
    SetScoreUploadStopCheck([this] { return IsStopRequested(); });
    RunReported([this] {
        std::memset(tessaril::GameVariables, 0, sizeof(tessaril::GameVariables));
        tessaril::MainLoop(this);
    });
}
