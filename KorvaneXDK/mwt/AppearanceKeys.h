/** @file AppearanceKeys.h Reading the keys of appearance definition files: numbers, rectangles, and the skins'
 * shared body rectangle and texture. */
#pragma once

#include <string>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"

namespace korvane::mwt
{

/// The leading number of the text as "%f" reads it ("1.5x" gives 1.5; "nan", "inf" and "1e30"
/// stay what they are), 0 when nothing converts. Always with "." as the decimal separator,
/// whatever the process locale: a definition file must read the same everywhere.
float ParseAppearanceNumber(const std::string& text);

/// The key's number, 0 when the key is missing.
float ReadAppearanceNumber(const AppearanceProperties& properties, const std::string& key);

/// The four keys prefix + ".left", ".top", ".width" and ".height", read in that order.
canvas::Rect2f ReadAppearanceRect(const AppearanceProperties& properties, const std::string& prefix);

/// The skins' keys, in order: "BodyRect.left", "BodyRect.top", "BodyRect.width", "BodyRect.height", then
/// "Texture" through the resolver (the empty name when the key is missing; an empty resolver throws
/// boost::bad_function_call). The outputs change only once everything has been read.
void LoadSkinKeys(const AppearanceProperties& properties, const TextureResolver& resolver, canvas::Rect2f& bodyRect,
                  ITexture*& texture);

} // namespace korvane::mwt
