/** @file fuzz_font_table.cpp Texture font glyph tables, KVF and text, on any bytes. */
#include "FuzzSupport.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const bool textFormat : {false, true}) {
        fuzz::Stream stream(data, size);
        korvane::CTextureFont font;
        try {
            font.LoadTable(stream, textFormat);
        } catch (const korvane::EException&) {
            continue;
        }
        if (textFormat) {
            // One glyph for every code of the range, which stays inside the 16-bit codes.
            const std::uint32_t start = font.GetStartCode();
            const std::uint32_t end = font.GetEndCode();
            fuzz::Check(start <= 0xFFFF && end <= 0xFFFF, "a code range beyond 16 bits");
            fuzz::Check(font.GetGlyphCount() == (start <= end ? end - start + 1 : 0),
                        "the glyphs do not fill the code range");
        } else {
            // Every glyph record takes 16 bytes of the file.
            fuzz::Check(font.GetGlyphCount() <= size / 16, "more glyphs than the file can hold");
        }
        for (std::uint32_t code = 0; code < 0x80; ++code) {
            if (const korvane::CTextureFont::Glyph* glyph = font.FindGlyph(static_cast<std::uint16_t>(code)))
                fuzz::Check(glyph->Right == static_cast<std::int16_t>(glyph->X + glyph->Width) &&
                                glyph->Bottom == static_cast<std::int16_t>(glyph->Y + glyph->Height),
                            "a glyph's right or bottom edge is not its position plus its size");
        }
        // The bytes as text: malformed UTF-8 and missing glyphs take their fallbacks.
        std::int32_t width = 0;
        std::int32_t height = 0;
        font.MeasureText(std::string(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 256)), width,
                         height);
    }
    return 0;
}
