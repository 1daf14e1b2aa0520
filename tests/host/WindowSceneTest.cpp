/** @file WindowSceneTest.cpp The window scene without a graphics device: fit scale, turns, aspect. */
#include <cmath>

#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "WindowSceneTestSupport.h"
#include "host/ScreenFit.h"

namespace
{

constexpr float kPi = 3.14159265f;

::testing::AssertionResult NearRelative(float expected, float actual)
{
    if (std::fabs(expected - actual) <= 1e-6f * std::fabs(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

TEST(WindowSceneFit, ScaleOverEveryRotationAndAspect)
{
    struct FitCase
    {
        std::int32_t rotation, aspectSetting;
        float scale;
    };
    const FitCase cases[] = {
        {0, 1, 1.0f},       {0, 3, 1.0f},       {2, 2, 1.0f},  {2, 4, 1.0f},       {1, 1, 1.5555556f},
        {1, 2, 1.5555556f}, {1, 3, 1.3333334f}, {1, 4, 1.25f}, {3, 1, 1.5555556f}, {3, 3, 1.3333334f},
    };
    for (const FitCase& c : cases) {
        host_test::CTestWindowScene scene;
        scene.SetAspectRatio(c.aspectSetting);
        scene.SetScreenRotation(c.rotation);
        scene.RunFrame(0.0f);
        EXPECT_TRUE(NearRelative(c.scale, scene.GetCurrentScale())) << c.rotation << " x " << c.aspectSetting;
        EXPECT_NEAR(static_cast<float>(c.rotation) * 1.5707964f, scene.GetCurrentAngle(), 1e-5f);
    }
}

TEST(WindowSceneFit, OwnAspectOfTheBackBufferAndItsBand)
{
    host_test::CTestWindowScene scene;
    scene.backBufferWidth = 1280;
    scene.backBufferHeight = 1024;
    scene.SetAspectRatio(0);
    EXPECT_FLOAT_EQ(1.25f, scene.GetAspect());
    EXPECT_FLOAT_EQ(285.0f, screen_fit::BandLeft(scene.GetAspect()));
    scene.SetAspectRatio(7); // unknown: the back buffer's own
    EXPECT_FLOAT_EQ(1.25f, scene.GetAspect());
    EXPECT_EQ(1280u, scene.GetViewport().GetWidth());
    EXPECT_EQ(1920.0f, scene.GetScreenPtr()->GetSize().x);
}

TEST(WindowSceneFit, TransformTurnsAndScalesAboutTheCentre)
{
    const korvane::Matrix4 m = screen_fit::ScreenTransform(1920.0f, 1080.0f, 1.5707964f, 2.0f);
    // A quarter turn clockwise on a y-down canvas: right of the centre goes below it, the centre stays.
    for (const auto& [from, to] : {std::pair{960.0f, 540.0f}, std::pair{1060.0f, 740.0f}}) {
        const korvane::Vector2<float> p = korvane::canvas::TransformPoint(m, korvane::Vector2<float>(from, 540));
        EXPECT_NEAR(960.0f, p.x, 1e-3f);
        EXPECT_NEAR(to, p.y, 1e-3f);
    }
}

TEST(WindowSceneTurn, FirstFrameShowsAtOnceThenTurnsOverThreeTenths)
{
    host_test::CTestWindowScene scene;
    scene.SetAspectRatio(1);
    scene.SetScreenRotation(1);
    scene.RunFrame(0.0f);
    EXPECT_TRUE(NearRelative(kPi / 2, scene.GetCurrentAngle()));

    // 1 to 3 goes the long way, through a half turn.
    scene.SetScreenRotation(3);
    scene.RunFrame(0.1f);
    // A third of the way in time, with the fast start of easing 0.3: past the half turn.
    const float expected = kPi / 2 + kPi * (1.0f - std::pow(2.0f / 3.0f, 1.0f / 0.3f));
    EXPECT_NEAR(expected, scene.GetCurrentAngle(), 1e-4f);
    EXPECT_GT(scene.GetCurrentAngle(), kPi);
    scene.RunFrame(0.1f);
    scene.RunFrame(0.1f);
    EXPECT_TRUE(NearRelative(3 * kPi / 2, scene.GetCurrentAngle()));
    EXPECT_TRUE(NearRelative(1.5555556f, scene.GetCurrentScale()));
}

TEST(WindowSceneTurn, AspectChangeAndRestoreJump)
{
    host_test::CTestWindowScene scene;
    scene.SetAspectRatio(1);
    scene.SetScreenRotation(1);
    scene.RunFrame(0.0f);
    scene.SetAspectRatio(3);
    scene.RunFrame(0.01f);
    EXPECT_TRUE(NearRelative(1.3333334f, scene.GetCurrentScale()));
    scene.SetScreenRotation(2);
    scene.Restore();
    scene.RunFrame(0.01f);
    EXPECT_TRUE(NearRelative(kPi, scene.GetCurrentAngle()));
    EXPECT_TRUE(NearRelative(1.0f, scene.GetCurrentScale()));
}

} // namespace
