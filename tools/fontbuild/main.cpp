/** @file main.cpp The fontbuild command: renders a bitmap font (".kvf" table and ".png" page) from font files. */
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "tools/fontbuild/CharacterSet.h"
#include "tools/fontbuild/FontBuilder.h"

namespace
{

constexpr const char* kUsage =
    "usage: fontbuild --output BASE --size PIXELS --font FILE [--font FILE]...\n"
    "                 [--scale-x FACTOR] [--advance PIXELS] [--fit-line]\n"
    "                 [--range FIRST-LAST]... [--chars FILE]... [--text FILE]...\n"
    "  Writes BASE.kvf and BASE.png. Fonts are tried in order; a file name without a folder is\n"
    "  looked up in the system's font folders. --range takes hexadecimal codes; --chars adds every\n"
    "  character of a UTF-8 list (lines starting with # are comments), --text every character of a\n"
    "  text file. Characters of --chars and --text files that no font holds are reported.\n"
    "  --fit-line makes the line reach from the highest to the lowest ink of the characters\n"
    "  rendered rather than from the fonts' ascender to their descender.\n";

std::uint32_t ParseCount(const std::string& text, const char* option)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value > 65535) {
        throw fontbuild::Error(std::string("bad number for ") + option + ": \"" + text + "\"");
    }
    return static_cast<std::uint32_t>(value);
}

int Run(const std::vector<std::string>& args)
{
    fontbuild::FontSpec spec;
    std::string output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (option == "--fit-line") {
            spec.fitLineToInk = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            std::cerr << "fontbuild: " << option << " needs a value\n" << kUsage;
            return 2;
        }
        const std::string& value = args[++i];
        if (option == "--output") {
            output = value;
        } else if (option == "--size") {
            spec.pixelSize = ParseCount(value, "--size");
        } else if (option == "--advance") {
            spec.fixedAdvance = ParseCount(value, "--advance");
        } else if (option == "--scale-x") {
            char* end = nullptr;
            spec.scaleX = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0') {
                throw fontbuild::Error("bad number for --scale-x: \"" + value + "\"");
            }
        } else if (option == "--font") {
            spec.fontFiles.push_back(fontbuild::FindFontFile(value));
        } else if (option == "--range") {
            fontbuild::AddRange(spec.characters, value);
        } else if (option == "--chars" || option == "--text") {
            fontbuild::AddCharactersOfText(spec.required, fontbuild::ReadWholeFile(value), option == "--chars");
        } else {
            std::cerr << "fontbuild: unknown option " << option << "\n" << kUsage;
            return 2;
        }
    }
    if (output.empty() || spec.fontFiles.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const fontbuild::BuiltFont font = fontbuild::BuildFont(spec);
    fontbuild::WriteFont(font, output);
    std::cout << output << ": " << font.glyphs.size() << " glyphs, page " << font.pageWidth << " x " << font.pageHeight
              << ", line height " << font.lineHeight << "\n";
    for (char32_t code : font.missing) {
        std::cerr << "fontbuild: warning: no font holds U+" << std::hex << std::uppercase
                  << static_cast<std::uint32_t>(code) << std::dec << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::cerr << "fontbuild: " << error.what() << "\n";
        return 1;
    }
}
