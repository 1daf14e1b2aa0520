/** @file LeaderboardRowDrawing.h One leaderboard row drawn on a canvas. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "frontend/forms/LeaderboardListRow.h"

namespace korvane::canvas
{
class CCanvas;
}
namespace korvane
{
class ITexture;
}

/// The band, the pulsing cursor when `selected`, rank, icon, stage text, score, name and date.
/// `replayIcon` is asked for only when the row shows it, and what it returns is held while it is
/// drawn. Leaves the canvas's stacks as it found them.
void DrawLeaderboardRow(korvane::canvas::CCanvas& canvas, const LeaderboardListRow& row,
                        const korvane::canvas::Rect2f& rect, bool selected,
                        boost::shared_ptr<korvane::ITexture> (*replayIcon)());
