/** @file ConsoleFrameComposer.cpp Composes the console display into the frames the main form shows. */
#include "host/ConsoleFrameComposer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define KORVANE_CONSOLE_WIDE_CELLS 1
#endif

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "host/ConsoleDisplayState.h"
#include "host/ConsoleServices.h"
#include "host/ResourceScene.h"

namespace
{

using korvane::CScopedLock;
using korvane::PackedColor;

std::uint32_t PatternRowWord(const ConsoleDisplayState& state, int pattern, int row)
{
    const std::uint8_t* bytes = &state.TilePatterns[pattern * kConsolePatternBytes + row * 4];
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

/// A pattern row (four bytes, the left pixel of each in its high nibble) as eight nibbles with
/// pixel c in bits 4c to 4c + 3, or pixel 7 - c there when mirrored.
std::uint32_t SpreadPatternRow(std::uint32_t word, bool mirrored)
{
    const auto swapNibbles = [](std::uint32_t w) { return ((w >> 4) & 0x0F0F0F0Fu) | ((w & 0x0F0F0F0Fu) << 4); };
    std::uint32_t spread = swapNibbles(word);
    if (mirrored)
        spread = swapNibbles(__builtin_bswap32(spread));
    return spread;
}

/// Whether any of the eight nibbles is 0 (a transparent pixel).
bool HasTransparentPixel(std::uint32_t spread)
{
    return ((spread - 0x11111111u) & ~spread & 0x88888888u) != 0;
}

/// Writes `count` pixels from nibble `first` of the spread row on; value 0 keeps the pixel
/// below. Without branches on the pixel values, which are as good as random.
inline void PutPixels(PackedColor* out, const PackedColor* palette, std::uint32_t spread, int first, int count)
{
    spread >>= 4 * first;
    const auto blend = [&](int k) {
        const std::uint32_t v = (spread >> (4 * k)) & 0xF;
        const std::uint32_t keep = 0u - static_cast<std::uint32_t>(v == 0);
        out[k] = (palette[v] & ~keep) | (out[k] & keep);
    };
    if (count == 8) {
        if (HasTransparentPixel(spread)) {
            for (int k = 0; k < 8; ++k)
                blend(k);
        } else {
            for (int k = 0; k < 8; ++k)
                out[k] = palette[(spread >> (4 * k)) & 0xF];
        }
        return;
    }
    for (int k = 0; k < count; ++k)
        blend(k);
}

/// As PutPixels over a freshly cleared row: value 0 is the backdrop, which the palette's
/// entry 0 holds here, so every pixel is simply written.
inline void PutPixelsOverBackdrop(PackedColor* out, const PackedColor* palette, std::uint32_t spread, int first,
                                  int count)
{
    spread >>= 4 * first;
    for (int k = 0; k < count; ++k)
        out[k] = palette[(spread >> (4 * k)) & 0xF];
}

/// Draws the pixels x in [begin, end) of one buffer row of a tile layer; ty is the map row in
/// pixels. The scrolled column runs on 32-bit unsigned arithmetic, which wraps exactly like the
/// two's-complement sum and keeps the same low bits. Over the backdrop, `palettes` has the
/// backdrop in every entry 0.
template <bool OverBackdrop>
void DrawLayerSpan(const ConsoleDisplayState& state, const PackedColor* palettes, int layer, PackedColor* row,
                   std::int32_t begin, std::int32_t end, std::uint32_t scrollX, std::uint32_t ty)
{
    const ConsoleTileCell* mapRow = state.TileMaps[layer][(ty >> 3) & 31];
    const int patternRow = static_cast<int>(ty & 7);
    std::uint32_t tx = static_cast<std::uint32_t>(begin) + scrollX;
    std::int32_t x = begin;
    while (x < end) {
        const int column = static_cast<int>(tx & 7);
        const std::int32_t run = std::min<std::int32_t>(8 - column, end - x);
        const ConsoleTileCell cell = mapRow[(tx >> 3) & 31];
        const int rowInPattern = (cell & 0x8000) ? 7 - patternRow : patternRow;
        const std::uint32_t word = PatternRowWord(state, ConsoleTileCellPattern(cell), rowInPattern);
        const PackedColor* palette = &palettes[ConsoleTileCellPalette(cell) * kConsolePaletteEntries];
        const std::uint32_t spread = SpreadPatternRow(word, (cell & 0x4000) != 0);
        if constexpr (OverBackdrop)
            PutPixelsOverBackdrop(row + x, palette, spread, column, run);
        else if (word != 0)
            PutPixels(row + x, palette, spread, column, run);
        x += run;
        tx += static_cast<std::uint32_t>(run);
    }
}

#if defined(KORVANE_CONSOLE_WIDE_CELLS)
/// Whether the processor runs the eight-pixel cell writer below, and whether it is wanted.
bool HasWideCells()
{
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return has;
}
std::atomic<bool> gWideCellsWanted{true};

/// Nibble shifts that put pixel c of a pattern row's four bytes, read as one little-endian word
/// (pixel c in bits 4 (c ^ 1) to 4 (c ^ 1) + 3), in lane c: plain, and mirrored (pixel 7 - c).
alignas(32) constexpr std::int32_t kCellShifts[2][8] = {{4, 0, 12, 8, 20, 16, 28, 24}, {24, 28, 16, 20, 8, 12, 0, 4}};

/// Eight pixels of one pattern row at once, without a branch on the (as good as random) pixel
/// values or mirror bits: the sixteen palette entries sit in two registers and each lane picks
/// its entry by permutation; value 0 keeps what `out` holds unless the row lies over the
/// backdrop (whose colour is then every palette's entry 0). `word` is the row's four bytes.
template <bool OverBackdrop>
__attribute__((target("avx2"), always_inline)) inline void PutCellWide(PackedColor* out, const PackedColor* palette,
                                                                       std::uint32_t word, bool mirrored)
{
    const __m256i shifts = _mm256_load_si256(reinterpret_cast<const __m256i*>(kCellShifts[mirrored ? 1 : 0]));
    const __m256i index =
        _mm256_and_si256(_mm256_srlv_epi32(_mm256_set1_epi32(static_cast<int>(word)), shifts), _mm256_set1_epi32(15));
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(palette));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(palette + 8));
    const __m256 fromLow = _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(low, index));
    const __m256 fromHigh = _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(high, index));
    // Index bit 3 moved to the sign bit chooses the upper eight entries.
    const __m256 upper = _mm256_castsi256_ps(_mm256_slli_epi32(index, 28));
    __m256i colours = _mm256_castps_si256(_mm256_blendv_ps(fromLow, fromHigh, upper));
    if constexpr (!OverBackdrop) {
        const __m256i transparent = _mm256_cmpeq_epi32(index, _mm256_setzero_si256());
        colours = _mm256_blendv_epi8(colours, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out)), transparent);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), colours);
}

