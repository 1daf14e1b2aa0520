/** @file MainFormTest.cpp The main form with scripted games: pause, continue, exit with confirmation, the close
 * message, game starts by language, side messages from the game thread; and the console picture: the cross-fade's
 * alpha, the quarter turn's corners, device loss and reset, lock failures, and what OpenGL really shows. */
#include "MainFormTestSupport.h"

#include <cmath>

#include <boost/weak_ptr.hpp>

#include "../HostTestSupport.h"
#include "KorvaneXDK/platform/sound/StreamingSound.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "games/qvr2/QVR2Thread.h"
#include "host/ResourceCache.h"
#include "os/gfx/Testing.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"

using namespace mainform_test;

const bool gRegistered = (::testing::AddGlobalTestEnvironment(new MainFormEnvironment()), true);

// One game frame switches pausing off and sends a side message from the game's thread; then the
// window's close message stops the game without being handled.
TEST_F(MainFormTest, OpensEnabledTheGameSwitchesPausingAndShowsMessagesAndTheCloseMessageStopsIt)
{
    Open(OneFrameThen([] {
        CMainForm::SetPauseEnabledOnInstance(false);
        CMainForm::ShowSideMessageOnInstance("STAGE 1");
    }));
    ASSERT_TRUE(form->MessageLabel);
    // Active, its name, group, style, message font and hidden message, its device resources, the effect bank
    // loaded and pausing enabled.
    EXPECT_EQ(std::tuple(true, std::string("MainForm"), 1000, 0, std::string("QVR2WinMessage"), false, true, 35u, true),
              std::tuple(form == screen->GetActiveForm(), form->GetFormName(), form->GetGroup(), form->GetFormStyle(),
                         form->MessageLabel->GetFont().GetName(), form->MessageLabel->IsVisible(),
                         form->HasDeviceResources(), SoundGetEffectCount(), form->IsPauseEnabled()));

    form->StartQVR2Game();
    ASSERT_TRUE(GameRan());
    form->Pause(form.get(), CMainForm::kPauseKey); // disabled: no pause form, no sound
    EXPECT_EQ(std::tuple(false, true, true, false), std::tuple(form->IsPauseEnabled(), FormsOf<CPauseForm>().empty(),
                                                               sounds.empty(), form->MessageLabel->IsVisible()))
        << "the message waits for the next frame";
    Frame();
    EXPECT_EQ(std::pair(true, std::string("STAGE 1")),
              std::pair(form->MessageLabel->IsVisible(), form->MessageLabel->GetCaption()));
    form->ShowSideMessage("");
    Frame();
    EXPECT_FALSE(form->MessageLabel->IsVisible());

    boost::weak_ptr<CPausableThread> thread = form->GetGameThread();
    // Braces: in this order.
    EXPECT_EQ(std::tuple(false, false, false, true),
              (std::tuple{form->OnWindowMessage(nullptr, 0x0F, 0, 0, nullptr), thread.expired(),
                          form->OnWindowMessage(nullptr, CMainForm::kCloseMessage, 0, 0, nullptr), thread.expired()}));
}

