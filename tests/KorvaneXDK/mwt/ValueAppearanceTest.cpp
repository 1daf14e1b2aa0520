/** @file ValueAppearanceTest.cpp The knob, combo-box, check-box, radio-button, track-bar and progress-bar appearances
 * drawn on the recording device: the geometry, opacities and blend modes of their edge cases. */
#include "KorvaneXDK/mwt/CropSkinProgressBarAppearance.h"
#include "KorvaneXDK/mwt/NormalizeAngle.h"
#include "KorvaneXDK/mwt/SimpleCheckBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleComboBoxAppearance.h"
#include "KorvaneXDK/mwt/SimpleProgressBarAppearance.h"
#include "KorvaneXDK/mwt/SimpleRadioButtonAppearance.h"
#include "KorvaneXDK/mwt/SimpleTrackBarAppearance.h"
#include "KorvaneXDK/mwt/SkinCheckBoxAppearance.h"
#include "KorvaneXDK/mwt/SkinKnobAppearance.h"
#include "KorvaneXDK/mwt/SkinProgressBarAppearance.h"
#include "KorvaneXDK/mwt/SkinTrackBarAppearance.h"
#include "MwtTest.h"

namespace
{

/// Every entry with its blend mode, skins with their body; the recording canvas's fonts.
class AppearanceTrace : public LogCanvas
{
public:
    ~AppearanceTrace() override
    {
        // Whatever was drawn, failed or not, the brushes and fonts are as they were.
        EXPECT_EQ(std::pair(GetBrushDepth(), GetFontDepth()), std::pair(std::size_t{1}, std::size_t{1}));
    }

    void DrawSkin(const Rect2f& dest, const Rect2f& body, ITexture* t) override
    {
        Trace("skin " + Rect(dest) + " body " + Rect(body) + " " + names[t] + " " + Brush());
        CCanvas::DrawSkin(dest, body, t);
    }

    /// Draws once and returns what was drawn.
    Lines DrawOnce(IControlAppearance& appearance, CControl& control)
    {
        trace.clear();
        appearance.Draw(&control, this);
        return Only({"fill", "frame", "image", "scaled", "part", "skin", "sector", "clipped"});
    }

    RecordingCanvas fonts; // "default": 8 units a character, 16 high

protected:
    std::string Drawn() override { return Brush(); }
};

/// The trace canvas every appearance draws on.
class DrawnAppearance : public testing::Test
{
protected:
    AppearanceTrace canvas;
};

/// A 40 x 100 knob at 25 of 0 to 100, and pictures named "first" and "second" on the canvas.
class KnobAppearance : public DrawnAppearance
{
protected:
    KnobAppearance()
    {
        knob.SetSize(Vector2<float>(40, 100));
        knob.SetValue(25);
        canvas.names = {{&picture, "first"}, {&background, "second"}};
    }

    CKnob knob;
    CSimpleKnobAppearance simple;
    FakeTexture picture{64, 64}, background{32, 32};
};

/// A 100 x 20 check box captioned "Go" and a skin of the pictures "first" (checked) and "second" (unchecked).
class CheckBoxAppearance : public DrawnAppearance
{
protected:
    CheckBoxAppearance()
    {
        check.SetSize(Vector2<float>(100, 20));
        check.SetCaption("Go");
        canvas.names = {{&on, "first"}, {&off, "second"}};
    }

    CCheckBox check;
    CSimpleCheckBoxAppearance simpleCheck;
    FakeTexture on{32, 32}, off{32, 32};
    boost::shared_ptr<CSkinCheckBoxAppearance> checkSkin =
        LoadSkin<CSkinCheckBoxAppearance>({"CheckedTexture=on", "UncheckedTexture=off"}, {{"on", &on}, {"off", &off}});
};

/// A 100 x 20 track bar of the simple appearance.
class TrackBarAppearance : public DrawnAppearance
{
protected:
    TrackBarAppearance()
    {
        bar.SetAppearance(CSimpleTrackBarAppearance::Create());
        bar.SetSize(Vector2<float>(100, 20));
    }

    CTrackBar bar;
};

/// A 100 x 20 progress bar at 25 of 0 to 100, and the pictures "first" (back) and "second" (down) on the canvas.
class ProgressBarAppearance : public DrawnAppearance
{
protected:
    ProgressBarAppearance()
    {
        progress.SetSize(Vector2<float>(100, 20));
        progress.SetValue(25);
        canvas.names = {{&back, "first"}, {&down, "second"}};
    }

    CProgressBar progress;
    CSimpleProgressBarAppearance simpleProgress;
    FakeTexture back{64, 16}, down{64, 16};
};

using ComboBoxAppearance = DrawnAppearance;
using RadioButtonAppearance = DrawnAppearance;

} // namespace

