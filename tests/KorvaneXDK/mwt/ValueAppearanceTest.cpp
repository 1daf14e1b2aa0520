/** @file ValueAppearanceTest.cpp The knob, combo-box, check-box, radio-button, track-bar and progress-bar appearances
 * drawn on the recording device: the geometry, opacities and blend modes of their edge cases. */
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AppearanceTrace.h"
#include "KorvaneXDK/mwt/BadCast.h"
#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/CropSkinProgressBarAppearance.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Edit.h"
#include "KorvaneXDK/mwt/Knob.h"
#include "KorvaneXDK/mwt/NormalizeAngle.h"
#include "KorvaneXDK/mwt/Pager.h"
#include "KorvaneXDK/mwt/ProgressBar.h"
#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/mwt/SimpleCheckBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleComboBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleKnobAppearance.h"
#include "KorvaneXDK/mwt/SimpleProgressBarAppearance.h"
#include "KorvaneXDK/mwt/SimpleRadioButtonAppearance.h"
#include "KorvaneXDK/mwt/SimpleTrackBarAppearance.h"
#include "KorvaneXDK/mwt/SkinCheckBoxAppearance.h"
#include "KorvaneXDK/mwt/SkinKnobAppearance.h"
#include "KorvaneXDK/mwt/SkinProgressBarAppearance.h"
#include "KorvaneXDK/mwt/SkinTrackBarAppearance.h"
#include "KorvaneXDK/mwt/TrackBar.h"
#include "support/ExpectThrow.h"
#include "support/FakeTexture.h"

using korvane::canvas::Rect2f;
using korvane::mwt::AppearanceProperties;
using korvane::test::AppearanceTrace;
using korvane::test::Box;
using korvane::test::FakeTexture;
using Trace = std::vector<std::string>;

namespace
{

/// Loads the keys into the appearance; texture names resolve to the given pictures (any other
/// name to null).
void Load(korvane::mwt::IControlAppearance& appearance, const std::map<std::string, std::string>& keys,
          const std::map<std::string, korvane::ITexture*>& pictures)
{
    AppearanceProperties properties;
    for (const auto& [key, value] : keys) {
        properties.Set(key, value);
    }
    appearance.LoadProperties(properties, [&pictures](const std::string& name) -> korvane::ITexture* {
        const auto found = pictures.find(name);
        return found == pictures.end() ? nullptr : found->second;
    });
}

Trace DrawOnce(korvane::mwt::IControlAppearance& appearance, korvane::mwt::CControl& control, AppearanceTrace& canvas)
{
    canvas.trace.clear();
    appearance.Draw(&control, &canvas);
    return canvas.trace;
}

} // namespace

TEST(KnobAppearance, AnglesLevelAndWedge)
{
    EXPECT_NEAR(333.0f * 3.14159265f / 180.0f, korvane::mwt::NormalizeAngle(-27.0f * 3.14159265f / 180.0f), 1e-5);
    EXPECT_NEAR(0.5f, korvane::mwt::NormalizeAngle(0.5f + 2.0f * 6.2831855f), 1e-5);
    EXPECT_NEAR(0.0f, korvane::mwt::NormalizeAngle(0.0f), 1e-6);

    AppearanceTrace canvas;
    korvane::mwt::CKnob knob;
    knob.SetSize(korvane::Vector2<float>(40, 100));
    korvane::mwt::CSimpleKnobAppearance simple;
    knob.SetValue(25);
    EXPECT_EQ((Trace{"frame {1,1,38,98} a=1 m=1", "fill {1,76,38,23} a=0.6 m=0"}), DrawOnce(simple, knob, canvas));
    // An empty range measures from the minimum alone.
    knob.SetMinimum(5);
    knob.SetMaximum(5);
    knob.SetValue(5.25);
    knob.SetHighlighted(true);
    EXPECT_EQ("fill {1,76,38,23} a=0.9 m=0", DrawOnce(simple, knob, canvas).back());

    FakeTexture picture(64, 64), background(32, 32);
    canvas.first = &picture;
    canvas.second = &background;
    korvane::mwt::CSkinKnobAppearance skin;
    Load(skin, {{"KnobTexture", "k"}, {"BackgroundTexture", "b"}}, {{"k", &picture}, {"b", &background}});
    knob.SetMinimum(0);
    knob.SetMaximum(100);
    knob.SetValue(0);
    knob.SetWedgeStyle(true);
    EXPECT_EQ((Trace{"image at (0,0) a=1 m=0", "sector 333..387 a=1 m=0"}), DrawOnce(skin, knob, canvas));
    EXPECT_EQ(64.0f, knob.GetSize().x); // sized to the knob picture
    knob.SetWedgeStyle(false);
    knob.SetValue(50);
    EXPECT_EQ("sector 0..180 a=1 m=0", DrawOnce(skin, knob, canvas).back());

    // Pictures that did not resolve are left out, and the brushes are as they were.
    korvane::mwt::CSkinKnobAppearance bare;
    Load(bare, {}, {});
    EXPECT_TRUE(DrawOnce(bare, knob, canvas).empty());
    EXPECT_EQ(1u, canvas.GetBrushDepth());
}

