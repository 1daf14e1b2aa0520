/** @file TextPlacementGlTest.cpp Text read back from the window scene's frames: every texel row and column of every
 * glyph of the program's fonts shows on a smaller back buffer, and the credits lines and the leaderboard rows keep
 * their ink inside their panel and row. */
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>

#include <boost/make_shared.hpp>

#include "KorvaneXDK/canvas/CanvasDevice.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "WindowSceneGlFixture.h"
#include "frontend/forms/CreditsFormDesign.h"
#include "frontend/forms/LeaderboardRowDrawing.h"
#include "os/gfx/ImageDecoder.h"

namespace
{

using korvane::canvas::CCanvas;
using window_gl_test::Frame;
using window_gl_test::WindowSceneGl;

const char* const kFonts[] = {"FONT12T2S",         "FONT08T2_C",     "QVR2WinAsciiMedium",
                              "QVR2WinAsciiLarge", "QVR2WinMessage", "QVR2WinCondenseMedium",
                              "QVR_FONT_4x"};

std::string Utf8(std::uint32_t code)
{
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

std::vector<std::uint8_t> ReadArchived(const std::string& name)
{
    boost::shared_ptr<korvane::IKorvaneStream> stream = korvane::RequireDriverDataLoader(nullptr).OpenShared(name);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream->GetSize()));
    stream->Read(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return bytes;
}

/// An archive font as the registry holds it, with its page's coverage.
struct FontPage
{
    boost::shared_ptr<korvane::CTextureFont> font;
    os::gfx::DecodedImage page;
    std::vector<std::uint32_t> codes;

