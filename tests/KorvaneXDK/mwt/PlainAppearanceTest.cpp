/** @file PlainAppearanceTest.cpp The solid-colour, single-border and skin appearances on the recording device: their
 * geometry and colours, the skins' definition keys in any locale, and definitions that must not stop drawing. */
#include <clocale>

#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/mwt/HorizontalSkinAppearance.h"
#include "KorvaneXDK/mwt/SingleBorderAppearance.h"
#include "KorvaneXDK/mwt/SkinAppearance.h"
#include "KorvaneXDK/mwt/SolidColorAppearance.h"
#include "KorvaneXDK/mwt/VerticalSkinAppearance.h"
#include "MwtTest.h"

namespace
{

/// Draws a w x h control of the colour and appearance; the canvas's brush stack ends where it began.
Lines DrawnBy(boost::shared_ptr<IControlAppearance> appearance, float w, float h, const Color4<float>& color,
              LogCanvas& canvas, bool enabled = true)
{
    auto control = Make("control", 0, 0, w, h);
    control->SetColor(color);
    control->SetAppearance(appearance);
    control->SetEnabled(enabled);
    const std::size_t brushes = canvas.GetBrushDepth();
    control->Draw(&canvas);
    EXPECT_EQ(brushes, canvas.GetBrushDepth());
    return canvas.Only({"fill", "frame", "skin"});
}

/// BodyRect.left as read from each value (none: the key is missing), the other keys fixed.
std::vector<float> ReadLefts()
{
    std::vector<float> lefts;
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), {"abc"}, {"1.5x"}, {" -2.25"}, {"1,5"}, {"nan"}, {"-1e30"}, {"inf"}, {""}}) {
        Lines lines = {"BodyRect.top=3", "BodyRect.width=7.25", "BodyRect.height=0.5"};
        if (value) {
            lines.push_back("BodyRect.left=" + *value);
        }
        const Rect2f body = LoadSkin<CSkinAppearance>(lines, {})->GetBodyRect();
        EXPECT_EQ(Rect2f(0, 3, 7.25f, 0.5f), Rect2f(0, body.top, body.width, body.height));
        lefts.push_back(body.left);
    }
    return lefts;
}

const std::vector<float> kLefts = {0, 0, 1.5f, -2.25f, 1, NAN, -1e30f, INFINITY, 0};

/// The nine-, three- and vertical three-piece skins of the definition.
std::vector<boost::shared_ptr<IControlAppearance>> Skins(const Lines& lines,
                                                         const std::map<std::string, ITexture*>& pictures)
{
    return {LoadSkin<CSkinAppearance>(lines, pictures), LoadSkin<CHorizontalSkinAppearance>(lines, pictures),
            LoadSkin<CVerticalSkinAppearance>(lines, pictures)};
}

} // namespace