/// A pattern row's four bytes as PatternRowWord reads them (this path runs on little-endian
/// processors only).
inline std::uint32_t LoadPatternRow(const std::uint8_t* bytes)
{
    std::uint32_t word;
    std::memcpy(&word, bytes, 4);
    return word;
}

/// DrawLayerSpan with every whole cell written eight pixels at once; the partial cells at
/// either end go through the portable writer.
template <bool OverBackdrop>
__attribute__((target("avx2"))) void DrawLayerSpanWide(const ConsoleDisplayState& state, const PackedColor* palettes,
                                                       int layer, PackedColor* row, std::int32_t begin,
                                                       std::int32_t end, std::uint32_t scrollX, std::uint32_t ty)
{
    const std::uint32_t firstColumn = static_cast<std::uint32_t>(begin) + scrollX;
    // Up to the first cell boundary, the whole cells, then what is left of the last one.
    const std::int32_t head =
        std::min<std::int32_t>(static_cast<std::int32_t>((8 - (firstColumn & 7)) & 7), end - begin);
    const std::int32_t wholeBegin = begin + head;
    const std::int32_t wholeEnd = wholeBegin + ((end - wholeBegin) & ~7);
    if (head > 0)
        DrawLayerSpan<OverBackdrop>(state, palettes, layer, row, begin, wholeBegin, scrollX, ty);

    const ConsoleTileCell* mapRow = state.TileMaps[layer][(ty >> 3) & 31];
    const std::uint8_t* rows[2] = {&state.TilePatterns[(ty & 7) * 4], &state.TilePatterns[(7 - (ty & 7)) * 4]};
    std::uint32_t cellColumn = (static_cast<std::uint32_t>(wholeBegin) + scrollX) >> 3;
    for (std::int32_t x = wholeBegin; x < wholeEnd; x += 8, ++cellColumn) {
        const ConsoleTileCell cell = mapRow[cellColumn & 31];
        const std::uint32_t word =
            LoadPatternRow(rows[(cell >> 15) & 1] + ConsoleTileCellPattern(cell) * kConsolePatternBytes);
        PutCellWide<OverBackdrop>(row + x, &palettes[ConsoleTileCellPalette(cell) * kConsolePaletteEntries], word,
                                  (cell & 0x4000) != 0);
    }

    if (wholeEnd < end)
        DrawLayerSpan<OverBackdrop>(state, palettes, layer, row, wholeEnd, end, scrollX, ty);
}

