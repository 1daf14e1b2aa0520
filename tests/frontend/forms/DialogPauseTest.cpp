/** @file DialogPauseTest.cpp Dialog keys by kind with a single close, the pause form's keys and buttons, and the colour
 * flash that removes itself. */
#include <tuple>

#include "FormsTestSupport.h"
#include "frontend/forms/ColorFlashForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/PauseForm.h"

using namespace formtest;
using form_names::kKeyEscape;
using form_names::kKeyPause;
using form_names::kKeyReturn;

TEST_F(FormsTest, DialogsAndThePauseFormHearTheirKeysOnceAndTheColourFlashRemovesItself)
{
    // Dialog keys by kind close once, with their sound: kind, key, closes, accepted, sounds.
    const std::tuple<std::int32_t, unsigned int, bool, bool, std::vector<EUiSound>> dialogCases[] = {
        {0, kKeyReturn, false, false, {}},
        {0, kKeyEscape, false, false, {}},
        {1, kKeyEscape, false, false, {}},
        {1, form_names::kKeyUp, false, false, {}},
        {1, kKeyReturn, true, true, {EUiSound::Decide}},
        {2, kKeyReturn, true, true, {EUiSound::Decide}},
        {2, kKeyEscape, true, false, {EUiSound::Cancel}}};
    for (const auto& [kind, key, closes, accepted, heard] : dialogCases) {
        SCOPED_TRACE("kind " + std::to_string(kind) + " key " + std::to_string(key));
        sounds.clear();
        auto dialog = Show(boost::make_shared<CDialogForm>(kind, "CONFIRM", "one", "two", "three"));
        ASSERT_EQ(dialog, screen->GetActiveForm());
        // A dialog holds nothing but labels and panels, yet the named actions must reach it as keys: the window
        // scene hands them, not clicks, to an enabled, focusable keyed form with a focused control (that routing: the
        // window scene's input tests).
        EXPECT_EQ(std::tuple(true, true, true, form_names::kGroupKeyed, kind != 0, kind == 2),
                  std::tuple(dialog->IsEnabled(), dialog->IsFocusable(), dialog->GetFocusedLeaf() != nullptr,
                             dialog->GetGroup(), dialog->OkGuideLabel->IsVisible(),
                             dialog->CancelGuideLabel->IsVisible()));
        int closed = 0;
        dialog->ClosedEvent = [&closed](korvane::mwt::CForm*) { ++closed; };
        screen->OnKeyDown(key);
        screen->OnKeyDown(key);
        if (closes) {
            // Closing, it hears nothing more, whichever key.
            dialog->OnKeyDown(dialog.get(), kKeyReturn);
            dialog->OnKeyDown(dialog.get(), kKeyEscape);
        }
        Frames(60);
        EXPECT_EQ(std::tuple(closes ? 1 : 0, accepted, heard), std::tuple(closed, dialog->IsAccepted(), sounds));
        screen->RemoveAllControls();
    }

    // The pause form: the pause key or Continue resumes, Exit (next after the focused Continue) asks to leave; what,
    // act, exit asked, sound.
    const std::vector<std::tuple<const char*, std::function<void(CPauseForm&)>, bool, EUiSound>> cases = {
        {"pause key", [this](CPauseForm&) { screen->OnKeyDown(kKeyPause); }, false, EUiSound::Cancel},
        {"continue", [this](CPauseForm& form) { ClickOn(*form.ContinueButton); }, false, EUiSound::Decide},
        {"down then decide",
         [this](CPauseForm& form) {
             form.FocusNext();
             ClickOn(*form.GetFocusedLeaf());
         },
         true, EUiSound::Decide},
    };
    for (const auto& [what, act, exit, sound] : cases) {
        sounds.clear();
        auto pause = Show(boost::make_shared<CPauseForm>());
        act(*pause);
        // During the fade-out nothing more counts.
        screen->OnKeyDown(kKeyPause);
        pause->OnKeyDown(pause.get(), kKeyPause);
        pause->OnExitToMainMenu(pause->ExitButton.get());
        EXPECT_EQ(std::tuple(true, exit, std::vector<EUiSound>{sound}),
                  std::tuple(pause->IsClosing(), pause->IsExitRequested(), sounds))
            << what;
        Frames(60);
        EXPECT_TRUE(FormsOf<CPauseForm>().empty()) << what;
    }

    // The colour flash never takes the focus and removes itself.
    auto flash = boost::make_shared<CColorFlashForm>();
    screen->AddControl(flash);
    flash->SetFocus();
    EXPECT_FALSE(screen->GetActiveForm());
    Frame();
    EXPECT_FALSE(flash->IsClosing()) << "it first opens";
    Frames(120);
    EXPECT_TRUE(FormsOf<CColorFlashForm>().empty());
}