TEST(ValueAppearance, NormalizeAngleTakesWholeTurnsOff)
{
    EXPECT_NEAR(0.5f, NormalizeAngle(0.5f + 2.0f * 6.2831855f), 1e-5);
    EXPECT_NEAR(0.0f, NormalizeAngle(0.0f), 1e-6);
}

TEST_F(KnobAppearance, TheSimpleKnobFillsUpToItsValue)
{
    EXPECT_EQ((Lines{"frame (1,1,38,98) (1,1,1,1) b1", "fill (1,76,38,23) (1,1,1,0.6) b0"}),
              canvas.DrawOnce(simple, knob));
}

TEST_F(KnobAppearance, AnEmptyRangeMeasuresFromTheMinimumAlone)
{
    knob.SetMinimum(5);
    knob.SetMaximum(5);
    knob.SetValue(5.25);
    knob.SetHighlighted(true);
    EXPECT_EQ("fill (1,76,38,23) (1,1,1,0.9) b0", canvas.DrawOnce(simple, knob).back());
}

TEST_F(KnobAppearance, TheSkinDrawsASectorOfItsPictureSizedToIt)
{
    auto skin =
        LoadSkin<CSkinKnobAppearance>({"KnobTexture=k", "BackgroundTexture=b"}, {{"k", &picture}, {"b", &background}});
    knob.SetMinimum(0);
    knob.SetMaximum(100);
    knob.SetValue(0);
    knob.SetWedgeStyle(true);
    EXPECT_EQ((Lines{"image (0,0) (1,1,1,1) b0", "sector 333..387 (1,1,1,1) b0"}), canvas.DrawOnce(*skin, knob));
    EXPECT_EQ(64.0f, knob.GetSize().x); // sized to the knob picture
    knob.SetWedgeStyle(false);
    knob.SetValue(50);
    EXPECT_EQ("sector 0..180 (1,1,1,1) b0", canvas.DrawOnce(*skin, knob).back());
}

TEST_F(KnobAppearance, PicturesThatDidNotResolveAreLeftOut)
{
    auto bare = LoadSkin<CSkinKnobAppearance>({}, {});
    knob.SetValue(50);
    EXPECT_TRUE(canvas.DrawOnce(*bare, knob).empty());
}

TEST_F(ComboBoxAppearance, TheCaretIsHeldInsideTheText)
{
    CScreen screen;
    boost::shared_ptr<CComboBox> combo(new CComboBox());
    combo->SetSize(Vector2<float>(120, 20));
    combo->SetText("abc");
    screen.AddControl(combo);
    combo->SetFocus();
    CSimpleComboBoxAppearance simpleCombo;

    const std::tuple<bool, std::int32_t, const char*> rows[] = {{true, 2, "fill (20,2,2,16) (1,1,1,1) b0"},
                                                                {true, 99, "fill (28,2,2,16) (1,1,1,1) b0"},
                                                                {true, -5, "fill (4,2,2,16) (1,1,1,1) b0"},
                                                                {false, 1, "fill (110,9,2,2) (1,1,1,1) b1"}};
    for (const auto& [visible, position, beforeText] : rows) {
        combo->SetCaretVisible(visible);
        combo->SetCaretPosition(position);
        const Lines trace = canvas.DrawOnce(simpleCombo, *combo);
        EXPECT_EQ((Lines{beforeText, "clipped (4,2,96,19) 'abc' (1,1,1,1) b0"}),
                  Lines(trace.end() - std::min<std::ptrdiff_t>(2, std::ssize(trace)), trace.end()))
            << position;
    }
}

TEST_F(CheckBoxAppearance, TheSimpleBoxShowsTheTickAndTheCaptionAtHeight20)
{
    check.SetChecked(true);
    EXPECT_EQ((Lines{"fill (1,1,18,18) (1,1,1,0.2) b0", "frame (1,1,18,18) (1,1,1,1) b1",
                     "fill (4,4,12,12) (1,1,1,1) b1", "clipped (28,2,16,20) 'Go' (1,1,1,1) b0"}),
              canvas.DrawOnce(simpleCheck, check));
}

TEST_F(CheckBoxAppearance, DisabledChangesNothingInTheSimpleDrawingAndPressedBrightensTheBox)
{
    check.SetEnabled(false);
    check.SetPressed(true);
    check.SetChecked(false);
    EXPECT_EQ((Lines{"fill (1,1,18,18) (1,1,1,0.8) b0", "frame (1,1,18,18) (1,1,1,1) b1",
                     "clipped (28,2,16,20) 'Go' (1,1,1,1) b0"}),
              canvas.DrawOnce(simpleCheck, check));
}

