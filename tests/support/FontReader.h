/** @file FontReader.h One of the program's fonts as the build made it, to find a text's pixels in a picture the
 * program drew one unit to a pixel. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvane::test
{

/// The glyphs of one built font (its table and page under the build's generated fonts).
class FontReader
{
public:
    explicit FontReader(const std::string& name);
    ~FontReader();
    FontReader(const FontReader&) = delete;
    FontReader& operator=(const FontReader&) = delete;

    std::int32_t LineHeight();
    /// The pixels of the text drawn from (x, y), as the font draws it, that its glyphs cover fully (`covered`) or
    /// leave bare inside their cells.
    std::vector<std::pair<int, int>> Pixels(const std::string& text, int x, int y, bool covered);
    /// Whether a picture (0xRRGGBB, row by row from the top) shows the text in white drawn from (x, y), within
    /// `slack` pixels either way: nearly every pixel its glyphs cover fully is white, and nearly every one they leave
    /// bare is not. A text still fading or moving into place is not shown yet.
    bool ShowsWhite(const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& text, int x,
                    int y, int slack = 2);

private:
    struct Glyphs;
    std::unique_ptr<Glyphs> glyphs_;
};

} // namespace korvane::test
