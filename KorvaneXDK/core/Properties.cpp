/** @file Properties.cpp The case-insensitive key order and the two table instantiations. */
#include "KorvaneXDK/core/Properties.h"

namespace korvane
{

namespace comparator_for_properties
{

bool less_ignorecase::operator()(const std::string& a, const std::string& b) const
{
    // Byte order of the ASCII-lower-cased keys, without building lower-cased copies.
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

} // namespace comparator_for_properties

template class TProperties<std::less<std::string>>;
template class TProperties<comparator_for_properties::less_ignorecase>;

} // namespace korvane
