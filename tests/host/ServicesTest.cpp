/** @file ServicesTest.cpp The display, clock and input services: their effects, limits, lock and clock. */
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <numeric>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "HostTestSupport.h"
#include "host/ConsoleServices.h"

namespace
{

class ServicesTest : public ::testing::Test
{
protected:
    void SetUp() override { host_test::ResetDisplayState(); }
    void TearDown() override { host_test::ResetDisplayState(); }
    ConsoleDisplayState& State() { return GetConsoleDisplayState(); }
};

TEST_F(ServicesTest, StartValuesAndColourConversion)
{
    EXPECT_EQ(std::tuple(224, 144, 0), std::tuple(State().WindowWidth, State().WindowHeight, State().DisplayMode));
    struct Case
    {
        int entry;
        ConsoleColor12 colour;
        std::uint32_t stored;
    };
    for (const Case& c : {Case{3, 0x0F80, 0xFFFF8800}, Case{0, 0x0F80, 0x00FF8800}, Case{0, 0x0FFF, 0x00FFFFFF},
                          Case{7, 0xF123, 0xFF112233}}) { // bits 12-15 ignored
        DisplaySetPaletteColor(9, c.entry, c.colour);
        EXPECT_EQ(c.stored, State().Palettes[9 * 16 + c.entry]) << "entry " << c.entry;
    }
}

// Arguments past the limits write only what lies inside the addressed array; the record is
// compared whole, so nothing else moves.
TEST_F(ServicesTest, OutOfRangeArgumentsWriteOnlyInside)
{
    std::vector<ConsoleTileCell> cells(64);
    std::iota(cells.begin(), cells.end(), ConsoleTileCell{100});
    std::vector<ConsoleSpriteEntry> sprites(8);
    std::iota(sprites.begin(), sprites.end(), ConsoleSpriteEntry{0xA0});
    std::vector<std::uint8_t> patterns; // pattern k all k + 1
    for (std::uint8_t k = 1; k <= 4; ++k)
        patterns.insert(patterns.end(), 32, k);

    ConsoleDisplayState expected;
    DisplayCopyTileMap(30, 30, 0, 4, 4, cells.data()); // corner: rows and columns clipped
    expected.TileMaps[0][30][30] = 100;
    expected.TileMaps[0][30][31] = 101;
    expected.TileMaps[0][31][30] = 104;
    expected.TileMaps[0][31][31] = 105;
    DisplayCopyTileMap(-1, -2, 1, 3, 3, cells.data()); // negative start: source still walks row by row
    expected.TileMaps[1][0][0] = 107;
    expected.TileMaps[1][0][1] = 108;
    DisplayCopyTileMap(0, 0, 2, 2, 2, cells.data());  // no such layer
    DisplayCopyTileMap(0, 0, -1, 2, 2, cells.data()); // no such layer
    DisplayCopyTileMap(5, 5, 0, -3, 2, cells.data()); // empty
    DisplayFillTileMap(31, -5, 1, 0x7FFFFFFF, 6, 9);  // overflowing width
    expected.TileMaps[1][0][31] = 9;
    // Wholly right of or below the map: no cell address past a row's end is even formed.
    const std::pair<int, int> outside[] = {{40, 0}, {33, 10}, {INT_MAX, 0}, {0, 40}, {40, 40}, {-8, 0}};
    for (const auto& [x, y] : outside)
        for (int layer : {0, 1})
            DisplayFillTileMap(x, y, layer, x == -8 ? 8 : 4, 4, 0x1234);
    DisplayFillTileMap(31, 31, 0, 4, 4, 0x42); // the edge still takes what lies on it
    expected.TileMaps[0][31][31] = 0x42;
    DisplayFillTileMap(0, 0, 7, 32, 32, 9);
    DisplaySetScroll(2, 5, 5);
    DisplaySetScroll(-1, 5, 5);
    DisplaySetPaletteColor(16, 0, 0xFFF);
    DisplaySetPaletteColor(0, 16, 0xFFF);
    DisplaySetPaletteColor(-1, 3, 0xFFF);
    DisplayUploadSprites(-2, 4, sprites.data());
    expected.Sprites[0] = 0xA2;
    expected.Sprites[1] = 0xA3;
    DisplayUploadSprites(510, 8, sprites.data());
    expected.Sprites[510] = 0xA0;
    expected.Sprites[511] = 0xA1;
    DisplayUploadSprites(512, 1, sprites.data());
    DisplayUploadSprites(0, -1, sprites.data());
    DisplayUploadTiles(1023, 4, patterns.data()); // the last pattern only
    std::memset(&expected.TilePatterns[1023 * 32], 1, 32);
    DisplayUploadTiles(-1, 2, patterns.data());
    std::memset(&expected.TilePatterns[0], 2, 32);
    DisplayUploadTiles(1024, 1, patterns.data());

    EXPECT_TRUE(host_test::SameState(expected, State()));
    std::int32_t x = 1, y = 1;
    DisplayGetScroll(3, x, y);
    EXPECT_EQ(0, x + y);
}

TEST_F(ServicesTest, ResetTouchesOnlyPalettesPatternsAndRange)
{
    DisplaySetWindow(3, 4, 5, 6);
    DisplaySetScroll(1, -7, 8);
    DisplaySetMode(0x1234);
    DisplayFillTileMap(0, 0, 0, 32, 32, 0x4321);
    const ConsoleSpriteEntry sprite = 0xDEADBEEF;
    DisplayUploadSprites(7, 1, &sprite);
    DisplaySetSpriteCount(9);
    DisplaySetPaletteColor(3, 0, 0x123);
    const std::vector<std::uint8_t> pattern(32, 0x55);
    DisplayUploadTiles(1023, 1, pattern.data());
    ConsoleDisplayState before = State();

    EXPECT_EQ(0, DisplayReset());
    for (int p = 0; p < 16; ++p)
        for (int e = 0; e < 16; ++e)
            before.Palettes[p * 16 + e] = kConsoleDefaultPalette[p];
    std::memset(before.TilePatterns, 0, sizeof(before.TilePatterns));
    before.SpriteCount = 0;
    EXPECT_TRUE(host_test::SameState(before, State())) << "only palettes, patterns and range change";
    EXPECT_EQ(0xFF000000u, State().Palettes[0]) << "entry 0 opaque black";
    EXPECT_EQ(0xFF808080u, State().Palettes[15 * 16 + 15]);
}

TEST_F(ServicesTest, TicksFollowTheEngineClock)
{
    host_test::InjectedClock clock;
    struct Case
    {
        double milliseconds;
        std::uint32_t ticks;
        double exact;
    };
    for (const Case& c : {Case{1000.0, 75, 75.0}, Case{13.0, 0, 0.975}, Case{14.0, 1, 1.05},
                          Case{13.333333333333334 * 4294967296.0 + 20.0, 1, 4294967297.5}}) { // wraps at 2^32
        clock.milliseconds = c.milliseconds;
        EXPECT_EQ(c.ticks, TicksGet()) << c.milliseconds << " ms";
        EXPECT_DOUBLE_EQ(c.exact, TicksGetExact()) << c.milliseconds << " ms";
    }
}

TEST_F(ServicesTest, InputMaskReadsHeldActionsOnly)
{
    delete CResourceScene::GetInstance();
    EXPECT_EQ(0u, InputReadMask()) << "no devices";
    host_test::ScopedConsoleController input;
    const char* names[] = {"up", "down", "left", "right", "decide", "cancel", "pause", "x1", "x2", "x3", "x4"};
    for (std::uint32_t code = 0; code < 11; ++code) {
        input.device.AddButton(names[code], "");
        input.device.SetMapping(names[code], 0, code);
    }
    struct Case
    {
        std::vector<std::uint32_t> held;
        std::uint32_t mask;
    };
    for (const Case& c : {Case{{}, 0}, Case{{2, 4}, 0x1100}, Case{{6}, 0x4000}, Case{{}, 0},
                          Case{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0x7FF0}}) { // bits 0-3 and 15 never set
        for (std::uint32_t code = 0; code < 11; ++code)
            input.device.Hold(code, false);
        for (std::uint32_t code : c.held)
            input.device.Hold(code, true);
        EXPECT_EQ(c.mask, InputReadMask());
        // The read polled the device but consumed no press latch.
        for (std::uint32_t code : c.held)
            EXPECT_TRUE(input.device.WasPressed(names[code])) << names[code];
    }
}

TEST_F(ServicesTest, ServiceWaitsWhileAnotherThreadHoldsTheLock)
{
    std::atomic<bool> calling{false}, done{false};
    std::thread caller;
    {
        korvane::CScopedLock held(CResourceScene::GetInstance()->GetDisplayLock());
        DisplaySetMode(1); // recursive: the holder may call services itself
        caller = std::thread([&] {
            calling = true;
            DisplaySetMode(2);
            done = true;
        });
        while (!calling)
            std::this_thread::yield();
        // Not a synchronisation: the call must still be blocked after a generous moment.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(done);
        EXPECT_EQ(1, State().DisplayMode);
    }
    caller.join();
    EXPECT_EQ(2, State().DisplayMode);
}

} // namespace
