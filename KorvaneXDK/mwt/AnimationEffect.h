/** @file AnimationEffect.h What every animation shares: finding the control it animates, building a transform
 * about a point, and setting up its tweens. */
#pragma once

#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// The colour an animation without a colour tween writes, so that it also undoes an earlier fade.
inline constexpr Color4<float> kEffectWhite{1.0f, 1.0f, 1.0f, 1.0f};
/// 2 pi in float arithmetic, as the loops use it.
inline constexpr float kTwoPi = 6.28318548f;

/// The parent as a control; null when there is no parent or it is not a control, in which case
/// an animation still advances but writes nothing.
CControl* GetAnimatedControl(CComponent* parent);

/// a applied about the point (x, y): T(x, y) * a * T(-x, -y), in the canvas convention.
Matrix4 AboutPoint(const Matrix4& a, float x, float y);

/// a about the control's current centre.
Matrix4 AboutCentre(const Matrix4& a, const CControl& control);

/// Sets a tween's ends and timing, leaving its clock where it is.
template <typename T>
void SetUpTween(TMotionTween<T>& tween, const T& from, const T& to, float duration, float easing, float delay = 0.0f)
{
    tween.SetFrom(from);
    tween.SetTo(to);
    tween.SetDuration(duration);
    tween.SetEasing(easing);
    tween.SetDelay(delay);
}

} // namespace korvane::mwt
