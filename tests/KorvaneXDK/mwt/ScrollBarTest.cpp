/** @file ScrollBarTest.cpp Scroll bars: the value's clamp, keys, the layout of both appearances, presses on each
 * part, the thumb drag with its snap-back and a bar too short to drag on, auto-repeat on an injected frame clock, the
 * drawing of both appearances. */
#include "MwtTest.h"

namespace
{

/// A bar of the size, appearance (none: the simple one) and orientation, laid out; 0 to 100, page 10.
boost::shared_ptr<CScrollBar> MakeBar(V size = V(100, 16), boost::shared_ptr<IControlAppearance> skin = {},
                                      std::int32_t orientation = 0)
{
    auto bar = Make<CScrollBar>("bar", 0, 0, size.x, size.y);
    if (skin) {
        bar->SetAppearance(skin);
    }
    bar->Initialize();
    bar->SetOrientation(orientation);
    return bar;
}

/// A skin scroll-bar appearance of the definition lines, with the pictures "up" and "down".
boost::shared_ptr<IControlAppearance> SkinOf(const Lines& lines, ITexture* up, ITexture* down)
{
    return LoadSkin<CSkinScrollBarAppearance>(lines, {{"up", up}, {"down", down}});
}

/// A bar whose increase button is held down; it counts its update events and makes no animations.
class HeldScrollBar : public testing::Test
{
protected:
    HeldScrollBar()
    {
        held->UpdateEvent = [this](CComponent*, float) { ++heldUpdates; };
        held->AnimationFactory = [] { return boost::shared_ptr<CAnimationComponent>(); };
        held->OnMouseDown(V(90, 8), 1); // one step at the press, as every pressed part's row shows
    }

    /// Runs one second in 60 frames, calling back after each with its number.
    void RunOneSecond(const std::function<void(int tick)>& afterFrame = {})
    {
        for (int tick = 1; tick <= 60; ++tick) {
            held->Update(1.0f / 60.0f);
            if (afterFrame) {
                afterFrame(tick);
            }
        }
    }

    boost::shared_ptr<CScrollBar> held = MakeBar();
    int heldUpdates = 0;
};

/// The pictures "up" and "down" for the skins, and the colours of the simple appearance's frames and dim boxes.
class ScrollBarAppearances : public testing::Test
{
protected:
    /// Decrease and increase buttons, track and thumb of a bar of the simple appearance (no skin lines) or a skin.
    std::string Layout(const Lines& skin, V size, std::int32_t orientation)
    {
        auto bar = MakeBar(size, skin.empty() ? nullptr : SkinOf(skin, &up, &down), orientation);
        return Rect(bar->GetDecreaseButtonRect()) + Rect(bar->GetIncreaseButtonRect()) + Rect(bar->GetTrackRect()) +
               Rect(bar->GetThumbRect());
    }

    /// The fills, frames and skins of a bar drawn with the point pressed.
    Lines Draw(boost::shared_ptr<IControlAppearance> look, V size, std::int32_t orientation, double value, double step,
               V press)
    {
        auto bar = MakeBar(size, look, orientation);
        bar->SetValue(value);
        bar->SetSmallChange(step);
        bar->OnMouseDown(press, 1);
        LogCanvas canvas;
        canvas.names = {{&up, "up"}, {&down, "down"}};
        bar->Draw(&canvas);
        return canvas.Only({"fill", "frame", "skin"});
    }

    FakeTexture up{8, 8}, down{8, 8};
    const std::string frame = " (1,1,1,1) b1";
    const std::string dim = " (1,1,1,0.2) b0";
    const boost::shared_ptr<IControlAppearance> skin =
        SkinOf({"BodyRect.width=8", "BodyRect.height=8", "Texture=up", "DownTexture=down"}, &up, &down);
};

} // namespace