// Pausing fades playing music and continuing resumes it at the music volume; exiting asks for a
// confirmation: declined, the game resumes; accepted, it stops and the title menu comes back.
TEST_F(MainFormTest, PauseContinueAndExitWithConfirmation)
{
    Open(OneFrameThen([] {}));
    form->StartQVR2Game();
    MusicSetVolume(-1200);
    MusicPlay(ResourceGet("music06"), 1);
    const boost::shared_ptr<korvane::ISound> music = CurrentMusic();
    ASSERT_TRUE(music && music->IsPlaying());

    form->Pause(form.get(), form_names::kKeyEscape); // another key: nothing, as the single sound and pause form show
    form->Pause(form.get(), CMainForm::kPauseKey);
    EXPECT_EQ(std::tuple(std::vector<EUiSound>{EUiSound::Pause}, std::vector{form->GetPauseForm()}, true),
              std::tuple(sounds, FormsOf<CPauseForm>(), form->GetGameThread()->IsPaused()));
    auto* streaming = dynamic_cast<korvane::CStreamingSound*>(music.get());
    ASSERT_TRUE(streaming && streaming->IsFading());
    EXPECT_EQ(music, CurrentMusic());
    // The fade runs on its own clock; continuing waits for it so the resume is not undone.
    const auto fadeDeadline = std::chrono::steady_clock::now() + kPatience;
    while (streaming->IsFading() && std::chrono::steady_clock::now() < fadeDeadline)
        os::system::Sleep(0);
    ASSERT_FALSE(streaming->IsFading()) << "the pause's fade did not end in " << kPatience.count() << " s";
    // Continue, once the pause menu has opened.
    Frames(40);
    form->GetPauseForm()->OnContinue(nullptr);
    FramesUntilGone(form->GetPauseForm());
    EXPECT_EQ(std::tuple(false, true, form, true), std::tuple(form->GetGameThread()->IsPaused(), music->IsPlaying(),
                                                              screen->GetActiveForm(), FormsOf<CDialogForm>().empty()));
    EXPECT_NEAR(-1200, music->GetVolumeScaled(), 5) << "the music volume, through decibels and back";

    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "accepted" : "declined");
        form->Pause(form.get(), CMainForm::kPauseKey);
        Frames(40);
        form->GetPauseForm()->OnExitToMainMenu(nullptr);
        FramesUntilGone(form->GetPauseForm());
        const boost::shared_ptr<CDialogForm> dialog = form->GetQuitDialog();
        ASSERT_EQ(std::vector{dialog}, FormsOf<CDialogForm>());
        Frames(40);
        EXPECT_EQ(
            std::tuple(dialog, true, std::string("CONFIRM"), std::string("Quit the game and return to the main menu?"),
                       std::string("Progress since the last save will be lost.")),
            std::tuple(screen->GetActiveForm(), form->GetGameThread()->IsPaused(), dialog->CaptionLabel->GetCaption(),
                       dialog->Line1Label->GetCaption(), dialog->Line2Label->GetCaption()));

        boost::weak_ptr<CPausableThread> thread = form->GetGameThread();
        dialog->OnKeyDown(dialog.get(), accept ? form_names::kKeyReturn : form_names::kKeyEscape);
        FramesUntilGone(dialog);
        EXPECT_EQ(accept, form->IsClosing());
        // Accepted: stopped and gone before the close animation has played.
        ASSERT_EQ(accept, thread.expired());
        // Declined: the game runs on and no menu comes.
        EXPECT_TRUE(accept || (!thread.lock()->IsPaused() && FormsOf<CGameSelectForm>().empty()));
    }
    // Closing: the pause key does nothing.
    form->Pause(form.get(), CMainForm::kPauseKey);
    EXPECT_TRUE(FormsOf<CPauseForm>().empty());
    FramesUntilGone(form);
    EXPECT_EQ(std::pair(true, std::size_t{1}),
              std::pair(form->GetParent() == nullptr, FormsOf<CGameSelectForm>().size()));
}

// Each title menu button starts its game, by the store's language, in a main form whose second start replaces the
// running game and whose close stops it. (A new menu after the close: the pause scenario; on the button that left
// it: the options tests' title menu on Options.)
TEST_F(MainFormTest, TheTitleMenusButtonsStartTheirGamesByLanguage)
{
    for (const auto& [storeLanguage, main, folder] :
         {std::tuple("english", true, "rom0_qvr2\\"), std::tuple("japanese", true, "rom0_qvr2\\"),
          std::tuple("english", false, "rom0_tessaril_en\\"), std::tuple("japanese", false, "rom0_tessaril_ja\\")}) {
        SCOPED_TRACE(folder);
        MainFormEnvironment::ReinitialiseScene(storeLanguage);
        auto menu = boost::make_shared<CGameSelectForm>();
        screen->AddControl(menu);
        Frames(40);
        const auto& button = main ? menu->MainGameButton : menu->CompanionGameButton;
        button->SetFocus();
        button->ClickEvent(button.get());
        const auto forms = FormsOf<CMainForm>();
        ASSERT_EQ(1u, forms.size());
        const boost::shared_ptr<CMainForm> game = forms.front();
        boost::weak_ptr<CPausableThread> first = game->GetGameThread();
        // The button's own game, before a second start replaces it.
        ASSERT_EQ(std::pair(false, main),
                  std::pair(first.expired(), dynamic_cast<CQVR2Thread*>(first.lock().get()) != nullptr));
        if (main)
            game->StartQVR2Game();
        else
            game->StartTessarilGame();
        EXPECT_TRUE(first.expired());
        EXPECT_EQ(std::tuple(true, std::string(main ? "QVR DRAVOST" : "TESSARIL VORN"), std::string(folder),
                             std::string(main ? "formimage\\wallpaper_title.png" : "formimage\\wallpaper02.png"), main),
                  std::tuple(menu->IsClosing(), game->GetFormName(), ResourceGetDataFolder(),
                             CFormSceneLink::GetWallpaperPath(),
                             dynamic_cast<CQVR2Thread*>(game->GetGameThread().get()) != nullptr));
        ASSERT_TRUE(game->GetGameThread());
        game->Close();
        EXPECT_FALSE(game->GetGameThread());
        screen->RemoveAllControls();
    }
    MainFormEnvironment::ReinitialiseScene("english");
}

