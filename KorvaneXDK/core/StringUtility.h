/** @file StringUtility.h Formatting, number conversions, lower-casing and text conversions. */
#pragma once

#include <cstdarg>
#include <string>

namespace korvane
{

/// Longest text FormatString returns (and the log hook receives).
constexpr std::size_t kFormatStringLimit = 510;

/// printf-style formatting; output past 510 characters is cut without an error.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatStringV(const char* format, va_list args);

std::string IntToString(int value);
/// The leading decimal integer (white space and a sign allowed), clamped to int; 0 when none.
int StringToInt(const std::string& text);
/// The leading number as scanf "%f" reads it; 0.0 when none. Always in the "C" locale.
float StringToFloat(const std::string& text);
/// Lower-cases ASCII letters only, so UTF-8 text stays intact.
std::string ToLowerString(const std::string& text);

/// Narrow text is UTF-8; wide text holds code points. Invalid input becomes U+FFFD.
std::string WideToMultiByte(const std::wstring& text);
std::string ToMultiByte(const std::wstring& text);
std::wstring MultiByteToWide(const std::string& text);
/// Validates UTF-8, replacing invalid sequences with U+FFFD.
std::string Utf8ToMultiByte(const std::string& text);

} // namespace korvane
