/** @file ProgramProcess.h The built program run as a child process with its own environment. */
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace program_test
{

/// The program, started with the caller's environment changed by `overrides` (an empty value
/// removes the variable); killed at the end if still running.
class ProgramProcess
{
public:
    ProgramProcess(const std::string& path, const std::map<std::string, std::string>& overrides)
    {
        std::vector<std::string> strings;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (overrides.count(entry.substr(0, entry.find('='))) == 0)
                strings.push_back(entry);
        }
        for (const auto& [name, value] : overrides)
            if (!value.empty())
                strings.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (std::string& s : strings)
            envp.push_back(s.data());
        envp.push_back(nullptr);
        std::string program = path;
        char* argv[] = {program.data(), nullptr};
        if (posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
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
