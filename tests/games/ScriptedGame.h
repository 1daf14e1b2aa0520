/** @file ScriptedGame.h A test-only game: a fixed list of frames run in place of a real main loop. */
#pragma once

#include "host/ConsoleFrameComposer.h"
#include "host/PausableThread.h"
#include "os/system/System.h"

namespace games_test
{

/// Each frame calls the console services it likes, then the frame is handed over, as a game's
/// pass does. Stop and pause are honoured between frames; exceptions are reported like a game's.
class CScriptedGameThread : public CPausableThread
{
public:
    using Frame = std::function<void()>;

    explicit CScriptedGameThread(std::vector<Frame> frames) : frames_(std::move(frames)) {}
    ~CScriptedGameThread() override { StopAndJoin(); }

    void Run() override
    {
        RunReported([this] {
            for (const Frame& frame : frames_) {
                while (IsPaused() && !IsStopRequested())
                    os::system::Sleep(1);
                if (IsStopRequested())
                    return;
                frame();
                CConsoleFrameComposer::HandOverToInstance();
            }
        });
    }

private:
    std::vector<Frame> frames_;
};

} // namespace games_test
