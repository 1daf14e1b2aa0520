/** @file ConsoleDisplayState.h The emulated handheld display: the one shared state record and its encodings. */
#pragma once

#include <cstdint>
#include <type_traits>

#include "KorvaneXDK/core/PackedColor.h"

/// Screen, map and table sizes of the emulated display.
constexpr int kConsoleScreenWidth = 224;
constexpr int kConsoleScreenHeight = 144;
constexpr int kConsoleLayerCount = 2;
constexpr int kConsoleMapSize = 32;        ///< cells a side of a tile map
constexpr int kConsoleSpriteCount = 512;   ///< entries of the sprite table
constexpr int kConsolePatternCount = 1024; ///< tile patterns
constexpr int kConsolePatternBytes = 32;   ///< 8 rows of 4 bytes, two pixels a byte
constexpr int kConsolePaletteCount = 16;
constexpr int kConsolePaletteEntries = 16;

/// One tile-map cell: pattern bits 0-8, palette 9-12, pattern bit 9 in bit 13, mirrors in 14 and 15.
using ConsoleTileCell = std::uint16_t;
/// One sprite: pattern 0-8, palette - 8 in 9-11, priority 13, mirrors 14 and 15, y 16-23, x 24-31.
using ConsoleSpriteEntry = std::uint32_t;
/// The display control word: layers 0/1 (bits 0, 1), sprites (2), window use of layer 1 (4-5),
/// backdrop entry 8 (11), backdrop palette (12-15).
using ConsoleDisplayMode = std::uint16_t;
/// A palette colour as the games give it: 0x0RGB, four bits a channel; bits 12-15 are ignored.
using ConsoleColor12 = std::uint16_t;

constexpr ConsoleDisplayMode kConsoleModeLayer0 = 0x0001;
constexpr ConsoleDisplayMode kConsoleModeLayer1 = 0x0002;
constexpr ConsoleDisplayMode kConsoleModeSprites = 0x0004;
constexpr ConsoleDisplayMode kConsoleModeWindowMask = 0x0030;
constexpr ConsoleDisplayMode kConsoleModeWindowInside = 0x0020;
constexpr ConsoleDisplayMode kConsoleModeWindowOutside = 0x0030;
constexpr ConsoleDisplayMode kConsoleModeBackdropEntry8 = 0x0800;

constexpr int ConsoleTileCellPattern(ConsoleTileCell cell)
{
    return (cell & 0x1FF) | ((cell >> 4) & 0x200);
}
constexpr int ConsoleTileCellPalette(ConsoleTileCell cell)
{
    return (cell >> 9) & 0xF;
}
constexpr int ConsoleSpritePattern(ConsoleSpriteEntry entry)
{
    return static_cast<int>(entry & 0x1FF);
}
constexpr int ConsoleSpritePalette(ConsoleSpriteEntry entry)
{
    return static_cast<int>((entry >> 9) & 7) + 8;
}
constexpr int ConsoleSpritePriority(ConsoleSpriteEntry entry)
{
    return static_cast<int>((entry >> 13) & 1);
}
constexpr int ConsoleSpriteX(ConsoleSpriteEntry entry)
{
    return static_cast<int>(entry >> 24);
}
constexpr int ConsoleSpriteY(ConsoleSpriteEntry entry)
{
    return static_cast<int>((entry >> 16) & 0xFF);
}
/// Index into Palettes of the backdrop colour the control word selects.
constexpr int ConsoleBackdropIndex(ConsoleDisplayMode mode)
{
    return (mode >> 12) * kConsolePaletteEntries + ((mode & kConsoleModeBackdropEntry8) ? 8 : 0);
}

/// Each nibble doubled to a byte (0xN -> 0xNN); alpha 0 for entry 0, opaque for the others.
constexpr korvane::PackedColor ConsoleColor12ToPackedColor(ConsoleColor12 color, int entry)
{
    const std::uint32_t red = ((color >> 8) & 0xFu) * 17u;
    const std::uint32_t green = ((color >> 4) & 0xFu) * 17u;
    const std::uint32_t blue = (color & 0xFu) * 17u;
    const std::uint32_t alpha = entry == 0 ? 0x00u : 0xFFu;
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}

/// The colour DisplayReset gives every entry of each palette (entry 0 included, opaque).
constexpr korvane::PackedColor kConsoleDefaultPalette[kConsolePaletteCount] = {
    0xFF000000, 0xFF0000F0, 0xFFF00000, 0xFFF000F0, 0xFF00F000, 0xFF00F0F0, 0xFFF08000, 0xFFF0F000,
    0xFFF0F0F0, 0xFF000080, 0xFF800000, 0xFF800080, 0xFF008000, 0xFF008080, 0xFF808000, 0xFF808080,
};

/// The display hardware the games drive. Read and write it only under the display lock. The
/// games block-copy into TileMaps and TilePatterns, so those two keep exactly these layouts.
struct ConsoleDisplayState
{
    std::int32_t WindowX = 0;
    std::int32_t WindowY = 0;
    std::int32_t WindowWidth = kConsoleScreenWidth;
    std::int32_t WindowHeight = kConsoleScreenHeight;
    ConsoleDisplayMode DisplayMode = 0;
    std::int32_t Scroll[kConsoleLayerCount][2] = {}; ///< [layer][0 = x, 1 = y], pixels
    ConsoleSpriteEntry Sprites[kConsoleSpriteCount] = {};
    std::uint16_t SpriteFirst = 0;
    std::uint16_t SpriteCount = 0;
    /// Palette p entry e at p * 16 + e. The composer copies these words unchanged into its pixels
    /// and loads a palette's sixteen entries into vector registers at once.
    korvane::PackedColor Palettes[kConsolePaletteCount * kConsolePaletteEntries] = {};
    ConsoleTileCell TileMaps[kConsoleLayerCount][kConsoleMapSize][kConsoleMapSize] = {}; ///< [layer][row][column]
    std::uint8_t TilePatterns[kConsolePatternCount * kConsolePatternBytes] = {}; ///< pattern n row r at n * 32 + r * 4
};

static_assert(sizeof(korvane::PackedColor) == 4 && std::is_trivially_copyable_v<korvane::PackedColor>,
              "the composer moves colours as plain 32-bit words");
static_assert(sizeof(ConsoleDisplayState::TileMaps) == 2 * 2048, "the games copy whole 2048-byte maps");
static_assert(sizeof(ConsoleDisplayState::TilePatterns) == 32768, "the games copy patterns at n * 32");

/// The one record of the process. It lives in static storage, so it is there before any game
/// starts, and nothing resets it between games.
ConsoleDisplayState& GetConsoleDisplayState();

/// Pixel c (0 = left) of row r (0 = top) of a pattern: 0 is transparent, 1-15 pick a palette entry.
inline int ConsolePatternPixel(const ConsoleDisplayState& state, int pattern, int row, int column)
{
    const std::uint8_t byte = state.TilePatterns[pattern * kConsolePatternBytes + row * 4 + column / 2];
    return (column & 1) ? (byte & 0x0F) : (byte >> 4);
}
