/** @file SplashTest.cpp The opening screens lead to one title menu: alone after their timeouts, or skipped by
 * decide after the grace time, each press read once. */
#include "FormsTestSupport.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LogoSplashForm.h"
#include "frontend/forms/TitleSplashForm.h"

using namespace formtest;

namespace
{

class SplashTest : public FormsTest
{
protected:
    /// Frames until the splash starts closing; its timer then checks the strict rule.
    template <typename TSplash>
    int FramesUntilClosing(TSplash& splash, float leaveAfter, int limit = 400)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            Frame();
            if (splash.IsClosing()) {
                const float before = splash.GetTimer().GetElapsed() - kFrame;
                EXPECT_GT(before, leaveAfter);
                EXPECT_LE(before - kFrame, leaveAfter + 1e-4f);
                return frame;
            }
        }
        ADD_FAILURE() << "the splash never closed";
        return limit;
    }
};

} // namespace

TEST_F(SplashTest, WithoutInputEachSplashTimesOutAndOneTitleMenuOpens)
{
    auto logo = boost::make_shared<CLogoSplashForm>();
    screen->AddControl(logo);
    EXPECT_FALSE(screen->GetActiveForm()) << "a splash never takes the screen's focus";
    FramesUntilClosing(*logo, 2.5f);
    EXPECT_TRUE(FormsOf<CTitleSplashForm>().empty()) << "the title splash waits for the logo's fade-out";

    boost::shared_ptr<CTitleSplashForm> title;
    for (int frame = 0; frame < 40 && !title; ++frame) {
        Frame();
        if (!FormsOf<CTitleSplashForm>().empty()) {
            title = FormsOf<CTitleSplashForm>().front();
            // 0.45 s of fade at 75 frames a second.
            EXPECT_NEAR(frame + 1, 34, 1);
        }
    }
    ASSERT_TRUE(title);
    EXPECT_TRUE(FormsOf<CLogoSplashForm>().empty());

    FramesUntilClosing(*title, 2.5f);
    const auto menus = FormsOf<CGameSelectForm>();
    ASSERT_EQ(1u, menus.size()) << "the title menu opens in the frame the title splash starts closing";
    const auto& children = screen->GetControls();
    const auto titleAt = std::find(children.begin(), children.end(), title) - children.begin();
    const auto menuAt = std::find(children.begin(), children.end(), menus.front()) - children.begin();
    EXPECT_GT(menuAt, titleAt) << "the menu lies in front of the fading splash";

    Frames(60);
    EXPECT_EQ(1u, FormsOf<CGameSelectForm>().size());
    EXPECT_TRUE(FormsOf<CTitleSplashForm>().empty());
}

TEST_F(SplashTest, DecideSkipsBothSplashesAfterTheGraceTime)
{
    auto logo = boost::make_shared<CLogoSplashForm>();
    screen->AddControl(logo);
    latched.insert("decide");
    latched.insert("cancel");
    Frame();
    EXPECT_EQ(std::vector<std::string>{"decide"}, reads) << "cancel is not read once decide was pressed";
    EXPECT_EQ(1u, latched.count("cancel")) << "the cancel latch stays for whoever reads next";
    latched.clear();
    reads.clear();
    FramesUntilClosing(*logo, 0.3f);
    EXPECT_TRUE(reads.empty()) << "a known skip reads no more presses";

    auto titles = FormsOf<CTitleSplashForm>();
    for (int frame = 0; frame < 40 && titles.empty(); ++frame) {
        Frame();
        titles = FormsOf<CTitleSplashForm>();
    }
    ASSERT_EQ(1u, titles.size());
    latched.insert("cancel");
    FramesUntilClosing(*titles.front(), 0.3f);
    Frames(60);
    EXPECT_EQ(1u, FormsOf<CGameSelectForm>().size());
    EXPECT_TRUE(FormsOf<CLogoSplashForm>().empty());
    EXPECT_TRUE(FormsOf<CTitleSplashForm>().empty());
}
