/** @file ProgramStderr.h The built program started with its standard error caught in a file. */
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "host/ProgramProcess.h"

namespace program_test
{

/// Starts the program with this process's environment and its standard error going to `path`
/// (this process's own is pointed there only while the program is being started).
inline std::unique_ptr<ProgramProcess> StartWithStderrTo(const std::string& program, const std::string& path)
{
    std::fflush(stderr);
    const int saved = fcntl(2, F_DUPFD_CLOEXEC, 3);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (saved < 0 || file < 0 || dup2(file, 2) < 0)
        return nullptr;
    auto process = std::make_unique<ProgramProcess>(program);
    dup2(saved, 2);
    close(saved);
    close(file);
    return process;
}

/// Looks at whether the program has ended, at its own pace, until it has or the time is up.
inline bool WaitForExit(ProgramProcess& process, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!process.HasExited()) {
        if (std::chrono::steady_clock::now() > end)
            return process.HasExited();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace program_test