TEST(PlainAppearanceTest, SolidBorderAndSkinDrawingTextureNamesFadingBrokenDefinitionsAndKeysInAnyLocale)
{
    FakeTexture texture(32, 32);
    const Lines lines = {"BodyRect.left=8", "BodyRect.top=8", "BodyRect.width=16", "BodyRect.height=16",
                         "Texture=t.png"};
    const auto skins = Skins(lines, {{"t.png", &texture}});
    for (const bool enabled : {true, false}) {
        for (const auto& skin : skins) {
            SCOPED_TRACE(skin->GetName() + (enabled ? "" : " disabled"));
            const bool ninePiece = skin == skins[0];
            // Where the nine pieces land is the GL read-back test's.
            LogCanvas canvas;
            DrawnBy(skin, 40, 24, Color4<float>(0, 0, 1, 1), canvas, enabled);
            ASSERT_EQ(1u, canvas.device->draws.size());
            const std::vector<canvas::CanvasVertex> triangles = canvas.device->draws[0].Triangles();
            EXPECT_EQ(std::pair(std::size_t{ninePiece ? 54u : 18u}, static_cast<ITexture*>(&texture)),
                      std::pair(triangles.size(), canvas.device->draws[0].texture));
            for (const canvas::CanvasVertex& v : triangles) {
                EXPECT_EQ((ninePiece || enabled ? 0xFFu : 0x80u) << 24 | 0xFFFFFFu, v.color0);
            }
        }
    }

    // Broken definitions draw nothing or something, but never stop the screen.
    for (const Lines& broken :
         {Lines{"BodyRect.left=nan", "BodyRect.top=nan", "BodyRect.width=nan", "BodyRect.height=nan"},
          Lines{"BodyRect.left=-1e30", "BodyRect.top=1e30", "BodyRect.width=-1e30", "BodyRect.height=-1e30"},
          Lines{"BodyRect.left=inf", "BodyRect.top=-inf", "BodyRect.width=1e30", "BodyRect.height=nan"}}) {
        for (ITexture* t : {static_cast<ITexture*>(&texture), static_cast<ITexture*>(nullptr)}) {
            for (const auto& skin : Skins(broken, {{"", t}})) {
                SCOPED_TRACE(skin->GetName() + " " + broken.front() + (t ? "" : " without a texture"));
                LogCanvas canvas;
                EXPECT_NO_THROW(DrawnBy(skin, 40, 24, Color4<float>(1, 1, 1, 1), canvas));
                EXPECT_TRUE(t || canvas.device->draws.empty());
            }
        }
    }

    // Solid colour and single border; skins resolve their texture by name.
    LogCanvas solid;
    EXPECT_EQ(Lines{"fill (0,0,6,4) (0,1,0,0.5) b0"},
              DrawnBy(CSolidColorAppearance::Create(), 6, 4, Color4<float>(0, 1, 0, 0.5f), solid));
    // The inner rectangle, filled at 15 % of the control's opacity.
    LogCanvas border;
    EXPECT_EQ((Lines{"fill (1,1,8,6) (1,0,0,0.15) b0", "frame (1,1,8,6) (1,0,0,1) b0"}),
              DrawnBy(CSingleBorderAppearance::Create(), 10, 8, Color4<float>(1, 0, 0, 1), border));

    FakeTexture named(16, 16);
    for (const auto& [lines, name] :
         {std::pair<Lines, std::string>{{"Texture=frame.png"}, "frame.png"}, {{}, ""}, {{"texture=x.png"}, ""}}) {
        Lines asked;
        AppearanceProperties keys;
        keys.ParseLines(lines);
        CHorizontalSkinAppearance skin;
        skin.LoadProperties(keys, [&](const std::string& n) -> ITexture* { return asked.push_back(n), &named; });
        EXPECT_EQ(std::tuple(Lines{name}, static_cast<ITexture*>(&named), Rect2f(0, 0, 0, 0)),
                  std::tuple(asked, skin.GetTexture(), skin.GetBodyRect()));
    }

    // Without a resolver nothing is read (the three skins share their loading).
    AppearanceProperties keys;
    keys.ParseLines({"BodyRect.left=4", "Texture=a.png"});
    CVerticalSkinAppearance vertical;
    EXPECT_THROW(vertical.LoadProperties(keys, TextureResolver()), boost::bad_function_call);
    EXPECT_EQ(Rect2f(0, 0, 0, 0), vertical.GetBodyRect());

    // The skins' keys parse in the classic locale whatever the process locale.
    EXPECT_THAT(ReadLefts(), testing::Pointwise(testing::NanSensitiveFloatEq(), kLefts));

    // Again under a decimal-comma locale built for the test and selected for numbers.
    TempDir dir;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) > 1) { // 1: built with warnings
        GTEST_SKIP() << "no decimal-comma locale could be built (localedef and the locales package)";
    }
    setenv("LOCPATH", dir.Path().c_str(), 1);
    const bool active =
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr && std::string(std::localeconv()->decimal_point) == ",";
    float seen = 0.0f;
    std::sscanf("1.5", "%f", &seen); // the process locale reads "1.5" as 1 now
    const std::vector<float> lefts = ReadLefts();
    const float half = ParseAppearanceNumber("0.5");
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    if (!active) {
        GTEST_SKIP() << "no decimal-comma locale could be selected";
    }
    EXPECT_EQ(std::pair(1.0f, 0.5f), std::pair(seen, half));
    EXPECT_THAT(lefts, testing::Pointwise(testing::NanSensitiveFloatEq(), kLefts));
}
