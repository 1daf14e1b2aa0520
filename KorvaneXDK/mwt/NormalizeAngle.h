/** @file NormalizeAngle.h Angles brought into one turn. */
#pragma once

namespace korvane::mwt
{

/// The angle (radians) moved by whole turns into [0, 2 pi): a negative angle is first lifted
/// above zero, then the whole turns are taken off (both truncating toward zero).
float NormalizeAngle(float angle);

} // namespace korvane::mwt