TEST(ScrollBar, TheValueIsClampedAndTheKeysStepItWithoutReachingTheKeyHandler)
{
    auto bar = MakeBar();
    int changed = 0, keyEvents = 0;
    bar->ValueChangedEvent = [&changed](CScrollBar*) { ++changed; };
    bar->KeyDownEvent = [&keyEvents](CControl*, unsigned int) { ++keyEvents; };
    const std::tuple<double, unsigned int, double, int> steps[] = {
        {95, 0, 90, 1},     {89.5, 0, 89.5, 2}, {NAN, 0x27, 90, 3}, {NAN, 0x28, 90, 3},
        {NAN, 0x25, 89, 4}, {NAN, 0x26, 88, 5}, {NAN, 0x21, 78, 6}, {NAN, 0x22, 88, 7},
        {NAN, 0x23, 88, 7}, {NAN, 0x24, 88, 7}, {-5, 0, 0, 8},      {NAN, 0x10028, 1, 9}};
    for (const auto& [set, key, value, changes] : steps) {
        std::isnan(set) ? bar->OnKeyDown(key) : bar->SetValue(set);
        EXPECT_EQ(std::pair(value, changes), std::pair(bar->GetValue(), changed))
            << set << " / key " << std::hex << key;
    }
    EXPECT_EQ(0, keyEvents) << "the bar keeps its keys";
}

TEST(ScrollBar, ANewMaximumDoesNotClampTheValueAgain)
{
    auto bar = MakeBar();
    bar->SetValue(1);
    bar->SetMaximum(0.5);
    EXPECT_EQ(1, bar->GetValue()) << "a new maximum does not clamp again";
}

TEST(ScrollBar, ThePageSizeIsHeldToTheRangeAndTheThumbStaysANumber)
{
    auto bar = MakeBar();
    const std::tuple<double, double, double, double, double, double> rows[] = {
        {0, 100, 10, 10, 50, 50}, {0, 100, 150, 100, 50, 0}, {50, 50, 10, 0, 60, 50}};
    for (const auto& [minimum, maximum, page, pageSize, set, value] : rows) {
        bar->SetMinimum(minimum);
        bar->SetMaximum(maximum);
        bar->SetPageSize(page);
        bar->SetValue(set);
        // Range 0 counts as 1: the thumb stays a number.
        const Rect2f thumb = bar->GetThumbRect();
        EXPECT_EQ(std::tuple(pageSize, pageSize, value, true),
                  std::tuple(bar->GetPageSize(), bar->GetEffectivePageSize(), bar->GetValue(),
                             std::isfinite(thumb.left) && std::isfinite(thumb.width)))
            << page << " " << Rect(thumb);
    }
}

TEST_F(HeldScrollBar, RepeatsAfterAQuarterSecondAndItsUpdateRunsNothingElse)
{
    RunOneSecond([this](int tick) {
        if (tick == 16) {
            EXPECT_EQ(1, held->GetValue()) << "nothing before 0.283 s";
        }
    });
    // One step at the press and 22 repeats in the first second.
    EXPECT_EQ(std::pair(23.0, 0), std::pair(held->GetValue(), heldUpdates));
}

TEST_F(HeldScrollBar, StopsRepeatingWhenThePointerLeavesThePart)
{
    RunOneSecond();
    held->OnMouseMove(V(50, 8), 1);
    held->Update(1.0f);
    EXPECT_EQ(23, held->GetValue()) << "the pointer left the button";
}

TEST(ScrollBar, OneSlowFrameCatchesUpOnTheRepeatsAndAReleaseEndsThem)
{
    // 0.1 s past the first delay is three steps.
    auto slow = MakeBar();
    slow->OnMouseDown(V(5, 8), 1);
    slow->SetValue(50);
    slow->Update(0.35f);
    slow->OnMouseUp(V(5, 8), 1);
    slow->Update(1.0f); // released: no more steps
    EXPECT_EQ(47, slow->GetValue());
}