/// One sprite row of eight pixels lying wholly inside its buffer row.
__attribute__((target("avx2"))) void PutSpriteRowWide(PackedColor* out, const PackedColor* palette,
                                                      const std::uint8_t* bytes, bool mirrored)
{
    PutCellWide<false>(out, palette, LoadPatternRow(bytes), mirrored);
}

bool UseWideCells()
{
    return HasWideCells() && gWideCellsWanted.load(std::memory_order_relaxed);
}
#endif

void FillPixels(PackedColor* out, std::int32_t count, PackedColor colour)
{
    std::int32_t k = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
    for (; k + 4 <= count; k += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), four);
#endif
    for (; k < count; ++k)
        out[k] = colour;
}

#if defined(KORVANE_CONSOLE_WIDE_CELLS)
/// DoubleRow eight source pixels at a time.
__attribute__((target("avx2"))) std::int32_t DoubleRowWide(PackedColor* even, PackedColor* odd, const PackedColor* from,
                                                           std::int32_t count)
{
    const __m256i lowHalf = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    const __m256i highHalf = _mm256_setr_epi32(4, 4, 5, 5, 6, 6, 7, 7);
    std::int32_t c = 0;
    for (; c + 8 <= count; c += 8) {
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + c));
        const __m256i low = _mm256_permutevar8x32_epi32(pixels, lowHalf);
        const __m256i high = _mm256_permutevar8x32_epi32(pixels, highHalf);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(even + 2 * c), low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(even + 2 * c + 8), high);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(odd + 2 * c), low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(odd + 2 * c + 8), high);
    }
    return c;
}
#endif

/// Each of `count` source pixels twice over, into both destination rows.
void DoubleRow(PackedColor* even, PackedColor* odd, const PackedColor* from, std::int32_t count)
{
    std::int32_t c = 0;
#if defined(KORVANE_CONSOLE_WIDE_CELLS)
    if (UseWideCells())
        c = DoubleRowWide(even, odd, from, count);
#endif
#if defined(__SSE2__)
    for (; c + 4 <= count; c += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + c));
        const __m128i low = _mm_unpacklo_epi32(pixels, pixels);
        const __m128i high = _mm_unpackhi_epi32(pixels, pixels);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(even + 2 * c), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(even + 2 * c + 4), high);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(odd + 2 * c), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(odd + 2 * c + 4), high);
    }
#endif
    for (; c < count; ++c) {
        even[2 * c] = even[2 * c + 1] = from[c];
        odd[2 * c] = odd[2 * c + 1] = from[c];
    }
}

std::int32_t ClampTo(std::int64_t value, std::int32_t low, std::int32_t high)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

/// What of a tile layer one composition draws: rows [y0, y1) and columns [x0, x1), less the
/// columns [holeX0, holeX1) in rows [holeY0, holeY1); all inside the buffer.
struct LayerRegion
{
    std::int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    std::int32_t holeX0 = 0, holeX1 = 0, holeY0 = 0, holeY1 = 0;
    std::uint32_t scrollX = 0, scrollY = 0;
};

/// Draws the region's rows with the span writer given (the portable or the wide one).
template <void (*OverBackdropSpan)(const ConsoleDisplayState&, const PackedColor*, int, PackedColor*, std::int32_t,
                                   std::int32_t, std::uint32_t, std::uint32_t),
          void (*OverBufferSpan)(const ConsoleDisplayState&, const PackedColor*, int, PackedColor*, std::int32_t,
                                 std::int32_t, std::uint32_t, std::uint32_t)>
