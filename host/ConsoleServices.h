/** @file ConsoleServices.h The display, clock and input services the games call on their thread. */
#pragma once

#include <cstdint>

#include "host/ConsoleDisplayState.h"

// Every service holds the display lock for its whole work. Arguments outside the display's
// limits are clipped or skipped, never written outside the record's arrays; a block copy that
// is clipped still walks its source row by row, so the cells that land stay where they belong.

/// The held actions a game reads (bits 0-3 and 15 are never set).
using InputMask = std::uint16_t;
constexpr InputMask kInputX1 = 0x0010;
constexpr InputMask kInputX2 = 0x0020;
constexpr InputMask kInputX3 = 0x0040;
constexpr InputMask kInputX4 = 0x0080;
constexpr InputMask kInputLeft = 0x0100;
constexpr InputMask kInputUp = 0x0200;
constexpr InputMask kInputRight = 0x0400;
constexpr InputMask kInputDown = 0x0800;
constexpr InputMask kInputDecide = 0x1000;
constexpr InputMask kInputCancel = 0x2000;
constexpr InputMask kInputPause = 0x4000;

/// A layer other than 0 or 1 reads as (0, 0).
void DisplayGetScroll(std::int32_t layer, std::int32_t& x, std::int32_t& y);
void DisplaySetScroll(std::int32_t layer, std::int32_t x, std::int32_t y);
void DisplayGetWindow(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height);
void DisplaySetWindow(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
void DisplaySetMode(ConsoleDisplayMode mode);
/// Stores width x height cells, row after row, at column x, row y of the layer's map.
void DisplayCopyTileMap(std::int32_t x, std::int32_t y, std::int32_t layer, std::int32_t width, std::int32_t height,
                        const ConsoleTileCell* cells);
void DisplayFillTileMap(std::int32_t x, std::int32_t y, std::int32_t layer, std::int32_t width, std::int32_t height,
                        ConsoleTileCell cell);
void DisplaySetPaletteColor(std::int32_t palette, std::int32_t entry, ConsoleColor12 color);
void DisplayUploadSprites(std::int32_t first, std::int32_t count, const ConsoleSpriteEntry* entries);
/// Shows sprites 0 to count - 1; the composer never reads past the table, whatever is stored.
void DisplaySetSpriteCount(std::uint16_t count);
void DisplayClearTiles();
/// Copies count patterns of 32 bytes from pattern first onward.
void DisplayUploadTiles(std::int32_t first, std::int32_t count, const void* data);
/// Default palettes, no patterns, no sprites shown; window, scrolls, mode, maps and sprite table stay.
std::int32_t DisplayReset();

/// Whole 1/75-second ticks of the engine clock, wrapping at 2^32.
std::uint32_t TicksGet();
/// The same count with its fraction.
double TicksGetExact();

/// Refreshes the controller, then reads the held actions; press latches and analog values are
/// left alone. The upper 16 bits are 0.
std::uint32_t InputReadMask();
