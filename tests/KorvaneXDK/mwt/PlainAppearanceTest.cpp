/** @file PlainAppearanceTest.cpp The solid-colour, single-border and skin appearances on the recording device: their
 * geometry and colours, the skins' definition keys in any locale, and definitions that must not stop drawing. */
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/mwt/HorizontalSkinAppearance.h"
#include "KorvaneXDK/mwt/SingleBorderAppearance.h"
#include "KorvaneXDK/mwt/SkinAppearance.h"
#include "KorvaneXDK/mwt/SolidColorAppearance.h"
#include "KorvaneXDK/mwt/VerticalSkinAppearance.h"
#include "MwtTest.h"
#include "support/CanvasRasterizer.h"
#include <clocale>
#include <cstdlib>

namespace
{

struct Recorded
{
    boost::shared_ptr<RecordingCanvasDevice> device = boost::make_shared<RecordingCanvasDevice>();
    TracingCanvas canvas{device};
};

boost::shared_ptr<CControl> MakeControl(float w, float h, const Color4<float>& color,
                                        boost::shared_ptr<IControlAppearance> appearance)
{
    auto control = boost::make_shared<CControl>("control");
    control->ApplySize(Vector2<float>(w, h));
    control->SetColor(color);
    control->SetAppearance(appearance);
    return control;
}

/// A skin of the given class loaded from key=value lines, its texture names written to `asked`.
template <typename TSkin>
boost::shared_ptr<TSkin> LoadSkin(const std::vector<std::string>& lines, ITexture* texture,
                                  std::vector<std::string>* asked = nullptr)
{
    AppearanceProperties properties;
    properties.ParseLines(lines);
    auto skin = boost::make_shared<TSkin>();
    skin->LoadProperties(properties, [texture, asked](const std::string& name) {
        if (asked) {
            asked->push_back(name);
        }
        return texture;
    });
    return skin;
}

/// Switches this process's numbers to a decimal-comma locale built for the test; restores "C" when done.
class DecimalCommaLocale
{
public:
    DecimalCommaLocale()
    {
        const std::string command = "localedef -i de_DE -f UTF-8 '" + dir_.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) > 1) { // 1: built with warnings
            return;
        }
        setenv("LOCPATH", dir_.Path().c_str(), 1);
        active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr &&
                  std::string(std::localeconv()->decimal_point) == ",";
    }
    ~DecimalCommaLocale()
    {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
    }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool IsActive() const { return active_; }

private:
    TempDir dir_;
    bool active_ = false;
};

void ExpectKeysParse()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct
    {
        std::optional<std::string> value;
        float want;
    } rows[] = {{std::nullopt, 0.0f}, {"abc", 0.0f},     {"1.5x", 1.5f}, {" -2.25", -2.25f}, {"1,5", 1.0f},
                {"nan", nan},         {"-1e30", -1e30f}, {"inf", inf},   {"", 0.0f}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value ? "\"" + *row.value + "\"" : std::string("missing"));
        std::vector<std::string> lines = {"BodyRect.top=3", "BodyRect.width=7.25", "BodyRect.height=0.5"};
        if (row.value) {
            lines.push_back("BodyRect.left=" + *row.value);
        }
        FakeTexture texture(16, 16);
        const canvas::Rect2f body = LoadSkin<CSkinAppearance>(lines, &texture)->GetBodyRect();
        if (std::isnan(row.want)) {
            EXPECT_TRUE(std::isnan(body.left)) << body.left;
        } else {
            EXPECT_EQ(row.want, body.left);
        }
        EXPECT_EQ(canvas::Rect2f(0, 3, 7.25f, 0.5f), canvas::Rect2f(0, body.top, body.width, body.height));
    }
}

} // namespace