void DrawLayerRows(const ConsoleDisplayState& state, CMemoryBackBuffer& buffer, int layer,
                   const PackedColor* overBackdrop, const LayerRegion& region)
{
    for (std::int32_t y = region.y0; y < region.y1; ++y) {
        PackedColor* row = buffer.GetRow(y);
        const std::uint32_t ty = static_cast<std::uint32_t>(y) + region.scrollY;
        if (overBackdrop != nullptr) {
            OverBackdropSpan(state, overBackdrop, layer, row, region.x0, region.x1, region.scrollX, ty);
        } else if (y >= region.holeY0 && y < region.holeY1) {
            OverBufferSpan(state, state.Palettes, layer, row, region.x0, region.holeX0, region.scrollX, ty);
            OverBufferSpan(state, state.Palettes, layer, row, region.holeX1, region.x1, region.scrollX, ty);
        } else {
            OverBufferSpan(state, state.Palettes, layer, row, region.x0, region.x1, region.scrollX, ty);
        }
    }
}

/// The tile layer over whatever the buffer holds, or (with `overBackdrop`, the palettes with
/// the backdrop in every entry 0) over a buffer just cleared to the backdrop; that form serves
/// layer 0, which never uses the window. The caller holds the display lock.
void ComposeTileLayer(CMemoryBackBuffer& buffer, int layer, const PackedColor* overBackdrop)
{
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;
    DisplayGetScroll(layer, scrollX, scrollY);
    std::int32_t windowX = 0;
    std::int32_t windowY = 0;
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
    DisplayGetWindow(windowX, windowY, windowWidth, windowHeight);
    const std::int64_t windowRight = static_cast<std::int64_t>(windowX) + windowWidth;
    const std::int64_t windowBottom = static_cast<std::int64_t>(windowY) + windowHeight;
    const int windowUse = state.DisplayMode & kConsoleModeWindowMask;

    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = kConsoleScreenWidth;
    std::int64_t bottom = kConsoleScreenHeight;
    if (layer == 1 && windowUse == kConsoleModeWindowInside) {
        left = windowX;
        top = windowY;
        right = windowRight;
        bottom = windowBottom;
    }
    // Whatever the window says, nothing lands outside the composition (or a smaller buffer).
    LayerRegion region;
    const std::int32_t limitX = std::min(buffer.GetWidth(), CConsoleFrameComposer::kCompositionSize);
    const std::int32_t limitY = std::min(buffer.GetHeight(), CConsoleFrameComposer::kCompositionSize);
    region.x0 = ClampTo(left, 0, limitX);
    region.x1 = ClampTo(right, region.x0, limitX);
    region.y0 = ClampTo(top, 0, limitY);
    region.y1 = ClampTo(bottom, region.y0, limitY);
    // Outside-the-window use cuts the window out of the rows it covers.
    if (layer == 1 && windowUse == kConsoleModeWindowOutside) {
        region.holeX0 = ClampTo(windowX, region.x0, region.x1);
        region.holeX1 = ClampTo(windowRight, region.holeX0, region.x1);
        if (region.holeX0 < region.holeX1) {
            region.holeY0 = ClampTo(windowY, region.y0, region.y1);
            region.holeY1 = ClampTo(windowBottom, region.holeY0, region.y1);
        }
    }
    region.scrollX = static_cast<std::uint32_t>(scrollX);
    region.scrollY = static_cast<std::uint32_t>(scrollY);
#if defined(KORVANE_CONSOLE_WIDE_CELLS)
    if (UseWideCells()) {
        DrawLayerRows<DrawLayerSpanWide<true>, DrawLayerSpanWide<false>>(state, buffer, layer, overBackdrop, region);
        return;
    }
#endif
    DrawLayerRows<DrawLayerSpan<true>, DrawLayerSpan<false>>(state, buffer, layer, overBackdrop, region);
}

} // namespace

namespace console_testing
{

void SetWideCells(bool enabled)
{
#if defined(KORVANE_CONSOLE_WIDE_CELLS)
    gWideCellsWanted = enabled;
#else
    (void)enabled;
#endif
}

} // namespace console_testing

