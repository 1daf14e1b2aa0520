/** @file RegressionTest.cpp Faults found on a second reading of the console core, one case each. */
#include <gtest/gtest.h>

#include <climits>

#include "HostTestSupport.h"
#include "host/ConsoleServices.h"

namespace
{

using host_test::ResetDisplayState;
using host_test::SameState;

class HostRegressionTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetDisplayState(); }
    void TearDown() override { ResetDisplayState(); }
};

// A fill rectangle that starts right of (or below) the map formed the address of a cell past
// the row's end before finding there was nothing to write: undefined, and fatal in the
// sanitizer build. Nothing may change and nothing may be touched.
TEST_F(HostRegressionTest, FillWhollyOutsideTheMapTouchesNothing)
{
    struct Case
    {
        std::int32_t x, y, width, height;
    };
    const Case cases[] = {
        {40, 0, 4, 4}, {33, 10, 1, 1}, {INT_MAX, 0, 8, 8}, {0, 40, 4, 4}, {40, 40, 4, 4}, {-8, 0, 8, 4},
    };
    const ConsoleDisplayState before = GetConsoleDisplayState();
    for (const Case& c : cases) {
        DisplayFillTileMap(c.x, c.y, 0, c.width, c.height, 0x1234);
        DisplayFillTileMap(c.x, c.y, 1, c.width, c.height, 0x1234);
        EXPECT_TRUE(SameState(before, GetConsoleDisplayState())) << c.x << "," << c.y;
    }
    // The edge of the map still takes what lies on it.
    DisplayFillTileMap(31, 31, 1, 4, 4, 0x0042);
    EXPECT_EQ(0x0042, GetConsoleDisplayState().TileMaps[1][31][31]);
}

} // namespace
