/** @file DrawValueFrame.h The additive one-pixel frame of the simple value appearances. */
#pragma once

#include "KorvaneXDK/canvas/Rect2f.h"

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;

/// On the current brush: the control's colour, additive; the outline of `rect` inset by one on
/// every side; then back to blend mode 0 (the colour stays).
void DrawValueFrame(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect);

} // namespace korvane::mwt