TEST_F(RadioButtonAppearance, TheSimpleRadioButtonDrawsItsStripsAndTheCaptionAtHeight20)
{
    CRadioButton radio;
    radio.SetSize(Vector2<float>(100, 20));
    radio.SetCaption("Go");
    CSimpleRadioButtonAppearance simpleRadio;
    EXPECT_EQ((Lines{"fill (3,3,14,14) (1,1,1,0.2) b0", "fill (1,1,18,1) (1,1,1,1) b1", "fill (1,18,18,1) (1,1,1,1) b1",
                     "fill (1,1,1,5) (1,1,1,1) b1", "fill (18,1,1,5) (1,1,1,1) b1", "fill (1,14,1,5) (1,1,1,1) b1",
                     "fill (18,14,1,5) (1,1,1,1) b1", "clipped (28,2,16,20) 'Go' (1,1,1,1) b0"}),
              canvas.DrawOnce(simpleRadio, radio));
}

TEST_F(CheckBoxAppearance, TheSkinDrawsBothPicturesAtHalfWhilePressedAndAllDimmedWhileDisabled)
{
    check.SetEnabled(false);
    check.SetPressed(true);
    check.SetChecked(false);
    EXPECT_EQ((Lines{"scaled (0,0,20,20) second (1,1,1,0.15) b0", "scaled (0,0,20,20) first (1,1,1,0.15) b0",
                     "clipped (28,2,16,20) 'Go' (1,1,1,0.3) b0"}),
              canvas.DrawOnce(*checkSkin, check));
}

TEST_F(CheckBoxAppearance, TheSkinShowsTheCheckedPictureAndACaptionTallerThanTheControlRisesAboveIt)
{
    check.SetChecked(true);
    EXPECT_EQ("scaled (0,0,20,20) first (1,1,1,1) b0", canvas.DrawOnce(*checkSkin, check).front());
    check.SetSize(Vector2<float>(100, 8));
    EXPECT_EQ("clipped (11.2,-4,16,8) 'Go' (1,1,1,1) b0", canvas.DrawOnce(*checkSkin, check).back());
}

TEST(TrackBarButton, TheButtonsLengthComesFromTheAppearanceThePictureAndTheOrientation)
{
    FakeTexture tall(16, 32), wide(32, 16), emptyPicture(0, 0);
    const std::tuple<bool, ITexture*, std::int32_t, float> trackRows[] = {
        {false, nullptr, CTrackBar::kHorizontal, 10},     {false, nullptr, CTrackBar::kVertical, 50},
        {true, &tall, CTrackBar::kHorizontal, 10},        {true, &wide, CTrackBar::kHorizontal, 40},
        {true, nullptr, CTrackBar::kHorizontal, 10}, // no picture: half the cross size
        {true, &emptyPicture, CTrackBar::kHorizontal, 10}};
    for (const auto& [skin, button, orientation, length] : trackRows) {
        CTrackBar bar;
        bar.SetOrientation(orientation);
        if (skin) {
            bar.SetAppearance(LoadSkin<CSkinTrackBarAppearance>({"ButtonTexture=b"}, {{"b", button}}));
        } else {
            bar.SetAppearance(CSimpleTrackBarAppearance::Create());
        }
        bar.SetSize(Vector2<float>(100, 20));
        EXPECT_EQ(std::pair(length, std::string("(0,0,100,20)")),
                  std::pair(bar.GetButtonSize(), Rect(bar.GetTrackRect())))
            << skin << " " << orientation;
    }
}

TEST_F(TrackBarAppearance, TheValuePlacesTheButtonBetweenTheFirstAndSecondArea)
{
    for (const auto& [value, areas] : {std::pair{50.0, "(0,0,45,20)(45,0,10,20)(55,0,45,20)"},
                                       {0.0, "(0,0,0,20)(0,0,10,20)(10,0,90,20)"},
                                       {150.0, "(0,0,90,20)(90,0,10,20)(100,0,0,20)"}}) {
        bar.SetValue(value);
        EXPECT_EQ(areas, Rect(bar.GetFirstAreaRect()) + Rect(bar.GetButtonRect()) + Rect(bar.GetSecondAreaRect()));
    }
}

TEST_F(TrackBarAppearance, AnEmptyRangeKeepsTheButtonAtTheStart)
{
    bar.SetValue(150.0);
    bar.SetMaximum(0);
    EXPECT_EQ("(0,0,10,20)", Rect(bar.GetButtonRect()));
}

