/** @file NamedPipe.h Named pipes where files are expected, and a deadline for code that might wait on one. */
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace korvane::test
{

/// Makes a named pipe at `path`; a failure fails the test.
inline void MakeNamedPipe(const std::string& path)
{
    if (::mkfifo(path.c_str(), 0600) != 0)
        ADD_FAILURE() << "cannot make the named pipe " << path << ": " << std::strerror(errno);
}

/// Runs `code` on a thread of its own and gives it ten seconds. Code still running then fails the
/// test and is released from its wait on the named pipe at `pipe` (empty: none) by opening the pipe's
/// two ends, so that a regression fails with a message instead of hanging the run. Returns whether
/// the code ended in time.
inline bool EndsWithoutWaiting(const std::function<void()>& code, const std::string& pipe, const std::string& what)
{
    std::packaged_task<void()> task(code);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    const bool inTime = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!inTime) {
        ADD_FAILURE() << what << " still waits on " << (pipe.empty() ? "something" : pipe) << " after 10 s";
        // A writer released here meets a pipe without readers later: that must not end the test
        // program, so SIGPIPE stays ignored from now on.
        std::signal(SIGPIPE, SIG_IGN);
        for (int round = 0; round < 50 && done.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready;
             ++round) {
            const int both = pipe.empty() ? -1 : ::open(pipe.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            if (both >= 0)
                ::close(both);
        }
    }
    if (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        ADD_FAILURE() << what << " could not be released; its thread is left behind";
        runner.detach();
        return false;
    }
    runner.join();
    done.get();
    return inTime;
}

} // namespace korvane::test