TEST_F(ScrollBarAppearances, LayOutTheButtonsTrackAndThumbByOrientationAndButtonSize)
{
    // Thumb length 6.8 raised to 16 takes 9.2 off the travel; at 0 it starts on the track's left.
    EXPECT_EQ("(0,0,16,16)(84,0,16,16)(16,0,68,16)(16,0,16,16)", Layout({}, V(100, 16), 0));
    EXPECT_EQ("(0,0,20,16)(0,84,20,16)(0,16,20,68)(0,16,20,16)", Layout({}, V(20, 100), 1));
    EXPECT_EQ("(0,0,20,20)(180,0,20,20)(20,0,160,20)(20,0,20,20)", Layout({"Texture=up"}, V(200, 20), 0));
    EXPECT_EQ("(0,0,12,20)(188,0,12,20)(12,0,176,20)(12,0,20,20)",
              Layout({"Texture=up", "MaxButtonSize=12"}, V(200, 20), 0));
    EXPECT_EQ("(0,0,12,12)(0,88,12,12)(0,12,12,76)(0,12,12,12)", Layout({"Texture=up"}, V(12, 100), 5));
}

TEST_F(ScrollBarAppearances, TheSimpleOneDrawsAHeldPageTrackBrighter)
{
    // The page-up track held moves the value to 10: thumb {21.88, 0, 16, 16}.
    EXPECT_EQ((Lines{"frame (85,1,14,14)" + frame, "fill (85,1,14,14)" + dim, "fill (91,7,2,2)" + frame,
                     "frame (1,1,14,14)" + frame, "fill (1,1,14,14)" + dim, "fill (7,7,2,2)" + frame,
                     "fill (38.88,1,44.12,14) (1,1,1,0.8) b0", "fill (17,1,3.88,14)" + dim,
                     "frame (22.88,1,14,14)" + frame, "fill (22.88,1,14,14)" + dim}),
              Draw(nullptr, V(100, 16), 0, 0, 0, V(70, 8)));
}

TEST_F(ScrollBarAppearances, TheSkinDrawsAHeldButtonInItsDownPicture)
{
    EXPECT_EQ((Lines{"skin (84,0,16,16) up (1,1,1,1)", "skin (0,0,16,16) down (1,1,1,1)", "fill (32,0,52,16)" + dim,
                     "fill (16,0,0,16)" + dim, "skin (16,0,16,16) up (1,1,1,1)"}),
              Draw(skin, V(100, 16), 0, 0, 0, V(5, 8)));
    // The leaderboard's bar: 12 x 12 end buttons and thumb; the increase button pressed from 25 to 50.
    EXPECT_EQ((Lines{"skin (0,52,12,12) down (1,1,1,1)", "skin (0,0,12,12) up (1,1,1,1)", "fill (0,40,12,12)" + dim,
                     "fill (0,12,12,16)" + dim, "skin (0,28,12,12) up (1,1,1,1)"}),
              Draw(skin, V(12, 64), 1, 25, 25, V(6, 58)));
}

TEST_F(ScrollBarAppearances, TheSkinsDefaultsAndWithoutPicturesOnlyTheTwoTrackBoxesShow)
{
    EXPECT_TRUE(std::isnan(LoadSkin<CSkinScrollBarAppearance>({"MaxButtonSize=nan"}, {})->GetMaxButtonSize()));
    EXPECT_EQ(128.0f, LoadSkin<CSkinScrollBarAppearance>({}, {})->GetMaxButtonSize());
    EXPECT_EQ((Lines{"fill (32,0,52,16)" + dim, "fill (16,0,0,16)" + dim}),
              Draw(SkinOf({}, nullptr, nullptr), V(100, 16), 0, 0, 0, V(50, 200)));
}

