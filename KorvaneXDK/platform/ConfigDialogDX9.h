/** @file ConfigDialogDX9.h The engine's side of the configuration dialog library. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/core/Object.h"
#include "os/confdlg/ConfDlg.h"
#include "os/gfx/Types.h"
#include "os/system/Library.h"
#include "os/window/Window.h"

namespace os::gfx
{
class Direct3D;
}
namespace os::window
{
class Bitmap;
}

namespace korvane
{

/// Lists every adapter with its modes and multisample support in the dialog block, lets the
/// dialog library choose (or hand back its previous choice), and turns the choice into the
/// adapter, present parameters, anisotropy, device type and full-screen flag of the graphics object.
class CConfigDialogDX9 : public virtual CNonCopyable
{
public:
    CConfigDialogDX9();
    ~CConfigDialogDX9() override;

    /// The whole exchange; true when a valid choice was made. Library failures throw EIOError.
    bool Run(bool usePreviousConfig);
    /// Fills the block's adapter records; false (reported, with a message box) when none is usable.
    bool EnumerateAdapters(os::gfx::Direct3D* direct3D, ConfigDialogBlock* block);
    /// Loads the library and imports its entry points (EIOError when it cannot).
    bool LoadLibrary();
    /// The export's address; EIOError "Function import failure : ..." when it is missing.
    void* ImportFunction(os::system::LibraryHandle module, const std::string& name);

    void SetDirect3D(os::gfx::Direct3D* direct3D) { direct3D_ = direct3D; }
    void SetTitle(const std::string& title) { title_ = title; }
    void SetIcon(os::window::IconHandle icon) { icon_ = icon; }
    /// The banner image, or null for none.
    void SetBanner(const os::window::Bitmap* banner) { banner_ = banner; }
    void SetMinimumScreenSize(std::int32_t width, std::int32_t height);
    void SetMaximumScreenSize(std::int32_t width, std::int32_t height);
    void SetEnablePerfHUD(bool enable) { enablePerfHUD_ = enable; }

    /// -1 until a choice was made.
    std::int32_t GetAdapter() const { return adapter_; }
    bool GetFullscreen() const { return fullscreen_; }
    os::gfx::DeviceType GetDeviceType() const { return deviceType_; }
    const os::gfx::PresentParameters& GetFullscreenPresentParameters() const { return fullscreenParameters_; }
    const os::gfx::PresentParameters& GetWindowedPresentParameters() const { return windowedParameters_; }
    std::uint32_t GetAnisotropy() const { return anisotropy_; }

    /// The 32-bit id that stands for an icon or bitmap in the block (0 for null); the same
    /// object always gets the same id.
    static std::uint32_t GetHandleId(const void* object);

private:
    void FreeLibrary();
    bool TakeResult(const ConfigDialogBlock& block, const ConfigDialogResult& result);

    os::gfx::Direct3D* direct3D_ = nullptr;
    std::int32_t adapter_ = -1;
    bool fullscreen_ = false;
    os::gfx::DeviceType deviceType_ = os::gfx::DeviceType::Hal;
    os::window::IconHandle icon_ = nullptr;
    const os::window::Bitmap* banner_ = nullptr;
    std::string title_;
    os::gfx::PresentParameters fullscreenParameters_;
    os::gfx::PresentParameters windowedParameters_;
    std::uint32_t anisotropy_ = 0;
    std::int32_t minimumWidth_ = 640;
    std::int32_t minimumHeight_ = 480;
    std::int32_t maximumWidth_ = 65535;
    std::int32_t maximumHeight_ = 65535;
    bool enablePerfHUD_ = false;
    ConfDlgGetVersionFunction getVersion_ = nullptr;
    ShowConfigDialogFunction showConfigDialog_ = nullptr;
    GetPreviousConfigFunction getPreviousConfig_ = nullptr;
    os::system::LibraryHandle module_ = nullptr;
};

} // namespace korvane
