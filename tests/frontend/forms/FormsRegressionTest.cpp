/** @file FormsRegressionTest.cpp Faults found in the forms, each kept fixed: checked through the window scene's own
 * input passes with a fake controller. */
#include <tuple>

#include "FormsTestSupport.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/LogoSplashForm.h"
#include "host/WindowSceneTestSupport.h"

namespace
{

class FormsRegression : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFormSceneLink::Reset();
        scene.reset(new host_test::CTestWindowScene());
        CFormSceneLink::SetSoundHandler([this](EUiSound sound) { sounds.push_back(sound); });
        scene->UpdateTransform();
        scene->GetScreenPtr()->Initialize();
        scene->AddStandingForms();
        // Only the forms under test take input.
        const auto children = scene->GetScreenPtr()->GetControls();
        for (const auto& child : children)
            if (auto logo = boost::dynamic_pointer_cast<CLogoSplashForm>(child))
                scene->GetScreenPtr()->RemoveControl(logo.get());
    }

    void TearDown() override
    {
        scene->GetScreenPtr()->RemoveAllControls();
        scene.reset();
        CFormSceneLink::Reset();
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            scene->RunFrame(formtest::kFrame);
    }

    std::unique_ptr<host_test::CTestWindowScene> scene;
    std::vector<EUiSound> sounds;
};

} // namespace

// A dialog holds nothing but labels and panels; the named actions must still reach it as keys, or a
// confirmation could never be answered from a pad or the keyboard.
TEST_F(FormsRegression, DialogsAnswerTheNamedActions)
{
    for (const auto& [kind, action, closes, accepted] : {std::tuple{0, "decide", false, false},
                                                         {1, "decide", true, true},
                                                         {2, "decide", true, true},
                                                         {2, "cancel", true, false}}) {
        auto dialog = boost::make_shared<CDialogForm>(kind, "CONFIRM", "one", "two", "three");
        scene->GetScreenPtr()->AddControl(dialog);
        Frames(40);
        ASSERT_EQ(dialog, scene->GetScreenPtr()->GetActiveForm());
        EXPECT_FALSE(scene->GetCursorForm()->IsVisible());
        scene->controller.Press(action);
        Frames(1);
        EXPECT_EQ(closes, dialog->IsClosing()) << kind << " " << action;
        EXPECT_EQ(accepted, dialog->IsAccepted()) << kind << " " << action;
        EXPECT_EQ(0, scene->cursorSounds);
        scene->controller.Release(action);
        Frames(60);
        scene->GetScreenPtr()->RemoveControl(dialog.get());
    }
}
