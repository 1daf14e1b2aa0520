/** @file Utils.cpp The application id. */
#include "os/store/Utils.h"

namespace os::store
{

std::uint32_t Utils::GetAppId()
{
    return kLocalAppId;
}

} // namespace os::store
