/** @file AnimationTest.cpp The animation registry; the registered animations on a 100 x 40 control: what each shows
 * first, how it ends and when it finishes; the geometry of their transforms; the delay decorator; animations without a
 * control; and the tweens underneath. */
#include "KorvaneXDK/mwt/FadeInAnimation.h"
#include "KorvaneXDK/mwt/FlipSlideInAnimation.h"
#include "KorvaneXDK/mwt/MotionTween.h"
#include "KorvaneXDK/mwt/NullAnimationComponent.h"
#include "KorvaneXDK/mwt/SoftTouchAnimation.h"
#include "KorvaneXDK/mwt/SpreadOutAnimation.h"
#include "KorvaneXDK/mwt/TiltCloseAnimation.h"
#include "KorvaneXDK/mwt/ZoomOpenAnimation.h"
#include "MwtTest.h"

namespace
{

using P3 = Vector3<float>;

constexpr float kFrame = 0.01f;
/// What the control shows before an animation touches it, to tell a write from none.
const P3 kShift(7.0f, 9.0f, 0.0f);
const Color4<float> kSentinel(0.25f, 0.5f, 0.75f, 0.125f);
/// As an alpha: "the colour was not written"; as a finish: "never".
constexpr float kUntouched = -1.0f, kNever = kUntouched;

/// A 100 x 40 control, with the registered animation of that name when one is given.
boost::shared_ptr<CControl> MakeControl(const char* animation = nullptr)
{
    auto control = boost::make_shared<CControl>("target");
    control->SetSize(Vector2<float>(100.0f, 40.0f));
    control->SetEffectTransform(canvas::MakeTranslation(kShift.x, kShift.y));
    control->SetEffectColor(kSentinel);
    if (animation) {
        control->SetAnimation(CAnimationComponentStock::GetInstance()->Create(animation));
    }
    return control;
}

P3 Image(const CControl& control, const P3& p)
{
    return canvas::TransformPoint(control.GetEffectTransform(), p);
}

void ExpectNear(const P3& want, const P3& got, float tolerance = 1e-3f)
{
    EXPECT_THAT((std::array{got.x, got.y, got.z}),
                testing::Pointwise(testing::FloatNear(tolerance), std::array{want.x, want.y, want.z}));
}

void ExpectColor(float alpha, const CControl& control, float tolerance = 1e-5f)
{
    const Color4<float> c = control.GetEffectColor();
    EXPECT_EQ(alpha == kUntouched ? kSentinel : Color4<float>(1, 1, 1, c.a), c);
    EXPECT_NEAR(alpha == kUntouched ? kSentinel.a : alpha, c.a, tolerance);
}

/// Name, probe, where the probe starts and its alpha, the finish in seconds (0 at once, kNever never), where the probe
/// lands two seconds on (none for the loops) and its alpha.
using Row = std::tuple<const char*, P3, P3, float, float, std::optional<P3>, float>;

const P3 kCorner(100.0f, 40.0f, 0.0f);
const P3 kShifted(107.0f, 49.0f, 0.0f);
// On the control's centre (50, 20), 20 units at right angles to the tilt axis, in the screen's plane.
const P3 kAcrossTilt(50.0f + 17.320508f, 30.0f, 0.0f);

const Row kRows[] = {
    {"NullAnimation", kCorner, kShifted, kUntouched, 0.0f, kShifted, kUntouched},
    {"FadeIn", kCorner, kShifted, 0.0f, 0.2f, kShifted, 1.0f},
    {"FadeOut", kCorner, kShifted, 1.0f, 0.2f, kShifted, 0.0f},
    {"SmoothBlinkLoop", kCorner, kShifted, 1.0f, kNever, kShifted, 1.0f},
    // A line through the centre turned by 60 degrees, unrolling to the upright control.
    {"RollingOpen", kCorner, P3(75.0f, 63.30127f, 0.0f), 0.0f, 0.5f, kCorner, 1.0f},
    {"RollingClose", kCorner, kCorner, 1.0f, 0.5f, P3(75.0f, -23.30127f, 0.0f), 0.0f},
    // A quarter turn about the tilt axis lifts the point out of the screen onto the centre.
    {"TiltOpen", kAcrossTilt, P3(50.0f, 20.0f, -20.0f), 0.0f, 0.5f, kAcrossTilt, 1.0f},
    {"TiltClose", kAcrossTilt, kAcrossTilt, 1.0f, 0.5f, P3(50.0f, 20.0f, 20.0f), 0.0f},
    {"TiltCloseDelay", kAcrossTilt, kAcrossTilt, 1.0f, 0.7f, P3(50.0f, 20.0f, 20.0f), 0.0f},
    {"VerticalOpen", kCorner, P3(100.0f, 0.0f, 0.0f), 1.0f, 0.2f, kCorner, 1.0f},
    {"VerticalClose", kCorner, kCorner, 1.0f, 0.2f, P3(100.0f, 0.0f, 0.0f), 1.0f},
    {"VerticalCenterOpen", kCorner, P3(100.0f, 20.0f, 0.0f), 1.0f, 0.2f, kCorner, 1.0f},
    {"VerticalCenterOpenSlowly", kCorner, P3(100.0f, 20.0f, 0.0f), 1.0f, 0.35f, kCorner, 1.0f},
    {"VerticalCenterOpenSlowlyDelay", kCorner, P3(100.0f, 20.0f, 0.0f), 1.0f, 0.55f, kCorner, 1.0f},
    {"VerticalCenterClose", kCorner, kCorner, 1.0f, 0.2f, P3(100.0f, 20.0f, 0.0f), 1.0f},
    {"VerticalCenterCloseSlowly", kCorner, kCorner, 1.0f, 0.35f, P3(100.0f, 20.0f, 0.0f), 1.0f},
    {"SoftTouch", kCorner, kCorner, 1.0f, 0.24f, kCorner, 1.0f},
    {"SpreadOut", kCorner, kCorner, 1.0f, 0.5f, kCorner, 0.0f},
    {"SpreadIn", kCorner, P3(120.0f, 48.0f, 0.0f), 0.0f, 0.5f, kCorner, 1.0f},
    {"SpreadOutDelay", kCorner, kCorner, 1.0f, 0.9f, kCorner, 0.0f},
    {"ZoomOpen", kCorner, P3(60.0f, 24.0f, 0.0f), 0.0f, 0.5f, kCorner, 1.0f},
    {"SwingLoop", kCorner, kCorner, 1.0f, kNever, std::nullopt, 1.0f},
    {"RotationLoop", kCorner, kCorner, 1.0f, kNever, std::nullopt, 1.0f},
    // Edge-on about the vertical axis, still transparent (its fade waits 0.07 s).
    {"RotationYLoop", kCorner, P3(50.0f, 40.0f, -50.0f), 0.0f, kNever, std::nullopt, 1.0f},
    {"FlipSlideIn", kCorner, P3(132.0f, 8.0f, 0.0f), 0.0f, 0.35f, kCorner, 1.0f},
    {"FlipSlideOut", kCorner, kCorner, 1.0f, 0.35f, P3(68.0f, 72.0f, 0.0f), 0.0f},
    {"HorizontalMirrorStatic", kCorner, P3(0.0f, 40.0f, 0.0f), 1.0f, 0.0f, P3(0.0f, 40.0f, 0.0f), 1.0f}};

/// A stock of the default animations.
class AnimationStock : public testing::Test
{
protected:
    AnimationStock() { stock.RegisterDefaultAnimations(); }

