/** @file FontBuilder.cpp FreeType rendering, the page, and the ".kvf" and ".png" files. */
#include "tools/fontbuild/FontBuilder.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <sstream>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "os/system/AtomicFile.h"
#include "os/system/System.h"
#include "tools/common/PngWriter.h"
#include "tools/fontbuild/CharacterSet.h"
#include "tools/fontbuild/PagePacker.h"

namespace fontbuild
{

namespace
{

constexpr std::int32_t kRevision = 256;

std::string Hex(char32_t code)
{
    std::ostringstream text;
    text << "U+" << std::uppercase << std::hex << static_cast<std::uint32_t>(code);
    return text.str();
}

/// The library and its faces, released together.
class FreeTypeFaces
{
public:
    FreeTypeFaces()
    {
        if (FT_Init_FreeType(&library_) != 0) {
            throw Error("FreeType could not start");
        }
    }
    ~FreeTypeFaces()
    {
        for (FT_Face face : faces_) {
            FT_Done_Face(face);
        }
        FT_Done_FreeType(library_);
    }
    FreeTypeFaces(const FreeTypeFaces&) = delete;
    FreeTypeFaces& operator=(const FreeTypeFaces&) = delete;

    FT_Face Open(const std::string& path, std::uint32_t pixelSize, double scaleX)
    {
        FT_Face face = nullptr;
        if (FT_New_Face(library_, path.c_str(), 0, &face) != 0) {
            throw Error("cannot open the font \"" + path + "\"");
        }
        faces_.push_back(face);
        if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, pixelSize) != 0) {
            throw Error("the font \"" + path + "\" has no outlines to render at " + std::to_string(pixelSize) +
                        " pixels");
        }
        FT_Matrix scale{static_cast<FT_Fixed>(std::lround(scaleX * 65536.0)), 0, 0, 0x10000};
        FT_Set_Transform(face, &scale, nullptr);
        return face;
    }

private:
    FT_Library library_ = nullptr;
    std::vector<FT_Face> faces_;
};

std::int16_t ToInt16(long value, const char* what)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw Error(std::string("a glyph's ") + what + " does not fit the table's 16 bits");
    }
    return static_cast<std::int16_t>(value);
}

struct RenderedGlyph
{
    GlyphRecord record;
    std::vector<std::uint8_t> coverage; // record.width x record.height
    long top = 0;                       // bitmap top above the baseline
};

// The program's one replacing write: a link keeps pointing at the font, the old file's permissions stay, and a
// failure leaves the old file and no temporary one.
void WriteAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    if (!os::system::WriteFileAtomically(path, bytes.data(), bytes.size())) {
        throw Error("cannot write \"" + path + "\": " + os::system::GetLastErrorText());
    }
}

} // namespace

