/** @file FormAppearanceTest.cpp The simple and skin form appearances on the recording device: caption boxes, client
 * rectangles, the caption height from the definition, frames and captions by style and focus, and the rolled-up and
 * texture-less skin forms. */
#include "KorvaneXDK/mwt/SimpleFormAppearance.h"
#include "KorvaneXDK/mwt/SkinFormAppearance.h"
#include "MwtTest.h"

namespace
{

const Rect2f kNone(0, 0, 0, 0);

/// The skin of the sample definition: a 128 x 128 body, content inset (8, 32, 8, 8), caption (8, 4) 112 x 24.
const Lines kSkin = {"BodyRect.width=128",    "BodyRect.height=128",   "ContentRect.left=8",
                     "ContentRect.top=32",    "ContentRect.width=112", "ContentRect.height=88",
                     "CaptionRect.left=8",    "CaptionRect.top=4",     "CaptionRect.width=112",
                     "CaptionRect.height=24", "Texture=form.png",      "ButtonTexture=formbuttons.png"};

struct Skin
{
    explicit Skin(const Lines& lines = kSkin, bool textures = true)
        : appearance(LoadSkin<CSkinFormAppearance>(
              lines, textures ? std::map<std::string, ITexture*>{{"form.png", &body}, {"formbuttons.png", &buttons}}
                              : std::map<std::string, ITexture*>{}))
    {}
    FakeTexture body{128, 128};
    FakeTexture buttons{40, 40, 64, 64};
    boost::shared_ptr<CSkinFormAppearance> appearance;
};

/// A screen with two forms of the appearance given, `form` focused, drawn on a recording canvas.
struct AppearanceFixture
{
    explicit AppearanceFixture(boost::shared_ptr<IControlAppearance> appearance, bool boxes = true) : look(appearance)
    {
        screen->Initialize();
        for (auto& f : {form, other}) {
            f->OpenAnimationFactory = CDefaultFactories::NullAnimation;
            f->SetAppearance(appearance);
            f->SetCloseBoxEnabled(true);
            f->SetMaximizeBoxEnabled(boxes);
            f->SetRollUpBoxEnabled(boxes);
            screen->AddControl(f);
        }
        form->SetFormName("Title");
        form->SetFocus();
    }

    void Draw() { look->Draw(form.get(), &canvas); }

    RecordingCanvas rc;
    TracingCanvas canvas{rc.device};
    boost::shared_ptr<IControlAppearance> look;
    boost::shared_ptr<CScreen> screen = Make<CScreen>("screen", 0, 0, 640, 480);
    boost::shared_ptr<CForm> form = Make<CForm>("form", 10, 10, 200, 100);
    boost::shared_ptr<CForm> other = Make<CForm>("other", 300, 10, 100, 100);
};

} // namespace

