/** @file RowDrawingTest.cpp A leaderboard row on a canvas that records its texts and fills. */
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "KorvaneXDK/canvas/Canvas.h"
#include "frontend/forms/LeaderboardRowDrawing.h"
#include "support/RecordingCanvasDevice.h"

namespace
{

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
    void DrawImageAt(const Vector2<float>& p, korvane::ITexture*) override { images.push_back(p); }
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
};

korvane::ITexture* FakeIcon()
{
    return reinterpret_cast<korvane::ITexture*>(0x10);
}

const Rect2f kRect(4.0f, 52.0f, 652.0f, 48.0f);

TEST(RowDrawing, PlacesRankNameScoreStageAndDate)
{
    LeaderboardListRow row;
    std::tie(row.Rank, row.Name, row.Score, row.DateText) =
        std::tuple(7, "abcdefghijklmnopqrstu", 1500, "2024/ 3/ 5 06:07:08");
    RecordingRowCanvas canvas;
    canvas.GetFont() = korvane::canvas::CFont("QVR2WinAsciiMedium");
    DrawLeaderboardRow(canvas, row, kRect, false, &FakeIcon);

    const Drawn& rank = canvas.Text("00007");
    EXPECT_EQ("QVR2WinCondenseMedium", rank.font);
    EXPECT_FLOAT_EQ(4.0f, rank.at.x);
    EXPECT_FLOAT_EQ(52.0f + 16.0f, rank.at.y) << "centred in the full height";
    const Drawn& name = canvas.Text("abcdefghijklmnopqrst...");
    EXPECT_FLOAT_EQ(4.0f + 40.0f + 8.0f + 10.0f, name.at.x);
    EXPECT_EQ(1.0f, name.color.b) << "white for others";
    const Drawn& score = canvas.Text("      1500");
    EXPECT_FLOAT_EQ(656.0f - 4.0f, score.at.x + 80.0f) << "right end 4 from the edge";
    EXPECT_FLOAT_EQ(50.0f, score.at.y);
    const Drawn& date = canvas.Text(row.DateText);
    EXPECT_EQ("default", date.font);
    EXPECT_FLOAT_EQ(656.0f - 6.0f, date.at.x + 8.0f * 19.0f);
    EXPECT_FLOAT_EQ(52.0f + 16.0f + 6.0f, date.at.y) << "below the list font's line";
    ASSERT_EQ(1u, canvas.fills.size()) << "no cursor";
    EXPECT_FLOAT_EQ(45.0f, canvas.fills[0].first.height);
    EXPECT_TRUE(canvas.images.empty());
    EXPECT_EQ(1u, canvas.GetBrushDepth());
    EXPECT_EQ("QVR2WinAsciiMedium", canvas.GetFont().GetName());
}

TEST(RowDrawing, StageTextMovesTheScoreAndTheUserIsGold)
{
    LeaderboardListRow row;
    std::tie(row.Rank, row.Name, row.Score, row.StageText, row.Highlight, row.Replay) =
        std::tuple(123456, std::string(20, 'n'), -1, "STAGE ALL", true, true);
    RecordingRowCanvas canvas;
    canvas.now = 250.0;
    DrawLeaderboardRow(canvas, row, kRect, true, &FakeIcon);

    canvas.Text("123456");
    const Drawn& stage = canvas.Text("STAGE ALL");
    EXPECT_FLOAT_EQ(656.0f - 4.0f, stage.at.x + 72.0f);
    const Drawn& score = canvas.Text("        -1");
    EXPECT_FLOAT_EQ(656.0f - 124.0f, score.at.x + 80.0f);
    const Drawn& name = canvas.Text(row.Name);
    EXPECT_FLOAT_EQ(0.875f, name.color.g);
    EXPECT_FLOAT_EQ(0.313f, name.color.b);
    ASSERT_EQ(1u, canvas.images.size());
    EXPECT_EQ(Vector2<float>(4.0f + 48.0f + 8.0f, 60.0f), canvas.images[0]);
    EXPECT_FLOAT_EQ(canvas.images[0].x + 10.0f, name.at.x);
    ASSERT_EQ(2u, canvas.fills.size());
    EXPECT_NEAR(0.2f + 0.5f * 1.0f, canvas.fills[1].second.a, 1e-5f) << "a quarter second: the pulse at its top";
    canvas.fills.clear();
    canvas.now = 750.0;
    DrawLeaderboardRow(canvas, row, kRect, true, &FakeIcon);
    EXPECT_NEAR(0.2f, canvas.fills[1].second.a, 1e-5f);
}

} // namespace
