/** @file ComposerTest.cpp The frame composer against a plain reference, and the hand-over's rules. */
#include <gtest/gtest.h>

#include <random>

#include "HostTestSupport.h"
#include "host/ConsoleFrameComposer.h"
#include "host/ConsoleServices.h"

namespace
{

using Image = std::vector<std::uint32_t>;

// ---- The reference: the composition written out pixel by pixel, as plainly as possible. ----

std::uint32_t RefPixel(const ConsoleDisplayState& s, int pattern, int row, int column)
{
    const std::uint8_t b = s.TilePatterns[pattern * 32 + row * 4 + column / 2];
    return column % 2 == 0 ? (b >> 4) : (b & 0x0F);
}

void RefLayer(const ConsoleDisplayState& s, int layer, Image& out)
{
    const int windowUse = layer == 1 ? s.DisplayMode & 0x30 : 0;
    const std::int64_t wx = s.WindowX, wy = s.WindowY;
    for (std::int64_t y = 0; y < 256; ++y)
        for (std::int64_t x = 0; x < 256; ++x) {
            const bool inside = wx <= x && x < wx + s.WindowWidth && wy <= y && y < wy + s.WindowHeight;
            // Use 0x20 draws inside the window only (even past the screen), 0x30 the screen outside it.
            if (windowUse == 0x20 ? !inside : (x >= 224 || y >= 144 || (windowUse == 0x30 && inside)))
                continue;
            const auto tx = static_cast<std::int32_t>(static_cast<std::uint32_t>(x + s.Scroll[layer][0]));
            const auto ty = static_cast<std::int32_t>(static_cast<std::uint32_t>(y + s.Scroll[layer][1]));
            const std::uint16_t cell = s.TileMaps[layer][(ty >> 3) & 31][(tx >> 3) & 31];
            const int pattern = (cell & 0x1FF) | ((cell >> 4) & 0x200);
            const std::uint32_t v =
                RefPixel(s, pattern, (cell & 0x8000) ? 7 - (ty & 7) : ty & 7, (cell & 0x4000) ? 7 - (tx & 7) : tx & 7);
            if (v)
                out[static_cast<std::size_t>(y * 256 + x)] = s.Palettes[((cell >> 9) & 15) * 16 + v];
        }
}

void RefSprites(const ConsoleDisplayState& s, int pass, Image& out)
{
    const int end = std::min(s.SpriteFirst + s.SpriteCount, 512);
    for (int i = end - 1; i >= s.SpriteFirst; --i) {
        const std::uint32_t e = s.Sprites[i];
        if (static_cast<int>((e >> 13) & 1) != pass)
            continue;
        const int pattern = e & 0x1FF;
        const int palette = static_cast<int>((e >> 9) & 7) + 8;
        const int sx = static_cast<int>(e >> 24), sy = static_cast<int>((e >> 16) & 0xFF);
        for (int r = 0; r < 8; ++r) {
            const int dy = (e & 0x8000) ? ((sy + 7 - r) & 0xFF) : ((sy + r) & 0xFF);
            for (int c = 0; c < 8; ++c) {
                const int dx = (sx + c) & 0xFF;
                const std::uint32_t v = RefPixel(s, pattern, r, (e & 0x4000) ? 7 - c : c);
                if (v)
                    out[static_cast<std::size_t>(dy * 256 + dx)] = s.Palettes[palette * 16 + v];
            }
        }
    }
}

Image RefCompose(const ConsoleDisplayState& s)
{
    const int mode = s.DisplayMode;
    Image out(256 * 256, s.Palettes[(mode >> 12) * 16 + ((mode & 0x800) ? 8 : 0)]);
    for (int layer : {0, 1}) { // each layer, then the sprites of the same pass
        if (mode & (1 << layer))
            RefLayer(s, layer, out);
        if (mode & 4)
            RefSprites(s, layer, out);
    }
    return out;
}

Image ReadBuffer(const CMemoryBackBuffer& buffer)
{
    Image out;
    for (int y = 0; y < buffer.GetHeight(); ++y)
        out.insert(out.end(), buffer.GetRow(y), buffer.GetRow(y) + buffer.GetWidth());
    return out;
}

// ---- Random states covering every mode bit, mirror, scroll and window case. ----

void FillRandomly(ConsoleDisplayState& s, std::mt19937& rng)
{
    auto number = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    // Near the screen, near either end of the range, or anywhere.
    auto edgy = [&] {
        const std::int32_t choices[] = {number(-300, 600), INT32_MIN + number(0, 300), INT32_MAX - number(0, 300),
                                        static_cast<std::int32_t>(rng())};
        return choices[number(0, 3)];
    };
    s.DisplayMode = static_cast<std::uint16_t>(number(0, 0xFFFF));
    for (auto& scroll : s.Scroll)
        for (auto& value : scroll)
            value = number(0, 4) == 0 ? number(-8, 8) * 256 + number(-3, 3) : edgy(); // some whole turns
    for (std::int32_t* value : {&s.WindowX, &s.WindowY, &s.WindowWidth, &s.WindowHeight})
        *value = number(0, 3) != 0 ? number(-20, 240) : edgy(); // most of them on the screen
    std::generate(std::begin(s.Sprites), std::end(s.Sprites), std::ref(rng));
    s.SpriteFirst = static_cast<std::uint16_t>(number(0, 9) == 0 ? number(0, 600) : 0);
    s.SpriteCount = static_cast<std::uint16_t>(number(0, 3) == 0 ? number(0, 0xFFFF) : number(0, 700));
    std::generate(std::begin(s.Palettes), std::end(s.Palettes), std::ref(rng));
    std::generate(&s.TileMaps[0][0][0], &s.TileMaps[0][0][0] + sizeof(s.TileMaps) / 2, std::ref(rng));
    // Half the pixels transparent, so every layer shows through somewhere.
    auto nibble = [](std::uint32_t bits) { return (bits & 1) ? 1 + ((bits >> 1) & 0x7F) % 15 : 0u; };
    for (auto& b : s.TilePatterns) {
        const auto bits = static_cast<std::uint32_t>(rng());
        b = static_cast<std::uint8_t>(nibble(bits) << 4 | nibble(bits >> 8));
    }
}

// A pattern whose pixel c of row r is the value 1 + (r + c) % 15, never transparent.
void PutCountingPattern(ConsoleDisplayState& s, int pattern)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; c += 2)
            s.TilePatterns[pattern * 32 + r * 4 + c / 2] =
                static_cast<std::uint8_t>(((1 + (r + c) % 15) << 4) | (1 + (r + c + 1) % 15));
}

