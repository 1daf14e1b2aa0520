/** @file CharacterSet.cpp Code ranges and the characters of UTF-8 files. */
#include "tools/fontbuild/CharacterSet.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "KorvaneXDK/core/StringUtility.h"

namespace fontbuild
{

namespace
{

char32_t ParseCode(const std::string& text, const std::string& spec)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        throw Error("bad character range \"" + spec + "\" (expected hexadecimal codes like 20-7E)");
    }
    const unsigned long code = std::strtoul(text.c_str(), nullptr, 16);
    if (code > 0xFFFF) {
        throw Error("character range \"" + spec + "\" reaches past FFFF; glyph tables hold 16-bit codes");
    }
    return static_cast<char32_t>(code);
}

} // namespace

void AddRange(std::set<char32_t>& out, const std::string& spec)
{
    const std::size_t dash = spec.find('-');
    const char32_t first = ParseCode(spec.substr(0, dash), spec);
    const char32_t last = dash == std::string::npos ? first : ParseCode(spec.substr(dash + 1), spec);
    if (last < first) {
        throw Error("character range \"" + spec + "\" ends before it starts");
    }
    for (char32_t code = first; code <= last; ++code) {
        out.insert(code);
    }
}

void AddCharactersOfText(std::set<char32_t>& out, const std::string& text, bool commentLines)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (commentLines && !line.empty() && line[0] == '#') {
            continue;
        }
        for (wchar_t c : korvane::MultiByteToWide(line)) {
            const char32_t code = static_cast<char32_t>(c);
            if (code < 0x20 || code == 0x7F || code == 0xFEFF) {
                continue;
            }
            out.insert(code);
        }
    }
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Error("cannot read \"" + path + "\"");
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace fontbuild
