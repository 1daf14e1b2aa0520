/** @file ValueAppearanceTest.cpp The knob, combo-box, check-box, radio-button, track-bar and progress-bar appearances
 * drawn on the recording device: the geometry, opacities and blend modes of their edge cases. */
#include "KorvaneXDK/mwt/BadCast.h"
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

/// Each entry: "<call> <rectangles> a=<effective alpha> m=<blend mode>", with the effective colour's red, green and
/// blue left out (tests give controls a white colour). The real canvas runs underneath, so its errors and stack
/// handling stay real. Fonts: "default" is 8 pixels a byte and 13 high (a fresh font registry for its lifetime).
class AppearanceTrace : public canvas::CCanvas
{
public:
    AppearanceTrace() : AppearanceTrace(boost::make_shared<RecordingCanvasDevice>()) {}
    ~AppearanceTrace() override { canvas::CFontStock::ReleaseInstance(); }

    void FillRect(const Rect2f& r) override { Enter("fill " + Rect(r)), CCanvas::FillRect(r), Leave(); }
    void DrawRect(const Rect2f& r) override { Enter("frame " + Rect(r)), CCanvas::DrawRect(r), Leave(); }
    void DrawImageAt(const V& p, ITexture* t) override
    {
        Enter("image at " + Point(p)), CCanvas::DrawImageAt(p, t), Leave();
    }
    void DrawImageScaled(const Rect2f& dest, ITexture* t) override
    {
        Enter("image " + Rect(dest) + Which(t)), CCanvas::DrawImageScaled(dest, t), Leave();
    }
    void DrawImage(const Rect2f& dest, const Rect2f& src, ITexture* t) override
    {
        Enter("part " + Rect(dest) + " from " + Rect(src)), CCanvas::DrawImage(dest, src, t), Leave();
    }
    void DrawSkin(const Rect2f& dest, const Rect2f& body, ITexture* t) override
    {
        Enter("skin " + Rect(dest) + " body " + Rect(body) + Which(t)), CCanvas::DrawSkin(dest, body, t), Leave();
    }
    void DrawImageSector(const V& p, float a, float b, ITexture* t) override
    {
        Enter("sector " + Degrees(a) + ".." + Degrees(b)), CCanvas::DrawImageSector(p, a, b, t), Leave();
    }
    void DrawTextClipped(const Rect2f& r, const std::string& text) override
    {
        Enter("text " + Rect(r) + " '" + text + "'"), CCanvas::DrawTextClipped(r, text), Leave();
    }

    /// Names textures in the trace.
    ITexture *first = nullptr, *second = nullptr;
    Lines trace;
    boost::shared_ptr<RecordingCanvasDevice> device;
    boost::shared_ptr<FakeFont> font;

private:
    int depth_ = 0;

    explicit AppearanceTrace(boost::shared_ptr<RecordingCanvasDevice> recorder)
        : canvas::CCanvas(recorder), device(recorder), font(new FakeFont(recorder.get(), 8, 13))
    {
        SetShaderPair(boost::shared_ptr<CShaderPair>(new CShaderPair()));
        ResetClipRect();
        canvas::CFontStock::ReleaseInstance();
        boost::shared_ptr<canvas::CFontStock> stock = canvas::CFontStock::GetInstance();
        stock->SetFontFactory([this](IDataLoader*, const std::string&) -> boost::shared_ptr<IFont> { return font; });
        stock->LoadFont(nullptr, "default", "default");
    }

    /// Whole hundredths of a degree, so that float rounding does not show.
    static std::string Degrees(float radians)
    {
        return Number(static_cast<float>(std::round(static_cast<double>(radians) * 5729.5779513) / 100.0));
    }

    std::string Blend() { return std::to_string(GetBrush().GetBlendMode()); }
    std::string Which(ITexture* t) const { return t == first ? " first" : t == second ? " second" : " other"; }

    /// The canvas draws some images through its other image operations: only the outermost call is written down.
    /// (A call that throws leaves the count raised; the tests end their traces there.)
    void Enter(const std::string& call)
    {
        if (depth_++ == 0) {
            trace.push_back(call + " a=" + Number(GetEffectiveColor().a) + " m=" + Blend());
        }
    }
    void Leave() { --depth_; }
};

