/** @file TessarilThread.h The thread that runs the companion game. */
#pragma once

#include "host/PausableThread.h"

class CTessarilThread : public CPausableThread
{
public:
    CTessarilThread();
    ~CTessarilThread() override;

    /// Zeroes the companion game's variables and runs its loop, reporting an escaping exception.
    void Run() override;
};
