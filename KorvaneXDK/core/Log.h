/** @file Log.h The process-wide log file and its line hook. */
#pragma once

#include <string>

namespace korvane
{

class CCriticalSection;

/// Receives every log line as well (the console history).
using LogHook = void (*)(const std::string& line);

/// Opens the log file (the first call wins). An empty name puts "<program>.log" beside the program.
void LoggerInitialize(const std::string& fileName);
void LoggerFinalize();
void LoggerSetHook(LogHook hook);

void LogInfoF(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogErrorF(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogRawF(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogInfo(const std::string& text);
void LogErrorAt(const std::string& message, const char* sourceFile, int sourceLine);
void LogWin32Error(const char* sourceFile, int sourceLine);
void LogCurrentDateTime();
std::string GetCoreVersionString();

/// The recursive lock that serialises every log line; alive from static initialisation to exit.
CCriticalSection& GetLogLock();

} // namespace korvane