std::atomic<CConsoleFrameComposer*> CConsoleFrameComposer::instance_{nullptr};

CConsoleFrameComposer::CConsoleFrameComposer()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    instance_ = this;
}

CConsoleFrameComposer::~CConsoleFrameComposer()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    CConsoleFrameComposer* self = this;
    instance_.compare_exchange_strong(self, nullptr);
}

CConsoleFrameComposer* CConsoleFrameComposer::GetInstance()
{
    return instance_.load();
}

void CConsoleFrameComposer::HandOverToInstance()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (CConsoleFrameComposer* composer = instance_.load())
        composer->PresentConsoleFrame();
}

void CConsoleFrameComposer::PresentConsoleFrame()
{
    RenderConsoleFrame();
}

void CConsoleFrameComposer::RenderConsoleFrame()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!hasDeviceResources_)
        return;
    lastHandOverTick_ = static_cast<double>(TicksGet());
    // The newest frame becomes the previous one. Every byte of the new newest frame is written
    // below (the doubled 256 x 256 covers all 512 rows), so swapping gives the same bytes as
    // copying them, without the copy.
    std::swap(newest_, previous_);
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    const ConsoleDisplayMode mode = state.DisplayMode;
    if (mode & kConsoleModeLayer0) {
        // Layer 0 always lands on the fresh backdrop: with the backdrop as every palette's
        // entry 0 its transparent pixels need no test, and the bytes are those of DrawTileLayer.
        // It writes every pixel of the visible screen, so only the rest is cleared first.
        const PackedColor backdrop = state.Palettes[ConsoleBackdropIndex(mode)];
        for (std::int32_t y = 0; y < kCompositionSize; ++y) {
            const std::int32_t from = y < kConsoleScreenHeight ? kConsoleScreenWidth : 0;
            FillPixels(composition_->GetRow(y) + from, kCompositionSize - from, backdrop);
        }
        PackedColor overBackdrop[kConsolePaletteCount * kConsolePaletteEntries];
        std::copy(std::begin(state.Palettes), std::end(state.Palettes), overBackdrop);
        for (int p = 0; p < kConsolePaletteCount; ++p)
            overBackdrop[p * kConsolePaletteEntries] = backdrop;
        ComposeTileLayer(*composition_, 0, overBackdrop);
    } else {
        ClearToBackdrop(composition_);
    }
    if (mode & kConsoleModeSprites)
        DrawSprites(composition_, 0);
    if (mode & kConsoleModeLayer1)
        DrawTileLayer(composition_, 1);
    if (mode & kConsoleModeSprites)
        DrawSprites(composition_, 1);
    DoubleToTextureBuffer(newest_, composition_);
}

void CConsoleFrameComposer::ClearToBackdrop(const BufferPtr& buffer)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!buffer)
        return;
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    const PackedColor backdrop = state.Palettes[ConsoleBackdropIndex(state.DisplayMode)];
    for (std::int32_t y = 0; y < buffer->GetHeight(); ++y)
        FillPixels(buffer->GetRow(y), buffer->GetWidth(), backdrop);
}

void CConsoleFrameComposer::DrawTileLayer(const BufferPtr& buffer, int layer)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!buffer || (layer != 0 && layer != 1))
        return;
    ComposeTileLayer(*buffer, layer, nullptr);
}

void CConsoleFrameComposer::DrawSprites(const BufferPtr& buffer, int pass)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!buffer)
        return;
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    const std::int32_t width = std::min(buffer->GetWidth(), kCompositionSize);
    const std::int32_t height = std::min(buffer->GetHeight(), kCompositionSize);
    const int first = state.SpriteFirst;
    // The stored count may run past the table; those entries do not exist and are not drawn.
    const int end = std::min(first + static_cast<int>(state.SpriteCount), kConsoleSpriteCount);
#if defined(KORVANE_CONSOLE_WIDE_CELLS)
    const bool wide = UseWideCells();
