/** @file ProgramProcess.h The built program run as a child process. */
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

extern char** environ;

namespace program_test
{

/// The program, started with this process's environment; killed at the end if still running.
class ProgramProcess
{
public:
    explicit ProgramProcess(std::string path)
    {
        char* argv[] = {path.data(), nullptr};
        if (posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ) != 0)
            pid_ = -1;
    }
    ~ProgramProcess()
    {
        if (pid_ > 0 && !HasExited()) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    void Terminate() { kill(pid_, SIGTERM); }
    /// The exit status (-1000 for a signal), waiting for the end.
    int Wait()
    {
        Reap(0);
        return status_;
    }
    /// True once the program has ended by itself (not waiting).
    bool HasExited() { return Reap(WNOHANG); }
    /// Polls the condition (at the caller's own pace, not a synchronisation) until it holds, the program has ended
    /// or `seconds` have passed; the condition's last value.
    bool WaitUntil(const std::function<bool()>& condition, double seconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end || HasExited())
                return condition();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
    /// Whether the program ends by itself within `seconds`.
    bool WaitForExit(double seconds)
    {
        return WaitUntil([this] { return HasExited(); }, seconds);
    }

private:
    bool Reap(int options)
    {
        int status = 0;
        const pid_t reaped = exited_ ? 0 : waitpid(pid_, &status, options);
        if (reaped == pid_ || reaped < 0) {
            exited_ = true;
            status_ = reaped == pid_ && WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : -1000;
        }
        return exited_;
    }

    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
};

} // namespace program_test
