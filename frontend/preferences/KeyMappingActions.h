/** @file KeyMappingActions.h The eleven named input actions the preferences store, in file order. */
#pragma once

#include <array>

inline constexpr std::array<const char*, 11> kKeyMappingActions = {"decide", "cancel", "pause", "up", "down", "left",
                                                                   "right",  "x1",     "x2",    "x3", "x4"};
