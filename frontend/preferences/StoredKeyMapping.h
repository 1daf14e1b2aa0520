/** @file StoredKeyMapping.h The key mapping of one controller type as "preference.dat" holds it. */
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

/// One action name and the input code of its first binding (-1 for none).
using KeyMappingPair = std::pair<std::string, std::int32_t>;

/// The pairs of one record, in file order. A list the program wrote itself holds the eleven
/// actions; a list read from a file keeps whatever the file held, so that it can be written back
/// unchanged while no controller of its type is connected.
using StoredKeyMapping = std::vector<KeyMappingPair>;
