/** @file FormsRegressionTest.cpp Faults found in the forms, each kept fixed: checked through the window scene's own
 * input passes with a fake controller. */
#include <tuple>

#include "FormsTestSupport.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/LogoSplashForm.h"
#include "host/WindowSceneTestSupport.h"

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
    for (const auto& [kind, action, closes, accepted] : {std::tuple{0, "decide", false, false},
                                                         {1, "decide", true, true},
                                                         {2, "decide", true, true},
                                                         {2, "cancel", true, false}}) {
        SCOPED_TRACE(std::to_string(kind) + " " + action);
        auto dialog = boost::make_shared<CDialogForm>(kind, "CONFIRM", "one", "two", "three");
        screen.AddControl(dialog);
        frames(40);
        ASSERT_EQ(dialog, screen.GetActiveForm());
        EXPECT_FALSE(scene.GetCursorForm()->IsVisible());
        scene.controller.Press(action);
        frames(1);
        EXPECT_EQ(std::tuple(closes, accepted, 0),
                  std::tuple(dialog->IsClosing(), dialog->IsAccepted(), scene.cursorSounds));
        scene.controller.Release(action);
        frames(60);
        screen.RemoveControl(dialog.get());
    }
    screen.RemoveAllControls();
    CFormSceneLink::Reset();
}