namespace
{

constexpr std::uint32_t kBlueNoAlpha = 0x000000FFu;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kYellow = 0xFFFFFF00u;

/// The backdrop (palette 0, entry 0) for the next frames, everything else off.
void SetBackdrop(std::uint32_t colour)
{
    korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    GetConsoleDisplayState() = ConsoleDisplayState{};
    GetConsoleDisplayState().Palettes[0] = colour;
}

/// Whether the display lock can be taken by another thread now.
bool DisplayLockIsFree()
{
    auto taken = std::async(std::launch::async,
                            [] { korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock()); });
    return taken.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
}

/// The pixel (5, 5) of the newest and the previous frame.
std::pair<std::uint32_t, std::uint32_t> Kept(const CMainForm& form)
{
    return {form.GetNewestFrame()->GetRow(5)[5], form.GetPreviousFrame()->GetRow(5)[5]};
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
        return pixels.at(static_cast<std::size_t>(y) * kDeviceWidth + static_cast<std::size_t>(x)) & 0xFFFFFFu;
    }

    os::gfx::Device* device = nullptr;
    boost::shared_ptr<korvane::CShaderPair> pair;
    boost::shared_ptr<korvane::canvas::CCanvas> canvas;
    host_test::InjectedClock clock;
};

} // namespace