#endif
    for (int i = end - 1; i >= first; --i) {
        const ConsoleSpriteEntry entry = state.Sprites[i];
        if (ConsoleSpritePriority(entry) != pass)
            continue;
        const int pattern = ConsoleSpritePattern(entry);
        const PackedColor* palette = &state.Palettes[ConsoleSpritePalette(entry) * kConsolePaletteEntries];
        const int spriteX = ConsoleSpriteX(entry);
        const int spriteY = ConsoleSpriteY(entry);
        const bool mirrorX = (entry & 0x4000) != 0;
        const bool mirrorY = (entry & 0x8000) != 0;
        for (int r = 0; r < 8; ++r) {
            const std::uint32_t word = PatternRowWord(state, pattern, r);
            const int dy = mirrorY ? ((spriteY + 7 - r) & 0xFF) : ((spriteY + r) & 0xFF);
            if (word == 0 || dy >= height)
                continue;
            PackedColor* row = buffer->GetRow(dy);
#if defined(KORVANE_CONSOLE_WIDE_CELLS)
            if (wide && spriteX + 8 <= width) {
                PutSpriteRowWide(row + spriteX, palette, &state.TilePatterns[pattern * kConsolePatternBytes + r * 4],
                                 mirrorX);
                continue;
            }
#endif
            const std::uint32_t spread = SpreadPatternRow(word, mirrorX);
            // The part left of the wrap, then the part that wrapped round to column 0.
            if (spriteX < width)
                PutPixels(row + spriteX, palette, spread, 0, std::min(width - spriteX, 8));
            if (spriteX + 8 > kCompositionSize) {
                const int wrapped = spriteX + 8 - kCompositionSize;
                PutPixels(row, palette, spread, 8 - wrapped, std::min(wrapped, width));
            }
        }
    }
}

void CConsoleFrameComposer::DoubleToTextureBuffer(const BufferPtr& destination, const BufferPtr& source)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!destination || !source)
        return;
    const std::int32_t rows = std::min(source->GetHeight(), destination->GetHeight() / 2);
    const std::int32_t columns = std::min(source->GetWidth(), destination->GetWidth() / 2);
    const std::size_t pitch = static_cast<std::size_t>(destination->GetPitch());
    const std::size_t doubledBytes = static_cast<std::size_t>(columns) * 8;
    for (std::int32_t r = 0; r < rows; ++r) {
        PackedColor* even = destination->GetRow(2 * r);
        PackedColor* odd = destination->GetRow(2 * r + 1);
        // Both rows written at once, then whatever lies past the doubled pixels in the pitch is
        // copied like the rest of the row: the same bytes as copying the whole row.
        DoubleRow(even, odd, source->GetRow(r), columns);
        if (pitch > doubledBytes)
            std::memcpy(reinterpret_cast<std::uint8_t*>(odd) + doubledBytes,
                        reinterpret_cast<const std::uint8_t*>(even) + doubledBytes, pitch - doubledBytes);
    }
}

void CConsoleFrameComposer::MakeBuffers(std::int32_t framePitch)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (framePitch < kFrameSize * 4)
        throw korvane::EInvalidParameter(this, "CConsoleFrameComposer::MakeBuffers: pitch too small");
    auto composition = std::make_shared<CMemoryBackBuffer>(kCompositionSize, kCompositionSize, kCompositionPitch);
    auto newest = std::make_shared<CMemoryBackBuffer>(kFrameSize, kFrameSize, framePitch);
    auto previous = std::make_shared<CMemoryBackBuffer>(kFrameSize, kFrameSize, framePitch);
    composition_ = std::move(composition);
    newest_ = std::move(newest);
    previous_ = std::move(previous);
    hasDeviceResources_ = true;
}

void CConsoleFrameComposer::DropBuffers()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    composition_.reset();
    newest_.reset();
    previous_.reset();
    hasDeviceResources_ = false;
}

bool CConsoleFrameComposer::HasDeviceResources() const
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    return hasDeviceResources_;
}

double CConsoleFrameComposer::GetLastHandOverTick() const
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    return lastHandOverTick_;
}

CConsoleFrameComposer::BufferPtr CConsoleFrameComposer::GetCompositionBuffer() const
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    return composition_;
}

CConsoleFrameComposer::BufferPtr CConsoleFrameComposer::GetNewestFrame() const
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    return newest_;
}

CConsoleFrameComposer::BufferPtr CConsoleFrameComposer::GetPreviousFrame() const
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    return previous_;
}
