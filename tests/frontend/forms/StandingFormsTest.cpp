/** @file StandingFormsTest.cpp The fades, the wallpaper's cross-fade, the cursor's glide and pulse, and the
 * remembered focus of the menus. */
#include <cmath>
#include <tuple>

#include "FormsTestSupport.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/FadeAnimation.h"
#include "frontend/forms/FocusPreservedForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/WallpaperForm.h"

using namespace formtest;
using korvane::Vector2;
using korvane::mwt::CAnimationComponent;

TEST(FadeAnimationTest, StartsAtItsFromAlphaWhenAttachedAndEndsExactlyOnItsToAlpha)
{
    for (const auto& [factory, seconds, from, to] : {std::tuple{&CreateSplashFadeIn, 0.45f, 0.0f, 1.0f},
                                                     {&CreateSplashFadeOut, 0.45f, 1.0f, 0.0f},
                                                     {&CreateWallpaperFadeIn, 0.5f, 0.0f, 1.0f},
                                                     {&CreateWallpaperFadeOut, 0.5f, 1.0f, 0.0f}}) {
        korvane::mwt::CPanel panel("panel");
        boost::shared_ptr<CAnimationComponent> fade = factory();
        panel.SetAnimation(fade);
        EXPECT_EQ(from, panel.GetEffectColor().a);
        fade->Update(seconds * 0.5f);
        EXPECT_FALSE(fade->IsFinished());
        fade->Update(seconds * 0.5f);
        EXPECT_EQ(std::tuple(true, to), std::tuple(fade->IsCompleted(), panel.GetEffectColor().a))
            << "exactly the end value at the duration";
        fade->Update(10.0f);
        EXPECT_EQ(std::tuple(to, 1.0f), std::tuple(panel.GetEffectColor().a, panel.GetEffectColor().r));
    }
    // Without a control above it the clock still runs out.
    boost::shared_ptr<CAnimationComponent> loose = CreateSplashFadeIn();
    loose->Initialize();
    loose->Update(1.0f);
    EXPECT_TRUE(loose->IsFinished());
}

/// A menu of `count` buttons stacked top to bottom; the first is the default focus.
template <int Tag>
class CStackDesign : public korvane::mwt::CForm
{
public:
    explicit CStackDesign(int count) : korvane::mwt::CForm("stack")
    {
        for (int i = 0; i < count; ++i) {
            auto button = boost::make_shared<korvane::mwt::CButton>("b" + std::to_string(i));
            button->SetLocation(Vector2<float>(0.0f, 40.0f * static_cast<float>(i)));
            button->SetSize(Vector2<float>(100.0f, 32.0f));
            buttons.push_back(button);
            AddControl(button);
        }
        OpenedEvent = [this](korvane::mwt::CForm*) {
            SetFocus();
            buttons.front()->SetFocus();
        };
    }
    std::vector<boost::shared_ptr<korvane::mwt::CButton>> buttons;
};

using MenuA = TFocusPreservedForm<CStackDesign<0>>;
using MenuB = TFocusPreservedForm<CStackDesign<1>>;

