/** @file LogCapture.h Collects the log's lines through its hook while it lives. */
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace korvane::test
{

/// Sets the log hook for its lifetime (one capture at a time); lines may come from any thread.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    static std::vector<std::string> Lines();
    static void Clear();
    /// True when some line is exactly `line`.
    static bool HasLine(const std::string& line);
    /// True when some line contains `text`.
    static bool Contains(const std::string& text) { return CountContaining(text) > 0; }
    static std::size_t CountContaining(const std::string& text);
    /// Every line, each on a line of its own (for failure messages).
    static std::string All();
};

} // namespace korvane::test
