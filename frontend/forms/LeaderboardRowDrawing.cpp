/** @file LeaderboardRowDrawing.cpp One leaderboard row drawn on a canvas. */
#include "frontend/forms/LeaderboardRowDrawing.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "KorvaneXDK/canvas/Canvas.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/LeaderboardDownloadJob.h"

using korvane::Color4;
using korvane::Vector2;
using korvane::canvas::CCanvas;
using korvane::canvas::CFont;
using korvane::canvas::Rect2f;

namespace
{

constexpr std::size_t kNameBytes = 20;

void SetColor(CCanvas& canvas, float r, float g, float b, float a)
{
    canvas.GetBrush().SetColor(Color4<float>(r, g, b, a));
}

void SetFont(CCanvas& canvas, const char* name)
{
    canvas.GetFont() = CFont(name);
}

} // namespace

void DrawLeaderboardRow(CCanvas& canvas, const LeaderboardListRow& row, const Rect2f& rect, bool selected,
                        boost::shared_ptr<korvane::ITexture> (*replayIcon)())
{
    char Buffer[32];
    const float x = rect.left;
    const float y = rect.top;
    const float w = rect.width;
    const float h = rect.height;
    canvas.PushBrush();

    const double t = canvas.GetElapsedMilliseconds();
    const float p = static_cast<float>(0.5 + 0.5 * std::sin(2.0 * 3.1415927410125732 * t / 1000.0));

    const Rect2f band(x, y, w, h - 3.0f);
    canvas.PushBrush();
    SetColor(canvas, 0.1f, 0.1f, 0.1f, 0.5f);
    canvas.FillRect(band);
    canvas.PopBrush();
    if (selected) {
        canvas.PushBrush();
        SetColor(canvas, 1.0f, 0.5f, 0.0f, 0.2f + 0.5f * p);
        canvas.FillRect(band);
        canvas.PopBrush();
    }

    canvas.PushBrush();
    canvas.PushFont();
    SetFont(canvas, form_names::kFontCondenseMedium);
    SetColor(canvas, 0.8f, 0.9f, 1.0f, 1.0f);
    std::snprintf(Buffer, sizeof(Buffer), "%05d", row.Rank);
    const std::string rank(Buffer);
    const float fontHeight = canvas.GetFontHeight(rank);
    canvas.DrawText(Vector2<float>(x, y + (h - fontHeight) / 2.0f), rank);
    float n = x + canvas.MeasureText(rank).x + 8.0f;
    canvas.PopFont();
    canvas.PopBrush();

    if (row.Replay && replayIcon != nullptr) {
        if (const boost::shared_ptr<korvane::ITexture> icon = replayIcon()) {
            canvas.DrawImageAt(Vector2<float>(n, y + 8.0f), icon.get());
        }
    }
    n += 10.0f;

    std::string name = row.Name;
    if (name.size() > kNameBytes) {
        name = CutUtf8(name, kNameBytes) + "...";
    }
    std::snprintf(Buffer, sizeof(Buffer), "%10" PRId64, row.Score);
    const std::string score(Buffer);

    const float right = x + w;
    float a = right;
    canvas.PushBrush();
    canvas.PushFont();
    SetColor(canvas, 1.0f, 1.0f, 1.0f, 0.85f);
    if (!row.StageText.empty()) {
        SetFont(canvas, form_names::kFontDefault);
        canvas.DrawText(Vector2<float>(right - (canvas.MeasureText(row.StageText).x + 4.0f), y + 4.0f), row.StageText);
        a = right - 120.0f;
    }
    SetFont(canvas, form_names::kFontCondenseMedium);
    canvas.DrawText(Vector2<float>(a - (canvas.MeasureText(score).x + 4.0f), y - 2.0f), score);
    canvas.PopFont();
    canvas.PopBrush();

    canvas.PushBrush();
    canvas.PushFont();
    if (row.Highlight) {
        SetColor(canvas, 1.0f, 0.875f, 0.313f, 1.0f);
    } else {
        SetColor(canvas, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    SetFont(canvas, form_names::kFontCondenseMedium);
    canvas.DrawText(Vector2<float>(n, y + 4.0f), name);
    canvas.PopFont();
    canvas.PopBrush();

    const float y2 = y + canvas.GetFontHeight(row.DateText);
    canvas.PushBrush();
    canvas.PushFont();
    SetColor(canvas, 1.0f, 1.0f, 1.0f, 0.8f);
    SetFont(canvas, form_names::kFontDefault);
    canvas.DrawText(Vector2<float>(right - (canvas.MeasureText(row.DateText).x + 6.0f), y2 + 6.0f), row.DateText);
    canvas.PopFont();
    canvas.PopBrush();

    canvas.PopBrush();
}
