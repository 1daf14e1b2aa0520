/** @file MainFormTest.cpp The main form's flow with scripted games: pause, continue, exit with confirmation, the
 * close message, game starts by language, and side messages from the game thread. */
#include "MainFormTestSupport.h"

#include <boost/weak_ptr.hpp>

#include "KorvaneXDK/platform/sound/StreamingSound.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/GameSelectForm.h"
#include "host/ResourceCache.h"

using namespace mainform_test;

namespace
{

const bool gRegistered = (::testing::AddGlobalTestEnvironment(new MainFormEnvironment()), true);

constexpr unsigned int kReturn = 0x0D;
constexpr unsigned int kEscape = 0x1B;

} // namespace

TEST_F(MainFormTest, OpensWithTheHiddenLabelFocusBuffersAndEffects)
{
    (void)gRegistered;
    Open();
    ASSERT_TRUE(form->MessageLabel);
    EXPECT_FALSE(form->MessageLabel->IsVisible());
    EXPECT_EQ(form, screen->GetActiveForm());
    EXPECT_TRUE(form->HasDeviceResources());
    EXPECT_EQ(35u, SoundGetEffectCount()) << "the effect bank loaded";
    EXPECT_TRUE(form->IsPauseEnabled());
}

TEST_F(MainFormTest, ThePauseKeyDoesNothingWhenDisabledClosingOrAnotherKey)
{
    struct Case
    {
        bool enabled;
        bool closing;
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

TEST_F(MainFormTest, TheGameSwitchesPausingFromItsThread)
{
    Open(OneFrameThen([] { CMainForm::SetPauseEnabledOnInstance(false); }));
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
