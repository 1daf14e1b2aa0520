/** @file SettingsFormParts.h The pieces the options screens share: row labels, selectors, menu buttons and the
 * full-screen settings form's properties. */
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"

namespace korvane::mwt
{
class CButton;
class CForm;
class CHorizontalSelector;
class CLabel;
} // namespace korvane::mwt

/// The properties of every options screen: the named full-screen form, grey tint, "Transparent",
/// style 2, key preview on and, for the screens with rows, group keys passed on to the row's selector.
void ApplySettingsFormSetup(korvane::mwt::CForm& form, const std::string& name, bool groupKeys);

/// A menu button: caption left-aligned and vertically centred, no icon, body drawn.
boost::shared_ptr<korvane::mwt::CButton> MakeMenuButton(const std::string& name, const korvane::canvas::Rect2f& bounds,
                                                        const std::string& caption);

/// A row's focusable name in "QVR2WinAsciiMedium": left, vertically centred, its own size.
boost::shared_ptr<korvane::mwt::CLabel> MakeRowLabel(const std::string& name, const korvane::canvas::Rect2f& bounds,
                                                     const std::string& caption, int group);

/// A row's selector; never focusable (the row's label takes the focus and passes the keys on).
boost::shared_ptr<korvane::mwt::CHorizontalSelector>
MakeSelector(const std::string& name, const korvane::canvas::Rect2f& bounds, const std::string& font, int group);

/// A text whose first "%s" takes the value; every other character, "%" included, is copied as it
/// stands, so a text table entry can never act as a format. Cut to the formatter's limit at a
/// whole character.
std::string ReplaceFirstPlaceholder(const std::string& text, const std::string& value);
