/** @file Values.h Several values as one comparable list, so that a group of related checks reads as one line. */
#pragma once

#include <cstdint>
#include <vector>

namespace ostest
{

template <class... T>
std::vector<std::int64_t> V(T... values)
{
    return {static_cast<std::int64_t>(values)...};
}

} // namespace ostest
