/** @file TimingHooks.h Lets the layer's own timing code see whether a test replaced the clock or the sleep. */
#pragma once

namespace os::system::detail
{

/// True while a test's clock or sleep function is installed.
bool AreTimingHooksInstalled();

} // namespace os::system::detail
