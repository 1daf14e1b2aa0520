/** @file FillSimpleBox.h The dim or bright box the simple scroll-bar and track-bar appearances fill their parts with. */
#pragma once

#include "KorvaneXDK/canvas/Rect2f.h"

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;

/// Fills `rect` inset by one on every side in the control's colour at 80 % of its opacity when
/// highlighted, else 20 %, alpha-blended; the canvas's brush stack is left as it was.
void FillSimpleBox(const CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect, bool highlighted);

} // namespace korvane::mwt
