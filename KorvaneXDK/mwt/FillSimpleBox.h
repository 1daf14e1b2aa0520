/** @file FillSimpleBox.h The tinted box of the simple track bar and scroll bar. */
#pragma once

#include "KorvaneXDK/canvas/Rect2f.h"

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;

/// Fills `rect` inset by one on every side with the control's colour at 0.8 of its opacity when
/// highlighted, else 0.2; the canvas's brushes are left as they were.
void FillSimpleBox(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect, bool highlighted);

} // namespace korvane::mwt
