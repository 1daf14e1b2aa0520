/** @file CharacterSet.h Which characters a font gets: code ranges and the characters of text files. */
#pragma once

#include <set>
#include <stdexcept>
#include <string>

namespace fontbuild
{

/// A failure of the builder, with a message for the command line.
class Error : public std::runtime_error
{
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

/// Adds "20-7E" (hexadecimal, both ends included) or a single code "3013". Codes past U+FFFF
/// and reversed ranges are refused.
void AddRange(std::set<char32_t>& out, const std::string& spec);

/// Adds every character of UTF-8 text except control characters and the byte-order mark.
/// With `commentLines`, lines starting with "#" are left out.
void AddCharactersOfText(std::set<char32_t>& out, const std::string& text, bool commentLines);

/// The bytes of a file; throws Error when it cannot be read.
std::string ReadWholeFile(const std::string& path);

} // namespace fontbuild
