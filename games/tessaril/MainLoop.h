/** @file MainLoop.h The companion game's entry point and variable block. */
#pragma once

#include <cstddef>

class CTessarilThread;

namespace tessaril
{

constexpr std::size_t kGameVariablesSize = 231;

/// The companion game's variables; its thread zeroes them before the loop starts.
extern unsigned char GameVariables[kGameVariablesSize];

/// The companion game's whole life on its thread; returns when a stop is requested.
void MainLoop(CTessarilThread* self);

} // namespace tessaril
