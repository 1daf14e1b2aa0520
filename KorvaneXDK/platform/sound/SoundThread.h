/** @file SoundThread.h A thread object that runs one function: the feeder and fade threads of streaming sounds. */
#pragma once

#include <functional>

#include "KorvaneXDK/core/Thread.h"

namespace korvane
{

class CSoundThread : public CThread
{
public:
    explicit CSoundThread(std::function<void()> body) : body_(std::move(body)) {}
    ~CSoundThread() override { StopAndWait(); }

    void Run() override { body_(); }

private:
    std::function<void()> body_;
};

} // namespace korvane
