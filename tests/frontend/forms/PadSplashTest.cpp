/** @file PadSplashTest.cpp The opening screens read decide from an SDL virtual pad through the resource scene's
 * merged controller: one press skips each splash, and the program reaches one title menu. */
#include "FormsTestSupport.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LogoSplashForm.h"
#include "frontend/forms/TitleSplashForm.h"
#include "host/ResourceScene.h"
#include "support/InputTestSupport.h"

using namespace formtest;

namespace
{

class PadSplashTest : public FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        ASSERT_TRUE(sdl.Ok());
        ASSERT_TRUE(pad.Attached());
        korvane::test::PumpInput();
        ASSERT_TRUE(input.Initialize(true));
        host_testing::SetInput(&input);
        scene = CResourceScene::GetInstance();
        scene->RegisterInputActions();
        scene->ResetKeyMapping(korvane::kControllerXInput);
        // The splashes read the scene's own controller.
        CFormSceneLink::SetPressReader({});
    }

    void TearDown() override
    {
        FormsTest::TearDown();
        delete CResourceScene::GetInstance();
        host_testing::SetInput(nullptr);
        input.Finalize();
    }

    /// One frame as the program runs it: the scene polls the controller, then the screen updates.
    void PadFrame(bool decideDown)
    {
        pad.SetButton(SDL_CONTROLLER_BUTTON_A, decideDown);
        korvane::test::PumpInput();
        scene->PollController();
        Frame();
    }

    /// Holds decide for two frames and lets go; then frames until the splash is gone.
    template <typename TSplash>
    int SkipWithDecide(TSplash& splash)
    {
        PadFrame(true);
        PadFrame(true);
        PadFrame(false);
        int frames = 3;
        while (!splash.IsClosing() && frames < 400) {
            PadFrame(false);
            ++frames;
        }
        return frames;
    }

    korvane::test::JoystickSubsystem sdl;
    korvane::test::VirtualJoystick pad = korvane::test::VirtualJoystick::Pad(0x045E, 0x028E, "Forms Test Pad");
    korvane::CDXInput input{nullptr, nullptr};
    CResourceScene* scene = nullptr;
};

} // namespace

TEST_F(PadSplashTest, DecideOnThePadSkipsBothSplashesToOneTitleMenu)
{
    auto logo = boost::make_shared<CLogoSplashForm>();
    screen->AddControl(logo);
    const int logoFrames = SkipWithDecide(*logo);
    EXPECT_TRUE(logo->GetTimer().IsSkipRequested());
    EXPECT_LT(logoFrames, 30) << "the press in the first 0.3 s acts just after them";

    boost::shared_ptr<CTitleSplashForm> title;
    for (int frame = 0; frame < 40 && !title; ++frame) {
        PadFrame(false);
        if (!FormsOf<CTitleSplashForm>().empty()) {
            title = FormsOf<CTitleSplashForm>().front();
        }
    }
    ASSERT_TRUE(title);
    EXPECT_FALSE(title->GetTimer().IsSkipRequested()) << "the logo's press is not seen twice";
    SkipWithDecide(*title);
    EXPECT_LT(title->GetTimer().GetElapsed(), 1.0f);
    for (int frame = 0; frame < 60; ++frame) {
        PadFrame(false);
    }
    EXPECT_EQ(1u, FormsOf<CGameSelectForm>().size());
    EXPECT_TRUE(FormsOf<CTitleSplashForm>().empty());
    EXPECT_TRUE(FormsOf<CLogoSplashForm>().empty());
}
