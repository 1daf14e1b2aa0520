/** @file Contrast.cpp Luminance and contrast ratios. */
#include "support/Contrast.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "support/FontReader.h"
#include "support/ReferenceImage.h"

namespace korvane::test
{

double Luminance(std::uint32_t rgb)
{
    double sum = 0.0;
    for (const auto& [shift, weight] : {std::pair{16, 0.2126}, {8, 0.7152}, {0, 0.0722}}) {
        const double c = static_cast<double>((rgb >> shift) & 0xFF) / 255.0;
        sum += weight * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double Contrast(std::uint32_t a, std::uint32_t b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

namespace
{

std::vector<double> SortedLuminances(const std::vector<std::uint32_t>& pixels)
{
    std::vector<double> luminances;
    luminances.reserve(pixels.size());
    for (const std::uint32_t p : pixels)
        luminances.push_back(Luminance(p));
    std::sort(luminances.begin(), luminances.end());
    return luminances;
}

} // namespace

double TextContrast(const std::vector<std::uint32_t>& covered, const std::vector<std::uint32_t>& bare)
{
    if (covered.empty() || bare.empty())
        return 1.0;
    const std::vector<double> text = SortedLuminances(covered), ground = SortedLuminances(bare);
    const bool light = text[text.size() / 2] > ground[ground.size() / 2];
    // The nearest hundredth of each kind is passed over: specks, not what the text is read against.
    const std::size_t t = text.size() / 100, g = ground.size() / 100;
    const double inner = light ? text[t] : text[text.size() - 1 - t];
    const double outer = light ? ground[ground.size() - 1 - g] : ground[g];
    if (light ? inner <= outer : inner >= outer)
        return 1.0;
    return (std::max(inner, outer) + 0.05) / (std::min(inner, outer) + 0.05);
}

double PlacedTextContrast(const ReferenceImage& picture, FontReader& font, const std::string& text, int x, int y,
                          int slack, int fromX)
{
    const auto colours = [&](const std::vector<std::pair<int, int>>& pixels) {
        std::vector<std::uint32_t> out;
        for (const auto& [px, py] : pixels)
            if (px >= fromX && px >= 0 && py >= 0 && px < static_cast<int>(picture.width) &&
                py < static_cast<int>(picture.height))
                out.push_back(
                    picture.pixels[static_cast<std::size_t>(py) * picture.width + static_cast<std::size_t>(px)] &
                    0xFFFFFFu);
        return out;
    };
    double best = 1.0;
    for (int dy = -slack; dy <= slack; ++dy)
        for (int dx = -slack; dx <= slack; ++dx)
            best = std::max(best, TextContrast(colours(font.Pixels(text, x + dx, y + dy, true)),
                                               colours(font.Pixels(text, x + dx, y + dy, false))));
    return best;
}

} // namespace korvane::test