TEST(PlainAppearanceTest, SolidColorFillsTheControlInItsColour)
{
    Recorded r;
    auto control = MakeControl(6, 4, Color4<float>(0, 1, 0, 0.5f), CSolidColorAppearance::Create());
    EXPECT_EQ("SolidColor", control->GetAppearance()->GetName());
    control->Draw(&r.canvas);
    EXPECT_EQ(std::vector<std::string>{"fill (0,0,6,4) (0,1,0,0.5)"}, r.canvas.Only({"fill", "frame"}));
    CanvasRasterizer raster(8, 8);
    raster.DrawAll(r.device->draws);
    EXPECT_EQ(CanvasRasterizer::PictureOf(8, 8, {{0, 0, 6, 4}}), raster.Picture());
    EXPECT_EQ(0x7F00FF00u, raster.Color(5, 3));
}

TEST(PlainAppearanceTest, SingleBorderOutlinesTheInnerRectangleOverAFaintFill)
{
    Recorded r;
    auto control = MakeControl(10, 8, Color4<float>(1, 0, 0, 1), CSingleBorderAppearance::Create());
    EXPECT_EQ("SingleBorder", control->GetAppearance()->GetName());
    const std::size_t brushes = r.canvas.GetBrushDepth();
    control->Draw(&r.canvas);
    EXPECT_EQ(brushes, r.canvas.GetBrushDepth());
    EXPECT_EQ((std::vector<std::string>{"fill (1,1,8,6) red", "frame (1,1,8,6) red"}),
              r.canvas.Only({"fill", "frame"}));

    CanvasRasterizer raster(12, 10);
    raster.DrawAll(r.device->draws);
    const struct
    {
        int x, y, coverage;
        std::uint32_t color;
    } pixels[] = {
        {0, 0, 0, 0},           {9, 7, 0, 0},           // outside inner
        {1, 1, 2, 0xFFFF0000u}, {8, 6, 2, 0xFFFF0000u}, // the outline over the fill
        {4, 1, 2, 0xFFFF0000u}, {1, 4, 2, 0xFFFF0000u}, //
        {2, 2, 1, 0x26FF0000u}, {7, 5, 1, 0x26FF0000u}, // the fill alone: 15 % of the control's opacity
    };
    for (const auto& p : pixels) {
        EXPECT_EQ(p.coverage, raster.Coverage(p.x, p.y)) << p.x << ", " << p.y << "\n" << raster.Picture();
        if (p.coverage > 0) {
            EXPECT_EQ(p.color, raster.Color(p.x, p.y)) << p.x << ", " << p.y;
        }
    }
}

TEST(PlainAppearanceTest, SkinKeysParseInTheClassicLocaleWhateverTheProcessLocale)
{
    ExpectKeysParse();
    DecimalCommaLocale comma;
    if (!comma.IsActive()) {
        GTEST_SKIP() << "no decimal-comma locale could be built (localedef and the locales package)";
    }
    // The process locale really reads "1.5" as 1 now.
    float seen = 0.0f;
    ASSERT_EQ(1, std::sscanf("1.5", "%f", &seen));
    ASSERT_EQ(1.0f, seen);
    ExpectKeysParse();
    EXPECT_EQ(0.5f, ParseAppearanceNumber("0.5"));
}

TEST(PlainAppearanceTest, SkinsResolveTheirTextureByNameAndAnEmptyResolverThrows)
{
    FakeTexture texture(16, 16);
    const struct
    {
        std::vector<std::string> lines;
        std::string asked;
    } rows[] = {{{"Texture=frame.png"}, "frame.png"}, {{}, ""}, {{"texture=x.png"}, ""}};
    for (const auto& row : rows) {
        std::vector<std::string> asked;
        auto skin = LoadSkin<CHorizontalSkinAppearance>(row.lines, &texture, &asked);
        EXPECT_EQ(std::vector<std::string>{row.asked}, asked);
        EXPECT_EQ(&texture, skin->GetTexture());
        EXPECT_EQ(canvas::Rect2f(0, 0, 0, 0), skin->GetBodyRect());
    }

    AppearanceProperties properties;
    properties.ParseLines({"BodyRect.left=4", "Texture=a.png"});
    for (boost::shared_ptr<IControlAppearance> skin :
         {CSkinAppearance::Create(), CHorizontalSkinAppearance::Create(), CVerticalSkinAppearance::Create()}) {
        SCOPED_TRACE(skin->GetName());
        EXPECT_THROW(skin->LoadProperties(properties, TextureResolver()), boost::bad_function_call);
    }
}