Lines DrawOnce(IControlAppearance& appearance, CControl& control, AppearanceTrace& canvas)
{
    canvas.trace.clear();
    appearance.Draw(&control, &canvas);
    return canvas.trace;
}

} // namespace

TEST(KnobAppearance, AnglesLevelAndWedge)
{
    EXPECT_NEAR(333.0f * 3.14159265f / 180.0f, NormalizeAngle(-27.0f * 3.14159265f / 180.0f), 1e-5);
    EXPECT_NEAR(0.5f, NormalizeAngle(0.5f + 2.0f * 6.2831855f), 1e-5);
    EXPECT_NEAR(0.0f, NormalizeAngle(0.0f), 1e-6);

    AppearanceTrace canvas;
    CKnob knob;
    knob.SetSize(Vector2<float>(40, 100));
    CSimpleKnobAppearance simple;
    knob.SetValue(25);
    EXPECT_EQ((Lines{"frame (1,1,38,98) a=1 m=1", "fill (1,76,38,23) a=0.6 m=0"}), DrawOnce(simple, knob, canvas));
    // An empty range measures from the minimum alone.
    knob.SetMinimum(5);
    knob.SetMaximum(5);
    knob.SetValue(5.25);
    knob.SetHighlighted(true);
    EXPECT_EQ("fill (1,76,38,23) a=0.9 m=0", DrawOnce(simple, knob, canvas).back());

    FakeTexture picture(64, 64), background(32, 32);
    canvas.first = &picture;
    canvas.second = &background;
    auto skin =
        LoadSkin<CSkinKnobAppearance>({"KnobTexture=k", "BackgroundTexture=b"}, {{"k", &picture}, {"b", &background}});
    knob.SetMinimum(0);
    knob.SetMaximum(100);
    knob.SetValue(0);
    knob.SetWedgeStyle(true);
    EXPECT_EQ((Lines{"image at (0,0) a=1 m=0", "sector 333..387 a=1 m=0"}), DrawOnce(*skin, knob, canvas));
    EXPECT_EQ(64.0f, knob.GetSize().x); // sized to the knob picture
    knob.SetWedgeStyle(false);
    knob.SetValue(50);
    EXPECT_EQ("sector 0..180 a=1 m=0", DrawOnce(*skin, knob, canvas).back());

    // Pictures that did not resolve are left out, and the brushes are as they were.
    auto bare = LoadSkin<CSkinKnobAppearance>({}, {});
    EXPECT_TRUE(DrawOnce(*bare, knob, canvas).empty());
    EXPECT_EQ(1u, canvas.GetBrushDepth());
}

TEST(ComboBoxAppearance, CaretIsHeldInsideTheText)
{
    AppearanceTrace canvas;
    CScreen screen;
    boost::shared_ptr<CComboBox> combo(new CComboBox());
    combo->SetSize(Vector2<float>(120, 20));
    combo->SetText("abc");
    screen.AddControl(combo);
    combo->SetFocus();
    ASSERT_TRUE(combo->IsFocused());
    CSimpleComboBoxAppearance simple;

    const std::tuple<bool, std::int32_t, const char*> rows[] = {{true, 0, "fill (4,3,2,13) a=1 m=0"},
                                                                {true, 2, "fill (20,3,2,13) a=1 m=0"},
                                                                {true, 99, "fill (28,3,2,13) a=1 m=0"},
                                                                {true, -5, "fill (4,3,2,13) a=1 m=0"},
                                                                {false, 1, "fill (110,9,2,2) a=1 m=1"}};
    for (const auto& [visible, position, beforeText] : rows) {
        combo->SetCaretVisible(visible);
        combo->SetCaretPosition(position);
        const Lines trace = DrawOnce(simple, *combo, canvas);
        ASSERT_GE(trace.size(), 2u);
        EXPECT_EQ("text (4,3,96,19) 'abc' a=1 m=0", trace.back());
        EXPECT_EQ(beforeText, trace[trace.size() - 2]) << position;
    }
    EXPECT_EQ(1u, canvas.GetBrushDepth());
    EXPECT_EQ(1u, canvas.GetFontDepth());
}

