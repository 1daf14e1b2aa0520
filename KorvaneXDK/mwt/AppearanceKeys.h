/** @file AppearanceKeys.h Reading the numbers and texture names of an appearance definition. */
#pragma once

#include <string>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"

namespace korvane::mwt
{

/// The key's value by the engine's string-to-float rule; `fallback` is the text read when the
/// key is missing.
float ReadAppearanceNumber(const AppearanceProperties& properties, const std::string& key,
                           const std::string& fallback = "0");

/// Four keys prefix + ".left", ".top", ".width", ".height", each defaulting to 0.
canvas::Rect2f ReadAppearanceRect(const AppearanceProperties& properties, const std::string& prefix);

/// The resolver's answer for the key's value (the empty name when the key is missing).
ITexture* ReadAppearanceTexture(const AppearanceProperties& properties, const std::string& key,
                                const TextureResolver& resolver);

} // namespace korvane::mwt
