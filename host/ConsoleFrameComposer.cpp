/** @file ConsoleFrameComposer.cpp Composes the console display into the frames the main form shows. */
#include "host/ConsoleFrameComposer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "host/ConsoleDisplayState.h"
#include "host/ConsoleHostAccess.h"
#include "host/ConsoleServices.h"

namespace
{

using korvane::CScopedLock;

/// Bit position of pixel c in the little-endian word of a pattern row: the high nibble of a
/// byte is its left pixel.
constexpr int kPixelShift[8] = {4, 0, 12, 8, 20, 16, 28, 24};

std::uint32_t PatternRowWord(const ConsoleDisplayState& state, int pattern, int row)
{
    const std::uint8_t* bytes = &state.TilePatterns[pattern * kConsolePatternBytes + row * 4];
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

/// Draws the pixels x in [begin, end) of one buffer row of a tile layer; ty is the map row in
/// pixels. The scrolled column runs on 32-bit unsigned arithmetic, which wraps exactly like the
/// two's-complement sum and keeps the same low bits.
void DrawLayerSpan(const ConsoleDisplayState& state, int layer, PackedColor* row, std::int32_t begin, std::int32_t end,
                   std::uint32_t scrollX, std::uint32_t ty)
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
        if (word != 0) {
            const PackedColor* palette = &state.Palettes[ConsoleTileCellPalette(cell) * kConsolePaletteEntries];
            const bool mirrored = (cell & 0x4000) != 0;
            for (std::int32_t k = 0; k < run; ++k) {
                const int c = column + k;
                const std::uint32_t v = (word >> kPixelShift[mirrored ? 7 - c : c]) & 0xF;
                if (v != 0)
                    row[x + k] = palette[v];
            }
        }
        x += run;
        tx += static_cast<std::uint32_t>(run);
    }
}

std::int32_t ClampTo(std::int64_t value, std::int32_t low, std::int32_t high)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

} // namespace

std::atomic<CConsoleFrameComposer*> CConsoleFrameComposer::instance_{nullptr};

CConsoleFrameComposer::CConsoleFrameComposer()
{
    CScopedLock lock(GetDisplayLock());
    instance_ = this;
}

CConsoleFrameComposer::~CConsoleFrameComposer()
{
    CScopedLock lock(GetDisplayLock());
    CConsoleFrameComposer* self = this;
    instance_.compare_exchange_strong(self, nullptr);
}

CConsoleFrameComposer* CConsoleFrameComposer::GetInstance()
{
    return instance_.load();
}

void CConsoleFrameComposer::HandOverToInstance()
{
    CScopedLock lock(GetDisplayLock());
    if (CConsoleFrameComposer* composer = instance_.load())
        composer->PresentConsoleFrame();
}

void CConsoleFrameComposer::PresentConsoleFrame()
{
    RenderConsoleFrame();
}

void CConsoleFrameComposer::RenderConsoleFrame()
{
    CScopedLock lock(GetDisplayLock());
    if (!hasDeviceResources_)
        return;
    lastHandOverTick_ = static_cast<double>(TicksGet());
    // The newest frame becomes the previous one. Every byte of the new newest frame is written
    // below (the doubled 256 x 256 covers all 512 rows), so swapping gives the same bytes as
    // copying them, without the copy.
    std::swap(newest_, previous_);
    const ConsoleDisplayMode mode = GetConsoleDisplayState().DisplayMode;
    ClearToBackdrop(composition_);
    if (mode & kConsoleModeLayer0)
        DrawTileLayer(composition_, 0);
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
    CScopedLock lock(GetDisplayLock());
    if (!buffer)
        return;
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    const PackedColor backdrop = state.Palettes[ConsoleBackdropIndex(state.DisplayMode)];
    for (std::int32_t y = 0; y < buffer->GetHeight(); ++y)
        std::fill_n(buffer->GetRow(y), buffer->GetWidth(), backdrop);
}

