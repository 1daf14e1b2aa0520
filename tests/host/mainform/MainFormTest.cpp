/** @file MainFormTest.cpp The main form with scripted games: pause, continue, exit with confirmation, the close
 * message, game starts by language, side messages from the game thread; and the console picture: the cross-fade's
 * alpha, the quarter turn's corners, device loss and reset, lock failures, and what OpenGL really shows. */
#include "MainFormTestSupport.h"

#include <cmath>
#include <string>
#include <tuple>

#include <boost/weak_ptr.hpp>

#include "../HostTestSupport.h"
#include "KorvaneXDK/platform/sound/StreamingSound.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/GameSelectForm.h"
#include "host/ConsoleServices.h"
#include "host/ResourceCache.h"
#include "os/gfx/Testing.h"

using namespace mainform_test;

namespace
{

const bool gRegistered = (::testing::AddGlobalTestEnvironment(new MainFormEnvironment()), true);

constexpr unsigned int kReturn = 0x0D;
constexpr unsigned int kEscape = 0x1B;

} // namespace

TEST_F(MainFormTest, ThePauseKeyDoesNothingWhenDisabledClosingOrAnotherKey)
{
    struct Case
    {
        bool enabled, closing;
        unsigned int key;
    };
    for (const Case& c : {Case{false, false, CMainForm::kPauseKey}, Case{true, true, CMainForm::kPauseKey},
                          Case{true, false, kEscape}}) {
        sounds.clear();
        OpenWithGame();
        form->SetPauseEnabled(c.enabled);
        if (c.closing)
            form->Close();
        form->Pause(form.get(), c.key);
        EXPECT_TRUE(sounds.empty());
        EXPECT_TRUE(FormsOf<CPauseForm>().empty());
        EXPECT_FALSE(form->GetPauseForm());
        if (form->GetGameThread()) {
            EXPECT_FALSE(form->GetGameThread()->IsPaused());
        }
        Clear();
    }
}

TEST_F(MainFormTest, OpensEnabledAndTheGameSwitchesPausingFromItsThread)
{
    (void)gRegistered;
    Open(OneFrameThen([] { CMainForm::SetPauseEnabledOnInstance(false); }));
    EXPECT_EQ(form, screen->GetActiveForm());
    ASSERT_TRUE(form->MessageLabel);
    EXPECT_EQ(std::tuple(std::string("MainForm"), 1000, 0, std::string("QVR2WinMessage")),
              std::tuple(form->GetFormName(), form->GetGroup(), form->GetFormStyle(),
                         form->MessageLabel->GetFont().GetName()));
    EXPECT_TRUE(form->HasDeviceResources());
    EXPECT_EQ(35u, SoundGetEffectCount()) << "the effect bank loaded";
    EXPECT_TRUE(form->IsPauseEnabled());
    form->StartQVR2Game();
    ran.wait();
    EXPECT_FALSE(form->IsPauseEnabled());
    form->Pause(form.get(), CMainForm::kPauseKey);
    EXPECT_FALSE(form->GetPauseForm());
}

TEST_F(MainFormTest, PauseFadesPlayingMusicAndContinueResumesAtTheMusicVolume)
{
    OpenWithGame();
    ASSERT_EQ("rom0_qvr2\\", ResourceGetDataFolder());
    MusicSetVolume(-1200);
    MusicPlay(ResourceGet("music06"), 1);
    const boost::shared_ptr<korvane::ISound> music = CurrentMusic();
    ASSERT_TRUE(music && music->IsPlaying());

    form->Pause(form.get(), CMainForm::kPauseKey);
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Pause}, sounds);
    ASSERT_EQ(1u, FormsOf<CPauseForm>().size());
    EXPECT_EQ(FormsOf<CPauseForm>().front(), form->GetPauseForm());
    EXPECT_TRUE(form->GetGameThread()->IsPaused());
    auto* streaming = dynamic_cast<korvane::CStreamingSound*>(music.get());
    ASSERT_NE(nullptr, streaming);
    EXPECT_TRUE(streaming->IsFading());
    EXPECT_EQ(music, CurrentMusic());
    // The fade runs on its own clock; continuing waits for it so the resume is not undone.
    while (streaming->IsFading())
        os::system::Sleep(0);

    Continue();
    EXPECT_FALSE(form->GetGameThread()->IsPaused());
    EXPECT_TRUE(music->IsPlaying());
    // The volume goes through decibels and back.
    EXPECT_NEAR(-1200, music->GetVolumeScaled(), 5);
    EXPECT_EQ(form, screen->GetActiveForm());
    EXPECT_TRUE(FormsOf<CDialogForm>().empty());
}

