/** @file LogCapture.cpp Collects the log's lines through its hook. */
#include "support/LogCapture.h"

#include <mutex>

#include "KorvaneXDK/core/Log.h"

namespace korvane::test
{

namespace
{

std::mutex& Mutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<std::string>& Store()
{
    static std::vector<std::string> lines;
    return lines;
}

void Hook(const std::string& line)
{
    std::lock_guard<std::mutex> lock(Mutex());
    Store().push_back(line);
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
    std::lock_guard<std::mutex> lock(Mutex());
    return Store();
}

void LogCapture::Clear()
{
    std::lock_guard<std::mutex> lock(Mutex());
    Store().clear();
}

bool LogCapture::HasLine(const std::string& line)
{
    for (const auto& one : Lines())
        if (one == line)
            return true;
    return false;
}

bool LogCapture::Contains(const std::string& text)
{
    return CountContaining(text) > 0;
}

std::size_t LogCapture::CountContaining(const std::string& text)
{
    std::size_t count = 0;
    for (const auto& one : Lines())
        if (one.find(text) != std::string::npos)
            ++count;
    return count;
}

std::string LogCapture::All()
{
    std::string all;
    for (const auto& one : Lines()) {
        all += one;
        if (one.empty() || one.back() != '\n')
            all += '\n';
    }
    return all;
}

} // namespace korvane::test