    CAnimationComponentStock stock;
};

const P3 kCentre(50.0f, 20.0f, 0.0f);

} // namespace

TEST(AnimationRegistry, TheGlobalStockIsOneAndNamesEveryAnimationSorted)
{
    boost::shared_ptr<CAnimationComponentStock> global = CAnimationComponentStock::GetInstance();
    EXPECT_EQ(global, CAnimationComponentStock::GetInstance());
    Lines sorted = {"kept"}; // the output form appends
    for (const Row& row : kRows) {
        sorted.push_back(std::get<0>(row));
    }
    std::sort(sorted.begin() + 1, sorted.end());
    EXPECT_EQ(Lines(sorted.begin() + 1, sorted.end()), global->GetNames());
    Lines out = {"kept"};
    global->GetNames(out);
    EXPECT_EQ(sorted, out);
}

TEST_F(AnimationStock, AnUnknownNameIsNotFoundWhetherLookedUpOrAliased)
{
    const char* where = "class korvane::mwt::CAnimationComponentStock";
    for (const std::string name : {"fadein", "FADEIN", "", "FadeIn "}) {
        ExpectThrowWith<EInvalidParameter>([&] { stock.GetFactory(name); }, "animation '" + name + "' not found",
                                           where);
    }
    ExpectThrowWith<EInvalidParameter>([&] { stock.RegisterAlias("Press", "Nope"); }, "animation 'Nope' not found",
                                       where);
}

