/** @file NormalizeAngle.cpp Angles brought into one turn. */
#include "KorvaneXDK/mwt/NormalizeAngle.h"

#include <cmath>

namespace korvane::mwt
{

float NormalizeAngle(float angle)
{
    const float turn = 6.2831855f;
    if (angle < 0.0f) {
        angle = angle + (1.0f - std::trunc(angle / turn)) * turn;
    }
    return angle - turn * std::trunc(angle / turn);
}

} // namespace korvane::mwt
