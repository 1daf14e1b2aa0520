/** @file DefinitionCheck.h Checking that the skin's definition files name only pictures the generator makes. */
#pragma once

#include <set>
#include <string>
#include <vector>

namespace skingen
{

/// For every ".ini" file (any letter case) directly in `folder`: every key ending in "Texture"
/// must name one of `images`. Returns one line per problem (empty when all is well, and a line
/// when the folder holds no definition at all).
std::vector<std::string> CheckDefinitions(const std::string& folder, const std::set<std::string>& images);

} // namespace skingen