// Palette p entry e reads 0xFF000000 | p << 8 | e, so a pixel names both.
std::uint32_t Named(int palette, int entry)
{
    return 0xFF000000u | static_cast<std::uint32_t>(palette) << 8 | static_cast<std::uint32_t>(entry);
}

class ComposerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host_test::ResetDisplayState();
        for (int i = 0; i < 256; ++i) // the random states bring their own
            State().Palettes[i] = Named(i / 16, i % 16);
        composer.MakeBuffers(2048);
    }
    void TearDown() override
    {
        console_testing::SetWideCells(true);
        host_test::ResetDisplayState();
    }

    ConsoleDisplayState& State() { return GetConsoleDisplayState(); }
    Image Composed() { return ReadBuffer(*composer.GetCompositionBuffer()); }
    std::uint32_t At(int x, int y) { return composer.GetCompositionBuffer()->GetRow(y)[x]; }

    host_test::InjectedClock clock;
    CConsoleFrameComposer composer;
};

TEST_F(ComposerTest, AgreesWithThePlainComposerOverRandomStates)
{
    std::mt19937 rng(20260612);
    Image previous(512 * 512, 0);
#if defined(__SANITIZE_THREAD__)
    constexpr int kRounds = 200; // the thread sanitizer makes each round some fifty times slower
#else
    constexpr int kRounds = 2000;
#endif
    for (int round = 0; round < kRounds; ++round) {
        FillRandomly(State(), rng);
        // Every other round on the portable path, where the processor has a faster one.
        console_testing::SetWideCells(round % 2 == 0);
        clock.milliseconds = round * 13.5;
        composer.PresentConsoleFrame();

        const Image expected = RefCompose(State());
        ASSERT_EQ(expected, Composed()) << "round " << round << ", mode " << std::hex << State().DisplayMode;
        // The doubling does not depend on the state: checked pixel by pixel in some rounds,
        // the kept previous frame byte for byte in all.
        if (round % 8 == 0) {
            Image doubled(512 * 512);
            for (std::size_t i = 0; i < doubled.size(); ++i)
                doubled[i] = expected[(i / 1024) * 256 + (i % 512) / 2];
            ASSERT_EQ(doubled, ReadBuffer(*composer.GetNewestFrame())) << "round " << round;
        }
        ASSERT_EQ(previous, ReadBuffer(*composer.GetPreviousFrame())) << "round " << round;
        previous = ReadBuffer(*composer.GetNewestFrame());
    }
}