void CConsoleFrameComposer::DrawTileLayer(const BufferPtr& buffer, int layer)
{
    CScopedLock lock(GetDisplayLock());
    if (!buffer || (layer != 0 && layer != 1))
        return;
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
    const std::int32_t limitX = std::min(buffer->GetWidth(), kCompositionSize);
    const std::int32_t limitY = std::min(buffer->GetHeight(), kCompositionSize);
    const std::int32_t x0 = ClampTo(left, 0, limitX);
    const std::int32_t x1 = ClampTo(right, x0, limitX);
    const std::int32_t y0 = ClampTo(top, 0, limitY);
    const std::int32_t y1 = ClampTo(bottom, y0, limitY);

    // Outside-the-window use cuts a hole [holeX0, holeX1) into the rows the window covers.
    const bool hole = layer == 1 && windowUse == kConsoleModeWindowOutside;
    const std::int32_t holeX0 = ClampTo(windowX, x0, x1);
    const std::int32_t holeX1 = ClampTo(windowRight, holeX0, x1);

    for (std::int32_t y = y0; y < y1; ++y) {
        PackedColor* row = buffer->GetRow(y);
        const std::uint32_t ty = static_cast<std::uint32_t>(y) + static_cast<std::uint32_t>(scrollY);
        const std::uint32_t sx = static_cast<std::uint32_t>(scrollX);
        if (hole && y >= windowY && y < windowBottom && holeX0 < holeX1) {
            DrawLayerSpan(state, layer, row, x0, holeX0, sx, ty);
            DrawLayerSpan(state, layer, row, holeX1, x1, sx, ty);
        } else {
            DrawLayerSpan(state, layer, row, x0, x1, sx, ty);
        }
    }
}

void CConsoleFrameComposer::DrawSprites(const BufferPtr& buffer, int pass)
{
    CScopedLock lock(GetDisplayLock());
    if (!buffer)
        return;
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    const std::int32_t width = std::min(buffer->GetWidth(), kCompositionSize);
    const std::int32_t height = std::min(buffer->GetHeight(), kCompositionSize);
    const int first = state.SpriteFirst;
    // The stored count may run past the table; those entries do not exist and are not drawn.
    const int end = std::min(first + static_cast<int>(state.SpriteCount), kConsoleSpriteCount);
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
            if (word == 0)
                continue;
            const int dy = mirrorY ? ((spriteY + 7 - r) & 0xFF) : ((spriteY + r) & 0xFF);
            if (dy >= height)
                continue;
            PackedColor* row = buffer->GetRow(dy);
            for (int c = 0; c < 8; ++c) {
                const int dx = (spriteX + c) & 0xFF;
                const std::uint32_t v = (word >> kPixelShift[mirrorX ? 7 - c : c]) & 0xF;
                if (v != 0 && dx < width)
                    row[dx] = palette[v];
            }
        }
    }
}

void CConsoleFrameComposer::DoubleToTextureBuffer(const BufferPtr& destination, const BufferPtr& source)
{
    CScopedLock lock(GetDisplayLock());
    if (!destination || !source)
        return;
    const std::int32_t rows = std::min(source->GetHeight(), destination->GetHeight() / 2);
    const std::int32_t columns = std::min(source->GetWidth(), destination->GetWidth() / 2);
    const std::size_t pitch = static_cast<std::size_t>(destination->GetPitch());
    for (std::int32_t r = 0; r < rows; ++r) {
        const PackedColor* from = source->GetRow(r);
        PackedColor* even = destination->GetRow(2 * r);
        for (std::int32_t c = 0; c < columns; ++c) {
            const std::uint64_t pair = static_cast<std::uint64_t>(from[c]) * 0x0000000100000001ull;
            std::memcpy(even + 2 * c, &pair, sizeof(pair));
        }
        std::memcpy(destination->GetRow(2 * r + 1), even, pitch);
    }
}

void CConsoleFrameComposer::MakeBuffers(std::int32_t framePitch)
{
    CScopedLock lock(GetDisplayLock());
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
    CScopedLock lock(GetDisplayLock());
    composition_.reset();
    newest_.reset();
    previous_.reset();
    hasDeviceResources_ = false;
}

bool CConsoleFrameComposer::HasDeviceResources() const
{
    CScopedLock lock(GetDisplayLock());
    return hasDeviceResources_;
}

double CConsoleFrameComposer::GetLastHandOverTick() const
{
    CScopedLock lock(GetDisplayLock());
    return lastHandOverTick_;
}

CConsoleFrameComposer::BufferPtr CConsoleFrameComposer::GetCompositionBuffer() const
{
    CScopedLock lock(GetDisplayLock());
    return composition_;
}

CConsoleFrameComposer::BufferPtr CConsoleFrameComposer::GetNewestFrame() const
{
    CScopedLock lock(GetDisplayLock());
    return newest_;
}

CConsoleFrameComposer::BufferPtr CConsoleFrameComposer::GetPreviousFrame() const
{
    CScopedLock lock(GetDisplayLock());
    return previous_;
}
