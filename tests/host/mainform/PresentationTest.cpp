/** @file PresentationTest.cpp The console picture: the cross-fade's alpha, the quarter turn's corners, device loss
 * and reset, lock failures, and what OpenGL really shows. */
#include "MainFormTestSupport.h"

#include <cmath>

#include "../HostTestSupport.h"
#include "host/ConsoleServices.h"
#include "os/gfx/Testing.h"

using namespace mainform_test;

namespace
{

constexpr PackedColor kBlueNoAlpha = 0x000000FFu;
constexpr PackedColor kGreen = 0xFF00FF00u;
constexpr PackedColor kRed = 0xFFFF0000u;
constexpr PackedColor kYellow = 0xFFFFFF00u;

/// The backdrop (palette 0, entry 0) for the next frames, everything else off.
void SetBackdrop(PackedColor colour)
{
    korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    ConsoleDisplayState& state = GetConsoleDisplayState();
    state = ConsoleDisplayState{};
    state.Palettes[0] = colour;
}

/// Whether the display lock can be taken by another thread now.
bool DisplayLockIsFree()
{
    auto taken = std::async(std::launch::async,
                            [] { korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock()); });
    return taken.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
}

class PresentationTest : public MainFormTest
{
protected:
    /// A canvas drawing the 1920 x 1080 screen into the quarter-size device, over black.
    void MakeCanvas()
    {
        korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
        device = driver->GetGraphics()->GetDevice();
        korvane::CShaderEnvironment* environment = driver->GetShaderEnvironment();
        korvane::Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kDeviceWidth, kDeviceHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);
        canvas.reset(new korvane::canvas::CCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        canvas->SetShaderPair(pair);
        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF000000u, 1.0f, 0));
        canvas->BeginDraw();
        pair->Begin();
        canvas->ResetClipRect();
        canvas->ResetMatrix(korvane::canvas::MakeScaling(0.25f, 0.25f));
    }

    /// Whether presenting now draws nothing at all.
    bool PresentDrawsNothing()
    {
        MakeCanvas();
        os::testing::ClearRecordedDraws();
        os::testing::SetDrawRecording(true);
        form->Present(form.get(), canvas.get());
        os::testing::SetDrawRecording(false);
        return os::testing::GetRecordedDraws().empty();
    }

    std::uint32_t PixelAt(int x, int y)
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        const auto index = static_cast<std::size_t>(y) * kDeviceWidth + static_cast<std::size_t>(x);
        return index < pixels.size() ? pixels[index] & 0xFFFFFFu : 0xDEADBEEFu;
    }

    os::gfx::Device* device = nullptr;
    boost::shared_ptr<korvane::CShaderPair> pair;
    boost::shared_ptr<korvane::canvas::CCanvas> canvas;
    host_test::InjectedClock clock;
};

} // namespace

TEST(PresentationMath, TheCrossFadeAlphaFallsOverOneDisplayFrame)
{
    struct Case
    {
        double last, now, rate;
        float alpha;
    };
    const double nan = std::nan("");
    for (const Case& c : {Case{75, 75, 75, 1.0f}, Case{75, 74, 75, 1.0f}, Case{75, 75.25, 75, 0.75f},
                          Case{75, 76, 75, 0.0f}, Case{75, 80, 75, 0.0f}, Case{75, 75.25, 150, 0.5f},
                          Case{75, 75, 0, 0.0f}, Case{75, 75.5, 0, 0.0f}, Case{75, nan, 75, 0.0f}})
        EXPECT_FLOAT_EQ(c.alpha, CMainForm::CrossFadeAlpha(c.last, c.now, c.rate))
            << c.last << " " << c.now << " " << c.rate;
}

TEST(PresentationMath, TheImageTurnsAQuarterWithItsRightEdgeOnTopAndFillsTheHeight)
{
    const korvane::Matrix4 m = CMainForm::PictureTransform(korvane::canvas::Rect2f(0, 0, 1920, 1080));
    const double s = 1080.0 / 448.0 * 1.0037037134170532;
    for (float x : {0.0f, 448.0f})
        for (float y : {0.0f, 288.0f}) {
            const korvane::Vector2<float> p = korvane::canvas::TransformPoint(m, korvane::Vector2<float>(x, y));
            EXPECT_NEAR(960 + (y > 0 ? 144 : -144) * s, p.x, 0.01) << x << "," << y;
            EXPECT_NEAR(540 + (x > 0 ? -224 : 224) * s, p.y, 0.01) << x << "," << y;
        }
    EXPECT_NEAR(1084.0, 448 * s, 0.5) << "fills the height";
}

TEST_F(PresentationTest, LostDropsTheBuffersAndResetMakesThemAgainZeroed)
{
    Open();
    SetBackdrop(kGreen);
    form->RenderConsoleFrame();
    ASSERT_EQ(kGreen, form->GetNewestFrame()->GetRow(5)[5]);
    form->OnDeviceLost();
    EXPECT_FALSE(form->HasDeviceResources());
    EXPECT_FALSE(form->GetNewestFrame());
    EXPECT_FALSE(form->GetPreviousFrame());
    EXPECT_FALSE(form->GetCompositionBuffer());
    // Meanwhile a hand-over and a draw do nothing.
    form->RenderConsoleFrame();
    EXPECT_TRUE(PresentDrawsNothing());

    form->OnDeviceReset();
    ASSERT_TRUE(form->HasDeviceResources());
    for (const auto& buffer : {form->GetNewestFrame(), form->GetPreviousFrame()}) {
        ASSERT_TRUE(buffer);
        EXPECT_EQ(2048, buffer->GetPitch());
        EXPECT_EQ(0u, buffer->GetRow(0)[0]);
        EXPECT_EQ(0u, buffer->GetRow(511)[511]);
    }
}

