/** @file DXGraphics.h The program's one graphics object: the device, its two parameter sets and its events.
 */
#pragma once

#include <cstdint>
#include <memory>
#include <set>

#include "KorvaneXDK/core/Object.h"
#include "os/gfx/Types.h"

namespace os::gfx
{
class Device;
class Direct3D;
} // namespace os::gfx

namespace korvane
{

class IDXGraphicsEventListener;

/// Creates the graphics object (the extended one unless the plain one is forced), keeps a
/// parameter set for full screen and one for the window, creates the device and owns every
/// later change of it: full-screen switches, window resizes and the recovery of a lost device
/// in Present. Listeners hear of each reset; all of it runs on the main thread.
class CDXGraphics : public virtual CNonCopyable
{
public:
    /// Throws EDirect3DCreateError "Direct3D の初期化に失敗しました." when the object cannot be made.
    explicit CDXGraphics(bool forceDirect3D9);
    ~CDXGraphics() override;

    /// Creates the device with hardware, then software vertex processing; false when both fail.
    /// A second call throws EIOError "Direct3D device already initialized.".
    virtual bool InitializeDevice();
    virtual void FinalizeDevice();
    virtual os::gfx::Direct3D* GetDirect3D();
    virtual os::gfx::Device* GetDevice();
    virtual void SetFullscreenPresentParameters(const os::gfx::PresentParameters& parameters);
    virtual void SetWindowedPresentParameters(const os::gfx::PresentParameters& parameters);
    virtual void SetAdapter(std::uint32_t adapter);
    virtual std::uint32_t GetAdapter();
    virtual void SetAnisotropy(std::uint32_t anisotropy);
    virtual std::uint32_t GetAnisotropy();
    virtual void SetDeviceType(os::gfx::DeviceType type);
    virtual os::gfx::DeviceType GetDeviceType();
    /// 1 when the device was made through the plain object, 0 through the extended one (the
    /// texture code uses it as the resource pool).
    virtual std::uint32_t IsLegacyDevice();
    /// The full-screen set while full screen, else the windowed set.
    virtual os::gfx::PresentParameters& GetCurrentPresentParameters();
    virtual const os::gfx::Caps& GetCaps();
    virtual void AddListener(IDXGraphicsEventListener* listener);
    virtual void RemoveListener(IDXGraphicsEventListener* listener);
    virtual void SetFullscreen(bool fullscreen);
    virtual bool IsFullscreen();
    virtual void ResizeWindow(int width, int height);
    virtual void Present();

    // Names other callers use for the same operations.
    void CheckDevice() { Present(); }
    std::uint32_t GetAnisotropyLevel() { return GetAnisotropy(); }
    const os::gfx::Caps& GetDeviceCaps() { return GetCaps(); }
    /// Whether a full-screen switch is under way (left set by a switch whose reset failed).
    bool IsSwitching() const { return switching_; }

private:
    bool LoadDirect3D();
    os::gfx::Result CreateDevice(std::uint32_t behaviorFlags);
    template <typename Event>
    void Notify(Event event);

    std::shared_ptr<os::gfx::Direct3D> direct3D_;
    std::shared_ptr<os::gfx::Device> device_;
    os::gfx::Caps caps_;
    std::uint32_t adapter_ = 0;
    bool fullscreen_ = false;
    os::gfx::PresentParameters fullscreenParameters_;
    os::gfx::PresentParameters windowedParameters_;
    std::uint32_t anisotropy_ = 0;
    os::gfx::DeviceType deviceType_ = os::gfx::DeviceType::Hal;
    std::uint32_t legacyDevice_ = 1;
    bool forceDirect3D9_;
    bool switching_ = false;
    std::set<IDXGraphicsEventListener*> listeners_;
};

} // namespace korvane
