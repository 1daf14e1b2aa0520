/** @file MainLoop.h The main game's entry point and variable block. */
#pragma once

#include <cstddef>

class CQVR2Thread;

namespace qvr2
{

constexpr std::size_t kGameVariablesSize = 129;

/// The main game's variables; its thread zeroes them before the loop starts.
extern unsigned char GameVariables[kGameVariablesSize];

/// The main game's whole life on its thread; returns when a stop is requested.
void MainLoop(CQVR2Thread* self);

} // namespace qvr2
