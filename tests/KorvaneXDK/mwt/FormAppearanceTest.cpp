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
std::map<std::string, std::string> SkinKeys()
{
    return {{"BodyRect.left", "0"},       {"BodyRect.top", "0"},
            {"BodyRect.width", "128"},    {"BodyRect.height", "128"},
            {"ContentRect.left", "8"},    {"ContentRect.top", "32"},
            {"ContentRect.width", "112"}, {"ContentRect.height", "88"},
            {"CaptionRect.left", "8"},    {"CaptionRect.top", "4"},
            {"CaptionRect.width", "112"}, {"CaptionRect.height", "24"},
            {"Texture", "form.png"},      {"ButtonTexture", "formbuttons.png"}};
}

/// A screen with two forms of the appearance given; `form` is focused unless told otherwise.
struct AppearanceFixture
{
    explicit AppearanceFixture(boost::shared_ptr<IControlAppearance> appearance, float w = 200, float h = 100,
                               bool boxes = true)
        : look(appearance)
    {
        screen->Initialize();
        for (auto& f : {form, other}) {
            f->OpenAnimationFactory = CDefaultFactories::NullAnimation;
            f->SetAppearance(appearance);
            f->SetCloseBoxEnabled(boxes);
            f->SetMaximizeBoxEnabled(boxes);
            f->SetRollUpBoxEnabled(boxes);
        }
        form->SetFormName("Title");
        form->SetSize(Vector2<float>(w, h));
        screen->AddControl(form);
        screen->AddControl(other);
        form->SetFocus();
    }

    void Draw()
    {
        canvas.trace.clear();
        rc.font->calls.clear();
        rc.device->Clear();
        look->Draw(form.get(), &canvas);
    }

    RecordingCanvas rc;
    TracingCanvas canvas{rc.device};
    boost::shared_ptr<IControlAppearance> look;
    boost::shared_ptr<CScreen> screen = Make<CScreen>("screen", 0, 0, 640, 480);
    boost::shared_ptr<CForm> form = Make<CForm>("form", 10, 10, 200, 100);
    boost::shared_ptr<CForm> other = Make<CForm>("other", 300, 10, 100, 100);
};

struct Skin
{
    explicit Skin(std::map<std::string, std::string> keys = SkinKeys(), bool textures = true)
    {
        AppearanceProperties properties;
        for (const auto& [key, value] : keys) {
            properties.Set(key, value);
        }
        appearance->LoadProperties(properties, [this, textures](const std::string& name) -> ITexture* {
            if (!textures) {
                return nullptr;
            }
            return name == "form.png" ? &body : name == "formbuttons.png" ? &buttons : nullptr;
        });
    }
    FakeTexture body{128, 128};
    FakeTexture buttons{40, 40, 64, 64};
    boost::shared_ptr<CSkinFormAppearance> appearance = boost::make_shared<CSkinFormAppearance>();
};

} // namespace

TEST(FormAppearance, CaptionBoxesAndClientRectangles)
{
    const struct
    {
        const char* what;
        bool skin;
        std::int32_t style;
        bool maximize;
        Rect2f close, max, rollUp, client;
        std::int32_t captionHeight;
    } rows[] = {
        {"simple", false, 2, true, {182, 2, 16, 16}, {164, 2, 16, 16}, {146, 2, 16, 16}, {2, 20, 196, 78}, 20},
        {"simple without maximise", false, 3, false, {182, 2, 16, 16}, kNone, {164, 2, 16, 16}, {2, 20, 196, 78}, 20},
        {"simple unframed", false, 1, true, kNone, kNone, kNone, {0, 0, 200, 100}, 20},
        // Caption from x 8 to 192 on the form, boxes of 24 - 4 = 20 from its right end, 2 above its top.
        {"skin", true, 2, true, {172, 2, 20, 20}, {148, 2, 20, 20}, {126, 2, 20, 20}, {8, 32, 184, 60}, 24},
        {"skin without maximise", true, 2, false, {172, 2, 20, 20}, kNone, {148, 2, 20, 20}, {8, 32, 184, 60}, 24},
        {"skin unframed", true, 0, true, kNone, kNone, kNone, {0, 0, 200, 100}, 20},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Skin skin;
        boost::shared_ptr<IControlAppearance> appearance =
            row.skin ? boost::shared_ptr<IControlAppearance>(skin.appearance) : CSimpleFormAppearance::Create();
        auto form = Make<CForm>("form", 0, 0, 200, 100);
        form->SetAppearance(appearance);
        form->SetFormStyle(row.style);
        form->SetCloseBoxEnabled(true);
        form->SetMaximizeBoxEnabled(row.maximize);
        form->SetRollUpBoxEnabled(true);
        form->Open();
        EXPECT_EQ(form->GetCloseBoxRect(), row.close);
        EXPECT_EQ(form->GetMaximizeBoxRect(), row.max);
        EXPECT_EQ(form->GetRollUpBoxRect(), row.rollUp);
        EXPECT_EQ(form->GetClientRect(), row.client);
        EXPECT_EQ(form->GetCaptionHeight(), row.captionHeight);
    }
}