TEST_F(TrackBarAppearance, APressedButtonDrawsTheStripsEitherSideItsFrameBodyAndGrip)
{
    bar.SetMaximum(100);
    bar.SetValue(50);
    bar.SetPressed(true);
    bar.SetPressedPart(CTrackBar::kPartButton);
    EXPECT_EQ(
        (Lines{"fill (1,7.66667,43,4.66667) (1,1,1,0.2) b0", "fill (56,7.66667,43,4.66667) (1,1,1,0.2) b0",
               "frame (46,1,8,18) (1,1,1,1) b1", "fill (46,1,8,18) (1,1,1,0.8) b0", "fill (49,7,2,6) (1,1,1,1) b1"}),
        canvas.DrawOnce(*bar.GetAppearance(), bar));
}

TEST_F(TrackBarAppearance, AButtonLongerThanItsTrackStaysAtTheStartInsteadOfRunningBackwards)
{
    // 20 on 16.
    bar.SetSize(Vector2<float>(16, 40));
    bar.SetValue(100);
    EXPECT_EQ("(0,0,0,40)(0,0,20,40)", Rect(bar.GetFirstAreaRect()) + Rect(bar.GetButtonRect()));
}

TEST_F(ProgressBarAppearance, TheSimpleBarFillsItsFractionAcrossOrUp)
{
    EXPECT_EQ((Lines{"fill (1,1,98,18) (1,1,1,0.2) b0", "fill (3,3,23.5,14) (1,1,1,0.8) b1",
                     "frame (1,1,98,18) (1,1,1,1) b1"}),
              canvas.DrawOnce(simpleProgress, progress));
    progress.SetOrientation(CProgressBar::kVertical);
    EXPECT_EQ("fill (3,13.5,94,3.5) (1,1,1,0.8) b1", canvas.DrawOnce(simpleProgress, progress)[1]);
}

TEST(ProgressFraction, IsZeroForAnEmptyRangeAndKeepsTinyValues)
{
    CProgressBar emptyProgress;
    emptyProgress.SetMaximum(0);
    EXPECT_EQ(0.0f, ProgressFraction(&emptyProgress));
    emptyProgress.SetValue(1e-310);
    EXPECT_NEAR(1e-310 / 2.2250738585072014e-308, ProgressFraction(&emptyProgress), 1e-6);
}

TEST_F(ProgressBarAppearance, TheSkinDrawsTheDownPictureOverTheBackgroundPulsing)
{
    auto progressSkin = LoadSkin<CSkinProgressBarAppearance>(
        {"BodyRect.width=64", "BodyRect.height=16", "Texture=back", "DownTexture=down"},
        {{"back", &back}, {"down", &down}});
    canvas.device->elapsedMilliseconds = 250.0; // the top of the pulse
    EXPECT_EQ((Lines{"skin (0,0,100,20) body (0,0,64,16) first (1,1,1,1) b0",
                     "skin (0,0,25,20) body (0,0,64,16) second (1,1,1,1) b0"}),
              canvas.DrawOnce(*progressSkin, progress));
    canvas.device->elapsedMilliseconds = 750.0;
    auto noBackground = LoadSkin<CSkinProgressBarAppearance>({"DownTexture=down"}, {{"down", &down}});
    EXPECT_EQ((Lines{"skin (0,0,25,20) body (0,0,0,0) second (1,1,1,0.7) b0"}),
              canvas.DrawOnce(*noBackground, progress));
}

TEST_F(ProgressBarAppearance, TheCropSkinCutsTheDownPictureToTheFraction)
{
    auto crop = LoadSkin<CCropSkinProgressBarAppearance>({"Texture=back", "DownTexture=down"},
                                                         {{"back", &back}, {"down", &down}});
    EXPECT_EQ((Lines{"scaled (0,0,100,20) first (1,1,1,1) b0", "part (0,0,25,20) from (0,0,16,16) (1,1,1,1) b0"}),
              canvas.DrawOnce(*crop, progress));
    progress.SetOrientation(CProgressBar::kVertical);
    EXPECT_EQ("part (0,15,100,5) from (0,12,64,4) (1,1,1,1) b0", canvas.DrawOnce(*crop, progress).back());
}

TEST_F(ProgressBarAppearance, TheCropSkinWithoutADownPictureFailsLeavingTheBrushesAsTheyWere)
{
    auto noDown = LoadSkin<CCropSkinProgressBarAppearance>({"Texture=back"}, {{"back", &back}});
    progress.SetOrientation(CProgressBar::kVertical);
    ExpectThrowWith<EInvalidParameter>([&] { noDown->Draw(&progress, &canvas); }, "texture is null.");
}