TEST_F(AnimationStock, AnAliasMakesTheExistingAnimationWhichKeepsItsName)
{
    stock.RegisterAlias("Press", "SoftTouch");
    boost::shared_ptr<CAnimationComponent> pressed = stock.Create("Press");
    EXPECT_EQ("SoftTouch", pressed->GetName());
    EXPECT_TRUE(dynamic_cast<CSoftTouchAnimation*>(pressed.get()));
}

TEST_F(AnimationStock, AnAliasReplacesARegisteredNameAndARegistrationOverwritesSilently)
{
    stock.RegisterAlias("FadeOut", "FadeIn");
    EXPECT_EQ("FadeIn", stock.Create("FadeOut")->GetName());
    stock.RegisterAnimation<CNullAnimationComponent>("FadeIn");
    EXPECT_TRUE(dynamic_cast<CNullAnimationComponent*>(stock.Create("FadeIn").get()));
    EXPECT_EQ("FadeIn", stock.Create("FadeIn")->GetName());
}

TEST_F(AnimationStock, HandedOutFactoriesKeepWhatTheyMadeAndASecondDefaultRegistrationChangesNothing)
{
    CAnimationComponentStock::Factory handedOut = stock.GetFactory("FadeIn");
    stock.RegisterAlias("Press", "SoftTouch");
    stock.RegisterAlias("FadeOut", "FadeIn");
    stock.RegisterAnimation<CNullAnimationComponent>("FadeIn");
    EXPECT_TRUE(dynamic_cast<CFadeInAnimation*>(handedOut().get()));
    stock.RegisterDefaultAnimations();
    EXPECT_TRUE(dynamic_cast<CNullAnimationComponent*>(stock.Create("FadeIn").get()));
    EXPECT_EQ(std::size(kRows) + 1, stock.GetNames().size());
}

TEST(EachAnimation, EveryFactoryCallMakesANewInstanceNamedAfterItsName)
{
    boost::shared_ptr<CAnimationComponentStock> global = CAnimationComponentStock::GetInstance();
    for (const auto& [name, probe, start, startAlpha, finish, end, endAlpha] : kRows) {
        SCOPED_TRACE(name);
        EXPECT_NE(global->GetFactory(name)(), global->GetFactory(name)());
        auto control = MakeControl(name);
        boost::shared_ptr<CAnimationComponent> animation = control->GetAnimation();
        EXPECT_EQ(name, animation->GetName());
    }
}

TEST(EachAnimation, ShowsItsStartEndsWhereItShouldAndFinishesOnTime)
{
    for (const auto& [name, probe, start, startAlpha, finish, end, endAlpha] : kRows) {
        SCOPED_TRACE(name);
        auto control = MakeControl(name);
        boost::shared_ptr<CAnimationComponent> animation = control->GetAnimation();
        ExpectNear(start, Image(*control, probe));
        ExpectColor(startAlpha, *control);

        float finishedAt = animation->IsFinished() ? 0.0f : kNever;
        for (int frame = 1; frame <= 200; ++frame) {
            animation->Update(kFrame);
            EXPECT_EQ(animation->IsFinished(), animation->IsCompleted());
            if (finishedAt == kNever && animation->IsFinished()) {
                finishedAt = static_cast<float>(frame) * kFrame;
            }
        }
        EXPECT_NEAR(finish, finishedAt, finish == kNever ? 0.0f : kFrame * 1.01f);
        if (end) {
            ExpectNear(*end, Image(*control, probe));
            ExpectColor(endAlpha, *control, 1e-3f);
        }
    }
}

TEST(EachAnimation, WithoutAControlItAdvancesAndWritesNothing)
{
    boost::shared_ptr<CAnimationComponentStock> global = CAnimationComponentStock::GetInstance();
    CComponent notAControl("component");
    for (const auto& [name, probe, start, startAlpha, finish, end, endAlpha] : kRows) {
        SCOPED_TRACE(name);
        // None, or a component that is no control.
        for (CComponent* parent : {static_cast<CComponent*>(nullptr), &notAControl}) {
            boost::shared_ptr<CAnimationComponent> loose = global->Create(name);
            loose->SetParent(parent);
            loose->Initialize();
            loose->Update(1.0f);
            loose->Update(0.5f);
            EXPECT_EQ(finish != kNever, loose->IsFinished());
        }
    }
}

