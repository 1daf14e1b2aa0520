/** @file MotionTweenTest.cpp Tween easing, delay and finish boundaries, and the zero duration. */
#include <cmath>

#include <gtest/gtest.h>

#include "KorvaneXDK/mwt/MotionTween.h"

using namespace korvane;
using namespace korvane::mwt;

TEST(MotionTween, EasedValues)
{
    const struct
    {
        float easing, delay, duration, time;
        float expected;
        bool finished;
    } rows[] = {
        {1.0f, 0.0f, 1.0f, 0.5f, 0.5f, false},
        {2.0f, 0.0f, 1.0f, 0.5f, 0.25f, false},
        {0.3f, 0.0f, 1.0f, 0.5f, 1.0f - std::pow(0.5f, 1.0f / 0.3f), false}, // about 0.9
        {1.0f, 0.2f, 0.3f, 0.1f, 0.0f, false},                               // before the delay
        {1.0f, 0.2f, 0.3f, 0.4999f, 0.9996667f, false},
        {1.0f, 0.2f, 0.3f, 0.5f, 1.0f, true},
        {1.0f, 0.2f, 0.3f, 7.0f, 1.0f, true}, // the clock runs on; the value stays
        {1.0f, 0.2f, 0.0f, 0.2f, 1.0f, true}, // zero duration: 0 / 0 clamps to the end
        {1.0f, 0.2f, 0.0f, 0.3f, 1.0f, true},
        {1.0f, 0.2f, 0.0f, 0.1f, 0.0f, false},
    };
    for (const auto& row : rows) {
        TMotionTween<float> tween;
        tween.SetFrom(0.0f);
        tween.SetTo(1.0f);
        tween.SetEasing(row.easing);
        tween.SetDelay(row.delay);
        tween.SetDuration(row.duration);
        tween.Advance(row.time);
        EXPECT_NEAR(tween.GetValue(), row.expected, 1e-6f) << row.easing << " " << row.duration << " " << row.time;
        EXPECT_EQ(tween.IsFinished(), row.finished) << row.time;
    }
}

TEST(MotionTween, ComponentsMoveIndependently)
{
    TMotionTween<Color4<float>> fade;
    fade.SetFrom(Color4<float>(1, 1, 1, 0));
    fade.SetTo(Color4<float>(1, 1, 1, 1));
    fade.SetTime(0.5f);
    EXPECT_EQ(fade.GetValue(), Color4<float>(1, 1, 1, 0.5f));

    TMotionTween<Vector3<float>> scale;
    scale.SetFrom(Vector3<float>(1, 0, 2));
    scale.SetTo(Vector3<float>(1, 1, -2));
    scale.SetDuration(2.0f);
    scale.Advance(0.5f);
    scale.Advance(0.5f);
    EXPECT_EQ(scale.GetValue(), Vector3<float>(1, 0.5f, 0));
    scale.JumpToEnd();
    EXPECT_EQ(scale.GetTime(), 2.0f);
    EXPECT_EQ(scale.GetValue(), Vector3<float>(1, 1, -2));
    EXPECT_TRUE(scale.IsFinished());
    scale.Rewind();
    EXPECT_EQ(scale.GetValue(), Vector3<float>(1, 0, 2));
}
