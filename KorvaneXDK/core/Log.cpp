/** @file Log.cpp The process-wide log file and its line hook. */
#include "KorvaneXDK/core/Log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "os/system/RegularFile.h"
#include "os/system/System.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "Log";

std::FILE* gLogFile = nullptr;
LogHook gHook = nullptr;

// The logger never throws: destructors and catch blocks log, and a failing hook (the console
// history running out of memory) must not turn a log line into a new failure.
void CallHook(const std::string& line) noexcept
{
    try {
        gHook(line);
    } catch (...) {
    }
}

// Writes one formatted line to the file and the hook. The caller holds the log lock.
void WriteFormattedLine(const char* prefix, const char* format, va_list args) noexcept
{
    try {
        const std::string lineFormat = std::string(prefix) + format + "\n";
        if (gLogFile) {
            va_list fileArgs;
            va_copy(fileArgs, args);
            std::vfprintf(gLogFile, lineFormat.c_str(), fileArgs);
            va_end(fileArgs);
            std::fflush(gLogFile);
        }
        if (gHook) {
            va_list hookArgs;
            va_copy(hookArgs, args);
            std::string line = FormatStringV(lineFormat.c_str(), hookArgs);
            va_end(hookArgs);
            CallHook(line);
        }
    } catch (...) {
    }
}

// Built during static initialisation so that the lock exists before any program code logs.
[[maybe_unused]] CCriticalSection& gLogLockAtStartup = GetLogLock();

} // namespace

CCriticalSection& GetLogLock()
{
    // Never destroyed: threads and static destructors may still log at exit.
    static CCriticalSection* lock = new CCriticalSection;
    return *lock;
}

void LoggerInitialize(const std::string& fileName)
{
    CScopedLock lock(GetLogLock());
    if (gLogFile)
        return;
    std::string name = fileName;
    if (name.empty())
        name = ReplaceExtension(GetModuleFilePath(), ".log");
    // The log is recreated on every start; a file that cannot be opened leaves the logger without one,
    // and so does anything else in its place (a named pipe would hold the start until someone reads it).
    std::string why;
    const int fd = os::system::OpenRegularFile(ToSystemPath(name), O_WRONLY | O_CREAT | O_TRUNC, why);
    if (fd >= 0 && (gLogFile = ::fdopen(fd, "w")) == nullptr)
        ::close(fd);
}

void LoggerFinalize()
{
    CScopedLock lock(GetLogLock());
    if (gLogFile) {
        std::fclose(gLogFile);
        gLogFile = nullptr;
    }
}

void LoggerSetHook(LogHook hook)
{
    CScopedLock lock(GetLogLock());
    gHook = hook;
}

void LogInfoF(const char* format, ...)
{
    CScopedLock lock(GetLogLock());
    va_list args;
    va_start(args, format);
    WriteFormattedLine("INFO: ", format, args);
    va_end(args);
}

void LogErrorF(const char* format, ...)
{
    CScopedLock lock(GetLogLock());
    va_list args;
    va_start(args, format);
    WriteFormattedLine("ERROR: ", format, args);
    va_end(args);
}

void LogRawF(const char* format, ...)
{
    // Takes the lock as well: two threads writing raw lines would otherwise tear them.
    CScopedLock lock(GetLogLock());
    va_list args;
    va_start(args, format);
    WriteFormattedLine("", format, args);
    va_end(args);
}

void LogInfo(const std::string& text)
{
    CScopedLock lock(GetLogLock());
    try {
        if (gLogFile) {
            const std::string line = "INFO: " + text + "\n";
            std::fwrite(line.data(), 1, line.size(), gLogFile);
            std::fflush(gLogFile);
        }
        if (gHook)
            CallHook("INFO: " + text);
    } catch (...) {
    }
}

void LogErrorAt(const std::string& message, const char* sourceFile, int sourceLine)
{
    CScopedLock lock(GetLogLock());
    LogRawF("ERROR: \n\t%s\n\t%s(%d)", message.c_str(), sourceFile ? sourceFile : "", sourceLine);
}

void LogWin32Error(const char* sourceFile, int sourceLine)
{
    const std::uint32_t code = os::system::GetLastErrorCode();
    std::string text = os::system::GetLastErrorText();
    if (text.empty())
        text = "(no message)";
    CScopedLock lock(GetLogLock());
    LogRawF("ERROR: \n\tWin32Error(0x%x): %s\n\t%s(%d)", code, text.c_str(), sourceFile ? sourceFile : "", sourceLine);
}

void LogCurrentDateTime()
{
    CScopedLock lock(GetLogLock());
    // Reads TZ before the conversion, so the time and the zone name below agree.
    tzset();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) {
        LogErrorAt("Current date and time: Query failure.", kSourceFile, __LINE__);
        return;
    }
    char buffer[32] = {};
    if (!asctime_r(&local, buffer)) {
        LogErrorAt("Current date and time: Query failure.", kSourceFile, __LINE__);
        return;
    }
    std::string timeText = buffer;
    if (!timeText.empty())
        timeText.pop_back();
    std::string zone = tzname[0] ? tzname[0] : "";
    if (daylight != 0)
        zone += FormatString("%+d", daylight);
    LogInfo("Current date and time: " + timeText + "(" + zone + ")");
}

std::string GetCoreVersionString()
{
    return "1.10" + FormatString("(%04d) ", 31) + "Win32 " + "DBCS " + "Release " + "(" + __DATE__ + " " + __TIME__ +
           ") ";
}

} // namespace korvane