    explicit FontPage(const std::string& name)
        : font(
              boost::dynamic_pointer_cast<korvane::CTextureFont>(korvane::canvas::CFontStock::GetInstance()->Get(name)))
    {
        const std::vector<std::uint8_t> png = ReadArchived("fonts\\" + name + ".png");
        EXPECT_EQ(os::gfx::kOk, os::gfx::DecodePng(png.data(), png.size(), os::gfx::DecodeLimits(), &page)) << name;
        for (std::uint32_t code = 0; font && code <= 0xFFFF; ++code)
            if (const auto* glyph = font->FindGlyph(static_cast<std::uint16_t>(code)))
                if (glyph->Width > 0 && glyph->Height > 0)
                    codes.push_back(code);
    }
    std::uint32_t Coverage(std::int32_t x, std::int32_t y) const
    {
        const std::uint8_t* word = &page.levels[0][(static_cast<std::size_t>(y) * page.width + x) * 4];
        return word[3];
    }
};

/// The driver's device with a frame clock standing at 0.
class StillClockDevice : public korvane::canvas::CCanvasDevice
{
public:
    double GetElapsedMilliseconds() override { return 0.0; }
};

/// Draws on a canvas of its own with a still clock, set up as the scene's canvas is (its shader pair, matrix and
/// clip), with the leaderboard list's font in force: a leaderboard row's pulse reads the frame clock, which a test
/// driver has not got.
void DrawOnRowCanvas(CCanvas& canvas, const std::function<void(CCanvas&)>& draw)
{
    CCanvas rowCanvas(boost::make_shared<StillClockDevice>());
    rowCanvas.SetShaderPair(canvas.GetShaderPair());
    rowCanvas.ResetMatrix(canvas.GetMatrix());
    rowCanvas.ResetClipRect();
    rowCanvas.BeginDraw();
    rowCanvas.GetFont() = korvane::canvas::CFont("QVR2WinAsciiMedium");
    draw(rowCanvas);
}

/// The box of the pixels whose brightest channel reaches `level` (left, top, right, bottom, the far edges
/// exclusive); all zero when there are none.
std::array<std::uint32_t, 4> InkBox(const Frame& frame, std::uint32_t level)
{
    std::array<std::uint32_t, 4> box{frame.width, frame.height, 0, 0};
    for (std::uint32_t y = 0; y < frame.height; ++y)
        for (std::uint32_t x = 0; x < frame.width; ++x) {
            const std::uint32_t c = frame.At(x, y);
            if (std::max({c >> 16, (c >> 8) & 0xFFu, c & 0xFFu}) >= level)
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
        }
    return box[2] == 0 ? std::array<std::uint32_t, 4>{} : box;
}

/// Rows (or, with `columns`, columns) of a glyph that do not show. A texel line with strong ink shows when one
/// pixel line, within a pixel and a half of where the texel line belongs (whole-pixel placement moves and widens a
/// glyph by up to that), lights every strong texel's pixel or a neighbour to at least a seventh of its coverage
/// (what filtering a line thinner than a pixel leaves of it); a lost line leaves nothing of its own pattern there.
std::vector<int> HiddenLines(const FontPage& font, const korvane::CTextureFont::Glyph& glyph, float left, float top,
                             float scaleX, float scaleY, const Frame& frame, bool columns)
{
    const int lines = columns ? glyph.Width : glyph.Height;
    const int across = columns ? glyph.Height : glyph.Width;
    const float along = columns ? scaleX : scaleY;
    const float side = columns ? scaleY : scaleX;
    const float start = columns ? left : top;
    const float cross = columns ? top : left;
    auto pixel = [&](int at, int other) -> std::uint32_t {
        const int x = columns ? at : other;
        const int y = columns ? other : at;
        if (x < 0 || y < 0 || x >= static_cast<int>(frame.width) || y >= static_cast<int>(frame.height))
            return 0;
        return frame.At(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) >> 16;
    };
    std::vector<int> hidden;
    for (int line = 0; line < lines; ++line) {
        std::vector<std::pair<int, std::uint32_t>> strong; // pixel position across the line, coverage
        for (int k = 0; k < across; ++k) {
            const int tx = glyph.X + (columns ? line : k);
            const int ty = glyph.Y + (columns ? k : line);
            if (const std::uint32_t coverage = font.Coverage(tx, ty); coverage >= 160)
                strong.emplace_back(static_cast<int>(std::floor((cross + static_cast<float>(k) + 0.5f) * side)),
                                    coverage);
        }
        if (strong.empty())
            continue;
        const float centre = (start + static_cast<float>(line) + 0.5f) * along;
        bool shown = false;
        for (int at = static_cast<int>(std::ceil(centre - 2.0f)); !shown && at <= static_cast<int>(centre + 1.0f); ++at)
            shown = std::all_of(strong.begin(), strong.end(), [&](const auto& texel) {
                const int p = texel.first;
                return 7 * std::max({pixel(at, p - 1), pixel(at, p), pixel(at, p + 1)}) >= texel.second;
            });
        if (!shown)
            hidden.push_back(line);
    }
    return hidden;
}

// Every glyph of every font, drawn through the window scene at fractional canvas positions on the full-size back
// buffer and on smaller ones (uniformly, and with the 16:9 setting on a 16:10 buffer less across than down), keeps
// each of its texel rows and columns in sight: a glyph quad between pixels samples past its first or last texel line.
TEST_F(WindowSceneGl, EveryGlyphKeepsEachTexelRowAndColumnOnASmallerBackBuffer)
{
    struct Size
    {
        std::uint32_t width, height;
        std::int32_t aspect;
    };
    for (const Size size : {Size{1920, 1080, 0}, Size{1280, 720, 0}, Size{1440, 900, 1}}) {
        Resize(size.width, size.height, size.aspect);
        const float bandLeft = screen_fit::BandLeft(scene->GetAspect());
        const float scaleX = static_cast<float>(size.width) / (1080.0f * scene->GetAspect());
        const float scaleY = static_cast<float>(size.height) / 1080.0f;
        for (const char* name : kFonts) {
            const FontPage font(name);
            ASSERT_TRUE(font.font && !font.page.levels.empty()) << name;
            const float cell = static_cast<float>(font.font->GetLineHeight("")) + 12.0f;
            const int perRow = static_cast<int>((1080.0f * scene->GetAspect() - 16.0f) / cell);
            const int perFrame = perRow * static_cast<int>((1080.0f - 16.0f) / cell);
            std::map<std::uint32_t, std::string> faults;
            for (std::size_t first = 0; first < font.codes.size(); first += static_cast<std::size_t>(perFrame)) {
                const std::size_t end = std::min(font.codes.size(), first + static_cast<std::size_t>(perFrame));
                // Each cell's origin, moved by a fraction of a unit that differs from its neighbours'.
                auto origin = [&](std::size_t i) {
                    const auto k = static_cast<int>(i - first);
                    return korvane::Vector2<float>(
                        bandLeft + 8.0f + static_cast<float>(k % perRow) * cell + 0.37f * static_cast<float>(k % 7),
                        8.0f + static_cast<float>(k / perRow) * cell + 0.29f * static_cast<float>(k % 5));
                };
                const Frame frame = Render([&](CCanvas& canvas) {
                    canvas.GetFont() = korvane::canvas::CFont(name);
                    for (std::size_t i = first; i < end; ++i) {
                        const korvane::Vector2<float> at = origin(i);
                        canvas.PushMatrix();
                        canvas.MultiplyMatrix(korvane::canvas::MakeTranslation(at.x, at.y));
                        canvas.DrawText(korvane::Vector2<float>(0.0f, 0.0f), Utf8(font.codes[i]));
                        canvas.PopMatrix();
                    }
                });
                for (std::size_t i = first; i < end; ++i) {
                    const auto& glyph = *font.font->FindGlyph(static_cast<std::uint16_t>(font.codes[i]));
                    const korvane::Vector2<float> at = origin(i);
                    const float left = at.x - bandLeft + static_cast<float>(font.font->GetLeftOffset() + glyph.OffsetX);
                    const float top = at.y + static_cast<float>(font.font->GetTopOffset() + glyph.OffsetY);
                    std::ostringstream fault;
                    for (const bool columns : {false, true})
                        for (int line : HiddenLines(font, glyph, left, top, scaleX, scaleY, frame, columns))
                            fault << (columns ? " column " : " row ") << line;
                    if (!fault.str().empty())
                        faults[font.codes[i]] = fault.str();
                }
            }
            std::ostringstream report;
            int shown = 0;
            for (const auto& [code, fault] : faults)
                if (shown++ < 6)
                    report << " U+" << std::hex << code << std::dec << fault << ";";
            EXPECT_EQ(0u, faults.size()) << name << " at " << size.width << "x" << size.height << " of "
                                         << font.codes.size() << " glyphs:" << report.str();
        }
    }
    Resize(window_gl_test::kWidth, window_gl_test::kHeight);
}

// Each text of a leaderboard row, drawn at the row drawing's offsets with the list's font in force, keeps its ink on
// the row's band (the 45 of its 48 pixels that the highlight covers): ranks and scores of every width, each kind of
// stage text, dates, and names with descenders, accents or Japanese.
TEST_F(WindowSceneGl, EachTextOfALeaderboardRowStaysOnItsBand)
{
    Resize(1920, 1080);
    const korvane::canvas::Rect2f item(100.0f, 101.0f, 652.0f, 48.0f);
    auto row = [](std::int32_t rank, const char* name, std::int64_t score, const char* stage, const char* date) {
        LeaderboardListRow r;
        std::tie(r.Rank, r.Name, r.Score, r.StageText, r.DateText) = std::tuple(rank, name, score, stage, date);
        return r;
    };
    const LeaderboardListRow rows[] = {
        row(7, "gjpqy|()[]{}_,;Qg", 1500, "", "2024/12/31 23:59:59"),
        row(123456, "ゲームを終了しますか", -1, "STAGE ALL", " 999/ 1/ 1 00:00:00"),
        row(2147483647, "ÅÉÇÖÜ ÿ ÂÊ", INT64_MIN, "PHASE ALL", "2015/10/10 10:10:10"),
        row(99999, "了解設定漢字テスト", 9999999999, "AREA ALL!", "1999/ 9/29 09:09:09"),
        row(1, "WWWWWWWWWWWWWWWWWWWWW", 0, "AREA 31", "2000/ 2/29 12:00:00"),
    };
    for (const LeaderboardListRow& r : rows) {
        const Frame frame = Render([&](CCanvas& canvas) {
            DrawOnRowCanvas(canvas,
                            [&](CCanvas& rowCanvas) { DrawLeaderboardRow(rowCanvas, r, item, false, nullptr); });
        });
        // Brighter than the dark band: text.
        const std::array<std::uint32_t, 4> ink = InkBox(frame, 0x30);
        EXPECT_TRUE(ink[0] >= 100 && ink[1] >= 101 && ink[2] <= 752 && ink[3] <= 101 + 45)
            << r.Name << ": ink from " << ink[0] << "," << ink[1] << " to " << ink[2] << "," << ink[3];
    }
    Resize(window_gl_test::kWidth, window_gl_test::kHeight);
}

// The ten rows of the list, where the list form puts them, keep every inked pixel on a pixel of their bands at every
// window size down to the smallest the program allows, and turned either way: whole-pixel glyph placement must not
// carry the date's lowest ink past the band's last pixel row where a canvas unit is less than a pixel.
TEST_F(WindowSceneGl, LeaderboardRowsKeepTheirInkOnTheirBandsAtEveryWindowSize)
{
    struct Size
    {
        std::uint32_t width, height;
        std::int32_t aspect, rotation;
    };
    const Size sizes[] = {{1366, 768, 0, 0}, {1024, 768, 0, 0}, {640, 480, 0, 0},
                          {1280, 800, 0, 0}, {1280, 720, 0, 3}, {1920, 1080, 0, 1}};
    LeaderboardListRow row;
    std::tie(row.Rank, row.Name, row.Score, row.StageText, row.DateText) =
        std::tuple(7, "gjpqy|()Qg", 1500, "STAGE ALL", "2024/12/31 23:59:59");
    for (const Size size : sizes) {
        Resize(size.width, size.height, size.aspect, size.rotation);
        // The bands alone in white, then the rows as drawn.
        auto draw = [&](bool rows) {
            return Render([&](CCanvas& canvas) {
                DrawOnRowCanvas(canvas, [&](CCanvas& rowCanvas) {
                    for (int i = 0; i < 10; ++i) {
                        const korvane::canvas::Rect2f item(628.0f, 296.0f + 48.0f * static_cast<float>(i), 652.0f,
                                                           48.0f);
                        if (rows) {
                            DrawLeaderboardRow(rowCanvas, row, item, false, nullptr);
                        } else {
                            rowCanvas.FillRect(
                                korvane::canvas::Rect2f(item.left, item.top, item.width, item.height - 3.0f));
                        }
                    }
                });
            });
        };
        const Frame bands = draw(false);
        const Frame rows = draw(true);
        std::vector<std::string> astray;
        for (std::uint32_t y = 0; y < rows.height; ++y)
            for (std::uint32_t x = 0; x < rows.width; ++x) {
                const std::uint32_t c = rows.At(x, y);
                if (std::max({c >> 16, (c >> 8) & 0xFFu, c & 0xFFu}) >= 0x30 && bands.At(x, y) != 0xFFFFFFu &&
                    astray.size() < 4)
                    astray.push_back(std::to_string(x) + "," + std::to_string(y));
            }
        EXPECT_EQ(std::vector<std::string>{}, astray)
            << size.width << "x" << size.height << " rotation " << size.rotation << ": ink off the bands";
    }
    Resize(window_gl_test::kWidth, window_gl_test::kHeight);
}

// Every credits line of both text tables, in the credits screen's own labels, keeps its ink inside the screen's panel
// (the band its cross-hatch covers), and each table has every line.
TEST_F(WindowSceneGl, EveryCreditsLineOfEachLanguageStaysInsideThePanel)
{
    Resize(1920, 1080);
    CCreditsFormDesign design;
    design.InitializeComponent(nullptr);
    const korvane::canvas::Rect2f panel = design.Image1->GetBounds();
    for (const char* language : {"en", "ja"}) {
        korvane::TProperties<korvane::comparator_for_properties::less_ignorecase> table;
        table.LoadFromStream(
            *korvane::RequireDriverDataLoader(nullptr).OpenShared(std::string("text_") + language + ".properties"));
        for (std::size_t i = 0; i < design.Lines.size(); ++i) {
            const std::string key = "credits_" + std::to_string(i + 1);
            EXPECT_NE("", table.Get(key, "")) << language << " " << key;
            design.Lines[i]->SetCaption(table.Get(key, ""));
        }
        const Frame frame = Render([&](CCanvas& canvas) {
            for (const auto& line : design.Lines) {
                canvas.PushMatrix();
                canvas.MultiplyMatrix(korvane::canvas::MakeTranslation(line->GetLocation().x, line->GetLocation().y));
                line->Draw(&canvas);
                canvas.PopMatrix();
            }
        });
        const std::array<std::uint32_t, 4> ink = InkBox(frame, 0x30);
        EXPECT_TRUE(static_cast<float>(ink[0]) >= panel.left && static_cast<float>(ink[2]) <= panel.left + panel.width)
            << language << ": ink from x " << ink[0] << " to " << ink[2] << ", the panel from " << panel.left << " to "
            << panel.left + panel.width;
    }
    Resize(window_gl_test::kWidth, window_gl_test::kHeight);
}

} // namespace