BuiltFont BuildFont(const FontSpec& spec)
{
    if (spec.fontFiles.empty()) {
        throw Error("no font file given");
    }
    if (spec.pixelSize == 0 || spec.pixelSize > 1024) {
        throw Error("the pixel size must be 1 to 1024");
    }
    if (!(spec.scaleX > 0.0 && spec.scaleX <= 8.0)) {
        throw Error("the horizontal scale must be above 0 and at most 8");
    }
    FreeTypeFaces library;
    std::vector<FT_Face> faces;
    for (const std::string& file : spec.fontFiles) {
        faces.push_back(library.Open(file, spec.pixelSize, spec.scaleX));
    }

    std::set<char32_t> wanted = spec.characters;
    wanted.insert(spec.required.begin(), spec.required.end());

    BuiltFont font;
    std::vector<RenderedGlyph> rendered;
    std::vector<bool> faceUsed(faces.size(), false);
    for (char32_t code : wanted) {
        std::size_t faceIndex = faces.size();
        FT_UInt glyphIndex = 0;
        for (std::size_t i = 0; i < faces.size() && code <= 0xFFFF; ++i) {
            glyphIndex = FT_Get_Char_Index(faces[i], code);
            if (glyphIndex != 0) {
                faceIndex = i;
                break;
            }
        }
        if (faceIndex == faces.size()) {
            if (spec.required.count(code) != 0) {
                font.missing.push_back(code);
            }
            continue;
        }
        FT_Face face = faces[faceIndex];
        faceUsed[faceIndex] = true;
        // Outlines only: embedded bitmaps would mix one-bit glyphs into the grey ones.
        if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_NO_BITMAP) != 0 ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            throw Error("cannot render " + Hex(code) + " from \"" + spec.fontFiles[faceIndex] + "\"");
        }
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.width != 0) {
            throw Error("FreeType rendered " + Hex(code) + " in an unexpected pixel mode");
        }
        RenderedGlyph glyph;
        glyph.record.code = static_cast<std::uint16_t>(code);
        glyph.record.width = ToInt16(static_cast<long>(bitmap.width), "width");
        glyph.record.height = ToInt16(static_cast<long>(bitmap.rows), "height");
        glyph.coverage.resize(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
        for (unsigned int row = 0; row < bitmap.rows; ++row) {
            const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            std::copy(source, source + bitmap.width,
                      glyph.coverage.begin() + static_cast<std::ptrdiff_t>(row) * bitmap.width);
        }
        long advance = (face->glyph->advance.x + 32) >> 6;
        long left = face->glyph->bitmap_left;
        if (spec.fixedAdvance != 0) {
            left += (static_cast<long>(spec.fixedAdvance) - advance) / 2;
            advance = static_cast<long>(spec.fixedAdvance);
        }
        glyph.record.offsetX = ToInt16(left, "offset");
        glyph.record.advance = ToInt16(advance, "advance");
        glyph.top = face->glyph->bitmap_top;
        rendered.push_back(std::move(glyph));
    }

    // One baseline for all faces: below the highest ascender of the faces that gave glyphs, the
    // line reaching down to the lowest descender.
    long ascender = 0;
    long descender = 0;
    bool any = false;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (!faceUsed[i] && !(i == 0 && rendered.empty())) {
            continue;
        }
        const long faceAscender = (faces[i]->size->metrics.ascender + 63) >> 6;
        const long faceDescender = -((-faces[i]->size->metrics.descender + 63) >> 6);
        ascender = any ? std::max(ascender, faceAscender) : faceAscender;
        descender = any ? std::min(descender, faceDescender) : faceDescender;
        any = true;
    }
    if (spec.fitLineToInk) {
        bool inked = false;
        for (const RenderedGlyph& glyph : rendered) {
            if (glyph.record.height == 0) {
                continue;
            }
            const long bottom = glyph.top - glyph.record.height;
            ascender = inked ? std::max(ascender, glyph.top) : glyph.top;
            descender = inked ? std::min(descender, bottom) : bottom;
            inked = true;
        }
    }
    font.lineHeight = static_cast<std::int32_t>(ascender - descender);

    std::vector<PackItem> items(rendered.size());
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        rendered[i].record.offsetY = ToInt16(ascender - rendered[i].top, "offset");
        items[i].width = static_cast<std::uint32_t>(rendered[i].record.width);
        items[i].height = static_cast<std::uint32_t>(rendered[i].record.height);
    }
    const PageSize page = PackOnSmallestPage(items);
    font.pageWidth = page.width;
    font.pageHeight = page.height;
    font.coverage.assign(static_cast<std::size_t>(page.width) * page.height, 0);
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        RenderedGlyph& glyph = rendered[i];
        glyph.record.x = ToInt16(items[i].x, "position");
        glyph.record.y = ToInt16(items[i].y, "position");
        const std::size_t width = items[i].width;
        for (std::size_t row = 0; row < items[i].height; ++row) {
            std::copy_n(glyph.coverage.begin() + static_cast<std::ptrdiff_t>(row * width), width,
                        font.coverage.begin() +
                            static_cast<std::ptrdiff_t>((items[i].y + row) * page.width + items[i].x));
        }
        font.glyphs.push_back(glyph.record);
    }
    return font;
}

