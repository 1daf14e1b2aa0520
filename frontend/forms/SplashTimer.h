/** @file SplashTimer.h The splashes' shared rule for when to leave: a timeout, or a skip after a short grace. */
#pragma once

/// Fed once a frame while the splash is not closing. A skip is remembered; the splash leaves at
/// the first frame whose elapsed time, before this frame is added, exceeds 0.3 s with a skip or
/// 2.5 s without, and only once.
class CSplashTimer
{
public:
    /// True in the one frame the splash should leave. `decide` and `cancel` read the latches:
    /// cancel is read only when no skip is known and decide was not pressed.
    template <typename ReadPress>
    bool Step(float seconds, ReadPress readPress)
    {
        if (!skip_) {
            skip_ = readPress("decide") || readPress("cancel");
        }
        bool leave = false;
        if (!closeStarted_ && elapsed_ > 0.3f && (elapsed_ > 2.5f || skip_)) {
            closeStarted_ = true;
            leave = true;
        }
        elapsed_ += seconds;
        return leave;
    }

    float GetElapsed() const { return elapsed_; }
    bool IsSkipRequested() const { return skip_; }
    bool IsCloseStarted() const { return closeStarted_; }

private:
    bool closeStarted_ = false;
    bool skip_ = false;
    float elapsed_ = 0.0f;
};
