/** @file ScreenFit.h The geometry of the turned and scaled interface: aspect settings, fit scale, screen transform. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Matrix4.h"

namespace screen_fit
{

/// The interface is laid out on this canvas, whatever the display.
inline constexpr float kCanvasWidth = 1920.0f;
inline constexpr float kCanvasHeight = 1080.0f;
/// One quarter turn, as the rotation setting counts them.
inline constexpr float kQuarterTurn = 1.5707964f;

/// Width over height of the visible band for an aspect setting: 1 16:9, 2 16:10, 3 4:3, 4 5:4;
/// 0 and anything else the back buffer's own `viewportAspect`.
float AspectOfSetting(std::int32_t setting, float viewportAspect);

/// Left edge of the visible band: the full canvas height, centred, 1080 x aspect wide.
float BandLeft(float aspect);

/// The scale that lets an upright 9:14 area of full canvas height, turned by `angle`, just fit a
/// display of `aspect` (the display height cancels out).
float FitScale(float angle, float aspect);

/// T(w/2, h/2) R(angle) S(scale) T(-w/2, -h/2) in the canvas convention (column vectors).
korvane::Matrix4 ScreenTransform(float width, float height, float angle, float scale);

/// `m` for vertices in the canvas's half-pixel convention (each corner 0.5 up and left of the pixel edge it
/// stands for): T(-0.5, -0.5) m T(0.5, 0.5), so a turn and a scale act on the edges themselves and a half
/// turn leaves no edge column or row of the back buffer uncovered. Upright and unscaled it is `m`.
korvane::Matrix4 ForHalfPixelVertices(const korvane::Matrix4& m);

} // namespace screen_fit
