/** @file CaptionDrawing.h The caption of the check-box and radio-button appearances. */
#pragma once

#include <string>

namespace korvane::canvas
{
class CCanvas;
class CFont;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;

/// The caption in its font and the control's colour, into {x0, y, text width, h} with
/// y = trunc(h - text height) / 2 in integers: neither clipped to nor shortened for the control.
void DrawTwoStateCaption(CControl* control, canvas::CCanvas* canvas, const std::string& caption,
                         const canvas::CFont& font, float x0);

} // namespace korvane::mwt