TEST(PresentationMath, TheCrossFadeAlphaFallsOverOneFrameAndTheImageTurnsAQuarterFillingTheHeight)
{
    const double nan = std::nan("");
    for (const auto& [last, now, rate, alpha] :
         {std::tuple(75.0, 75.0, 75.0, 1.0f), std::tuple(75.0, 74.0, 75.0, 1.0f), std::tuple(75.0, 75.25, 75.0, 0.75f),
          std::tuple(75.0, 76.0, 75.0, 0.0f), std::tuple(75.0, 80.0, 75.0, 0.0f), std::tuple(75.0, 75.25, 150.0, 0.5f),
          std::tuple(75.0, 75.0, 0.0, 0.0f), std::tuple(75.0, nan, 75.0, 0.0f)})
        EXPECT_FLOAT_EQ(alpha, CMainForm::CrossFadeAlpha(last, now, rate)) << last << " " << now << " " << rate;

    // The image turns a quarter with its right edge on top and fills the height.
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

// Lost, the buffers go and a hand-over or a draw does nothing; reset, they come back zeroed; a
// resize through the graphics object leaves black frames; a destroyed form hears of no later resize.
TEST_F(PresentationTest, LostResetResizeFailedLocksTheFadeInAndTheGamesTilesAndSpritesTurned)
{
    Open();
    SetBackdrop(kGreen);
    form->RenderConsoleFrame();
    ASSERT_EQ(kGreen, form->GetNewestFrame()->GetRow(5)[5]);
    form->OnDeviceLost();
    EXPECT_FALSE(form->HasDeviceResources() || form->GetNewestFrame() || form->GetPreviousFrame() ||
                 form->GetCompositionBuffer());
    form->RenderConsoleFrame();
    EXPECT_TRUE(PresentDrawsNothing());

    form->OnDeviceReset();
    ASSERT_TRUE(form->HasDeviceResources());
    for (const auto& buffer : {form->GetNewestFrame(), form->GetPreviousFrame()}) {
        ASSERT_TRUE(buffer);
        EXPECT_EQ(std::tuple(2048, 0u, 0u),
                  std::tuple(buffer->GetPitch(), buffer->GetRow(0)[0], buffer->GetRow(511)[511]));
    }

    form->RenderConsoleFrame();
    form->RenderConsoleFrame();
    korvane::CDXGraphics* graphics = korvane::GetApplicationDriver()->GetGraphics();
    graphics->ResizeWindow(static_cast<int>(kDeviceWidth / 2), static_cast<int>(kDeviceHeight / 2));
    ASSERT_TRUE(form->HasDeviceResources());
    EXPECT_EQ(std::pair(0u, 0u), Kept(*form));
    form->RenderConsoleFrame();
    EXPECT_EQ(std::pair(kGreen, 0u), Kept(*form));
    screen->RemoveAllControls();
    form.reset();
    graphics->ResizeWindow(static_cast<int>(kDeviceWidth), static_cast<int>(kDeviceHeight));

    // A failed lock throws with the display lock released and the canvas' stacks as they were, its error line
    // naming the form's source; a failed unlock leaves no buffers, and nothing is drawn.
    Open();
    MakeCanvas();
    const std::size_t depth = canvas->GetMatrixDepth() + canvas->GetBrushDepth() + canvas->GetClipDepth();
    // At the draw: the upload of the previous frame cannot lock.
    form->failLocks = true;
    {
        korvane::test::LogCapture log;
        korvane::test::ExpectThrowWith<korvane::EIOError>([&] { form->Present(form.get(), canvas.get()); },
                                                          "Cannot lock texture");
        EXPECT_TRUE(log.Contains("DirectX Error: ") && log.Contains("\n\tMainForm(")) << log.All();
    }
    EXPECT_TRUE(DisplayLockIsFree());
    EXPECT_EQ(depth, canvas->GetMatrixDepth() + canvas->GetBrushDepth() + canvas->GetClipDepth());
    // At a reset: the pitch lock.
    EXPECT_THROW(form->OnDeviceReset(), korvane::EIOError);
    EXPECT_TRUE(DisplayLockIsFree());

    form->failLocks = false;
    form->failUnlock = true;
    form->CreateDeviceResources();
    EXPECT_FALSE(form->HasDeviceResources() || form->GetNewestFrame());
    EXPECT_EQ(std::pair(true, 0u), (std::pair{PresentDrawsNothing(), PixelAt(kDeviceWidth / 2, kDeviceHeight / 2)}));

    // With a measured rate, the previous frame shows right after a hand-over and the newest one frame later. A
    // game's tiles and sprites land turned where the transform says: a yellow tile at the screen's top-right cell
    // over a blue backdrop, a red sprite at its top-left.
    screen->RemoveAllControls();
    Open(OneFrameThen([] {
        SetBackdrop(kBlueNoAlpha);
        korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
        ConsoleDisplayState& state = GetConsoleDisplayState();
        state.Palettes[1] = kYellow;
        state.Palettes[8 * 16 + 1] = kRed;
        for (int b = 0; b < 32; ++b)
            state.TilePatterns[32 + b] = 0x11; // pattern 1: every pixel 1
        state.TileMaps[0][0][27] = 1;
        state.Sprites[0] = 1; // pattern 1, palette 8, at (0, 0)
        state.SpriteCount = 1;
        state.DisplayMode = kConsoleModeLayer0 | kConsoleModeSprites;
    }));
    form->frameRate = 75.0;
    clock.milliseconds = 1000.0; // tick 75 exactly
    SetBackdrop(kGreen);
    form->RenderConsoleFrame();
    SetBackdrop(kRed);
    form->RenderConsoleFrame();
    ASSERT_DOUBLE_EQ(75.0, form->GetLastHandOverTick());
    for (const auto& [milliseconds, shown] :
         {std::pair(1000.0, 0x00FF00u), std::pair(1000.0 + 1000.0 / 75.0, 0xFF0000u)}) {
        clock.milliseconds = milliseconds;
        MakeCanvas();
        form->Present(form.get(), canvas.get());
        EXPECT_EQ(shown, PixelAt(kDeviceWidth / 2, kDeviceHeight / 2)) << milliseconds;
    }

    form->frameRate = 0.0;
    form->StartQVR2Game();
    ASSERT_TRUE(GameRan());
    form->DropGameThread();
    MakeCanvas();
    form->Present(form.get(), canvas.get());
    // The sprite is at the picture's bottom left, the tile at its top left, the backdrop between,
    // opaque though it has no alpha (no rate measured); outside the turned picture the target stays.
    EXPECT_EQ((std::vector<std::uint32_t>{0x0000FFu, 0u, 0xFF0000u, 0xFFFF00u}),
              (std::vector{PixelAt(kDeviceWidth / 2, kDeviceHeight / 2), PixelAt(10, kDeviceHeight / 2),
                           PixelAt(157, 265), PixelAt(157, 4)}));
}

namespace
{

/// Its layout step resizes the window, so the graphics object's lost and reset notices reach the
/// form after it started listening and before it made its textures.
class CResizedWhileOpeningForm : public mainform_test::CTestMainForm
{
public:
    void InitializeComponent(korvane::CTextureCache* cache) override
    {
        korvane::GetApplicationDriver()->GetGraphics()->ResizeWindow(static_cast<int>(kDeviceWidth / 2),
                                                                     static_cast<int>(kDeviceHeight / 2));
        CTestMainForm::InitializeComponent(cache);
    }
};

} // namespace

TEST_F(PresentationTest, AResetBeforeTheTexturesAreMadeLeavesTheOpeningToMakeThem)
{
    form = boost::make_shared<CResizedWhileOpeningForm>();
    screen->AddControl(form);
    Frames(2);
    korvane::GetApplicationDriver()->GetGraphics()->ResizeWindow(static_cast<int>(kDeviceWidth),
                                                                 static_cast<int>(kDeviceHeight));
    ASSERT_TRUE(form->HasDeviceResources());
    EXPECT_EQ(2048, form->GetNewestFrame()->GetPitch());
}