TEST(FormAppearance, SkinCaptionHeightComesFromTheDefinitionSaturated)
{
    const struct
    {
        const char* height;
        std::int32_t expected;
    } rows[] = {{"30.9", 30}, {"nan", 0}, {"1e30", 2147483647}, {"-1e30", -2147483647 - 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.height);
        auto keys = SkinKeys();
        keys["CaptionRect.height"] = row.height;
        Skin skin(keys);
        auto form = Make<CForm>("form", 0, 0, 200, 100);
        form->SetAppearance(skin.appearance);
        form->Open();
        EXPECT_EQ(form->GetCaptionHeight(), row.expected);
    }
}

TEST(FormAppearance, SkinReadsNothingWithoutAResolver)
{
    AppearanceProperties properties;
    properties.Set("BodyRect.width", "64");
    CSkinFormAppearance appearance;
    EXPECT_THROW(appearance.LoadProperties(properties, TextureResolver()), boost::bad_function_call);
    EXPECT_EQ(appearance.GetBodyRect(), kNone);
}

TEST(FormAppearance, SimpleFrameByStyleAndFocus)
{
    const std::string caption = "fill (0,0,200,20) (0,0,0.8,0.6)";
    const Lines bands = {"fill (0,98,200,2) (0,0,0,0.6)", "fill (0,20,2,78) (0,0,0,0.6)",
                         "fill (198,20,2,78) (0,0,0,0.6)"};
    const Lines closeBox = {"fill (182,2,16,16) (0.1,0.1,0.3,0.5)", "frame (182,2,16,16) (0.5,0.5,1,1)",
                            "fill (184,7.8,12,4) (0.5,0.5,1,1)"};
    const Lines closeBoxInactive = {"fill (182,2,16,16) (0,0,0,0.5)", "frame (182,2,16,16) (0.8,0.8,0.8,0.2)",
                                    "fill (184,7.8,12,4) (0.8,0.8,0.8,0.2)"};
    auto join = [](std::initializer_list<Lines> parts) {
        Lines out;
        for (const Lines& part : parts) {
            out.insert(out.end(), part.begin(), part.end());
        }
        return out;
    };
    const struct
    {
        const char* what;
        std::int32_t style;
        bool focused;
        float alpha;
        Lines expected;
        std::uint32_t textColor; ///< 0: no caption text
    } rows[] = {
        {"focused", 2, true, 1, join({{caption}, bands, closeBox, {"fill (2,20,196,78) (0.2,0.4,0.6,1)"}}),
         0xFFFFFFFFu},
        {"not focused", 3, false, 1,
         join({{"fill (0,0,200,20) (0,0,0,0.6)"}, bands, closeBoxInactive, {"fill (2,20,196,78) (0.2,0.4,0.6,1)"}}),
         0xFFB3B3B3u},
        {"see-through client area", 2, true, 0, join({{caption}, bands, closeBox}), 0xFFFFFFFFu},
        {"style 1: the client fill only", 1, true, 1, {"fill (0,0,200,100) (0.2,0.4,0.6,1)"}, 0},
        {"style 0: nothing", 0, true, 1, {}, 0},
        {"style 4: nothing", 4, true, 1, {}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        AppearanceFixture f(CSimpleFormAppearance::Create(), 200, 100, false);
        f.form->SetCloseBoxEnabled(true);
        f.form->SetFormStyle(row.style);
        f.form->Open();
        f.form->SetColor(Color4<float>(0.2f, 0.4f, 0.6f, row.alpha));
        if (!row.focused) {
            f.other->SetFocus();
        }
        f.Draw();
        EXPECT_EQ(f.canvas.Only({"fill", "frame"}), row.expected);
        if (row.textColor) {
            ASSERT_EQ(f.rc.font->calls.size(), 1u);
            const auto& call = f.rc.font->calls[0];
            EXPECT_EQ(call.text, "Title");
            EXPECT_EQ(call.x, 8);
            EXPECT_EQ(call.y, 2);
            EXPECT_EQ(call.color, row.textColor);
        } else {
            EXPECT_TRUE(f.rc.font->calls.empty());
        }
        EXPECT_EQ(f.canvas.GetBrushDepth(), 1u);
        EXPECT_EQ(f.canvas.GetFontDepth(), 1u);
    }
}

TEST(FormAppearance, SkinFrameRolledUpAndWithoutTextures)
{
    const struct
    {
        const char* what;
        bool textures;
        bool rolledUp;
        bool focused;
        std::size_t skinDraws;
        std::size_t boxDraws;
        Lines fills;
        std::uint32_t textColor;
    } rows[] = {
        {"skinned", true, false, true, 1, 3, {}, 0xFFFFFFFFu},
        {"not focused", true, false, false, 1, 3, {}, 0x80FFFFFFu},
        {"rolled up: a plain box",
         true,
         true,
         true,
         0,
         3,
         {"fill (0,0,200,24) (0.2,0.4,0.6,1)", "frame (0,0,200,24) (0.2,0.4,0.6,1)"},
         0xFFFFFFFFu},
        {"no textures: caption only", false, false, true, 0, 0, {}, 0xFFFFFFFFu},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Skin skin(SkinKeys(), row.textures);
        AppearanceFixture f(skin.appearance);
        f.form->SetColor(Color4<float>(0.2f, 0.4f, 0.6f, 1));
        if (row.rolledUp) {
            f.form->OnMouseDown(Vector2<float>(f.form->GetRollUpBoxRect().left + 1, 3), 1);
            ASSERT_EQ(f.form->GetWindowState(), CForm::kStateRolledUp);
        }
        if (!row.focused) {
            f.other->SetFocus();
        }
        f.Draw();
        EXPECT_EQ(f.canvas.Only({"fill", "frame"}), row.fills);
        std::size_t skinDraws = 0;
        std::vector<canvas::CanvasVertex> boxCorners;
        for (const auto& draw : f.rc.device->draws) {
            skinDraws += draw.texture == &skin.body;
            if (draw.texture == &skin.buttons) {
                boxCorners.push_back(draw.vertices.at(0));
            }
        }
        EXPECT_EQ(skinDraws, row.skinDraws);
        ASSERT_EQ(boxCorners.size(), row.boxDraws);
        if (row.boxDraws) {
            // Close, maximise, roll-up: quarters of the 40 x 40 image on a 64 x 64 surface at each box's corner.
            EXPECT_EQ(boxCorners[0].x, 171.5f);
            EXPECT_EQ(boxCorners[0].v, 20.0f / 64);
            EXPECT_EQ(boxCorners[1].x, 147.5f);
            EXPECT_EQ(boxCorners[1].u, 20.0f / 64);
            EXPECT_EQ(boxCorners[2].x, 125.5f);
            EXPECT_EQ(boxCorners[2].u, 0.0f);
        }
        // The caption text in the form's font: its 16 high line centred in 24, from the caption's left.
        ASSERT_EQ(f.rc.font->calls.size(), 1u);
        EXPECT_EQ(f.rc.font->calls[0].x, 8);
        EXPECT_EQ(f.rc.font->calls[0].y, 4);
        EXPECT_EQ(f.rc.font->calls[0].color, row.textColor);
        EXPECT_EQ(f.canvas.GetBrush().GetBlendMode(), canvas::CBrush::kBlendNormal);
    }
}
