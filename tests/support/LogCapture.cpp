/** @file LogCapture.cpp Collects the log's lines through its hook. */
#include "support/LogCapture.h"

#include <algorithm>
#include <mutex>

#include "KorvaneXDK/core/Log.h"

namespace korvane::test
{

namespace
{

// Made on first use, so that captures in other files' statics find it.
struct Captured
{
    std::mutex mutex;
    std::vector<std::string> lines;
};

Captured& Store()
{
    static Captured captured;
    return captured;
}

void Hook(const std::string& line)
{
    std::lock_guard<std::mutex> lock(Store().mutex);
    Store().lines.push_back(line);
}

} // namespace

LogCapture::LogCapture()
{
    Clear();
    LoggerSetHook(&Hook);
}

LogCapture::~LogCapture()
{
    LoggerSetHook(nullptr);
}

std::vector<std::string> LogCapture::Lines()
{
    std::lock_guard<std::mutex> lock(Store().mutex);
    return Store().lines;
}

void LogCapture::Clear()
{
    std::lock_guard<std::mutex> lock(Store().mutex);
    Store().lines.clear();
}

bool LogCapture::HasLine(const std::string& line)
{
    return std::ranges::count(Lines(), line) > 0;
}

std::size_t LogCapture::CountContaining(const std::string& text)
{
    return static_cast<std::size_t>(
        std::ranges::count_if(Lines(), [&](const std::string& one) { return one.find(text) != std::string::npos; }));
}

std::string LogCapture::All()
{
    std::string all;
    for (const auto& one : Lines()) {
        all += one.ends_with('\n') ? one : one + '\n';
    }
    return all;
}

} // namespace korvane::test
