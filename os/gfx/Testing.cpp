/** @file Testing.cpp The graphics layer's test hooks. */
#include "os/gfx/Testing.h"

#include "os/gfx/HookState.h"

namespace os::gfx::detail
{

HookState& Hooks()
{
    static HookState state;
    return state;
}

} // namespace os::gfx::detail

namespace os::testing
{

using os::gfx::detail::Hooks;

void InjectDeviceLoss(int callsBeforeResettable)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    ++Hooks().lossEpoch;
    Hooks().lossCalls = callsBeforeResettable < 0 ? 0 : callsBeforeResettable;
}

void FailNextReset(int count)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().failResets = count < 0 ? 0 : count;
}

void FailNextWindowModeChange(int count)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().failWindowModes = count < 0 ? 0 : count;
}

void FailDeviceCreation(bool withHardwareVertexProcessing, bool withSoftwareVertexProcessing)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().failHardwareCreation = withHardwareVertexProcessing;
    Hooks().failSoftwareCreation = withSoftwareVertexProcessing;
}

void SetDirect3DModuleAvailable(bool available)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().moduleAvailable = available;
}

void SetDirect3D9ExAvailable(bool available)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().extendedAvailable = available;
}

void FailDirect3DCreation(bool fail)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().failDirect3DCreation = fail;
}

void ReplaceAdapterModes(std::uint32_t adapter, const std::vector<os::gfx::DisplayMode>& modes)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().modeOverrides[adapter] = modes;
}

void ReplaceAdapterList(const std::vector<std::string>& descriptions)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().adapterNames = descriptions;
}

void FailAdapterCaps(std::uint32_t adapter, bool fail)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    if (fail) {
        Hooks().failCapsAdapters.insert(adapter);
    } else {
        Hooks().failCapsAdapters.erase(adapter);
    }
}

void OverrideShaderVersions(std::uint32_t vertexShaderVersion, std::uint32_t pixelShaderVersion)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().vertexShaderVersion = vertexShaderVersion;
    Hooks().pixelShaderVersion = pixelShaderVersion;
}

void SetWithoutClipControl(bool without)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    Hooks().withoutClipControl = without;
}

CreateDeviceRecord GetLastCreateDeviceRecord()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    return Hooks().lastCreate;
}

int GetCreateDeviceCallCount()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    return Hooks().createCalls;
}

int GetResetCallCount()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    return Hooks().resetCalls;
}

void ResetGraphicsHooks()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    auto& h = Hooks();
    h.lossCalls = 0;
    h.failResets = 0;
    h.failWindowModes = 0;
    h.failHardwareCreation = false;
    h.failSoftwareCreation = false;
    h.moduleAvailable = true;
    h.extendedAvailable = true;
    h.failDirect3DCreation = false;
    h.modeOverrides.clear();
    h.vertexShaderVersion = 0;
    h.pixelShaderVersion = 0;
    h.lastCreate = CreateDeviceRecord();
    h.createCalls = 0;
    h.resetCalls = 0;
    h.withoutClipControl = false;
    h.adapterNames.clear();
    h.failCapsAdapters.clear();
}

} // namespace os::testing
