/** @file DialogPauseTest.cpp Dialog keys by kind with a single close, the pause form's keys and buttons, the colour
 * flash that removes itself, and the named actions reaching a dialog through the window scene's own input passes
 * with a fake controller. */
#include <tuple>

#include "FormsTestSupport.h"
#include "frontend/forms/ColorFlashForm.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/LogoSplashForm.h"
#include "frontend/forms/PauseForm.h"
#include "host/WindowSceneTestSupport.h"

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
        // The window scene hands keys only to a form with a focused control.
        EXPECT_EQ(std::tuple(true, kind != 0, kind == 2),
                  std::tuple(dialog->GetFocusedLeaf() != nullptr, dialog->OkGuideLabel->IsVisible(),
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

    // The pause form: the pause key or Continue resumes, Exit asks to leave; what, act, exit asked, sound.
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
        ASSERT_EQ(pause->ContinueButton, pause->GetFocusedLeaf()) << what;
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

// A dialog holds nothing but labels and panels; the named actions must still reach it as keys, or a
// confirmation could never be answered from a pad or the keyboard.
TEST(FormsRegression, DialogsAnswerTheNamedActions)
{
    CFormSceneLink::Reset();
    host_test::CTestWindowScene scene;
    CFormSceneLink::SetSoundHandler([](EUiSound) {});
    scene.UpdateTransform();
    korvane::mwt::CScreen& screen = *scene.GetScreenPtr();
    screen.Initialize();
    scene.AddStandingForms();
    // Only the forms under test take input.
    const auto children = screen.GetControls();
    for (const auto& child : children)
        if (auto logo = boost::dynamic_pointer_cast<CLogoSplashForm>(child))
            screen.RemoveControl(logo.get());
    const auto frames = [&scene](int count) {
        for (int i = 0; i < count; ++i)
            scene.RunFrame(formtest::kFrame);
    };
    // Kind 0 ignoring decide and kind 1 taking it are the key table's rows above.
    for (const auto& [kind, action, accepted] : {std::tuple{2, "decide", true}, {2, "cancel", false}}) {
        SCOPED_TRACE(std::to_string(kind) + " " + action);
        auto dialog = boost::make_shared<CDialogForm>(kind, "CONFIRM", "one", "two", "three");
        screen.AddControl(dialog);
        frames(40);
        ASSERT_EQ(dialog, screen.GetActiveForm());
        EXPECT_FALSE(scene.GetCursorForm()->IsVisible());
        scene.controller.Press(action);
        frames(1);
        EXPECT_EQ(std::tuple(true, accepted, 0),
                  std::tuple(dialog->IsClosing(), dialog->IsAccepted(), scene.cursorSounds));
        scene.controller.Release(action);
        frames(60);
        screen.RemoveControl(dialog.get());
    }
    screen.RemoveAllControls();
    CFormSceneLink::Reset();
}