TEST(PlainAppearanceTest, SkinsDrawTheirPiecesAndOnlyTheThreePieceOnesFadeWhenDisabled)
{
    FakeTexture texture(32, 32);
    const std::vector<std::string> lines = {"BodyRect.left=8", "BodyRect.top=8", "BodyRect.width=16",
                                            "BodyRect.height=16", "Texture=t.png"};
    const struct
    {
        const char* what;
        boost::shared_ptr<IControlAppearance> skin;
        std::size_t vertices;
        bool enabled;
        std::uint32_t alpha;
    } rows[] = {
        {"nine-piece", LoadSkin<CSkinAppearance>(lines, &texture), 54, true, 0xFF},
        {"nine-piece disabled", LoadSkin<CSkinAppearance>(lines, &texture), 54, false, 0xFF},
        {"horizontal", LoadSkin<CHorizontalSkinAppearance>(lines, &texture), 18, true, 0xFF},
        {"horizontal disabled", LoadSkin<CHorizontalSkinAppearance>(lines, &texture), 18, false, 0x80},
        {"vertical", LoadSkin<CVerticalSkinAppearance>(lines, &texture), 18, true, 0xFF},
        {"vertical disabled", LoadSkin<CVerticalSkinAppearance>(lines, &texture), 18, false, 0x80},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Recorded r;
        auto control = MakeControl(40, 24, Color4<float>(0, 0, 1, 1), row.skin);
        control->SetEnabled(row.enabled);
        const std::size_t brushes = r.canvas.GetBrushDepth();
        control->Draw(&r.canvas);
        EXPECT_EQ(brushes, r.canvas.GetBrushDepth());
        ASSERT_EQ(1u, r.device->draws.size());
        const std::vector<canvas::CanvasVertex> triangles = r.device->draws[0].Triangles();
        EXPECT_EQ(row.vertices, triangles.size());
        EXPECT_EQ(&texture, r.device->draws[0].texture);
        for (const canvas::CanvasVertex& v : triangles) {
            EXPECT_EQ(row.alpha << 24 | 0xFFFFFFu, v.color0);
        }
    }
}

TEST(PlainAppearanceTest, BrokenDefinitionsDrawNothingOrSomethingButNeverStopTheScreen)
{
    FakeTexture texture(32, 32);
    const std::vector<std::vector<std::string>> definitions = {
        {"BodyRect.left=nan", "BodyRect.top=nan", "BodyRect.width=nan", "BodyRect.height=nan"},
        {"BodyRect.left=-1e30", "BodyRect.top=1e30", "BodyRect.width=-1e30", "BodyRect.height=-1e30"},
        {"BodyRect.left=inf", "BodyRect.top=-inf", "BodyRect.width=1e30", "BodyRect.height=nan"},
    };
    for (const auto& lines : definitions) {
        for (ITexture* t : {static_cast<ITexture*>(&texture), static_cast<ITexture*>(nullptr)}) {
            const boost::shared_ptr<IControlAppearance> skins[] = {LoadSkin<CSkinAppearance>(lines, t),
                                                                   LoadSkin<CHorizontalSkinAppearance>(lines, t),
                                                                   LoadSkin<CVerticalSkinAppearance>(lines, t)};
            for (const auto& skin : skins) {
                SCOPED_TRACE(skin->GetName() + " " + lines.front() + (t ? "" : " without a texture"));
                Recorded r;
                auto control = MakeControl(40, 24, Color4<float>(1, 1, 1, 1), skin);
                EXPECT_NO_THROW(control->Draw(&r.canvas));
                if (!t) {
                    EXPECT_TRUE(r.device->draws.empty());
                }
            }
        }
    }
}