TEST(ComboBoxAppearance, CaretIsHeldInsideTheText)
{
    AppearanceTrace canvas;
    korvane::mwt::CScreen screen;
    boost::shared_ptr<korvane::mwt::CComboBox> combo(new korvane::mwt::CComboBox());
    combo->SetSize(korvane::Vector2<float>(120, 20));
    combo->SetText("abc");
    screen.AddControl(combo);
    combo->SetFocus();
    ASSERT_TRUE(combo->IsFocused());
    korvane::mwt::CSimpleComboBoxAppearance simple;

    const struct
    {
        bool visible;
        std::int32_t position;
        const char* beforeText; // the entry drawn just before the text: the caret or the dot
    } cases[] = {
        {true, 0, "fill {4,3,2,13} a=1 m=0"},   {true, 2, "fill {20,3,2,13} a=1 m=0"},
        {true, 99, "fill {28,3,2,13} a=1 m=0"}, {true, -5, "fill {4,3,2,13} a=1 m=0"},
        {false, 1, "fill {110,9,2,2} a=1 m=1"},
    };
    for (const auto& c : cases) {
        combo->SetCaretVisible(c.visible);
        combo->SetCaretPosition(c.position);
        const Trace trace = DrawOnce(simple, *combo, canvas);
        ASSERT_GE(trace.size(), 2u);
        EXPECT_EQ("text {4,3,96,19} 'abc' a=1 m=0", trace.back());
        EXPECT_EQ(c.beforeText, trace[trace.size() - 2]) << c.position;
    }
    EXPECT_EQ(1u, canvas.GetBrushDepth());
    EXPECT_EQ(1u, canvas.GetFontDepth());
}

TEST(TwoStateAppearance, BoxesStripsAndCaptionAtHeightTwenty)
{
    AppearanceTrace canvas;
    korvane::mwt::CCheckBox check;
    check.SetSize(korvane::Vector2<float>(100, 20));
    check.SetCaption("Go");
    korvane::mwt::CSimpleCheckBoxAppearance simpleCheck;
    check.SetChecked(true);
    EXPECT_EQ((Trace{"fill {1,1,18,18} a=0.2 m=0", "frame {1,1,18,18} a=1 m=1", "fill {4,4,12,12} a=1 m=1",
                     "text {28,3,16,20} 'Go' a=1 m=0"}),
              DrawOnce(simpleCheck, check, canvas));
    // Disabled changes nothing in the simple drawing; pressed brightens the box.
    check.SetEnabled(false);
    check.SetPressed(true);
    check.SetChecked(false);
    EXPECT_EQ((Trace{"fill {1,1,18,18} a=0.8 m=0", "frame {1,1,18,18} a=1 m=1", "text {28,3,16,20} 'Go' a=1 m=0"}),
              DrawOnce(simpleCheck, check, canvas));

    korvane::mwt::CRadioButton radio;
    radio.SetSize(korvane::Vector2<float>(100, 20));
    radio.SetCaption("Go");
    korvane::mwt::CSimpleRadioButtonAppearance simpleRadio;
    EXPECT_EQ((Trace{"fill {3,3,14,14} a=0.2 m=0", "fill {1,1,18,1} a=1 m=1", "fill {1,18,18,1} a=1 m=1",
                     "fill {1,1,1,5} a=1 m=1", "fill {18,1,1,5} a=1 m=1", "fill {1,14,1,5} a=1 m=1",
                     "fill {18,14,1,5} a=1 m=1", "text {28,3,16,20} 'Go' a=1 m=0"}),
              DrawOnce(simpleRadio, radio, canvas));

    FakeTexture on(32, 32), off(32, 32);
    canvas.first = &on;
    canvas.second = &off;
    korvane::mwt::CSkinCheckBoxAppearance skin;
    Load(skin, {{"CheckedTexture", "on"}, {"UncheckedTexture", "off"}}, {{"on", &on}, {"off", &off}});
    EXPECT_EQ((Trace{"image {0,0,20,20} second a=0.15 m=0", "image {0,0,20,20} first a=0.15 m=0",
                     "text {28,3,16,20} 'Go' a=0.3 m=0"}),
              DrawOnce(skin, check, canvas));
    check.SetEnabled(true);
    check.SetPressed(false);
    check.SetChecked(true);
    EXPECT_EQ("image {0,0,20,20} first a=1 m=0", DrawOnce(skin, check, canvas).front());
    // A caption taller than the control rises above it.
    check.SetSize(korvane::Vector2<float>(100, 8));
    EXPECT_EQ("text {11.2,-2,16,8} 'Go' a=1 m=0", DrawOnce(skin, check, canvas).back());

    EXPECT_THROW(skin.Draw(&radio, &canvas), korvane::mwt::EBadCast);
    EXPECT_EQ(1u, canvas.GetBrushDepth());
}

