/** @file ConsoleHistory.cpp Every log line of the run, kept in memory. */
#include "host/ConsoleHistory.h"

#include <stdexcept>

CConsoleHistory::CConsoleHistory() = default;

CConsoleHistory::~CConsoleHistory() = default;

std::shared_ptr<CConsoleHistory> CConsoleHistory::GetInstance()
{
    // A local static: the first log lines may come from two threads at once.
    static const std::shared_ptr<CConsoleHistory> instance(new CConsoleHistory);
    return instance;
}

void CConsoleHistory::LogSink(const std::string& line)
{
    GetInstance()->AppendLine(line);
}

std::size_t CConsoleHistory::GetCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_.size();
}

std::string CConsoleHistory::GetLine(std::size_t index) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= lines_.size())
        throw std::out_of_range("invalid deque<T> subscript");
    return lines_[index];
}

void CConsoleHistory::AppendLine(const std::string& line)
{
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
}
