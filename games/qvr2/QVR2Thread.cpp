/** @file QVR2Thread.cpp The thread that runs the main game. */
#include "games/qvr2/QVR2Thread.h"

#include <cstring>

#include "frontend/steam/ScoreUpload.h"
#include "games/qvr2/MainLoop.h"

CQVR2Thread::CQVR2Thread() = default;

CQVR2Thread::~CQVR2Thread()
{
    StopAndJoin();
}

void CQVR2Thread::Run()
{
    // A wait for the score upload gives up when this thread is asked to stop.
    SetScoreUploadStopCheck([this] { return IsStopRequested(); });
    RunReported([this] {
        std::memset(qvr2::GameVariables, 0, sizeof(qvr2::GameVariables));
        qvr2::MainLoop(this);
    });
}
