/** @file Contrast.cpp Luminance and contrast ratios. */
#include "support/Contrast.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

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

double TextContrast(const std::vector<std::uint32_t>& pixels)
{
    std::map<std::uint32_t, int> counts;
    for (const std::uint32_t p : pixels)
        ++counts[p & 0xFFFFFFu];
    if (counts.empty())
        return 1.0;
    const std::uint32_t ground =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    double best = 1.0;
    for (const auto& [colour, count] : counts)
        best = std::max(best, Contrast(colour, ground));
    return best;
}

} // namespace korvane::test