TEST_F(PresentationTest, AFailedLockThrowsWithTheDisplayLockReleased)
{
    Open();
    MakeCanvas();
    const std::size_t depth = canvas->GetMatrixDepth() + canvas->GetBrushDepth() + canvas->GetClipDepth();
    // At the draw: the upload of the previous frame cannot lock.
    form->failLocksAfter = 0;
    try {
        form->Present(form.get(), canvas.get());
        ADD_FAILURE() << "no exception";
    } catch (const korvane::EIOError& e) {
        EXPECT_EQ("Cannot lock texture", e.GetMessage());
    }
    EXPECT_TRUE(DisplayLockIsFree());
    EXPECT_EQ(depth, canvas->GetMatrixDepth() + canvas->GetBrushDepth() + canvas->GetClipDepth());
    // At a reset: the pitch lock.
    EXPECT_THROW(form->OnDeviceReset(), korvane::EIOError);
    EXPECT_TRUE(DisplayLockIsFree());
}

TEST_F(PresentationTest, AFailedUnlockLeavesNoBuffersAndNothingIsDrawn)
{
    Open();
    form->failUnlock = true;
    form->CreateDeviceResources();
    EXPECT_FALSE(form->HasDeviceResources());
    EXPECT_FALSE(form->GetNewestFrame());
    EXPECT_TRUE(PresentDrawsNothing());
    EXPECT_EQ(0u, PixelAt(kDeviceWidth / 2, kDeviceHeight / 2));
}

TEST_F(PresentationTest, ThePreviousFrameShowsRightAfterAHandOverAndTheNewestOneFrameLater)
{
    Open();
    form->frameRate = 75.0;
    clock.milliseconds = 1000.0; // tick 75 exactly
    SetBackdrop(kGreen);
    form->RenderConsoleFrame();
    SetBackdrop(kRed);
    form->RenderConsoleFrame();
    ASSERT_DOUBLE_EQ(75.0, form->GetLastHandOverTick());
    struct Case
    {
        double milliseconds;
        std::uint32_t shown;
    };
    for (const Case& c : {Case{1000.0, 0x00FF00u}, Case{1000.0 + 1000.0 / 75.0, 0xFF0000u}}) {
        clock.milliseconds = c.milliseconds;
        MakeCanvas();
        form->Present(form.get(), canvas.get());
        EXPECT_EQ(c.shown, PixelAt(kDeviceWidth / 2, kDeviceHeight / 2)) << c.milliseconds;
    }
}

TEST_F(PresentationTest, TheGamesTilesAndSpritesLandTurnedWhereTheTransformSays)
{
    // One frame of a scripted game: a yellow tile at the screen's top-right cell over a blue
    // backdrop, a red sprite at its top-left.
    Open(OneFrameThen([] {
        korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
        ConsoleDisplayState& state = GetConsoleDisplayState();
        state = ConsoleDisplayState{};
        state.Palettes[0] = kBlueNoAlpha;
        state.Palettes[1] = kYellow;
        state.Palettes[8 * 16 + 1] = kRed;
        for (int b = 0; b < 32; ++b)
            state.TilePatterns[32 + b] = 0x11; // pattern 1: every pixel 1
        state.TileMaps[0][0][27] = 1;
        state.Sprites[0] = 1; // pattern 1, palette 8, at (0, 0)
        state.SpriteCount = 1;
        state.DisplayMode = kConsoleModeLayer0 | kConsoleModeSprites;
    }));
    form->StartQVR2Game();
    ran.wait();
    form->DropGameThread();
    MakeCanvas();
    form->Present(form.get(), canvas.get());
    // The sprite is at the picture's bottom left, the tile at its top left, the backdrop between,
    // opaque though it has no alpha (no rate measured yet); outside the turned picture the target stays.
    EXPECT_EQ(0x0000FFu, PixelAt(kDeviceWidth / 2, kDeviceHeight / 2));
    EXPECT_EQ(0u, PixelAt(10, kDeviceHeight / 2));
    EXPECT_EQ(0xFF0000u, PixelAt(157, 265));
    EXPECT_EQ(0xFFFF00u, PixelAt(157, 4));
}

TEST_F(PresentationTest, AResizeThroughTheGraphicsObjectLeavesBlackFramesAndADestroyedFormHearsNothing)
{
    Open();
    SetBackdrop(kGreen);
    form->RenderConsoleFrame();
    form->RenderConsoleFrame();
    korvane::CDXGraphics* graphics = korvane::GetApplicationDriver()->GetGraphics();
    graphics->ResizeWindow(static_cast<int>(kDeviceWidth / 2), static_cast<int>(kDeviceHeight / 2));
    ASSERT_TRUE(form->HasDeviceResources());
    EXPECT_EQ(0u, form->GetNewestFrame()->GetRow(5)[5]);
    EXPECT_EQ(0u, form->GetPreviousFrame()->GetRow(5)[5]);
    form->RenderConsoleFrame();
    EXPECT_EQ(0u, form->GetPreviousFrame()->GetRow(5)[5]);
    EXPECT_EQ(kGreen, form->GetNewestFrame()->GetRow(5)[5]);

    screen->RemoveAllControls();
    form.reset();
    // The destroyed form has left the listeners.
    graphics->ResizeWindow(static_cast<int>(kDeviceWidth), static_cast<int>(kDeviceHeight));
}
