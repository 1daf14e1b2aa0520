/** @file SplashTest.cpp The opening screens lead to one title menu: alone after their timeouts, skipped by decide
 * after the grace time with each press read once. */
#include <tuple>

#include "FormsTestSupport.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LogoSplashForm.h"
#include "frontend/forms/TitleSplashForm.h"
#include "frontend/forms/WallpaperForm.h"

using namespace formtest;

class SplashTest : public FormsTest
{
protected:
    /// Frames until the splash starts closing; its timer then checks the strict rule.
    template <typename TSplash>
    void FramesUntilClosing(TSplash& splash, float leaveAfter)
    {
        for (int frame = 1; frame <= 400; ++frame) {
            Frame();
            if (splash.IsClosing()) {
                const float before = splash.GetTimer().GetElapsed() - kFrame;
                EXPECT_GT(before, leaveAfter);
                EXPECT_LE(before - kFrame, leaveAfter + 1e-4f);
                return;
            }
        }
        ADD_FAILURE() << "the splash never closed";
    }

    /// Frames until the title splash is on the screen (at most 40): it and the frames it took.
    std::pair<boost::shared_ptr<CTitleSplashForm>, int> AwaitTitle()
    {
        for (int count = 1; count <= 40; ++count) {
            Frame();
            if (auto titles = FormsOf<CTitleSplashForm>(); !titles.empty())
                return {titles.front(), count};
        }
        return {nullptr, 40};
    }

    /// A second later, the title menu alone is left.
    void ExpectOneMenuAlone()
    {
        Frames(60);
        EXPECT_EQ(std::tuple(1u, 0u, 0u),
                  std::tuple(FormsOf<CGameSelectForm>().size(), FormsOf<CTitleSplashForm>().size(),
                             FormsOf<CLogoSplashForm>().size()));
    }
};

TEST_F(SplashTest, WithoutInputEachSplashTimesOutAndDecideSkipsBothAfterTheGraceTimeAndOneTitleMenuOpens)
{
    auto logo = boost::make_shared<CLogoSplashForm>();
    screen->AddControl(logo);
    EXPECT_FALSE(screen->GetActiveForm()) << "a splash never takes the screen's focus";
    FramesUntilClosing(*logo, 2.5f);
    EXPECT_TRUE(FormsOf<CTitleSplashForm>().empty()) << "the title splash waits for the logo's fade-out";
    const auto [title, frames] = AwaitTitle();
    ASSERT_TRUE(title);
    // 0.45 s of fade at 75 frames a second, and the logo gone with it.
    EXPECT_NEAR(frames, 34, 1);
    EXPECT_TRUE(FormsOf<CLogoSplashForm>().empty());

    FramesUntilClosing(*title, 2.5f);
    const auto menus = FormsOf<CGameSelectForm>();
    ASSERT_EQ(1u, menus.size()) << "the title menu opens in the frame the title splash starts closing";
    const auto& children = screen->GetControls();
    EXPECT_GT(std::find(children.begin(), children.end(), menus.front()),
              std::find(children.begin(), children.end(), title))
        << "the menu lies in front of the fading splash";
    ExpectOneMenuAlone();

    // Decide skips both splashes after the grace time.
    screen->RemoveAllControls();
    logo = boost::make_shared<CLogoSplashForm>();
    screen->AddControl(logo);
    latched.insert("decide");
    latched.insert("cancel");
    reads.clear();
    Frame();
    // Cancel is not read once decide was pressed, and its latch stays for whoever reads next.
    EXPECT_EQ(std::tuple(std::vector<std::string>{"decide"}, 1u), std::tuple(reads, latched.count("cancel")));
    latched.clear();
    reads.clear();
    FramesUntilClosing(*logo, 0.3f);
    EXPECT_TRUE(reads.empty()) << "a known skip reads no more presses";
    const auto next = AwaitTitle().first;
    ASSERT_TRUE(next);
    latched.insert("cancel");
    FramesUntilClosing(*next, 0.3f);
    ExpectOneMenuAlone();
}

// The splashes' logos and titles and the wallpaper's picture may take the focus inside their forms, and each logo
// takes its picture's own size; the screen still gives no splash its focus, so no press is taken from a splash.
TEST_F(SplashTest, PicturesAndTitlesAreFocusableAndTheLogosSizeThemselves)
{
    auto logo = boost::make_shared<CLogoSplashForm>();
    auto title = boost::make_shared<CTitleSplashForm>();
    auto wallpaper = boost::make_shared<CWallpaperForm>(form_names::kImageTitleWallpaper);
    screen->AddControl(logo);
    screen->AddControl(title);
    screen->AddControl(wallpaper);
    using Flags = std::tuple<std::string, bool, bool>;
    const auto flags = [](const auto& control) {
        return Flags{control->GetName(), control->IsFocusable(), control->IsAutoSize()};
    };
    EXPECT_EQ((std::vector<Flags>{{"Image", true, true},
                                  {"Image1", true, true},
                                  {"Label1", true, true},
                                  {"Label2", true, true},
                                  {"Label3", true, true},
                                  {"Image", true, false}}),
              (std::vector<Flags>{flags(logo->Image), flags(logo->Image1), flags(title->Label1), flags(title->Label2),
                                  flags(title->Label3), flags(wallpaper->Image)}));
    using Focus = std::pair<korvane::mwt::CForm*, korvane::mwt::CControl*>;
    EXPECT_EQ(Focus(nullptr, logo->Image.get()), Focus(screen->GetActiveForm().get(), logo->GetFocusedLeaf().get()));
}
