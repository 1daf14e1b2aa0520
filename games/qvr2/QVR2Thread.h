/** @file QVR2Thread.h The thread that runs the main game. */
#pragma once

#include "host/PausableThread.h"

class CQVR2Thread : public CPausableThread
{
public:
    CQVR2Thread();
    ~CQVR2Thread() override;

    /// Zeroes the main game's variables and runs its loop, reporting an escaping exception.
    void Run() override;
};
