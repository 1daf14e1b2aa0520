/** @file DrawValueFrame.h The bright outline the simple value appearances (scroll bar, track bar, knob) draw around a part. */
#pragma once

#include "KorvaneXDK/canvas/Rect2f.h"

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;

/// On the current brush, without a push of its own: the control's colour, additive blending,
/// the one-pixel outline of `rect` inset by one on every side, then blend mode 0 again. The
/// brush keeps the control's colour afterwards.
void DrawValueFrame(const CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect);

} // namespace korvane::mwt
