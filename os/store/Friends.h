/** @file Friends.h The local user's name and friends. */
#pragma once

#include <cstdint>

namespace os::store
{

class Friends
{
public:
    /// Number of friends in the selection (kFriendFlagImmediate).
    std::int32_t GetFriendCount(std::int32_t flags);
    /// The id of friend `index`; 0 when out of range.
    std::uint64_t GetFriendByIndex(std::int32_t index, std::int32_t flags);
    const char* GetPersonaName();
    /// The user's own name for the own id, a known name for others, else "".
    const char* GetFriendPersonaName(std::uint64_t user);
};

} // namespace os::store
