/** @file DialogPauseTest.cpp Dialog keys by kind with a single close, the pause form's keys and buttons, and the
 * colour flash that removes itself. */
#include "FormsTestSupport.h"
#include "frontend/forms/ColorFlashForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/PauseForm.h"

using namespace formtest;
using form_names::kKeyEscape;
using form_names::kKeyPause;
using form_names::kKeyReturn;

TEST_F(FormsTest, DialogKeysByKindCloseOnceWithTheirSound)
{
    struct Case
    {
        std::int32_t kind;
        unsigned int key;
        bool closes;
        bool accepted;
        std::vector<EUiSound> sounds;
    };
    const std::vector<Case> cases = {{0, kKeyReturn, false, false, {}},
                                     {0, kKeyEscape, false, false, {}},
                                     {1, kKeyEscape, false, false, {}},
                                     {1, form_names::kKeyUp, false, false, {}},
                                     {1, kKeyReturn, true, true, {EUiSound::Decide}},
                                     {2, kKeyReturn, true, true, {EUiSound::Decide}},
                                     {2, kKeyEscape, true, false, {EUiSound::Cancel}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " key " + std::to_string(c.key));
        sounds.clear();
        auto dialog = boost::make_shared<CDialogForm>(c.kind, "CONFIRM", "one", "two", "three");
        screen->AddControl(dialog);
        Frames(30);
        ASSERT_EQ(dialog, screen->GetActiveForm());
        // The window scene hands keys only to a form with a focused control.
        EXPECT_NE(nullptr, dialog->GetFocusedLeaf());
        EXPECT_EQ(c.kind != 0, dialog->OkGuideLabel->IsVisible());
        EXPECT_EQ(c.kind == 2, dialog->CancelGuideLabel->IsVisible());
        int closed = 0;
        dialog->ClosedEvent = [&closed](korvane::mwt::CForm*) { ++closed; };
        screen->OnKeyDown(c.key);
        screen->OnKeyDown(c.key);
        if (c.closes) {
            // Closing, it hears nothing more, whichever key.
            dialog->OnKeyDown(dialog.get(), kKeyReturn);
            dialog->OnKeyDown(dialog.get(), kKeyEscape);
        }
        Frames(60);
        EXPECT_EQ(c.closes ? 1 : 0, closed);
        EXPECT_EQ(c.accepted, dialog->IsAccepted());
        EXPECT_EQ(c.sounds, sounds);
        screen->RemoveAllControls();
    }
}

TEST_F(FormsTest, PauseResumesOnThePauseKeyOrContinueAndExitsByItsButton)
{
    struct Case
    {
        const char* what;
        std::function<void(CPauseForm&)> act;
        bool exit;
        EUiSound sound;
    };
    const std::vector<Case> cases = {
        {"pause key", [this](CPauseForm&) { screen->OnKeyDown(kKeyPause); }, false, EUiSound::Cancel},
        {"continue", [this](CPauseForm& form) { ClickOn(*form.ContinueButton); }, false, EUiSound::Decide},
        {"down then decide",
         [this](CPauseForm& form) {
             form.FocusNext();
             ClickOn(*form.GetFocusedLeaf());
         },
         true, EUiSound::Decide},
    };
    for (const Case& c : cases) {
        sounds.clear();
        auto pause = boost::make_shared<CPauseForm>();
        screen->AddControl(pause);
        Frames(30);
        ASSERT_EQ(pause->ContinueButton, pause->GetFocusedLeaf()) << c.what;
        c.act(*pause);
        // During the fade-out nothing more counts.
        screen->OnKeyDown(kKeyPause);
        pause->OnKeyDown(pause.get(), kKeyPause);
        pause->OnExitToMainMenu(pause->ExitButton.get());
        EXPECT_TRUE(pause->IsClosing()) << c.what;
        EXPECT_EQ(c.exit, pause->IsExitRequested()) << c.what;
        EXPECT_EQ(std::vector<EUiSound>{c.sound}, sounds) << c.what;
        Frames(60);
        EXPECT_TRUE(FormsOf<CPauseForm>().empty()) << c.what;
    }
}

TEST_F(FormsTest, TheColourFlashNeverTakesTheFocusAndRemovesItself)
{
    auto flash = boost::make_shared<CColorFlashForm>();
    screen->AddControl(flash);
    flash->SetFocus();
    EXPECT_FALSE(screen->GetActiveForm());
    Frame();
    EXPECT_FALSE(flash->IsClosing()) << "it first opens";
    Frames(120);
    EXPECT_TRUE(FormsOf<CColorFlashForm>().empty());
}
