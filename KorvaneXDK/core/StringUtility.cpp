/** @file StringUtility.cpp Formatting, number conversions, lower-casing and text conversions. */
#include "KorvaneXDK/core/StringUtility.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <locale.h>

namespace korvane
{

namespace
{

/// The classic locale, made once and kept for the life of the process.
locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = kReplacement;
    if (c < 0x80)
        out += static_cast<char>(c);
    else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one code point at text[i], advancing i; malformed or overlong input gives U+FFFD
// and consumes one byte, so decoding always moves forward.
char32_t DecodeUtf8(const std::string& text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0)
        length = 2, c = lead & 0x1F, minimum = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, c = lead & 0x0F, minimum = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, c = lead & 0x07, minimum = 0x10000;
    else {
        ++i;
        return kReplacement;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += static_cast<std::size_t>(length);
    return c;
}

} // namespace

std::string FormatStringV(const char* format, va_list args)
{
    // 511 usable bytes including the terminator: at most 510 characters.
    char buffer[512];
    va_list copy;
    va_copy(copy, args);
    int written = std::vsnprintf(buffer, kFormatStringLimit + 1, format, copy);
    va_end(copy);
    if (written < 0)
        return std::string();
    return std::string(buffer);
}

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = FormatStringV(format, args);
    va_end(args);
    return result;
}

std::string IntToString(int value)
{
    return std::to_string(value);
}

int StringToInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1)
            value = static_cast<std::int64_t>(INT_MAX) + 1; // saturate: the result is clamped below
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float StringToFloat(const std::string& text)
{
    // Numbers in data files use a decimal point whatever locale the process runs in. Only this
    // thread switches, for the one conversion; the process locale is left alone.
    const locale_t classic = ClassicLocale();
    const locale_t previous = classic != static_cast<locale_t>(nullptr) ? uselocale(classic) : nullptr;
    float value = 0.0f;
    if (std::sscanf(text.c_str(), "%f", &value) != 1)
        value = 0.0f;
    if (previous != static_cast<locale_t>(nullptr))
        uselocale(previous);
    return value;
}

std::string ToLowerString(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string WideToMultiByte(const std::wstring& text)
{
    std::string result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (c == 0)
            break; // the text ends at its first terminator
        AppendUtf8(result, static_cast<char32_t>(c));
    }
    return result;
}

std::string ToMultiByte(const std::wstring& text)
{
    return WideToMultiByte(text);
}

std::wstring MultiByteToWide(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\0')
            break;
        result += static_cast<wchar_t>(DecodeUtf8(text, i));
    }
    return result;
}

std::string Utf8ToMultiByte(const std::string& text)
{
    return WideToMultiByte(MultiByteToWide(text));
}

} // namespace korvane
