/** @file ProgramProcess.h The built program run as a child process with its own environment, and the
 * X screen read back through xwd. */
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace program_test
{

/// The program, started with the caller's environment changed by `overrides` (an empty value
/// removes the variable).
class ProgramProcess
{
public:
    ProgramProcess(const std::string& path, const std::map<std::string, std::string>& overrides)
    {
        std::map<std::string, std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const std::size_t eq = entry.find('=');
            if (eq != std::string::npos)
                env[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        for (const auto& [name, value] : overrides) {
            if (value.empty())
                env.erase(name);
            else
                env[name] = value;
        }
        std::vector<std::string> strings;
        for (const auto& [name, value] : env)
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
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    void Terminate() { kill(pid_, SIGTERM); }
    /// The exit status (-1 for a signal), waiting for the end.
    int Wait()
    {
        if (!exited_) {
            int status = 0;
            waitpid(pid_, &status, 0);
            exited_ = true;
            status_ = WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : -1000;
        }
        return status_;
    }
    /// True once the program has ended by itself (not waiting).
    bool HasExited()
    {
        if (exited_)
            return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            status_ = WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : -1000;
        }
        return exited_;
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
};

/// The colour (0xAARRGGBB with alpha FF) at the centre of the named window, read with xwd; 0
/// when it cannot be read.
inline std::uint32_t WindowCentrePixel(const std::string& title)
{
    const std::string command = "xwd -silent -name '" + title + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return 0;
    std::vector<unsigned char> data;
    unsigned char buffer[65536];
    std::size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        data.insert(data.end(), buffer, buffer + got);
    pclose(pipe);
    auto field = [&](std::size_t index) -> std::uint32_t {
        const std::size_t at = index * 4;
        if (at + 4 > data.size())
            return 0;
        return std::uint32_t(data[at]) << 24 | std::uint32_t(data[at + 1]) << 16 | std::uint32_t(data[at + 2]) << 8 |
               data[at + 3];
    };
    const std::uint32_t headerSize = field(0);
    const std::uint32_t width = field(4), height = field(5), byteOrder = field(7);
    const std::uint32_t bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
    if (bitsPerPixel != 32 || width == 0 || height == 0)
        return 0;
    const std::size_t offset = std::size_t(headerSize) + std::size_t(colours) * 12 +
                               std::size_t(height / 2) * bytesPerLine + std::size_t(width / 2) * 4;
    if (offset + 4 > data.size())
        return 0;
    const unsigned char* p = &data[offset];
    const std::uint32_t pixel =
        byteOrder == 0
            ? std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24
            : std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[0]) << 24;
    return 0xFF000000u | (pixel & 0x00FFFFFFu);
}

} // namespace program_test