TEST_F(FormsTest, WallpapersCrossFadeTheCursorGlidesAndPulsesAndEachMenuClassRemembersItsOwnFocus)
{
    screen->AddControl(boost::make_shared<korvane::mwt::CForm>("front"));
    CFormSceneLink::SetWallpaper(form_names::kImageTitleWallpaper);
    CFormSceneLink::SetWallpaper(form_names::kImageTitleWallpaper);
    auto walls = FormsOf<CWallpaperForm>();
    ASSERT_EQ(1u, walls.size());
    const auto first = walls.front();
    boost::shared_ptr<korvane::ITexture> picture;
    first->Image->GetTexture(picture);
    EXPECT_EQ(std::tuple(first, false, true),
              std::tuple(screen->GetControls().front(), first->IsFocusable(), bool(picture)))
        << "sent to the back, never focused, its picture loaded";
    Frames(5);

    CFormSceneLink::SetWallpaper(form_names::kImageCompanionWallpaper);
    Frames(5);
    const auto second = FormsOf<CWallpaperForm>().back();
    EXPECT_TRUE(first->IsClosing());
    CFormSceneLink::SetWallpaper(form_names::kImageCrossHatch);
    ASSERT_EQ(3u, FormsOf<CWallpaperForm>().size());
    EXPECT_EQ(std::tuple(true, form_names::kImageCrossHatch),
              std::tuple(second->IsClosing(), FormsOf<CWallpaperForm>().front()->GetPath()));

    // The first finishes its own 0.5 s fade-out, not restarted by the second change.
    Frames(34);
    EXPECT_EQ(2u, FormsOf<CWallpaperForm>().size());
    Frames(10);
    ASSERT_EQ(1u, FormsOf<CWallpaperForm>().size());
    EXPECT_EQ(form_names::kImageCrossHatch, FormsOf<CWallpaperForm>().front()->GetPath());
    screen->RemoveAllControls();

    // The cursor (disabled, top-most, its picture focusable) stays where it is put, glides by a clamped step and pulses.
    auto cursor = boost::make_shared<CCursorForm>();
    screen->AddControl(cursor);
    EXPECT_EQ(std::tuple(false, true, Vector2<float>(1125.0f, 590.0f), true),
              std::tuple(cursor->IsEnabled(), cursor->IsTopMost(), cursor->GetLocation(),
                         cursor->CursorImage->IsFocusable()));
    cursor->SetCursorPosition(Vector2<float>(300.0f, 200.0f));
    Frames(10);
    EXPECT_EQ(std::tuple(Vector2<float>(245.0f, 169.0f), Vector2<float>(300.0f, 200.0f)),
              std::tuple(cursor->GetLocation(), cursor->GetCursorPosition()));

    cursor->SetTargetPosition(Vector2<float>(1055.0f, 231.0f));
    EXPECT_EQ(Vector2<float>(1055.0f, 231.0f), cursor->GetCursorPosition()) << "the target, not the picture";
    Frame(3.0f);
    // A long frame counts as 0.05005005 s: 1.2012 of the way, past the target.
    EXPECT_NEAR(245.0f + 755.0f * 1.2012f, cursor->GetLocation().x, 0.01f);
    EXPECT_NEAR(169.0f + 31.0f * 1.2012f, cursor->GetLocation().y, 0.01f);

    auto pulseAt = [&](double clock) {
        while (cursor->GetPulseClock() + 1e-9 < clock)
            Frame(static_cast<float>(std::min(0.05, clock - cursor->GetPulseClock())));
        return cursor->CursorImage->GetEffectColor().a;
    };
    const double start = std::ceil(cursor->GetPulseClock() * 2.0) / 2.0;
    EXPECT_NEAR(1.0f, pulseAt(start), 1e-3f);
    EXPECT_NEAR(0.2f, pulseAt(start + 0.25), 1e-3f);
    cursor->SetFollowFocus(false);
    Frame();
    EXPECT_EQ(1.0f, cursor->CursorImage->GetEffectColor().a) << "solid in pointer mode";

    // Each menu class remembers its own focus and falls back to its default.
    screen->RemoveAllControls();
    MenuA::ResetFocusIndex();
    MenuB::ResetFocusIndex();
    auto a = boost::make_shared<MenuA>(4);
    screen->AddControl(a);
    a->buttons[2]->SetFocus();
    a->Close();
    Frames(60);
    EXPECT_EQ(std::tuple(2, -1), std::tuple(MenuA::GetFocusIndex(), MenuB::GetFocusIndex()))
        << "another menu class keeps its own";

    // Buttons, the remembered one disabled, the one focused.
    for (const auto& [count, disableRemembered, focused] : {std::tuple{4, false, 2u}, {2, false, 0u}, {4, true, 0u}}) {
        auto again = boost::make_shared<MenuA>(count);
        if (disableRemembered)
            again->buttons[2]->SetEnabled(false);
        screen->AddControl(again);
        EXPECT_EQ(again->buttons[focused], again->GetFocusedLeaf()) << count << " buttons";
        screen->RemoveControl(again.get());
    }
    MenuA::ResetFocusIndex();
    auto fresh = boost::make_shared<MenuA>(4);
    screen->AddControl(fresh);
    EXPECT_EQ(fresh->buttons[0], fresh->GetFocusedLeaf());
}
