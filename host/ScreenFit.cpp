/** @file ScreenFit.cpp The geometry of the turned and scaled interface. */
#include "host/ScreenFit.h"

#include <cmath>

#include "KorvaneXDK/canvas/CanvasMath.h"

namespace screen_fit
{

namespace
{

// The console screen is 224 x 144: an upright frame is 9 wide for 14 high.
constexpr float kUprightRatio = 0.64285713f;
constexpr float kUprightInverse = 1.5555556f;

} // namespace

float AspectOfSetting(std::int32_t setting, float viewportAspect)
{
    switch (setting) {
    case 1:
        return 1.7777778f;
    case 2:
        return 1.6f;
    case 3:
        return 1.3333334f;
    case 4:
        return 1.25f;
    default:
        return viewportAspect;
    }
}

float BandLeft(float aspect)
{
    return (kCanvasWidth - kCanvasHeight * aspect) * 0.5f;
}

float FitScale(float angle, float aspect)
{
    // Any height gives the same ratio; the canvas height keeps the numbers familiar.
    const float h = kCanvasHeight;
    const float w = h * aspect;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float ex = std::fabs(w * c - h * s);
    const float ey = std::fabs(w * s + h * c);
    if (ex / ey > kUprightRatio)
        return ey / h;
    return ex * kUprightInverse / h;
}

korvane::Matrix4 ScreenTransform(float width, float height, float angle, float scale)
{
    using namespace korvane::canvas;
    const float hx = width * 0.5f;
    const float hy = height * 0.5f;
    korvane::Matrix4 m = Multiply(MakeTranslation(hx, hy), MakeRotationZ(angle));
    m = Multiply(m, MakeScaling(scale, scale));
    return Multiply(m, MakeTranslation(-hx, -hy, -0.0f));
}

korvane::Matrix4 ForHalfPixelVertices(const korvane::Matrix4& m)
{
    using namespace korvane::canvas;
    return Multiply(Multiply(MakeTranslation(-0.5f, -0.5f), m), MakeTranslation(0.5f, 0.5f));
}

} // namespace screen_fit