TEST(AnimationGeometry, SoftTouchAndSpreadOutScaleAboutTheCentreExactlyAtTheirMarks)
{
    // The shrinking factors are the floats nearest 1 / 1.12 and 1 / 1.4, so both end at 1.0.
    const std::tuple<const char*, float, float, bool> rows[] = {{"SoftTouch", 0.04f, 1.12f, false},
                                                                {"SoftTouch", 0.24f, 1.0f, true},
                                                                {"SpreadOut", 0.5f, 1.4f, true},
                                                                {"SpreadOut", 0.52f, 1.0f, true}};
    for (const auto& [name, seconds, scale, finished] : rows) {
        SCOPED_TRACE(std::string(name) + " at " + std::to_string(seconds));
        auto control = MakeControl(name);
        control->GetAnimation()->Update(seconds);
        const Matrix4& m = control->GetEffectTransform();
        EXPECT_EQ(std::tuple(scale, scale, finished),
                  std::tuple(m.m[0], m.m[5], control->GetAnimation()->IsFinished()));
        ExpectNear(kCentre, Image(*control, kCentre), 1e-4f);
    }
}

TEST(AnimationGeometry, RollingOpensFirstFramePutsEveryCornerOnOneLineThroughTheCentreAt60Degrees)
{
    auto rolling = MakeControl("RollingOpen");
    for (const P3& corner : {P3(0, 0, 0), P3(100, 0, 0), P3(0, 40, 0), P3(100, 40, 0)}) {
        const P3 d = Image(*rolling, corner) - kCentre;
        EXPECT_NEAR(0.0f, d.x * 0.8660254f - d.y * 0.5f, 1e-3f);
    }
}

TEST(AnimationGeometry, SwingLoopSwingsTenDegreesEachWayAboutItsPivotAndIsBackAtThreeSeconds)
{
    // The pivot is (50, 10), pinned by a point 50 away: +10 degrees a quarter period in, -10 degrees three quarters in.
    auto swing = MakeControl("SwingLoop");
    for (const auto& [seconds, degrees] : {std::pair{0.75f, 10.0f}, {1.5f, -10.0f}, {0.75f, 0.0f}}) {
        swing->GetAnimation()->Update(seconds);
        swing->GetAnimation()->Update(0.0f);
        const float a = degrees * 3.14159265f / 180.0f;
        ExpectNear(P3(50.0f + 50.0f * std::cos(a), 10.0f + 50.0f * std::sin(a), 0.0f),
                   Image(*swing, P3(100.0f, 10.0f, 0.0f)));
    }
}

TEST(AnimationGeometry, RotationLoopTurnsAQuarterAboutTheCentreInTwoAndAHalfSeconds)
{
    auto rotation = MakeControl("RotationLoop");
    rotation->GetAnimation()->Update(2.5f);
    rotation->GetAnimation()->Update(0.0f);
    ExpectNear(P3(50.0f, 70.0f, 0.0f), Image(*rotation, P3(100.0f, 20.0f, 0.0f)));
}

TEST(AnimationGeometry, TiltOpenKeepsItsAxisThroughTheCentreInPlaceHalfwayThrough)
{
    // The axis is (0.5, -0.8660254, 0).
    auto tilt = MakeControl("TiltOpen");
    tilt->GetAnimation()->Update(0.1f);
    for (float k : {-20.0f, 10.0f, 30.0f}) {
        const P3 onAxis(50.0f + 0.5f * k, 20.0f - 0.8660254f * k, 0.0f);
        ExpectNear(onAxis, Image(*tilt, onAxis));
    }
    EXPECT_GT(std::fabs(Image(*tilt, kAcrossTilt).z), 1.0f);
}

TEST(AnimationGeometry, FlipSlidesMoveByWholeUnitsRoundingHalvesUp)
{
    for (const auto& [offset, translation] :
         {std::pair{P3(12.5f, -12.5f, 3.25f), P3(13, -12, 3.25f)}, {P3(12.49f, -12.51f, 0), P3(12, -13, 0)}}) {
        auto control = MakeControl();
        auto flip = boost::make_shared<CFlipSlideInAnimation>();
        control->SetAnimation(flip);
        flip->GetOffsetTween().SetFrom(offset);
        flip->GetOffsetTween().SetTo(offset);
        flip->Update(0.0f);
        EXPECT_EQ(translation, Image(*control, P3(0, 0, 0)));
    }
}

