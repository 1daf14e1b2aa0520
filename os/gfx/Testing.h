/** @file Testing.h Hooks that drive the graphics layer's failure paths and record what it was asked. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os/gfx/Types.h"

namespace os::testing
{

/// Every live device becomes lost: Present fails with the lost-device code, and
/// TestCooperativeLevel reports "lost" for the next `callsBeforeResettable` calls, then
/// "not reset" until a Reset succeeds. Draws and clears are ignored meanwhile.
void InjectDeviceLoss(int callsBeforeResettable);
/// The next `count` Reset calls (of any device) fail with the invalid-call code and leave the
/// device lost and resettable. A Reset refused because the device cannot be reset yet does not count.
void FailNextReset(int count);
/// Device creation fails (not-available code) when asked for hardware vertex processing
/// and/or software vertex processing.
void FailDeviceCreation(bool withHardwareVertexProcessing, bool withSoftwareVertexProcessing);
/// Makes the graphics module missing as a whole.
void SetDirect3DModuleAvailable(bool available);
/// Takes the extended entry point away (or gives it back), so the plain path is taken.
void SetDirect3D9ExAvailable(bool available);
/// Makes the creation of the graphics object itself fail (both entry points).
void FailDirect3DCreation(bool fail);
/// Replaces the mode list an adapter reports for every format with `modes` (reported in the
/// given order, unsorted, as a driver might).
void ReplaceAdapterModes(std::uint32_t adapter, const std::vector<os::gfx::DisplayMode>& modes);
/// Replaces the adapter list with one adapter per description (adapters past the real displays
/// report the first display's modes); an empty list brings the real displays back.
void ReplaceAdapterList(const std::vector<std::string>& descriptions);
/// While set, reading the adapter's capabilities fails with the not-available code.
void FailAdapterCaps(std::uint32_t adapter, bool fail);
/// Overrides the shader versions the capabilities report; 0 keeps the real value.
void OverrideShaderVersions(std::uint32_t vertexShaderVersion, std::uint32_t pixelShaderVersion);

/// Devices made from now on act as on a driver without clip control (the vertex prelude
/// flips y and remaps depth instead).
void SetWithoutClipControl(bool without);

/// What the last successful or failed device creation was asked for.
struct CreateDeviceRecord
{
    bool extended = false;
    std::uint32_t adapter = 0;
    os::gfx::DeviceType type = os::gfx::DeviceType::Hal;
    std::uint32_t behaviorFlags = 0;
    bool hadDisplayMode = false;
    os::gfx::DisplayModeEx displayMode;
    os::gfx::PresentParameters parameters;
};
CreateDeviceRecord GetLastCreateDeviceRecord();
/// Number of CreateDevice/CreateDeviceEx calls since the last ResetGraphicsHooks.
int GetCreateDeviceCallCount();
/// Number of Reset calls of any device since the last ResetGraphicsHooks.
int GetResetCallCount();

/// Puts every hook above back to normal and clears the records.
void ResetGraphicsHooks();

/// One draw as the device made it: what was asked, the programs in use and the GL name of
/// the 2D texture bound on each of the first stages (0: none).
struct DrawRecord
{
    static constexpr std::uint32_t kStages = 8;
    os::gfx::PrimitiveType type = os::gfx::PrimitiveType::TriangleList;
    std::uint32_t primitiveCount = 0;
    std::uint32_t vertexCount = 0;
    std::uint32_t stride = 0;
    bool indexed = false;
    std::uint32_t vertexProgram = 0;
    std::uint32_t pixelProgram = 0;
    std::uint32_t textures[kStages] = {};
};
/// While on (ResetGraphicsHooks leaves it as it is), every draw that reaches GL is recorded (the last few thousand are kept).
void SetDrawRecording(bool on);
std::vector<DrawRecord> GetRecordedDraws();
void ClearRecordedDraws();

} // namespace os::testing
