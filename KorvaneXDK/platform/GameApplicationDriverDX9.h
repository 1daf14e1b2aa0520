/** @file GameApplicationDriverDX9.h The application driver: platform start-up, the main loop and window messages. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/GameApplicationDriver.h"
#include "KorvaneXDK/core/GameWindowListener.h"
#include "KorvaneXDK/platform/graphics/DXGraphicsEventListener.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"

namespace korvane
{

class CDXGraphics;
class CFrameRateKeeper;
class CSceneManager;
class CDXSound;
class CDXInput;
class CSimpleDIB;

/// Starts the platform in its fixed order (graphics object, display settings or the configuration
/// dialog, window, input, sound, device, shader model check, keeper and scene manager), runs the
/// paced loop, and answers the window's messages: full-screen switching, back-buffer resizing,
/// pausing and painting while nothing renders. Owns every platform object it made.
class CGameApplicationDriverDX9 : public CGameApplicationDriver,
                                  public IGameWindowListener,
                                  public IDXGraphicsEventListener
{
public:
    explicit CGameApplicationDriverDX9(os::window::InstanceHandle instance);
    ~CGameApplicationDriverDX9() override;

    bool Initialize() override;
    /// Throws EInvalidOperation "ApplicationDriver is not initialized." before a successful Initialize.
    void Run() override;
    /// Whether the last Run ended on an engine exception (shown, and Run returned normally).
    bool HasRunFailed() const;
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
    /// The keeper only sleeps while paused, and the title says so.
    virtual void SetPaused(bool paused);
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

    bool OnWindowMessage(CGameWindow* window, std::uint32_t message, os::window::WParam wParam,
                         os::window::LParam lParam, os::window::LResult* result) override;

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
    bool IsInSizeMove() const { return inSizeMove_; }

    // --- Test seam: the platform objects without the start-up sequence ---------------------------
    /// Takes ownership of a graphics object (its device made or not) and listens to it.
    void SetGraphicsForTesting(CDXGraphics* graphics);
    /// Makes a graphics object with a windowed device of the given back-buffer size on the game
    /// window and takes it as above; false when the device cannot be made.
    bool InitializeGraphicsForTesting(std::uint32_t width, std::uint32_t height);

protected:
    /// Deletes the scene manager (its scenes are finalised) and clears it.
    void DeleteSceneManager();

private:
    /// Shows a start-up failure in a box owned by the game window, captioned with the title.
    bool Fatal(const std::string& text);
    bool ApplySettingsFile();
    bool ApplyConfigDialog();
    void SetFullscreenAndRecord(bool fullscreen);
    void ResizeBackBuffer();
    void Paint();
    void DeleteGraphics();

    CDXGraphics* graphics_ = nullptr;
    CDXSound* sound_ = nullptr;
    CDXInput* input_ = nullptr;
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
    boost::shared_ptr<CSimpleDIB> windowBanner_;
    std::int32_t minimumWidth_ = 640;
    std::int32_t minimumHeight_ = 480;
    std::int32_t minimumRefreshRate_ = 0;
    std::int32_t maximumWidth_ = 65535;
    std::int32_t maximumHeight_ = 65535;
    bool inSizeMove_ = false;
    bool runFailed_ = false;
    std::uint32_t requiredVertexShaderVersion_ = 0xFFFE0300u;
    std::uint32_t requiredPixelShaderVersion_ = 0xFFFF0300u;
    bool forceDirect3D9_ = false;
    bool enablePerfHUD_ = false;
    bool useConfigDialog_ = true;
    std::string displaySettingPath_;
};

/// A step of the shutdown that could not keep what the player expects kept (the settings saved
/// at exit) hands its message here once it has logged the failure: the log may be the very file
/// that cannot be written, and the driver, its window and its title are gone by the time the
/// program can tell the player. Any thread.
void ReportShutdownFailure(const std::string& message);
/// The messages reported since the last call, one a line, in the order reported ("" when none);
/// forgets them.
std::string TakeShutdownFailures();

} // namespace korvane
