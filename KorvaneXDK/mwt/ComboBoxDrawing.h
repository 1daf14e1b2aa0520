/** @file ComboBoxDrawing.h The parts both combo-box appearances draw alike: the button dot and the text with its caret. */
#pragma once

#include "KorvaneXDK/canvas/Rect2f.h"

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;
class CComboBox;

/// A 2 x 2 additive dot in the control's colour at the centre of the button rectangle.
void DrawButtonDot(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& button);

/// The text in the combo box's font and colour, at textRect's left and a top of
/// trunc(H - text height) / 2 (textRect's top is replaced by it); when focused with the caret
/// shown, a 2-unit caret after the first caret-position characters, the position held inside
/// the text.
void DrawComboBoxText(CComboBox* combo, canvas::CCanvas* canvas, canvas::Rect2f textRect);

} // namespace korvane::mwt