TEST(TrackBarAppearance, ButtonLengthAndPlacement)
{
    FakeTexture tall(16, 32), wide(32, 16), empty(0, 0);
    const struct
    {
        bool skin;
        korvane::ITexture* button;
        std::int32_t orientation;
        float length;
    } cases[] = {
        {false, nullptr, korvane::mwt::CTrackBar::kHorizontal, 10},
        {false, nullptr, korvane::mwt::CTrackBar::kVertical, 50},
        {true, &tall, korvane::mwt::CTrackBar::kHorizontal, 10},
        {true, &wide, korvane::mwt::CTrackBar::kHorizontal, 40},
        {true, nullptr, korvane::mwt::CTrackBar::kHorizontal, 10}, // no picture: half the cross size
        {true, &empty, korvane::mwt::CTrackBar::kHorizontal, 10},
    };
    for (const auto& c : cases) {
        korvane::mwt::CTrackBar bar;
        bar.SetOrientation(c.orientation);
        if (c.skin) {
            auto appearance = korvane::mwt::CSkinTrackBarAppearance::Create();
            Load(*appearance, {{"ButtonTexture", "b"}}, {{"b", c.button}});
            bar.SetAppearance(appearance);
        } else {
            bar.SetAppearance(korvane::mwt::CSimpleTrackBarAppearance::Create());
        }
        bar.SetSize(korvane::Vector2<float>(100, 20));
        EXPECT_EQ(c.length, bar.GetButtonSize()) << c.skin << " " << c.orientation;
        EXPECT_EQ("{0,0,100,20}", Box(bar.GetTrackRect()));
    }

    korvane::mwt::CTrackBar bar;
    bar.SetAppearance(korvane::mwt::CSimpleTrackBarAppearance::Create());
    bar.SetSize(korvane::Vector2<float>(100, 20));
    const struct
    {
        double value;
        const char* first;
        const char* button;
        const char* second;
    } places[] = {
        {50, "{0,0,45,20}", "{45,0,10,20}", "{55,0,45,20}"},
        {0, "{0,0,0,20}", "{0,0,10,20}", "{10,0,90,20}"},
        {150, "{0,0,90,20}", "{90,0,10,20}", "{100,0,0,20}"},
    };
    for (const auto& p : places) {
        bar.SetValue(p.value);
        EXPECT_EQ(p.first, Box(bar.GetFirstAreaRect()));
        EXPECT_EQ(p.button, Box(bar.GetButtonRect()));
        EXPECT_EQ(p.second, Box(bar.GetSecondAreaRect()));
    }
    bar.SetMaximum(0); // an empty range keeps the button at the start
    EXPECT_EQ("{0,0,10,20}", Box(bar.GetButtonRect()));

    AppearanceTrace canvas;
    bar.SetMaximum(100);
    bar.SetValue(50);
    bar.SetPressed(true);
    bar.SetPressedPart(korvane::mwt::CTrackBar::kPartButton);
    const Trace trace = DrawOnce(*bar.GetAppearance(), bar, canvas);
    ASSERT_EQ(5u, trace.size());
    EXPECT_EQ("frame {46,1,8,18} a=1 m=1", trace[2]);
    EXPECT_EQ("fill {46,1,8,18} a=0.8 m=0", trace[3]);
    EXPECT_EQ("fill {49,7,2,6} a=1 m=1", trace[4]); // the grip
}

