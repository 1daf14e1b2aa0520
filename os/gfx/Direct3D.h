/** @file Direct3D.h The graphics object: adapters, display modes, capabilities and device creation. */
#pragma once

#include <cstdint>
#include <memory>

#include "os/gfx/Types.h"

namespace os::gfx
{

class Device;

/// The version number the engine passes when it creates the object.
inline constexpr std::uint32_t kSdkVersion = 32;

/// Adapters are SDL's video displays. Display modes are reported in ascending width, height
/// and refresh order; format X8R8G8B8 stands for SDL's 24- and 32-bit modes, R5G6B5 for 16-bit
/// and X1R5G5B5 for 15-bit ones. Made by Direct3DCreate9 (plain) or Direct3DCreate9Ex (extended).
class Direct3D
{
public:
    ~Direct3D();
    Direct3D(const Direct3D&) = delete;
    Direct3D& operator=(const Direct3D&) = delete;

    /// Whether this is the extended object (devices through CreateDeviceEx, never lost by the system).
    bool IsExtended() const { return extended_; }

    std::uint32_t GetAdapterCount() const;
    Result GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags, AdapterIdentifier* identifier) const;
    std::uint32_t GetAdapterModeCount(std::uint32_t adapter, Format format) const;
    Result EnumAdapterModes(std::uint32_t adapter, Format format, std::uint32_t index, DisplayMode* mode) const;
    Result GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode* mode) const;
    Result GetDeviceCaps(std::uint32_t adapter, DeviceType type, Caps* caps) const;
    /// None and NonMaskable always; 2, 4, 8 and 16 samples up to what the GL driver offers.
    Result CheckDeviceMultiSampleType(std::uint32_t adapter, DeviceType type, Format format, bool windowed,
                                      MultiSampleType samples, std::uint32_t* qualityLevels) const;

    /// Creates a device over an OpenGL core context on the focus window (or the parameters'
    /// device window). Fills in the back-buffer size (windowed 0 takes the window's drawable
    /// size), format and count it really used.
    Result CreateDevice(std::uint32_t adapter, DeviceType type, WindowHandle focusWindow, std::uint32_t behaviorFlags,
                        PresentParameters* parameters, std::shared_ptr<Device>* device);
    /// The extended creation; full-screen creation needs the display mode, windowed creation none.
    Result CreateDeviceEx(std::uint32_t adapter, DeviceType type, WindowHandle focusWindow, std::uint32_t behaviorFlags,
                          PresentParameters* parameters, DisplayModeEx* fullscreenMode,
                          std::shared_ptr<Device>* device);

private:
    friend std::shared_ptr<Direct3D> Direct3DCreate9(std::uint32_t);
    friend Result Direct3DCreate9Ex(std::uint32_t, std::shared_ptr<Direct3D>*);
    explicit Direct3D(bool extended) : extended_(extended) {}

    Result CreateDeviceCommon(std::uint32_t adapter, DeviceType type, WindowHandle focusWindow,
                              std::uint32_t behaviorFlags, PresentParameters* parameters,
                              const DisplayModeEx* fullscreenMode, bool extended, std::shared_ptr<Device>* device);

    bool extended_;
};

/// Whether the graphics module can be loaded at all (a test hook can make it missing).
bool IsDirect3DModuleAvailable();
/// Whether the module offers the extended entry point (a test hook can take it away).
bool HasDirect3DCreate9Ex();
/// The plain object, or nullptr when the video system cannot be started.
std::shared_ptr<Direct3D> Direct3DCreate9(std::uint32_t sdkVersion);
/// The extended object; fails with a result code when the video system cannot be started.
Result Direct3DCreate9Ex(std::uint32_t sdkVersion, std::shared_ptr<Direct3D>* direct3D);

} // namespace os::gfx
