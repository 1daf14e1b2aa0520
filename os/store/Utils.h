/** @file Utils.h The running application's identity. */
#pragma once

#include <cstdint>

namespace os::store
{

/// The application id the service answers for; every statistics callback carries it.
constexpr std::uint32_t kLocalAppId = 0x4B56;

class Utils
{
public:
    std::uint32_t GetAppId();
};

} // namespace os::store