// Explicit pixels, so that a fault shared by the composer and the reference shows too: a scroll's direction or
// wrap and a sprite's wrap could be wrong alike in both. (The window's uses, the sprite passes and the index order
// are the reference's plain rules, which the random rounds, most with a window on the screen, hold the composer to.)
TEST_F(ComposerTest, ExplicitWrapPixelsAndTheHandOversInstanceAndDeviceResources)
{
    SCOPED_TRACE("sprites wrap at the buffer edges");
    PutCountingPattern(State(), 5);
    const std::uint32_t atEdges[] = {5u | 252u << 24 | 10u << 16, 5u | 20u << 24 | 140u << 16}; // palette 8
    DisplayUploadSprites(0, 2, atEdges);
    DisplaySetSpriteCount(2);
    DisplaySetMode(kConsoleModeSprites);
    composer.PresentConsoleFrame();
    for (int c = 0; c < 4; ++c) // screen column c shows pattern column c + 4, and column 252 + c column c
        EXPECT_EQ(std::pair(Named(8, 5 + c), Named(8, 1 + c)), std::pair(At(c, 10), At(252 + c, 10))) << c;
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(Named(8, 1 + r % 15), At(20, 140 + r)) << "row " << r << " on the bottom rows";
    // Rows 4-7 land below the visible screen; nothing wraps to the top.
    EXPECT_EQ(std::pair(Named(8, 5), Named(0, 0)), std::pair(At(20, 144), At(20, 0)));

    SCOPED_TRACE("the scroll wraps every 256 pixels either way");
    SetUp(); // a fresh state
    for (int column = 0; column < 32; ++column) {
        PutCountingPattern(State(), column);
        State().TileMaps[0][0][column] = static_cast<std::uint16_t>(column | (column % 16) << 9);
    }
    DisplaySetMode(kConsoleModeLayer0);
    composer.PresentConsoleFrame();
    const Image unscrolled = Composed();
    DisplaySetScroll(0, -8, 0);
    composer.PresentConsoleFrame();
    EXPECT_EQ(std::pair(Named(31 % 16, 1), Named(0, 1)), std::pair(At(0, 0), At(8, 0))) << "map column 31 first";
    DisplaySetScroll(0, 256, -256);
    composer.PresentConsoleFrame();
    EXPECT_EQ(unscrolled, Composed());

    // The instance pointer follows the last composer alive; without device resources a hand-over changes nothing.
    SCOPED_TRACE("the instance and the hand-over");
    EXPECT_EQ(&composer, CConsoleFrameComposer::GetInstance());
    {
        CConsoleFrameComposer second;
        EXPECT_EQ(&second, CConsoleFrameComposer::GetInstance());
    }
    EXPECT_EQ(nullptr, CConsoleFrameComposer::GetInstance());
    CConsoleFrameComposer::HandOverToInstance(); // nothing to call: does nothing
    EXPECT_EQ(0.0, composer.GetLastHandOverTick());

    clock.milliseconds = 1010.0; // tick 75.75: the hand-over keeps the whole tick
    composer.PresentConsoleFrame();
    EXPECT_EQ(75.0, composer.GetLastHandOverTick());
    const auto newest = composer.GetNewestFrame();
    const Image first = ReadBuffer(*newest);
    composer.DropBuffers();
    clock.milliseconds = 2000.0;
    DisplaySetMode(0x1000);
    composer.PresentConsoleFrame();
    EXPECT_EQ(std::pair(75.0, first), std::pair(composer.GetLastHandOverTick(), ReadBuffer(*newest)));

    // New buffers start black; a wider pitch keeps its padding out of the picture.
    EXPECT_THROW(composer.MakeBuffers(2044), korvane::EInvalidParameter);
    composer.MakeBuffers(2048 + 64);
    composer.PresentConsoleFrame();
    EXPECT_EQ(std::tuple(150.0, Image(512 * 512, 0), Image(512 * 512, Named(1, 0))),
              std::tuple(composer.GetLastHandOverTick(), ReadBuffer(*composer.GetPreviousFrame()),
                         ReadBuffer(*composer.GetNewestFrame())));
}

} // namespace
