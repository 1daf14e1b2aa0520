/** @file GameApplicationDriverCX.cpp The one application driver: construction, settings and accessors. */
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"

#include <exception>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"

namespace korvane
{

namespace
{

const char* const kLibraryVersion = "1.10";
const int kLibraryYear = 2027;
const char* const kBuildKind = "Release";

CGameApplicationDriverCX* gDriver = nullptr;

} // namespace

CGameApplicationDriverCX::CGameApplicationDriverCX(os::window::InstanceHandle instance)
    : CGameApplicationDriver(instance)
{
    LogInfoF("Korvane DX9/CX library ver.%s(%d) %s (%s %s)", kLibraryVersion, kLibraryYear, kBuildKind,
             __DATE__, __TIME__);
    displaySettingPath_ = AppendBackslash(GetDirectory(GetModuleFilePath())) + "display_setting.ini";
}

CGameApplicationDriverCX::~CGameApplicationDriverCX()
{
    try
    {
        delete sceneManager_;
        sceneManager_ = nullptr;
        delete shaderEnvironment_;
        shaderEnvironment_ = nullptr;
        shaderDataLoader_.reset();
        delete frameRateKeeper_;
        frameRateKeeper_ = nullptr;
        DeleteGraphics();
        dataLoader_.reset();
        preference_.direct3D = nullptr;
    }
    catch (const EException& e)
    {
        LogEngineException(e);
    }
    catch (...)
    {
        LogErrorF("Unknown exception while finalizing the application driver.");
    }
}

void CGameApplicationDriverCX::DeleteGraphics()
{
    if (graphics_ != nullptr)
    {
        graphics_->RemoveListener(this);
        delete graphics_;
        graphics_ = nullptr;
    }
    // The preference must not keep pointing at the object that went with the graphics.
    preference_.direct3D = nullptr;
}

CDXGraphics* CGameApplicationDriverCX::GetGraphics()
{
    return graphics_;
}
CDXSound* CGameApplicationDriverCX::GetSound()
{
    return nullptr;
}
CDXInput* CGameApplicationDriverCX::GetInput()
{
    return nullptr;
}
CFrameRateKeeper* CGameApplicationDriverCX::GetFrameRateKeeper()
{
    return frameRateKeeper_;
}
CSceneManager* CGameApplicationDriverCX::GetSceneManager()
{
    return sceneManager_;
}

void CGameApplicationDriverCX::UseFileSystemDataLoader(const std::string& folder)
{
    dataLoader_.reset(new CFileSystemDataLoader(folder));
}

void CGameApplicationDriverCX::UseArchiveDataLoader(const std::string& archive)
{
    dataLoader_.reset(new TArchiveFileDataLoader<CArchiveFileLoader>(archive));
}

void CGameApplicationDriverCX::SetDataLoader(boost::shared_ptr<IDataLoader> loader)
{
    dataLoader_ = std::move(loader);
}
boost::shared_ptr<IDataLoader> CGameApplicationDriverCX::GetDataLoader()
{
    return dataLoader_;
}
void CGameApplicationDriverCX::SetDialogBannerImage(const std::string& name)
{
    dialogBannerImage_ = name;
}
void CGameApplicationDriverCX::SetPauseWhenInactive(bool value)
{
    pauseWhenInactive_ = value;
}
bool CGameApplicationDriverCX::GetPauseWhenInactive()
{
    return pauseWhenInactive_;
}
void CGameApplicationDriverCX::SetShowCursorInFullscreen(bool value)
{
    showCursorInFullscreen_ = value;
}
bool CGameApplicationDriverCX::GetShowCursorInFullscreen()
{
    return showCursorInFullscreen_;
}
void CGameApplicationDriverCX::SetUsePreviousConfig(bool value)
{
    usePreviousConfig_ = value;
}
bool CGameApplicationDriverCX::GetUsePreviousConfig()
{
    return usePreviousConfig_;
}
void CGameApplicationDriverCX::SetAltEnterSwitchesFullscreen(bool value)
{
    altEnterSwitchesFullscreen_ = value;
}
bool CGameApplicationDriverCX::GetAltEnterSwitchesFullscreen()
{
    return altEnterSwitchesFullscreen_;
}
void CGameApplicationDriverCX::SetForceWindowed(bool value)
{
    forceWindowed_ = value;
}
bool CGameApplicationDriverCX::GetForceWindowed()
{
    return forceWindowed_;
}
void CGameApplicationDriverCX::SetShowWindowOnInitialize(bool value)
{
    showWindowOnInitialize_ = value;
}
bool CGameApplicationDriverCX::GetShowWindowOnInitialize()
{
    return showWindowOnInitialize_;
}
void CGameApplicationDriverCX::SetDisableWindowsKey(bool value)
{
    disableWindowsKey_ = value;
}
bool CGameApplicationDriverCX::GetDisableWindowsKey()
{
    return disableWindowsKey_;
}
void CGameApplicationDriverCX::SetWindowBannerImage(const std::string& name)
{
    windowBannerImage_ = name;
}
void CGameApplicationDriverCX::SetPaintText(const std::string& text)
{
    paintText_ = text;
}

void CGameApplicationDriverCX::SetMinimumScreenSize(std::int32_t width, std::int32_t height)
{
    minimumWidth_ = width;
    minimumHeight_ = height;
}

void CGameApplicationDriverCX::SetMinimumRefreshRate(std::int32_t hz)
{
    minimumRefreshRate_ = hz;
}

void CGameApplicationDriverCX::SetMaximumScreenSize(std::int32_t width, std::int32_t height)
{
    maximumWidth_ = width;
    maximumHeight_ = height;
}

void CGameApplicationDriverCX::SetRequiredVertexShaderVersion(int major, int minor)
{
    requiredVertexShaderVersion_ =
        0xFFFE0000u + static_cast<std::uint32_t>(major) * 256u + static_cast<std::uint32_t>(minor);
}

void CGameApplicationDriverCX::SetRequiredPixelShaderVersion(int major, int minor)
{
    requiredPixelShaderVersion_ =
        0xFFFF0000u + static_cast<std::uint32_t>(major) * 256u + static_cast<std::uint32_t>(minor);
}

void CGameApplicationDriverCX::SetForceDirect3D9(bool value)
{
    forceDirect3D9_ = value;
}
void CGameApplicationDriverCX::SetEnablePerfHUD(bool value)
{
    enablePerfHUD_ = value;
}
void CGameApplicationDriverCX::SetUseConfigDialog(bool value)
{
    useConfigDialog_ = value;
}
void CGameApplicationDriverCX::SetDisplaySettingPath(const std::string& path)
{
    displaySettingPath_ = path;
}
std::string CGameApplicationDriverCX::GetDisplaySettingPath()
{
    return displaySettingPath_;
}
CGraphicsModePreference& CGameApplicationDriverCX::GetGraphicsModePreference()
{
    return preference_;
}

void CGameApplicationDriverCX::UseShaderFileSystemDataLoader(const std::string& folder)
{
    shaderDataLoader_.reset(new CFileSystemDataLoader(folder));
}

void CGameApplicationDriverCX::UseShaderArchiveDataLoader(const std::string& archive)
{
    shaderDataLoader_.reset(new TArchiveFileDataLoader<CArchiveFileLoader>(archive));
}

CShaderEnvironment* CGameApplicationDriverCX::GetShaderEnvironment()
{
    return shaderEnvironment_;
}

void CGameApplicationDriverCX::CreateShaderEnvironment()
{
    if (shaderEnvironment_ == nullptr)
    {
        shaderEnvironment_ = new CShaderEnvironment(shaderDataLoader_ ? shaderDataLoader_ : dataLoader_);
    }
}

void CGameApplicationDriverCX::OnDeviceLost() {}

void CGameApplicationDriverCX::OnDeviceReset()
{
    if (sceneManager_ != nullptr)
    {
        sceneManager_->RestoreAll();
    }
}

void CGameApplicationDriverCX::OnFullscreenChanging(bool fullscreen)
{
    // The graphics object has already taken the new mode: its current parameters are the new ones.
    const os::gfx::PresentParameters& parameters = graphics_->GetCurrentPresentParameters();
    GetGameWindow()->SetFullScreen(fullscreen);
    GetGameWindow()->SetClientSize(static_cast<int>(parameters.BackBufferWidth),
                                   static_cast<int>(parameters.BackBufferHeight));
    GetGameWindow()->ClearTopMost();
    GetApplication()->ShowCursor(fullscreen ? showCursorInFullscreen_ : true);
}

void CGameApplicationDriverCX::OnFullscreenChanged(bool)
{
    const os::gfx::PresentParameters& parameters = graphics_->GetCurrentPresentParameters();
    GetGameWindow()->SetClientSize(static_cast<int>(parameters.BackBufferWidth),
                                   static_cast<int>(parameters.BackBufferHeight));
    GetGameWindow()->Show();
    GetGameWindow()->CenterOnScreen();
}

void CGameApplicationDriverCX::SetGraphicsForTesting(CDXGraphics* graphics)
{
    if (graphics == graphics_)
    {
        return; // already ours: deleting it first would leave a dangling object
    }
    DeleteGraphics();
    graphics_ = graphics;
    if (graphics_ != nullptr)
    {
        graphics_->AddListener(this);
        preference_.direct3D = graphics_->GetDirect3D();
    }
}

bool CGameApplicationDriverCX::InitializeGraphicsForTesting(std::uint32_t width, std::uint32_t height)
{
    auto* graphics = new CDXGraphics(forceDirect3D9_);
    os::gfx::PresentParameters windowed;
    windowed.BackBufferWidth = width;
    windowed.BackBufferHeight = height;
    windowed.BackBufferFormat = os::gfx::Format::Unknown;
    windowed.BackBufferCount = 1;
    windowed.SwapEffect = os::gfx::SwapEffect::Discard;
    windowed.DeviceWindow = GetGameWindow()->GetHandle();
    windowed.Windowed = true;
    windowed.EnableAutoDepthStencil = true;
    windowed.AutoDepthStencilFormat = os::gfx::Format::D24X8;
    windowed.Flags = os::gfx::present::FlagLockableBackBuffer;
    windowed.PresentationInterval = os::gfx::present::IntervalImmediate;
    os::gfx::PresentParameters full = windowed;
    full.Windowed = false;
    full.BackBufferFormat = os::gfx::Format::X8R8G8B8;
    graphics->SetWindowedPresentParameters(windowed);
    graphics->SetFullscreenPresentParameters(full);
    SetGraphicsForTesting(graphics);
    return graphics->InitializeDevice();
}

bool CreateApplicationDriver(os::window::InstanceHandle instance)
{
    bool constructed = true;
    if (gDriver == nullptr)
    {
        try
        {
            gDriver = new CGameApplicationDriverCX(instance);
        }
        catch (const EException& e)
        {
            ShowEngineException(e, nullptr);
            constructed = false;
        }
        catch (const std::exception& e)
        {
            ShowStdException(e, nullptr);
            constructed = false;
        }
    }
    LogInfoF("Korvane CX library ver.%s(%d) %s (%s %s)", kLibraryVersion, kLibraryYear, kBuildKind, __DATE__,
             __TIME__);
    return constructed;
}

CGameApplicationDriverCX* GetApplicationDriver()
{
    return gDriver;
}

void DestroyApplicationDriver()
{
    // The pointer stays valid while the driver is destroyed: scenes finalised by it still
    // reach the driver (the resource scene saves the display settings through it).
    try
    {
        delete gDriver;
    }
    catch (const EException& e)
    {
        HandleEngineException(e);
    }
    gDriver = nullptr;
}

namespace
{

void PrepareLastResortReport()
{
    LogErrorF("Exception occurred.");
    if (gDriver == nullptr)
    {
        return;
    }
    if (gDriver->GetGameWindow() != nullptr)
    {
        gDriver->GetGameWindow()->Hide();
    }
    if (gDriver->GetSceneManager() != nullptr)
    {
        gDriver->GetSceneManager()->DumpSceneList();
    }
}

} // namespace

void HandleEngineException(const EException& e)
{
    PrepareLastResortReport();
    ShowEngineException(e, nullptr);
}

void HandleStdException(const std::exception& e)
{
    PrepareLastResortReport();
    ShowStdException(e, nullptr);
}

} // namespace korvane
