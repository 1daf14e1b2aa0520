/** @file MotionTween.cpp The three tween instances the toolkit animates with. */
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

template class TMotionTween<float>;
template class TMotionTween<Vector3<float>>;
template class TMotionTween<Color4<float>>;

} // namespace korvane::mwt