std::vector<std::uint8_t> EncodeKvf(const BuiltFont& font)
{
    korvane::CMemoryStream head;
    head.WriteString("Revision");
    head.WriteInt32(kRevision);
    head.WriteString("LeftOffset");
    head.WriteInt32(font.leftOffset);
    head.WriteString("TopOffset");
    head.WriteInt32(font.topOffset);
    head.WriteString("LineHeight");
    head.WriteInt32(font.lineHeight);

    korvane::CMemoryStream table;
    table.WriteString("Revision");
    table.WriteInt32(kRevision);
    table.WriteString("Count");
    table.WriteInt32(static_cast<std::int32_t>(font.glyphs.size()));
    table.WriteString("Data");
    for (const GlyphRecord& glyph : font.glyphs) {
        table.WriteUInt16(glyph.code);
        for (std::int16_t value :
             {glyph.x, glyph.y, glyph.width, glyph.height, glyph.offsetX, glyph.offsetY, glyph.advance}) {
            table.WriteInt16(value);
        }
    }

    korvane::CRIFFWriter writer;
    writer.SetFormType(korvane::MakeFourCC("KVFT"));
    writer.AddChunk(korvane::MakeFourCC("head"), head);
    writer.AddChunk(korvane::MakeFourCC("glpt"), table);
    korvane::CMemoryStream file;
    writer.WriteTo(file);
    const auto* bytes = static_cast<const std::uint8_t*>(file.GetBuffer());
    return std::vector<std::uint8_t>(bytes, bytes + file.GetSize());
}

std::vector<std::uint8_t> EncodePng(const BuiltFont& font)
{
    // White everywhere; the coverage is the alpha.
    std::vector<std::uint8_t> pixels(font.coverage.size() * 4, 0xFF);
    for (std::size_t i = 0; i < font.coverage.size(); ++i) {
        pixels[i * 4 + 3] = font.coverage[i];
    }
    return tools::EncodePng(
        {.width = font.pageWidth, .height = font.pageHeight, .colourType = PNG_COLOR_TYPE_RGB_ALPHA, .pixels = pixels});
}

void WriteFont(const BuiltFont& font, const std::string& base)
{
    const std::filesystem::path folder = std::filesystem::path(base).parent_path();
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            throw Error("cannot make the folder \"" + folder.string() + "\": " + error.message());
        }
    }
    WriteAtomically(base + ".kvf", EncodeKvf(font));
    WriteAtomically(base + ".png", EncodePng(font));
}

std::string FindFontFile(const std::string& name)
{
    if (name.find('/') != std::string::npos) {
        if (!std::filesystem::is_regular_file(name)) {
            throw Error("no font file \"" + name + "\"");
        }
        return name;
    }
    std::vector<std::filesystem::path> folders;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && *dataHome != '\0') {
        folders.emplace_back(std::filesystem::path(dataHome) / "fonts");
    } else if (home != nullptr) {
        folders.emplace_back(std::filesystem::path(home) / ".local/share/fonts");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::istringstream dirs(dataDirs != nullptr && *dataDirs != '\0' ? dataDirs : "/usr/local/share:/usr/share");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (!dir.empty()) {
            folders.emplace_back(std::filesystem::path(dir) / "fonts");
        }
    }
    for (const std::filesystem::path& folder : folders) {
        std::error_code error;
        std::vector<std::filesystem::path> found;
        for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().filename() == name && it->is_regular_file()) {
                found.push_back(it->path());
            }
        }
        if (!found.empty()) {
            return std::min_element(found.begin(), found.end())->string();
        }
    }
    throw Error("no font file named \"" + name + "\" in the system's font folders");
}

} // namespace fontbuild