TEST_F(MainFormTest, ExitAsksForConfirmationDeclinedResumesAcceptedReturnsToTheMenu)
{
    for (const bool accept : {false, true}) {
        OpenWithGame();
        form->Pause(form.get(), CMainForm::kPauseKey);
        Frames(40);
        form->GetPauseForm()->OnExitToMainMenu(nullptr);
        FramesUntilGone(form->GetPauseForm());
        const boost::shared_ptr<CDialogForm> dialog = form->GetQuitDialog();
        ASSERT_TRUE(dialog);
        ASSERT_EQ(1u, FormsOf<CDialogForm>().size());
        Frames(40);
        EXPECT_EQ(dialog, screen->GetActiveForm());
        EXPECT_EQ("CONFIRM", dialog->CaptionLabel->GetCaption());
        EXPECT_EQ("Quit the game and return to the main menu?", dialog->Line1Label->GetCaption());
        EXPECT_EQ("Progress since the last save will be lost.", dialog->Line2Label->GetCaption());
        EXPECT_TRUE(form->GetGameThread()->IsPaused());

        boost::weak_ptr<CPausableThread> thread = form->GetGameThread();
        dialog->OnKeyDown(dialog.get(), accept ? kReturn : kEscape);
        FramesUntilGone(dialog);
        if (!accept) {
            EXPECT_FALSE(form->IsClosing());
            ASSERT_TRUE(form->GetGameThread());
            EXPECT_FALSE(form->GetGameThread()->IsPaused());
            EXPECT_TRUE(FormsOf<CGameSelectForm>().empty());
        } else {
            EXPECT_TRUE(form->IsClosing());
            // Stopped and gone before the close animation has played.
            EXPECT_TRUE(thread.expired());
            FramesUntilGone(form);
            EXPECT_EQ(nullptr, form->GetParent());
            EXPECT_EQ(1u, FormsOf<CGameSelectForm>().size());
        }
        Clear();
    }
}

TEST_F(MainFormTest, TheWindowsCloseMessageStopsTheGameAndIsNotHandled)
{
    OpenWithGame();
    boost::weak_ptr<CPausableThread> thread = form->GetGameThread();
    EXPECT_FALSE(form->OnWindowMessage(nullptr, 0x0F, 0, 0, nullptr));
    EXPECT_FALSE(thread.expired());
    EXPECT_FALSE(form->OnWindowMessage(nullptr, CMainForm::kCloseMessage, 0, 0, nullptr));
    EXPECT_TRUE(thread.expired());
    EXPECT_FALSE(form->GetGameThread());
}

TEST_F(MainFormTest, GamesStartWithTheirNamesFoldersAndWallpapersAndReplaceEachOther)
{
    struct Case
    {
        const char* storeLanguage;
        bool main;
        const char* folder;
    };
    for (const Case& c :
         {Case{"english", true, "rom0_qvr2\\"}, Case{"japanese", true, "rom0_qvr2\\"},
          Case{"english", false, "rom0_tessaril_en\\"}, Case{"japanese", false, "rom0_tessaril_ja\\"}}) {
        MainFormEnvironment::ReinitialiseScene(c.storeLanguage);
        OpenWithGame();
        boost::weak_ptr<CPausableThread> first = form->GetGameThread();
        if (c.main)
            form->StartQVR2Game();
        else
            form->StartTessarilGame();
        EXPECT_TRUE(first.expired()) << c.folder;
        ASSERT_TRUE(form->GetGameThread());
        EXPECT_EQ(c.main ? "QVR DRAVOST" : "TESSARIL VORN", form->GetFormName());
        EXPECT_EQ(c.folder, ResourceGetDataFolder());
        EXPECT_EQ(c.main ? "formimage\\wallpaper_title.png" : "formimage\\wallpaper02.png",
                  CFormSceneLink::GetWallpaperPath());
        EXPECT_EQ(c.main ? "qvr2" : "tessaril", form->madeGames.back());
        Clear();
    }
    MainFormEnvironment::ReinitialiseScene("english");
}

TEST_F(MainFormTest, ASideMessageFromTheGameShowsByTheNextFrameAndEmptyHides)
{
    Open(OneFrameThen([] { CMainForm::ShowSideMessageOnInstance("STAGE 1"); }));
    EXPECT_FALSE(form->MessageLabel->IsVisible()) << "hidden at first";
    // Empty hides a label that was never shown.
    form->ShowSideMessage("");
    Frame();
    EXPECT_FALSE(form->MessageLabel->IsVisible());

    form->StartQVR2Game();
    ran.wait();
    EXPECT_FALSE(form->MessageLabel->IsVisible());
    Frame();
    EXPECT_TRUE(form->MessageLabel->IsVisible());
    EXPECT_EQ("STAGE 1", form->MessageLabel->GetCaption());

    form->ShowSideMessage("");
    Frame();
    EXPECT_FALSE(form->MessageLabel->IsVisible());
}

TEST_F(MainFormTest, TheTitleMenusGameButtonsStartTheirGameInAMainForm)
{
    for (const bool main : {true, false}) {
        auto menu = boost::make_shared<CGameSelectForm>();
        screen->AddControl(menu);
        Frames(40);
        (main ? menu->MainGameButton : menu->CompanionGameButton)->SetFocus();
        if (main)
            menu->OnMainGame(menu->MainGameButton.get());
        else
            menu->OnCompanionGame(menu->CompanionGameButton.get());
        EXPECT_TRUE(menu->IsClosing());
        const auto forms = FormsOf<CMainForm>();
        ASSERT_EQ(1u, forms.size());
        ASSERT_TRUE(forms.front()->GetGameThread());
        EXPECT_EQ(main ? "QVR DRAVOST" : "TESSARIL VORN", forms.front()->GetFormName());
        // Leaving the game brings a new menu back on the button that started it.
        forms.front()->Close();
        EXPECT_FALSE(forms.front()->GetGameThread());
        FramesUntilGone(forms.front());
        Frames(40);
        auto menus = FormsOf<CGameSelectForm>();
        ASSERT_EQ(1u, menus.size());
        EXPECT_NE(menu, menus.front());
        EXPECT_EQ(main ? menus.front()->MainGameButton : menus.front()->CompanionGameButton,
                  menus.front()->GetFocusedLeaf());
        screen->RemoveAllControls();
    }
}

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
