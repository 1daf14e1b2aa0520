/** @file System.cpp Clock, sleep, last error, message boxes and paths over POSIX and SDL. */
#include "os/system/System.h"
#include "os/system/RegularFile.h"
#include "os/system/TimingHooks.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL.h>

namespace os::system
{

namespace
{

struct Hooks
{
    std::mutex mutex;
    os::testing::MessageBoxSink messageBoxSink;
    std::function<void(std::uint32_t)> sleeper;
    std::function<std::uint64_t()> clock;
};

Hooks& GetHooks()
{
    // Never destroyed: threads may still sleep or log while static objects go away.
    static Hooks* hooks = new Hooks;
    return *hooks;
}

thread_local std::uint32_t tLastErrorCode = 0;
thread_local std::string tLastErrorText;

std::uint64_t RealMonotonicNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(ts.tv_nsec);
}

void RealSleep(std::uint32_t milliseconds)
{
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec request{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&request, &request) != 0 && errno == EINTR) {
    }
}

} // namespace

std::uint64_t MonotonicNanoseconds()
{
    auto& hooks = GetHooks();
    std::function<std::uint64_t()> clock;
    {
        std::lock_guard<std::mutex> lock(hooks.mutex);
        clock = hooks.clock;
    }
    return clock ? clock() : RealMonotonicNanoseconds();
}

std::uint32_t MillisecondTicks()
{
    return static_cast<std::uint32_t>(MonotonicNanoseconds() / 1000000ull);
}

void Sleep(std::uint32_t milliseconds)
{
    auto& hooks = GetHooks();
    std::function<void(std::uint32_t)> sleeper;
    {
        std::lock_guard<std::mutex> lock(hooks.mutex);
        sleeper = hooks.sleeper;
    }
    if (sleeper)
        sleeper(milliseconds);
    else
        RealSleep(milliseconds);
}

void SetLastError(std::uint32_t code, const std::string& text)
{
    tLastErrorCode = code;
    tLastErrorText = text;
}

void SetLastErrorFromErrno(int errnoValue)
{
    std::string text = ErrnoText(errnoValue);
    if (!text.empty())
        text += "\n"; // the system's message texts end with a line break
    SetLastError(static_cast<std::uint32_t>(errnoValue), text);
}

void SetLastErrorFromSdl(const char* call, std::uint32_t code)
{
    std::string text = call;
    text += ": ";
    text += SDL_GetError();
    SetLastError(code, text);
    SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "%s", text.c_str());
}

std::uint32_t GetLastErrorCode()
{
    return tLastErrorCode;
}

std::string GetLastErrorText()
{
    if (tLastErrorCode == 0 && tLastErrorText.empty())
        return "The operation completed successfully.\n";
    return tLastErrorText;
}

namespace
{

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool HasWindowSystem()
{
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

os::testing::MessageBoxSink CurrentSink()
{
    auto& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    return hooks.messageBoxSink;
}

} // namespace

bool CanShowMessageBox()
{
    return HasWindowSystem() || static_cast<bool>(CurrentSink());
}

void ShowErrorMessageBox(const std::string& caption, const std::string& text, void* owner)
{
    if (os::testing::MessageBoxSink sink = CurrentSink()) {
        sink(caption, text);
        return;
    }
    if (!IsSet("KORVANE_NO_MESSAGE_BOX") && HasWindowSystem()) {
        // The owner is not handed to SDL: the box may be shown from any thread.
        (void)owner;
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) == 0)
            return;
    }
    std::fprintf(stderr, "[%s]\n%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

std::string GetProgramPath()
{
    std::string path(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) {
        SetLastErrorFromErrno(errno);
        return std::string();
    }
    path.resize(static_cast<std::size_t>(length));
    return path;
}

std::string FolderWriteProblem(const std::string& folder)
{
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    // Appended, not assigned: g++ 12 at -O3 takes the assignment for an overlapping copy and warns.
    if (path.empty())
        path.push_back('.');
    // Up to the nearest part of the path that is there: what stands there, or what it refuses,
    // is why the folder cannot hold files.
    for (bool self = true;; self = false) {
        struct stat info
        {};
        if (stat(path.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode))
                return ErrnoText(ENOTDIR);
            std::string probe = path + "/.write-test-XXXXXX";
            const int fd = mkstemp(probe.data());
            if (fd < 0)
                return ErrnoText(errno);
            close(fd);
            unlink(probe.c_str());
            return self ? std::string() : ErrnoText(ENOENT);
        }
        const int error = errno;
        const std::size_t slash = path.find_last_of('/');
        const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        if (error != ENOENT || parent == path)
            return ErrnoText(error);
        path = parent;
    }
}

std::string FileWriteProblem(const std::string& path)
{
    std::string why;
    const int fd = OpenRegularFile(path, O_WRONLY | O_CREAT, why);
    if (fd < 0)
        return why;
    close(fd);
    return std::string();
}

namespace detail
{

bool AreTimingHooksInstalled()
{
    auto& hooks = GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    return static_cast<bool>(hooks.sleeper) || static_cast<bool>(hooks.clock);
}

} // namespace detail

} // namespace os::system

namespace os::testing
{

void SetMessageBoxSink(MessageBoxSink sink)
{
    auto& hooks = os::system::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.messageBoxSink = std::move(sink);
}

void SetSleepFunction(std::function<void(std::uint32_t)> sleeper)
{
    auto& hooks = os::system::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.sleeper = std::move(sleeper);
}

void SetClockFunction(std::function<std::uint64_t()> clock)
{
    auto& hooks = os::system::GetHooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.clock = std::move(clock);
}

} // namespace os::testing
