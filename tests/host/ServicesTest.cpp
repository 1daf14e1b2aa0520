/** @file ServicesTest.cpp The display, clock and input services: their effects, limits, lock and clock. */
#include <gtest/gtest.h>

#include <numeric>

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

TEST_F(ServicesTest, TheDisplayStartsWithA224By144WindowInMode0)
{
    EXPECT_EQ(std::tuple(224, 144, 0), std::tuple(State().WindowWidth, State().WindowHeight, State().DisplayMode));
}

TEST_F(ServicesTest, PaletteColoursIgnoreBits12To15AndEntry0IsTransparent)
{
    for (const auto& [entry, colour, stored] :
         {std::tuple(3, 0x0F80, 0xFFFF8800u), std::tuple(0, 0x0F80, 0x00FF8800u), std::tuple(0, 0x0FFF, 0x00FFFFFFu),
          std::tuple(7, 0xF123, 0xFF112233u)}) {
        DisplaySetPaletteColor(9, entry, static_cast<ConsoleColor12>(colour));
        EXPECT_EQ(stored, State().Palettes[9 * 16 + entry]) << "entry " << entry;
    }
}

TEST_F(ServicesTest, AResetChangesOnlyThePalettesThePatternsAndTheSpriteRange)
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
    EXPECT_EQ(std::pair(0xFF000000u, 0xFF808080u),
              (std::pair<std::uint32_t, std::uint32_t>(State().Palettes[0], State().Palettes[15 * 16 + 15])))
        << "entry 0 opaque black";
}

TEST_F(ServicesTest, TheTicksFollowTheEngineClockAndWrapAt2To32)
{
    host_test::InjectedClock clock;
    for (const auto& [milliseconds, ticks, exact] :
         {std::tuple(1000.0, 75u, 75.0), std::tuple(13.0, 0u, 0.975), std::tuple(14.0, 1u, 1.05),
          std::tuple(13.333333333333334 * 4294967296.0 + 20.0, 1u, 4294967297.5)}) { // wraps at 2^32
        clock.milliseconds = milliseconds;
        EXPECT_EQ(ticks, TicksGet()) << milliseconds << " ms";
        EXPECT_DOUBLE_EQ(exact, TicksGetExact()) << milliseconds << " ms";
    }
}

// The record is compared whole, so nothing else moves.
TEST_F(ServicesTest, ArgumentsPastTheLimitsWriteOnlyWhatLiesInsideTheAddressedArray)
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
    std::copy_n(&cells[0], 2, &expected.TileMaps[0][30][30]);
    std::copy_n(&cells[4], 2, &expected.TileMaps[0][31][30]);
    DisplayCopyTileMap(-1, -2, 1, 3, 3, cells.data()); // negative start: source still walks row by row
    std::copy_n(&cells[7], 2, &expected.TileMaps[1][0][0]);
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
    std::copy_n(&sprites[2], 2, &expected.Sprites[0]);
    DisplayUploadSprites(510, 8, sprites.data());
    std::copy_n(&sprites[0], 2, &expected.Sprites[510]);
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

TEST_F(ServicesTest, TheInputMaskReadsHeldActionsOnlyAndConsumesNoPress)
{
    delete CResourceScene::GetInstance();
    EXPECT_EQ(0u, InputReadMask()) << "no devices";
    // The merged controller cannot let go of a device, so the scene goes with it at the end.
    host_test::CHeldKeysController device;
    CResourceScene::GetInstance()->GetMergedController().AddController(&device);
    const char* names[] = {"up", "down", "left", "right", "decide", "cancel", "pause", "x1", "x2", "x3", "x4"};
    for (std::uint32_t code = 0; code < 11; ++code) {
        device.AddButton(names[code], "");
        device.SetMapping(names[code], 0, code);
    }
    // Bits 0-3 and 15 are never set.
    const std::pair<std::vector<std::uint32_t>, std::uint32_t> cases[] = {
        {{}, 0}, {{2, 4}, 0x1100}, {{6}, 0x4000}, {{}, 0}, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0x7FF0}};
    for (const auto& [held, mask] : cases) {
        for (std::uint32_t code = 0; code < 11; ++code)
            device.Hold(code, false);
        for (std::uint32_t code : held)
            device.Hold(code, true);
        EXPECT_EQ(mask, InputReadMask());
        // The read polled the device but consumed no press latch.
        for (std::uint32_t code : held)
            EXPECT_TRUE(device.WasPressed(names[code])) << names[code];
    }
    delete CResourceScene::GetInstance();
}

TEST_F(ServicesTest, AServiceWaitsWhileAnotherThreadHoldsTheDisplayLock)
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
        EXPECT_EQ(std::tuple(false, 1), std::tuple(done.load(), State().DisplayMode));
    }
    caller.join();
    EXPECT_EQ(2, State().DisplayMode);
}

} // namespace