TEST(TwoStateAppearance, BoxesStripsAndCaptionAtHeightTwenty)
{
    AppearanceTrace canvas;
    CCheckBox check;
    check.SetSize(Vector2<float>(100, 20));
    check.SetCaption("Go");
    CSimpleCheckBoxAppearance simpleCheck;
    check.SetChecked(true);
    EXPECT_EQ((Lines{"fill (1,1,18,18) a=0.2 m=0", "frame (1,1,18,18) a=1 m=1", "fill (4,4,12,12) a=1 m=1",
                     "text (28,3,16,20) 'Go' a=1 m=0"}),
              DrawOnce(simpleCheck, check, canvas));
    // Disabled changes nothing in the simple drawing; pressed brightens the box.
    check.SetEnabled(false);
    check.SetPressed(true);
    check.SetChecked(false);
    EXPECT_EQ((Lines{"fill (1,1,18,18) a=0.8 m=0", "frame (1,1,18,18) a=1 m=1", "text (28,3,16,20) 'Go' a=1 m=0"}),
              DrawOnce(simpleCheck, check, canvas));

    CRadioButton radio;
    radio.SetSize(Vector2<float>(100, 20));
    radio.SetCaption("Go");
    CSimpleRadioButtonAppearance simpleRadio;
    EXPECT_EQ((Lines{"fill (3,3,14,14) a=0.2 m=0", "fill (1,1,18,1) a=1 m=1", "fill (1,18,18,1) a=1 m=1",
                     "fill (1,1,1,5) a=1 m=1", "fill (18,1,1,5) a=1 m=1", "fill (1,14,1,5) a=1 m=1",
                     "fill (18,14,1,5) a=1 m=1", "text (28,3,16,20) 'Go' a=1 m=0"}),
              DrawOnce(simpleRadio, radio, canvas));

    FakeTexture on(32, 32), off(32, 32);
    canvas.first = &on;
    canvas.second = &off;
    auto skin =
        LoadSkin<CSkinCheckBoxAppearance>({"CheckedTexture=on", "UncheckedTexture=off"}, {{"on", &on}, {"off", &off}});
    EXPECT_EQ((Lines{"image (0,0,20,20) second a=0.15 m=0", "image (0,0,20,20) first a=0.15 m=0",
                     "text (28,3,16,20) 'Go' a=0.3 m=0"}),
              DrawOnce(*skin, check, canvas));
    check.SetEnabled(true);
    check.SetPressed(false);
    check.SetChecked(true);
    EXPECT_EQ("image (0,0,20,20) first a=1 m=0", DrawOnce(*skin, check, canvas).front());
    // A caption taller than the control rises above it.
    check.SetSize(Vector2<float>(100, 8));
    EXPECT_EQ("text (11.2,-2,16,8) 'Go' a=1 m=0", DrawOnce(*skin, check, canvas).back());

    EXPECT_THROW(skin->Draw(&radio, &canvas), EBadCast);
    EXPECT_EQ(1u, canvas.GetBrushDepth());
}

TEST(TrackBarAppearance, ButtonLengthAndPlacement)
{
    FakeTexture tall(16, 32), wide(32, 16), empty(0, 0);
    const std::tuple<bool, ITexture*, std::int32_t, float> rows[] = {
        {false, nullptr, CTrackBar::kHorizontal, 10}, {false, nullptr, CTrackBar::kVertical, 50},
        {true, &tall, CTrackBar::kHorizontal, 10},    {true, &wide, CTrackBar::kHorizontal, 40},
        {true, nullptr, CTrackBar::kHorizontal, 10}, // no picture: half the cross size
        {true, &empty, CTrackBar::kHorizontal, 10}};
    for (const auto& [skin, button, orientation, length] : rows) {
        CTrackBar bar;
        bar.SetOrientation(orientation);
        if (skin) {
            bar.SetAppearance(LoadSkin<CSkinTrackBarAppearance>({"ButtonTexture=b"}, {{"b", button}}));
        } else {
            bar.SetAppearance(CSimpleTrackBarAppearance::Create());
        }
        bar.SetSize(Vector2<float>(100, 20));
        EXPECT_EQ(length, bar.GetButtonSize()) << skin << " " << orientation;
        EXPECT_EQ("(0,0,100,20)", Rect(bar.GetTrackRect()));
    }

    CTrackBar bar;
    bar.SetAppearance(CSimpleTrackBarAppearance::Create());
    bar.SetSize(Vector2<float>(100, 20));
    // First area, button, second area.
    for (const auto& [value, areas] : {std::pair{50.0, "(0,0,45,20)(45,0,10,20)(55,0,45,20)"},
                                       {0.0, "(0,0,0,20)(0,0,10,20)(10,0,90,20)"},
                                       {150.0, "(0,0,90,20)(90,0,10,20)(100,0,0,20)"}}) {
        bar.SetValue(value);
        EXPECT_EQ(areas, Rect(bar.GetFirstAreaRect()) + Rect(bar.GetButtonRect()) + Rect(bar.GetSecondAreaRect()));
    }
    bar.SetMaximum(0); // an empty range keeps the button at the start
    EXPECT_EQ("(0,0,10,20)", Rect(bar.GetButtonRect()));

    AppearanceTrace canvas;
    bar.SetMaximum(100);
    bar.SetValue(50);
    bar.SetPressed(true);
    bar.SetPressedPart(CTrackBar::kPartButton);
    const Lines trace = DrawOnce(*bar.GetAppearance(), bar, canvas);
    ASSERT_EQ(5u, trace.size()); // the button's frame and body, and its grip
    EXPECT_EQ((Lines{"frame (46,1,8,18) a=1 m=1", "fill (46,1,8,18) a=0.8 m=0", "fill (49,7,2,6) a=1 m=1"}),
              Lines(trace.begin() + 2, trace.end()));
}