TEST(DelayDecorator, DuringTheDelayItShowsTheFirstFrameUprightAndOpaque)
{
    auto delayed = MakeControl("TiltCloseDelay");
    delayed->GetAnimation()->Update(0.1f);
    EXPECT_FALSE(delayed->GetAnimation()->IsFinished());
    ExpectNear(kAcrossTilt, Image(*delayed, kAcrossTilt), 1e-5f);
    ExpectColor(1.0f, *delayed);
}

TEST(DelayDecorator, TheFrameThatReachesTheDelayIsHandedOnWhole)
{
    auto delayed = MakeControl("TiltCloseDelay");
    auto plain = MakeControl();
    plain->SetAnimation(boost::make_shared<CTiltCloseAnimation>());
    delayed->GetAnimation()->Update(0.1f);

    // All its 0.15 s pass on, not the 0.05 s past the delay.
    delayed->GetAnimation()->Update(0.15f);
    plain->GetAnimation()->Update(0.15f);
    const float* m = plain->GetEffectTransform().m;
    EXPECT_TRUE(std::equal(m, m + 16, delayed->GetEffectTransform().m));
    EXPECT_EQ(plain->GetEffectColor(), delayed->GetEffectColor());
}

TEST(DelayDecorator, PassesItsParentAndEnabledFlagOn)
{
    auto decorated = CAnimationComponentStock::GetInstance()->Create("SpreadOutDelay");
    decorated->SetEnabled(false);
    auto target = MakeControl();
    target->SetAnimation(decorated);
    EXPECT_EQ(std::pair(static_cast<CComponent*>(target.get()), false),
              std::pair(decorated->GetParent(), decorated->IsEnabled()));
}

TEST(MotionTween, EasesAfterItsDelayAndHoldsItsEndOnceFinished)
{
    const std::tuple<float, float, float, float, float, bool> tweens[] = {
        {1.0f, 0.0f, 1.0f, 0.5f, 0.5f, false},
        {2.0f, 0.0f, 1.0f, 0.5f, 0.25f, false},
        {0.3f, 0.0f, 1.0f, 0.5f, 1.0f - std::pow(0.5f, 1.0f / 0.3f), false}, // about 0.9
        {1.0f, 0.2f, 0.3f, 0.1f, 0.0f, false},                               // before the delay
        {1.0f, 0.2f, 0.3f, 0.4999f, 0.9996667f, false},
        {1.0f, 0.2f, 0.3f, 0.5f, 1.0f, true},
        {1.0f, 0.2f, 0.3f, 7.0f, 1.0f, true}, // the clock runs on; the value stays
        {1.0f, 0.2f, 0.0f, 0.2f, 1.0f, true}, // zero duration: 0 / 0 clamps to the end
        {1.0f, 0.2f, 0.0f, 0.3f, 1.0f, true},
        {1.0f, 0.2f, 0.0f, 0.1f, 0.0f, false}};
    for (const auto& [easing, delay, duration, time, expected, finished] : tweens) {
        SCOPED_TRACE(testing::Message() << easing << " " << duration << " " << time);
        TMotionTween<float> tween;
        tween.SetFrom(0.0f);
        tween.SetTo(1.0f);
        tween.SetEasing(easing);
        tween.SetDelay(delay);
        tween.SetDuration(duration);
        tween.Advance(time);
        EXPECT_NEAR(tween.GetValue(), expected, 1e-6f);
        EXPECT_EQ(tween.IsFinished(), finished);
    }
}

TEST(MotionTween, AVectorTweenAdvancesJumpsToItsEndAndRewinds)
{
    TMotionTween<P3> scale;
    scale.SetFrom(P3(1, 0, 2));
    scale.SetTo(P3(1, 1, -2));
    scale.SetDuration(2.0f);
    scale.Advance(0.5f);
    scale.Advance(0.5f);
    EXPECT_EQ(scale.GetValue(), P3(1, 0.5f, 0));
    scale.JumpToEnd();
    EXPECT_EQ(std::tuple(2.0f, P3(1, 1, -2), true), std::tuple(scale.GetTime(), scale.GetValue(), scale.IsFinished()));
    scale.Rewind();
    EXPECT_EQ(scale.GetValue(), P3(1, 0, 2));
}
