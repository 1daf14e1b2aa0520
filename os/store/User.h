/** @file User.h The local user. */
#pragma once

#include <cstdint>

namespace os::store
{

class User
{
public:
    bool IsLoggedOn();
    /// A stable 64-bit id, kept in the user file.
    std::uint64_t GetUserId();
};

} // namespace os::store
