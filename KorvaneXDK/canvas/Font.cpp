/** @file Font.cpp Canvas fonts resolved through the registry. */
#include "KorvaneXDK/canvas/Font.h"

#include <cstdint>

#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/platform/graphics/FontInterface.h"

namespace korvane::canvas
{

float CFont::GetHeight(const std::string& text) const
{
    return static_cast<float>(CFontStock::GetInstance()->Get(name_)->GetHeight(text));
}

Vector2<float> CFont::MeasureText(const std::string& text) const
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    CFontStock::GetInstance()->Get(name_)->Measure(width, height, text);
    return Vector2<float>(static_cast<float>(width), static_cast<float>(height));
}

} // namespace korvane::canvas