TEST(ScrollBar, APressSelectsThePartItHitsAndTheReleaseKeepsThePart)
{
    // At 40 the thumb is {39.52, 0, 16, 16}: page-down track before it, page-up track after it.
    const std::tuple<V, int, int, double> presses[] = {
        {V(90, 8), 1, CScrollBar::kPartIncreaseButton, 41}, {V(5, 8), 1, CScrollBar::kPartDecreaseButton, 39},
        {V(70, 8), 1, CScrollBar::kPartPageIncrease, 50},   {V(20, 8), 1, CScrollBar::kPartPageDecrease, 30},
        {V(45, 8), 1, CScrollBar::kPartThumb, 40},          {V(90, 8), 3, CScrollBar::kPartNone, 40},
        {V(100, 8), 1, CScrollBar::kPartThumb, 40}, // off the bar, but within reach of the thumb
        {V(50, 200), 1, CScrollBar::kPartNone, 40}};
    for (const auto& [point, button, part, value] : presses) {
        SCOPED_TRACE(Point(point));
        auto bar = MakeBar();
        bar->SetValue(40);
        bar->OnMouseDown(point, button);
        EXPECT_EQ(std::tuple(part, part != CScrollBar::kPartNone, value),
                  std::tuple(bar->GetPressedPart(), bar->IsPartPressed(), bar->GetValue()));
        bar->OnMouseUp(point, button);
        // The part is kept after the release.
        EXPECT_EQ(std::pair(part, false), std::pair(bar->GetPressedPart(), bar->IsPartPressed()));
    }
}

TEST(ScrollBar, InLayoutEditModeAPressLeavesTheValue)
{
    auto form = Make<CForm>("form", 0, 0, 200, 100);
    form->SetLayoutEditMode(true);
    auto edited = MakeBar();
    edited->SetParent(form.get());
    edited->OnMouseDown(V(90, 8), 1);
    EXPECT_EQ(0, edited->GetValue()) << "layout edit mode";
    edited->SetParent(nullptr);
}

TEST(ScrollBar, TheThumbFollowsThePointerAndSnapsBackBeyondReach)
{
    auto thumb = MakeBar();
    thumb->OnMouseDown(V(20, 8), 1); // grabs the thumb 4 units in
    ASSERT_EQ(CScrollBar::kPartThumb, thumb->GetPressedPart());
    const std::tuple<V, double, bool> rows2[] = {
        {V(49.4f, 8), 50, true},   // 29.4 of the 58.8 travel
        {V(49.4f, 200), 0, false}, // more than 128 below: back to where the drag began
        {V(49.4f, 100), 50, true}, // back within reach
        {V(0, 8), 0, true},
        {V(150, 8), 90, true}};
    for (const auto& [point, value, over] : rows2) {
        SCOPED_TRACE(Point(point));
        thumb->OnMouseMove(point, 1);
        EXPECT_NEAR(value, thumb->GetValue(), 1e-3);
        EXPECT_EQ(over, thumb->IsPartPressed());
    }
}

TEST(ScrollBar, WindowDeactivationEndsTheThumbDrag)
{
    auto thumb = MakeBar();
    thumb->OnMouseDown(V(20, 8), 1);  // grabs the thumb 4 units in
    thumb->OnMouseMove(V(150, 8), 1); // dragged to the end: 90
    thumb->OnWindowDeactivate();
    EXPECT_FALSE(thumb->IsPartPressed());
    thumb->OnMouseMove(V(49.4f, 8), 1);
    EXPECT_EQ(90, thumb->GetValue()) << "no drag after the window went inactive";
}

TEST(ScrollBar, AThumbWithoutTravelKeepsItsValueWhileDragged)
{
    const std::tuple<const char*, float, float, V, V> stuckRows[] = {
        // Track 68, thumb 6.8 raised to 74.8: no travel left.
        {"no travel", 100, 74.8f, V(20, 8), V(30, 8)},
        // Track 8, thumb 0.8 raised to 16: the travel is -7.2.
        {"negative travel", 40, 0, V(20, 8), V(10, 8)}};
    for (const auto& [what, width, minThumb, grab, move] : stuckRows) {
        SCOPED_TRACE(what);
        auto stuck = MakeBar(V(width, 16));
        if (minThumb > 0) {
            stuck->SetMinThumbLength(minThumb);
        }
        stuck->SetValue(50);
        stuck->OnMouseDown(grab, 1);
        ASSERT_EQ(CScrollBar::kPartThumb, stuck->GetPressedPart());
        stuck->OnMouseMove(move, 1);
        EXPECT_EQ(50, stuck->GetValue());
    }
}
