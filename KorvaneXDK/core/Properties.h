/** @file Properties.h Key=value text tables (settings, text tables, appearance and glyph files). */
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <boost/tokenizer.hpp>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane
{

namespace comparator_for_properties
{

/// Orders keys by their ASCII-lower-cased bytes, so keys differing only in case are one key.
struct less_ignorecase
{
    bool operator()(const std::string& a, const std::string& b) const;
};

} // namespace comparator_for_properties

/// A table of key=value lines. The text format: lines split at every run of "\r" and "\n";
/// a line starting with ";" is a comment; the first "=" splits key and value; nothing is
/// trimmed; lines without "=" are ignored; a later line with the same key wins (the key
/// keeps the spelling it was first inserted with). Saved as "key=value\r\n" in key order.
template <typename Compare>
class TProperties : public virtual CObject
{
public:
    using Map = std::map<std::string, std::string, Compare>;

    ~TProperties() override = default;

    virtual void Clear() { entries_.clear(); }
    /// A copy of the key's value, or of the default when the key is absent.
    virtual std::string Get(const std::string& key, const std::string& defaultValue) const
    {
        auto found = entries_.find(key);
        return found == entries_.end() ? defaultValue : found->second;
    }
    virtual void Set(const std::string& key, const std::string& value)
    {
        auto found = entries_.find(key);
        if (found == entries_.end())
            entries_.emplace(key, value);
        else
            found->second = value;
    }
    /// Writes "key=value\r\n" per entry at the stream's position (raw bytes only).
    virtual void SaveToStream(IKorvaneStream& out) const
    {
        std::vector<std::string> lines;
        GetLines(lines);
        std::string text;
        for (const std::string& line : lines) {
            text += line;
            text += "\r\n";
        }
        WriteAll(out, text);
    }
    /// Adds the entries of the whole stream (read from its start) to the table, which is
    /// not cleared first. A zero byte ends the text.
    virtual void LoadFromStream(IKorvaneStream& in)
    {
        CMemoryStream text;
        text.CopyFrom(in, 0);
        std::string whole;
        if (text.GetBuffer() != nullptr)
            whole.assign(reinterpret_cast<const char*>(text.GetBuffer()), static_cast<std::size_t>(text.GetSize()));
        whole.resize(std::min(whole.size(), whole.find('\0')));
        std::vector<std::string> lines;
        boost::char_separator<char> breaks("\r\n");
        boost::tokenizer<boost::char_separator<char>> pieces(whole, breaks);
        for (const std::string& piece : pieces)
            lines.push_back(piece);
        ParseLines(lines);
    }
    /// Appends "key=value" for every entry in key order.
    virtual void GetLines(std::vector<std::string>& out) const
    {
        for (const auto& entry : entries_)
            out.push_back(entry.first + "=" + entry.second);
    }
    /// Adds the entries of the given lines in order.
    virtual void ParseLines(const std::vector<std::string>& lines)
    {
        for (const std::string& line : lines) {
            if (!line.empty() && line[0] == ';')
                continue;
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos)
                continue;
            Set(line.substr(0, equals), line.substr(equals + 1));
        }
    }

    /// Every entry, in key order.
    const Map& GetEntries() const { return entries_; }

private:
    void WriteAll(IKorvaneStream& out, const std::string& text) const
    {
        std::size_t done = 0;
        while (done < text.size()) {
            const std::size_t piece = std::min<std::size_t>(text.size() - done, 1u << 30);
            const std::int32_t written = out.Write(text.data() + done, static_cast<std::int32_t>(piece));
            if (written <= 0)
                throw EWriteError(this, "Failed to write properties");
            done += static_cast<std::size_t>(written);
        }
    }

    Map entries_;
};

extern template class TProperties<std::less<std::string>>;
extern template class TProperties<comparator_for_properties::less_ignorecase>;

} // namespace korvane