TEST(ProgressBarAppearance, FractionBarsPulseAndCrop)
{
    AppearanceTrace canvas;
    CProgressBar bar;
    bar.SetSize(Vector2<float>(100, 20));
    bar.SetValue(25);
    CSimpleProgressBarAppearance simple;
    EXPECT_EQ((Lines{"fill (1,1,98,18) a=0.2 m=0", "fill (3,3,23.5,14) a=0.8 m=1", "frame (1,1,98,18) a=1 m=1"}),
              DrawOnce(simple, bar, canvas));
    bar.SetOrientation(CProgressBar::kVertical);
    EXPECT_EQ("fill (3,13.5,94,3.5) a=0.8 m=1", DrawOnce(simple, bar, canvas)[1]);

    CProgressBar empty;
    empty.SetMaximum(0);
    EXPECT_EQ(0.0f, ProgressFraction(&empty));
    empty.SetValue(1e-310);
    EXPECT_NEAR(1e-310 / 2.2250738585072014e-308, ProgressFraction(&empty), 1e-6);

    FakeTexture back(64, 16), down(64, 16);
    canvas.first = &back;
    canvas.second = &down;
    bar.SetOrientation(CProgressBar::kHorizontal);
    auto skin = LoadSkin<CSkinProgressBarAppearance>(
        {"BodyRect.width=64", "BodyRect.height=16", "Texture=back", "DownTexture=down"},
        {{"back", &back}, {"down", &down}});
    canvas.device->elapsedMilliseconds = 250.0; // the top of the pulse
    EXPECT_EQ(
        (Lines{"skin (0,0,100,20) body (0,0,64,16) first a=1 m=0", "skin (0,0,25,20) body (0,0,64,16) second a=1 m=0"}),
        DrawOnce(*skin, bar, canvas));
    canvas.device->elapsedMilliseconds = 750.0;
    auto noBackground = LoadSkin<CSkinProgressBarAppearance>({"DownTexture=down"}, {{"down", &down}});
    EXPECT_EQ((Lines{"skin (0,0,25,20) body (0,0,0,0) second a=0.7 m=0"}), DrawOnce(*noBackground, bar, canvas));

    auto crop = LoadSkin<CCropSkinProgressBarAppearance>({"Texture=back", "DownTexture=down"},
                                                         {{"back", &back}, {"down", &down}});
    EXPECT_EQ((Lines{"image (0,0,100,20) first a=1 m=0", "part (0,0,25,20) from (0,0,16,16) a=1 m=0"}),
              DrawOnce(*crop, bar, canvas));
    bar.SetOrientation(CProgressBar::kVertical);
    EXPECT_EQ("part (0,15,100,5) from (0,12,64,4) a=1 m=0", DrawOnce(*crop, bar, canvas).back());

    auto noDown = LoadSkin<CCropSkinProgressBarAppearance>({"Texture=back"}, {{"back", &back}});
    ExpectThrowWith<EInvalidParameter>([&] { noDown->Draw(&bar, &canvas); }, "texture is null.");
    EXPECT_EQ(1u, canvas.GetBrushDepth());
}
