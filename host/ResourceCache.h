/** @file ResourceCache.h The games' resources by file name, loaded once and kept for the whole run. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

namespace korvane
{
class CMemoryStream;
}

/// The archive folder of the running game with its trailing backslash ("rom0_qvr2\"); set on
/// the main thread before the game thread starts.
void ResourceSetDataFolder(const std::string& folder);
std::string ResourceGetDataFolder();

/// The bytes of the data folder's entry of that file name (directory part dropped, name lower-
/// cased), at least 65536 of them with zeros past the entry's end. The pointer stays valid for
/// the rest of the run. A missing entry throws the data loader's error and caches nothing.
std::uint8_t* ResourceGet(const char* name);
/// The cached stream whose bytes start exactly at the pointer, or an empty pointer.
boost::shared_ptr<korvane::CMemoryStream> ResourceFindStream(const void* bytes);
