/** @file ConsoleHistory.h Every log line of the run, kept in memory. */
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "KorvaneXDK/core/Object.h"

/// Lines arrive from any thread (exception reports from a game thread come without the log's
/// own lock), so the history keeps its own lock and hands out copies. It is never trimmed.
class CConsoleHistory : public virtual korvane::CNonCopyable
{
public:
    ~CConsoleHistory() override;

    /// The one history, made on first use.
    static std::shared_ptr<CConsoleHistory> GetInstance();
    /// The log's line hook: appends to the one history.
    static void LogSink(const std::string& line);

    virtual std::size_t GetCount() const;
    /// A copy of line index (oldest first); throws std::out_of_range "invalid deque<T> subscript"
    /// at or past the count.
    virtual std::string GetLine(std::size_t index) const;
    void AppendLine(const std::string& line);

private:
    CConsoleHistory();

    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
};
