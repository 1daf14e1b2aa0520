/** @file ConsoleServices.cpp The display, clock and input services. */
#include "host/ConsoleServices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/input/Controller.h"
#include "host/ResourceScene.h"

namespace
{

using korvane::CScopedLock;

/// The double nearest to 1000 / 75: milliseconds a tick.
constexpr double kMillisecondsPerTick = 13.333333333333334;

bool IsLayer(std::int32_t layer)
{
    return layer == 0 || layer == 1;
}

/// The part of [first, first + count) inside [0, limit), as an offset into the source and a length.
struct Span
{
    std::int64_t begin = 0;  ///< first index written
    std::int64_t skip = 0;   ///< source items before it
    std::int64_t length = 0; ///< items written
};

Span Clip(std::int64_t first, std::int64_t count, std::int64_t limit)
{
    Span span;
    if (count <= 0)
        return span;
    span.begin = std::max<std::int64_t>(first, 0);
    const std::int64_t end = std::min<std::int64_t>(first + count, limit);
    span.skip = span.begin - first;
    span.length = std::max<std::int64_t>(end - span.begin, 0);
    return span;
}

double ExactTicks()
{
    return korvane::GetEngineElapsedMilliseconds() / kMillisecondsPerTick;
}

} // namespace

void DisplayGetScroll(std::int32_t layer, std::int32_t& x, std::int32_t& y)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    x = 0;
    y = 0;
    if (!IsLayer(layer))
        return;
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    x = state.Scroll[layer][0];
    y = state.Scroll[layer][1];
}

void DisplaySetScroll(std::int32_t layer, std::int32_t x, std::int32_t y)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!IsLayer(layer))
        return;
    ConsoleDisplayState& state = GetConsoleDisplayState();
    state.Scroll[layer][0] = x;
    state.Scroll[layer][1] = y;
}

void DisplayGetWindow(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    const ConsoleDisplayState& state = GetConsoleDisplayState();
    x = state.WindowX;
    y = state.WindowY;
    width = state.WindowWidth;
    height = state.WindowHeight;
}

void DisplaySetWindow(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    ConsoleDisplayState& state = GetConsoleDisplayState();
    state.WindowX = x;
    state.WindowY = y;
    state.WindowWidth = width;
    state.WindowHeight = height;
}

void DisplaySetMode(ConsoleDisplayMode mode)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    GetConsoleDisplayState().DisplayMode = mode;
}

void DisplayCopyTileMap(std::int32_t x, std::int32_t y, std::int32_t layer, std::int32_t width, std::int32_t height,
                        const ConsoleTileCell* cells)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!IsLayer(layer) || cells == nullptr)
        return;
    const Span rows = Clip(y, height, kConsoleMapSize);
    const Span columns = Clip(x, width, kConsoleMapSize);
    if (rows.length == 0 || columns.length == 0)
        return;
    ConsoleDisplayState& state = GetConsoleDisplayState();
    for (std::int64_t r = 0; r < rows.length; ++r) {
        const ConsoleTileCell* source = cells + (rows.skip + r) * width + columns.skip;
        std::memcpy(&state.TileMaps[layer][rows.begin + r][columns.begin], source,
                    static_cast<std::size_t>(columns.length) * sizeof(ConsoleTileCell));
    }
}

void DisplayFillTileMap(std::int32_t x, std::int32_t y, std::int32_t layer, std::int32_t width, std::int32_t height,
                        ConsoleTileCell cell)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (!IsLayer(layer))
        return;
    const Span rows = Clip(y, height, kConsoleMapSize);
    const Span columns = Clip(x, width, kConsoleMapSize);
    // A rectangle wholly right of the map has its first column past the row's end: not even
    // the address of that cell may be formed.
    if (rows.length == 0 || columns.length == 0)
        return;
    ConsoleDisplayState& state = GetConsoleDisplayState();
    for (std::int64_t r = rows.begin; r < rows.begin + rows.length; ++r)
        std::fill_n(&state.TileMaps[layer][r][columns.begin], columns.length, cell);
}

void DisplaySetPaletteColor(std::int32_t palette, std::int32_t entry, ConsoleColor12 color)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    if (palette < 0 || palette >= kConsolePaletteCount || entry < 0 || entry >= kConsolePaletteEntries)
        return;
    GetConsoleDisplayState().Palettes[palette * kConsolePaletteEntries + entry] =
        ConsoleColor12ToPackedColor(color, entry);
}

void DisplayUploadSprites(std::int32_t first, std::int32_t count, const ConsoleSpriteEntry* entries)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    const Span span = Clip(first, count, kConsoleSpriteCount);
    if (span.length == 0 || entries == nullptr)
        return;
    std::memcpy(&GetConsoleDisplayState().Sprites[span.begin], entries + span.skip,
                static_cast<std::size_t>(span.length) * sizeof(ConsoleSpriteEntry));
}

void DisplaySetSpriteCount(std::uint16_t count)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    ConsoleDisplayState& state = GetConsoleDisplayState();
    state.SpriteFirst = 0;
    state.SpriteCount = count;
}

void DisplayClearTiles()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    ConsoleDisplayState& state = GetConsoleDisplayState();
    std::memset(state.TilePatterns, 0, sizeof(state.TilePatterns));
}

void DisplayUploadTiles(std::int32_t first, std::int32_t count, const void* data)
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    const Span span = Clip(first, count, kConsolePatternCount);
    if (span.length == 0 || data == nullptr)
        return;
    std::memcpy(&GetConsoleDisplayState().TilePatterns[span.begin * kConsolePatternBytes],
                static_cast<const std::uint8_t*>(data) + span.skip * kConsolePatternBytes,
                static_cast<std::size_t>(span.length * kConsolePatternBytes));
}

std::int32_t DisplayReset()
{
    {
        CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
        ConsoleDisplayState& state = GetConsoleDisplayState();
        for (int p = 0; p < kConsolePaletteCount; ++p)
            std::fill_n(&state.Palettes[p * kConsolePaletteEntries], kConsolePaletteEntries, kConsoleDefaultPalette[p]);
    }
    DisplayClearTiles();
    DisplaySetSpriteCount(0);
    return 0;
}

std::uint32_t TicksGet()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    const double ticks = std::trunc(ExactTicks());
    // Inside the 64-bit range the low 32 bits are the count; a clock that could leave it
    // (or read NaN) would make the conversion undefined, so that reads as 0.
    if (!(ticks > -9.2e18 && ticks < 9.2e18))
        return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(ticks));
}

double TicksGetExact()
{
    CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    return ExactTicks();
}

std::uint32_t InputReadMask()
{
    struct Action
    {
        const char* name;
        InputMask bit;
    };
    static const Action kActions[] = {
        {"up", kInputUp},         {"down", kInputDown},     {"left", kInputLeft},   {"right", kInputRight},
        {"decide", kInputDecide}, {"cancel", kInputCancel}, {"pause", kInputPause}, {"x1", kInputX1},
        {"x2", kInputX2},         {"x3", kInputX3},         {"x4", kInputX4},
    };
    CResourceScene* scene = CResourceScene::GetInstance();
    CScopedLock lock(scene->GetDisplayLock());
    scene->PollController();
    korvane::IController* controller = scene->GetController();
    std::uint32_t mask = 0;
    for (const Action& action : kActions)
        if (controller->IsDown(action.name))
            mask |= action.bit;
    return mask;
}