TEST(ProgressBarAppearance, FractionBarsPulseAndCrop)
{
    AppearanceTrace canvas;
    korvane::mwt::CProgressBar bar;
    bar.SetSize(korvane::Vector2<float>(100, 20));
    bar.SetValue(25);
    korvane::mwt::CSimpleProgressBarAppearance simple;
    EXPECT_EQ((Trace{"fill {1,1,98,18} a=0.2 m=0", "fill {3,3,23.5,14} a=0.8 m=1", "frame {1,1,98,18} a=1 m=1"}),
              DrawOnce(simple, bar, canvas));
    bar.SetOrientation(korvane::mwt::CProgressBar::kVertical);
    EXPECT_EQ("fill {3,13.5,94,3.5} a=0.8 m=1", DrawOnce(simple, bar, canvas)[1]);

    korvane::mwt::CProgressBar empty;
    empty.SetMaximum(0);
    EXPECT_EQ(0.0f, korvane::mwt::ProgressFraction(&empty));
    empty.SetValue(1e-310);
    EXPECT_NEAR(1e-310 / 2.2250738585072014e-308, korvane::mwt::ProgressFraction(&empty), 1e-6);

    FakeTexture back(64, 16), down(64, 16);
    canvas.first = &back;
    canvas.second = &down;
    bar.SetOrientation(korvane::mwt::CProgressBar::kHorizontal);
    korvane::mwt::CSkinProgressBarAppearance skin;
    Load(skin, {{"BodyRect.width", "64"}, {"BodyRect.height", "16"}, {"Texture", "back"}, {"DownTexture", "down"}},
         {{"back", &back}, {"down", &down}});
    canvas.device->elapsedMilliseconds = 250.0; // the top of the pulse
    EXPECT_EQ(
        (Trace{"skin {0,0,100,20} body {0,0,64,16} first a=1 m=0", "skin {0,0,25,20} body {0,0,64,16} second a=1 m=0"}),
        DrawOnce(skin, bar, canvas));
    canvas.device->elapsedMilliseconds = 750.0;
    korvane::mwt::CSkinProgressBarAppearance noBackground;
    Load(noBackground, {{"DownTexture", "down"}}, {{"down", &down}});
    EXPECT_EQ((Trace{"skin {0,0,25,20} body {0,0,0,0} second a=0.7 m=0"}), DrawOnce(noBackground, bar, canvas));

    korvane::mwt::CCropSkinProgressBarAppearance crop;
    Load(crop, {{"Texture", "back"}, {"DownTexture", "down"}}, {{"back", &back}, {"down", &down}});
    EXPECT_EQ((Trace{"image {0,0,100,20} first a=1 m=0", "part {0,0,25,20} from {0,0,16,16} a=1 m=0"}),
              DrawOnce(crop, bar, canvas));
    bar.SetOrientation(korvane::mwt::CProgressBar::kVertical);
    EXPECT_EQ("part {0,15,100,5} from {0,12,64,4} a=1 m=0", DrawOnce(crop, bar, canvas).back());

    korvane::mwt::CCropSkinProgressBarAppearance noDown;
    Load(noDown, {{"Texture", "back"}}, {{"back", &back}});
    korvane::test::ExpectThrowWith<korvane::EInvalidParameter>([&] { noDown.Draw(&bar, &canvas); }, "texture is null.");
    EXPECT_EQ(1u, canvas.GetBrushDepth());
}

TEST(ShellDefaults, EachShellTakesItsClassDefaultWhenConstructed)
{
    using namespace korvane::mwt;
    const auto nameOf = [](CControl&& control) { return control.AppearanceFactory()->GetName(); };
    EXPECT_EQ("SingleBorder", nameOf(CPager()));
    EXPECT_EQ("SingleBorder", nameOf(CEdit()));
    EXPECT_EQ("SimpleKnob", nameOf(CKnob()));
    EXPECT_EQ("SimpleComboBox", nameOf(CComboBox()));
    EXPECT_EQ("SimpleCheckBox", nameOf(CCheckBox()));
    EXPECT_EQ("SimpleRadioButton", nameOf(CRadioButton()));
    EXPECT_EQ("SimpleTrackBar", nameOf(CTrackBar()));
    EXPECT_EQ("SimpleProgressBar", nameOf(CProgressBar()));

    // A replaced default reaches only the controls constructed afterwards; the two borders are
    // separate defaults.
    CEdit before;
    const CControl::AppearanceFactoryFunction saved = CDefaultFactories::EditAppearance;
    CDefaultFactories::EditAppearance = &CSimpleKnobAppearance::Create;
    EXPECT_EQ("SimpleKnob", nameOf(CEdit()));
    EXPECT_EQ("SingleBorder", before.AppearanceFactory()->GetName());
    EXPECT_EQ("SingleBorder", nameOf(CPager()));
    CDefaultFactories::EditAppearance = saved;
}
