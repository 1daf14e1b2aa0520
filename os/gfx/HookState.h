/** @file HookState.h The graphics layer's test-hook settings, shared by its source files. */
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "os/gfx/Testing.h"

namespace os::gfx::detail
{

struct HookState
{
    std::mutex mutex;
    int lossEpoch = 0;
    int lossCalls = 0;
    int failResets = 0;
    bool failHardwareCreation = false;
    bool failSoftwareCreation = false;
    bool moduleAvailable = true;
    bool extendedAvailable = true;
    bool failDirect3DCreation = false;
    std::map<std::uint32_t, std::vector<DisplayMode>> modeOverrides;
    std::uint32_t vertexShaderVersion = 0;
    std::uint32_t pixelShaderVersion = 0;
    os::testing::CreateDeviceRecord lastCreate;
    int createCalls = 0;
    int resetCalls = 0;
    /// The most samples a device of this process found its driver offering (0: none made yet).
    int knownMaxSamples = 0;
    bool withoutClipControl = false;
    /// Replaces the displays as the adapter list when not empty.
    std::vector<std::string> adapterNames;
    std::set<std::uint32_t> failCapsAdapters;
};

HookState& Hooks();

} // namespace os::gfx::detail
