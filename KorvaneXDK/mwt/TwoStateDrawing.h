/** @file TwoStateDrawing.h Fills the simple check-box and radio-button appearances share. */
#pragma once

#include "KorvaneXDK/canvas/Rect2f.h"

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;

/// The rectangle in the control's colour at 0.8 of its opacity when pressed, else 0.2.
void FillPressTint(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect, bool pressed);

/// The rectangle filled additively in the control's colour.
void FillAdditive(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect);

} // namespace korvane::mwt
