/** @file AppearanceKeys.cpp Reading the keys of appearance definition files. */
#include "KorvaneXDK/mwt/AppearanceKeys.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

#include "KorvaneXDK/core/StringUtility.h"

namespace korvane::mwt
{

namespace
{

/// The classic locale, made once and kept for the life of the process.
locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

} // namespace

float ParseAppearanceNumber(const std::string& text)
{
    const locale_t classic = ClassicLocale();
    if (classic == static_cast<locale_t>(nullptr)) {
        return StringToFloat(text);
    }
    // Only this thread reads numbers in the classic locale; the process locale is left alone.
    const locale_t previous = uselocale(classic);
    float value = 0.0f;
    if (std::sscanf(text.c_str(), "%f", &value) != 1) {
        value = 0.0f;
    }
    uselocale(previous);
    return value;
}

float ReadAppearanceNumber(const AppearanceProperties& properties, const std::string& key)
{
    return ParseAppearanceNumber(properties.Get(key, "0"));
}

canvas::Rect2f ReadAppearanceRect(const AppearanceProperties& properties, const std::string& prefix)
{
    const float left = ReadAppearanceNumber(properties, prefix + ".left");
    const float top = ReadAppearanceNumber(properties, prefix + ".top");
    const float width = ReadAppearanceNumber(properties, prefix + ".width");
    const float height = ReadAppearanceNumber(properties, prefix + ".height");
    return canvas::Rect2f(left, top, width, height);
}

void LoadSkinKeys(const AppearanceProperties& properties, const TextureResolver& resolver, canvas::Rect2f& bodyRect,
                  ITexture*& texture)
{
    const canvas::Rect2f body = ReadAppearanceRect(properties, "BodyRect");
    ITexture* const resolved = resolver(properties.Get("Texture", ""));
    bodyRect = body;
    texture = resolved;
}

} // namespace korvane::mwt
