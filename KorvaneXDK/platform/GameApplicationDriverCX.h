/** @file GameApplicationDriverCX.h The one application driver: the platform objects and their settings. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/GameApplicationDriver.h"
#include "KorvaneXDK/platform/graphics/DXGraphicsEventListener.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"

namespace korvane
{

class CDXGraphics;
class CFrameRateKeeper;
class CSceneManager;
class CDXSound;
class CDXInput;
class CShaderEnvironment;

/// The driver every part of the program reaches through GetApplicationDriver. It owns the
/// graphics object, the frame-rate keeper and the scene manager (and, once they exist, sound,
/// input and the shader environment), the display-mode preference and the data loaders.
class CGameApplicationDriverCX : public CGameApplicationDriver, public IDXGraphicsEventListener
{
public:
    explicit CGameApplicationDriverCX(os::window::InstanceHandle instance);
    ~CGameApplicationDriverCX() override;

    virtual CDXGraphics* GetGraphics();
    virtual CDXSound* GetSound();
    virtual CDXInput* GetInput();
    virtual CFrameRateKeeper* GetFrameRateKeeper();
    virtual CSceneManager* GetSceneManager();
    virtual void UseFileSystemDataLoader(const std::string& folder);
    virtual void UseArchiveDataLoader(const std::string& archive);
    virtual void SetDataLoader(boost::shared_ptr<IDataLoader> loader);
    virtual boost::shared_ptr<IDataLoader> GetDataLoader();
    virtual void SetDialogBannerImage(const std::string& name);
    virtual void SetPauseWhenInactive(bool value);
    virtual bool GetPauseWhenInactive();
    virtual void SetShowCursorInFullscreen(bool value);
    virtual bool GetShowCursorInFullscreen();
    virtual void SetUsePreviousConfig(bool value);
    virtual bool GetUsePreviousConfig();
    virtual void SetAltEnterSwitchesFullscreen(bool value);
    virtual bool GetAltEnterSwitchesFullscreen();
    virtual void SetForceWindowed(bool value);
    virtual bool GetForceWindowed();
    virtual void SetShowWindowOnInitialize(bool value);
    virtual bool GetShowWindowOnInitialize();
    virtual void SetDisableWindowsKey(bool value);
    virtual bool GetDisableWindowsKey();
    virtual void SetWindowBannerImage(const std::string& name);
    virtual void SetPaintText(const std::string& text);
    virtual void SetMinimumScreenSize(std::int32_t width, std::int32_t height);
    virtual void SetMinimumRefreshRate(std::int32_t hz);
    virtual void SetMaximumScreenSize(std::int32_t width, std::int32_t height);
    /// Stored as 0xFFFE0000 + major * 256 + minor.
    virtual void SetRequiredVertexShaderVersion(int major, int minor);
    /// Stored as 0xFFFF0000 + major * 256 + minor.
    virtual void SetRequiredPixelShaderVersion(int major, int minor);
    virtual void SetForceDirect3D9(bool value);
    virtual void SetEnablePerfHUD(bool value);
    virtual void SetUseConfigDialog(bool value);
    virtual void SetDisplaySettingPath(const std::string& path);
    virtual std::string GetDisplaySettingPath();
    virtual CGraphicsModePreference& GetGraphicsModePreference();
    virtual void UseShaderFileSystemDataLoader(const std::string& folder);
    virtual void UseShaderArchiveDataLoader(const std::string& archive);
    /// Null until CreateShaderEnvironment made it.
    virtual CShaderEnvironment* GetShaderEnvironment();
    /// Makes the shader environment once the device exists (its declarations need it), reading
    /// shaders through the shader data loader, or the data loader when none was given.
    void CreateShaderEnvironment();

    // Graphics events: the scenes restore their resources after a reset; a full-screen switch
    // restyles and resizes the window around the device's reset.
    void OnDeviceLost() override;
    void OnDeviceReset() override;
    void OnFullscreenChanging(bool fullscreen) override;
    void OnFullscreenChanged(bool fullscreen) override;

    // Read-only views of the settings (used by start-up and by tests).
    const std::string& GetDialogBannerImage() const { return dialogBannerImage_; }
    const std::string& GetWindowBannerImage() const { return windowBannerImage_; }
    const std::string& GetPaintText() const { return paintText_; }
    std::int32_t GetMinimumScreenWidth() const { return minimumWidth_; }
    std::int32_t GetMinimumScreenHeight() const { return minimumHeight_; }
    std::int32_t GetMinimumRefreshRate() const { return minimumRefreshRate_; }
    std::int32_t GetMaximumScreenWidth() const { return maximumWidth_; }
    std::int32_t GetMaximumScreenHeight() const { return maximumHeight_; }
    std::uint32_t GetRequiredVertexShaderVersion() const { return requiredVertexShaderVersion_; }
    std::uint32_t GetRequiredPixelShaderVersion() const { return requiredPixelShaderVersion_; }
    bool GetForceDirect3D9() const { return forceDirect3D9_; }
    bool GetEnablePerfHUD() const { return enablePerfHUD_; }
    bool GetUseConfigDialog() const { return useConfigDialog_; }
    boost::shared_ptr<IDataLoader> GetShaderDataLoader() const { return shaderDataLoader_; }

    // --- Test seam: the platform objects without the start-up sequence ---------------------------
    /// Takes ownership of a graphics object (its device made or not) and listens to it.
    void SetGraphicsForTesting(CDXGraphics* graphics);
    /// Makes a graphics object with a windowed device of the given back-buffer size on the game
    /// window and takes it as above; false when the device cannot be made.
    bool InitializeGraphicsForTesting(std::uint32_t width, std::uint32_t height);

private:
    void DeleteGraphics();

    CDXGraphics* graphics_ = nullptr;
    CFrameRateKeeper* frameRateKeeper_ = nullptr;
    CSceneManager* sceneManager_ = nullptr;
    CGraphicsModePreference preference_;
    boost::shared_ptr<IDataLoader> dataLoader_;
    std::string dialogBannerImage_;
    std::string windowBannerImage_;
    std::string paintText_;
    bool showCursorInFullscreen_ = true;
    bool usePreviousConfig_ = false;
    bool altEnterSwitchesFullscreen_ = true;
    bool pauseWhenInactive_ = true;
    bool forceWindowed_ = false;
    bool showWindowOnInitialize_ = true;
    bool disableWindowsKey_ = true;
    std::int32_t minimumWidth_ = 640;
    std::int32_t minimumHeight_ = 480;
    std::int32_t minimumRefreshRate_ = 0;
    std::int32_t maximumWidth_ = 65535;
    std::int32_t maximumHeight_ = 65535;
    std::uint32_t requiredVertexShaderVersion_ = 0xFFFE0300u;
    std::uint32_t requiredPixelShaderVersion_ = 0xFFFF0300u;
    bool forceDirect3D9_ = false;
    bool enablePerfHUD_ = false;
    bool useConfigDialog_ = true;
    std::string displaySettingPath_;
    boost::shared_ptr<IDataLoader> shaderDataLoader_;
    CShaderEnvironment* shaderEnvironment_ = nullptr;
};

/// Creates the one driver unless it exists; false when its constructor threw (reported).
bool CreateApplicationDriver(os::window::InstanceHandle instance);
/// The one driver, or null.
CGameApplicationDriverCX* GetApplicationDriver();
/// Deletes the one driver, if any.
void DestroyApplicationDriver();
/// The program entry's last-resort reports.
void HandleEngineException(const EException& e);
void HandleStdException(const std::exception& e);

} // namespace korvane