TEST(FormAppearance, BoxesClientRectanglesCaptionHeightsFramesByStyleFocusAndRollUp)
{
    const std::tuple<const char*, bool, std::int32_t, bool, Rect2f, Rect2f, Rect2f, Rect2f, std::int32_t> rows[] = {
        {"simple", false, 2, true, {182, 2, 16, 16}, {164, 2, 16, 16}, {146, 2, 16, 16}, {2, 20, 196, 78}, 20},
        {"simple without maximise", false, 3, false, {182, 2, 16, 16}, kNone, {164, 2, 16, 16}, {2, 20, 196, 78}, 20},
        {"simple unframed", false, 1, true, kNone, kNone, kNone, {0, 0, 200, 100}, 20},
        // Caption from x 8 to 192 on the form, boxes of 24 - 4 = 20 from its right end, 2 above its top.
        {"skin", true, 2, true, {172, 2, 20, 20}, {148, 2, 20, 20}, {126, 2, 20, 20}, {8, 32, 184, 60}, 24},
        {"skin without maximise", true, 2, false, {172, 2, 20, 20}, kNone, {148, 2, 20, 20}, {8, 32, 184, 60}, 24},
        {"skin unframed", true, 0, true, kNone, kNone, kNone, {0, 0, 200, 100}, 20}};
    for (const auto& [what, skin, style, maximize, close, max, rollUp, client, captionHeight] : rows) {
        Skin skinned;
        auto form = Make<CForm>("form", 0, 0, 200, 100);
        form->SetAppearance(skin ? skinned.appearance : CSimpleFormAppearance::Create());
        form->SetFormStyle(style);
        form->SetCloseBoxEnabled(true);
        form->SetMaximizeBoxEnabled(maximize);
        form->SetRollUpBoxEnabled(true);
        form->Open();
        EXPECT_EQ(std::tuple(close, max, rollUp, client, captionHeight),
                  std::tuple(form->GetCloseBoxRect(), form->GetMaximizeBoxRect(), form->GetRollUpBoxRect(),
                             form->GetClientRect(), form->GetCaptionHeight()))
            << what;
    }

    // The skin's caption height comes from the definition, saturated.
    for (const auto& [height, expected] : {std::pair<std::string, std::int32_t>{"30.9", 30},
                                           {"nan", 0},
                                           {"1e30", 2147483647},
                                           {"-1e30", -2147483647 - 1}}) {
        Lines lines = kSkin;
        lines.push_back("CaptionRect.height=" + height);
        Skin skin(lines);
        auto sized = Make<CForm>("form", 0, 0, 200, 100);
        sized->SetAppearance(skin.appearance);
        sized->Open();
        EXPECT_EQ(sized->GetCaptionHeight(), expected) << height;
    }

    // Without a resolver the skin reads nothing.
    AppearanceProperties properties;
    properties.Set("BodyRect.width", "64");
    CSkinFormAppearance appearance;
    EXPECT_THROW(appearance.LoadProperties(properties, TextureResolver()), boost::bad_function_call);
    EXPECT_EQ(appearance.GetBodyRect(), kNone);

    const std::string client = "fill (2,20,196,78) (0.2,0.4,0.6,1)";
    const Lines focused = {"fill (0,0,200,20) (0,0,0.8,0.6)",      "fill (0,98,200,2) (0,0,0,0.6)",
                           "fill (0,20,2,78) (0,0,0,0.6)",         "fill (198,20,2,78) (0,0,0,0.6)",
                           "fill (182,2,16,16) (0.1,0.1,0.3,0.5)", "frame (182,2,16,16) (0.5,0.5,1,1)",
                           "fill (184,7.8,12,4) (0.5,0.5,1,1)"};
    const Lines inactive = {"fill (0,0,200,20) (0,0,0,0.6)",        "fill (0,98,200,2) (0,0,0,0.6)",
                            "fill (0,20,2,78) (0,0,0,0.6)",         "fill (198,20,2,78) (0,0,0,0.6)",
                            "fill (182,2,16,16) (0,0,0,0.5)",       "frame (182,2,16,16) (0.8,0.8,0.8,0.2)",
                            "fill (184,7.8,12,4) (0.8,0.8,0.8,0.2)"};
    const std::tuple<const char*, std::int32_t, bool, float, Lines, Lines> styles[] = {
        {"focused", 2, true, 1, focused, {"'Title' (8,2) FFFFFFFF"}},
        {"not focused", 3, false, 1, inactive, {"'Title' (8,2) FFB3B3B3"}},
        {"see-through client area", 2, true, 0, focused, {"'Title' (8,2) FFFFFFFF"}},
        {"style 1: the client fill only", 1, true, 1, {"fill (0,0,200,100) (0.2,0.4,0.6,1)"}, {}},
        {"style 0: nothing", 0, true, 1, {}, {}},
        {"style 4: nothing", 4, true, 1, {}, {}}};
    for (const auto& [what, style, focused, alpha, expected, text] : styles) {
        SCOPED_TRACE(what);
        AppearanceFixture f(CSimpleFormAppearance::Create(), false);
        f.form->SetFormStyle(style);
        f.form->Open();
        f.form->SetColor(Color4<float>(0.2f, 0.4f, 0.6f, alpha));
        if (!focused) {
            f.other->SetFocus();
        }
        f.Draw();
        Lines want = expected;
        if (alpha > 0 && !text.empty()) {
            want.push_back(client);
        }
        // The brush and font stacks as they were.
        EXPECT_EQ(std::tuple(want, text, std::size_t{1}, std::size_t{1}),
                  std::tuple(f.canvas.Only({"fill", "frame"}), Calls(*f.rc.font), f.canvas.GetBrushDepth(),
                             f.canvas.GetFontDepth()));
    }

    // Style 1's fill by itself: the current brush takes the form's colour, nothing is pushed.
    {
        AppearanceFixture f(CSimpleFormAppearance::Create(), false);
        f.form->SetFormStyle(1);
        f.form->Open();
        f.form->SetColor(Color4<float>(0.2f, 0.4f, 0.6f, 1));
        TControlAppearance<CForm>::FillClientArea(f.form.get(), &f.canvas);
        EXPECT_EQ(std::tuple(f.canvas.Only({"fill", "push brush"}), f.canvas.GetBrushDepth()),
                  std::tuple(Lines{"fill (0,0,200,100) (0.2,0.4,0.6,1)"}, std::size_t{1}));
    }

    // The skin frame, rolled up and without textures.
    // Close, maximise, roll-up: quarters of the 40 x 40 image on a 64 x 64 surface at each box's corner.
    const Lines boxes = {"171.5 0,0.3125", "147.5 0.3125,0", "125.5 0,0"};
    const Lines box = {"fill (0,0,200,24) (0.2,0.4,0.6,1)", "frame (0,0,200,24) (0.2,0.4,0.6,1)"};
    const std::tuple<const char*, bool, bool, bool, std::size_t, Lines, Lines, const char*> skinRows[] = {
        {"skinned", true, false, true, 1, boxes, {}, "'Title' (8,4) FFFFFFFF"},
        {"not focused", true, false, false, 1, boxes, {}, "'Title' (8,4) 80FFFFFF"},
        {"rolled up: a plain box", true, true, true, 0, boxes, box, "'Title' (8,4) FFFFFFFF"},
        {"no textures: caption only", false, false, true, 0, {}, {}, "'Title' (8,4) FFFFFFFF"}};
    for (const auto& [what, textures, rolledUp, focused, skinDraws, boxes, fills, text] : skinRows) {
        SCOPED_TRACE(what);
        Skin skin(kSkin, textures);
        AppearanceFixture f(skin.appearance);
        f.form->SetColor(Color4<float>(0.2f, 0.4f, 0.6f, 1));
        if (rolledUp) {
            f.form->OnMouseDown(V(f.form->GetRollUpBoxRect().left + 1, 3), 1);
            ASSERT_EQ(f.form->GetWindowState(), CForm::kStateRolledUp);
        }
        if (!focused) {
            f.other->SetFocus();
        }
        f.Draw();
        std::size_t drawn = 0;
        Lines corners;
        for (const auto& draw : f.rc.device->draws) {
            drawn += draw.texture == &skin.body;
            if (draw.texture == &skin.buttons) {
                const auto& v = draw.vertices.at(0);
                corners.push_back(Number(v.x) + " " + Number(v.u) + "," + Number(v.v));
            }
        }
        // The caption text in the form's font: its 16 high line centred in 24, from the caption's left.
        EXPECT_EQ(std::tuple(fills, skinDraws, boxes, Lines{text}, canvas::CBrush::kBlendNormal),
                  std::tuple(f.canvas.Only({"fill", "frame"}), drawn, corners, Calls(*f.rc.font),
                             f.canvas.GetBrush().GetBlendMode()));
    }
}
