/** @file RowDrawingTest.cpp A leaderboard row on a canvas that records its texts and fills. */
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <boost/weak_ptr.hpp>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/LeaderboardListForm.h"
#include "frontend/forms/LeaderboardRowDrawing.h"
#include "support/RecordingCanvasDevice.h"

using korvane::Color4;
using korvane::Vector2;
using korvane::canvas::Rect2f;

struct Drawn
{
    std::string text;
    Vector2<float> at;
    std::string font;
    Color4<float> color;
};

/// Texts 8 pixels a byte and 16 high in every font; records instead of drawing.
class RecordingRowCanvas : public korvane::canvas::CCanvas
{
public:
    RecordingRowCanvas() : CCanvas(boost::make_shared<korvane::test::RecordingCanvasDevice>()) {}

    void DrawText(const Vector2<float>& p, const std::string& text) override
    {
        texts.push_back({text, p, GetFont().GetName(), GetBrush().GetColor()});
    }
    Vector2<float> MeasureText(const std::string& text) override
    {
        return Vector2<float>(8.0f * static_cast<float>(text.size()), 16.0f);
    }
    float GetFontHeight(const std::string&) override { return GetFont().GetName() == "default" ? 12.0f : 16.0f; }
    void FillRect(const Rect2f& r) override { fills.push_back({r, GetBrush().GetColor()}); }
    void DrawImageAt(const Vector2<float>& p, korvane::ITexture* texture) override
    {
        images.push_back(p);
        // A texture the canvas is told to watch must still be that live texture when it is drawn.
        aliveWhenDrawn.push_back(watched.lock().get() == texture);
    }
    double GetElapsedMilliseconds() override { return now; }

    const Drawn& Text(const std::string& text) const
    {
        for (const Drawn& d : texts)
            if (d.text == text)
                return d;
        ADD_FAILURE() << "not drawn: " << text;
        return texts.front();
    }

    double now = 0.0;
    std::vector<Drawn> texts;
    std::vector<std::pair<Rect2f, Color4<float>>> fills;
    std::vector<Vector2<float>> images;
    boost::weak_ptr<korvane::ITexture> watched;
    std::vector<bool> aliveWhenDrawn;
};

const Rect2f kRect(4.0f, 52.0f, 652.0f, 48.0f);

TEST(RowDrawing, PlacesRankNameScoreStageAndDateAndTheUserIsGold)
{
    // Never drawn through: the recording canvas keeps only where it goes.
    boost::shared_ptr<korvane::ITexture> (*const icon)() = [] {
        return boost::shared_ptr<korvane::ITexture>(reinterpret_cast<korvane::ITexture*>(0x10),
                                                    [](korvane::ITexture*) {});
    };
    LeaderboardListRow row;
    std::tie(row.Rank, row.Name, row.Score, row.DateText) =
        std::tuple(7, "abcdefghijklmnopqrstu", 1500, "2024/ 3/ 5 06:07:08");
    RecordingRowCanvas canvas;
    canvas.GetFont() = korvane::canvas::CFont("QVR2WinAsciiMedium");
    DrawLeaderboardRow(canvas, row, kRect, false, icon);

    // The rank centred in the full height; the name white for others; the score's right end 4 from the edge;
    // the date's 6 from it, below the list font's line.
    const Drawn& rank = canvas.Text("00007");
    EXPECT_EQ(std::tuple(std::string("QVR2WinCondenseMedium"), Vector2<float>(4.0f, 52.0f + 16.0f)),
              std::tuple(rank.font, rank.at));
    const Drawn& name = canvas.Text("abcdefghijklmnopqrst...");
    EXPECT_EQ(std::tuple(4.0f + 40.0f + 8.0f + 10.0f, 1.0f), std::tuple(name.at.x, name.color.b));
    EXPECT_EQ(Vector2<float>(656.0f - 4.0f - 80.0f, 50.0f), canvas.Text("      1500").at);
    const Drawn& date = canvas.Text(row.DateText);
    EXPECT_EQ(std::tuple(std::string("default"), Vector2<float>(656.0f - 6.0f - 8.0f * 19.0f, 52.0f + 16.0f + 6.0f)),
              std::tuple(date.font, date.at));
    ASSERT_EQ(1u, canvas.fills.size()) << "no cursor";
    // The row's own fill; no icon; the brush and font as they were.
    EXPECT_EQ(std::tuple(45.0f, 0u, 1u, std::string("QVR2WinAsciiMedium")),
              std::tuple(canvas.fills[0].first.height, canvas.images.size(), canvas.GetBrushDepth(),
                         canvas.GetFont().GetName()));

    // A stage text moves the score; the user is gold, under a pulsing cursor.
    row = LeaderboardListRow{};
    std::tie(row.Rank, row.Name, row.Score, row.StageText, row.Highlight, row.Replay) =
        std::tuple(123456, std::string(20, 'n'), -1, "STAGE ALL", true, true);
    RecordingRowCanvas gold;
    gold.now = 250.0;
    DrawLeaderboardRow(gold, row, kRect, true, icon);

    gold.Text("123456");
    EXPECT_EQ(std::tuple(656.0f - 4.0f - 72.0f, 656.0f - 124.0f - 80.0f),
              std::tuple(gold.Text("STAGE ALL").at.x, gold.Text("        -1").at.x));
    // The replay icon before the gold name.
    const Drawn& goldName = gold.Text(row.Name);
    EXPECT_EQ(std::tuple(0.875f, 0.313f), std::tuple(goldName.color.g, goldName.color.b));
    ASSERT_EQ(1u, gold.images.size());
    EXPECT_EQ(std::tuple(Vector2<float>(4.0f + 48.0f + 8.0f, 60.0f), gold.images[0].x + 10.0f),
              std::tuple(gold.images[0], goldName.at.x));
    ASSERT_EQ(2u, gold.fills.size());
    EXPECT_NEAR(0.2f + 0.5f * 1.0f, gold.fills[1].second.a, 1e-5f) << "a quarter second: the pulse at its top";
    gold.fills.clear();
    gold.now = 750.0;
    DrawLeaderboardRow(gold, row, kRect, true, icon);
    EXPECT_NEAR(0.2f, gold.fills[1].second.a, 1e-5f);
}

// The list's replay icon stays alive while it is drawn, even when the loader hands out the only reference to it.
TEST(RowDrawing, TheListKeepsTheReplayIconAliveWhileDrawingIt)
{
    RecordingRowCanvas canvas;
    CFormSceneLink::SetTextureLoader([&canvas](korvane::CTextureCache*, const std::string&) {
        boost::shared_ptr<korvane::ITexture> icon(new korvane::CTexture());
        canvas.watched = icon;
        return icon;
    });
    CLeaderboardListForm list;
    list.SetRowCount(1);
    list.SetRow(0, 1, true, false, "name", 100, "", "2024/ 1/ 1 00:00:00");
    list.DrawRow(nullptr, &canvas, 0, kRect);
    CFormSceneLink::Reset();
    EXPECT_EQ(std::vector<bool>{true}, canvas.aliveWhenDrawn) << "drawn after its last owner let it go";
}
