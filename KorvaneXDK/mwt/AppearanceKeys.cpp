/** @file AppearanceKeys.cpp Reading appearance definition values. */
#include "KorvaneXDK/mwt/AppearanceKeys.h"

#include "KorvaneXDK/core/StringUtility.h"

namespace korvane::mwt
{

float ReadAppearanceNumber(const AppearanceProperties& properties, const std::string& key, const std::string& fallback)
{
    return StringToFloat(properties.Get(key, fallback));
}

canvas::Rect2f ReadAppearanceRect(const AppearanceProperties& properties, const std::string& prefix)
{
    const float left = ReadAppearanceNumber(properties, prefix + ".left");
    const float top = ReadAppearanceNumber(properties, prefix + ".top");
    const float width = ReadAppearanceNumber(properties, prefix + ".width");
    const float height = ReadAppearanceNumber(properties, prefix + ".height");
    return canvas::Rect2f(left, top, width, height);
}

ITexture* ReadAppearanceTexture(const AppearanceProperties& properties, const std::string& key,
                                const TextureResolver& resolver)
{
    return resolver(properties.Get(key, ""));
}

} // namespace korvane::mwt
