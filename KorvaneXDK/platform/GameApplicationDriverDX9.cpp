/** @file GameApplicationDriverDX9.cpp The application driver: start-up, loop, pausing, messages and painting. */
#include "KorvaneXDK/platform/GameApplicationDriverDX9.h"

#include <cstdio>
#include <exception>
#include <mutex>
#include <utility>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/core/SimpleDIB.h"
#include "KorvaneXDK/platform/ConfigDialogDX9.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/Direct3DCreateError.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "os/gfx/Device.h"
#include "os/system/System.h"
#include "os/window/PaintSurface.h"
#include "os/window/Window.h"

namespace korvane
{

namespace
{

const char* const kSourceName = "GameApplicationDriverDX9";
const char* const kLibraryVersion = "1.10";
const int kLibraryYear = 2027;
const char* const kBuildKind = "Release";

constexpr std::uint32_t kBackgroundColour = 0x202020;
constexpr std::uint32_t kTextColour = 0xDCDCDC;
constexpr int kTitleInset = 8;

os::gfx::PresentParameters WithDeviceWindow(os::gfx::PresentParameters parameters, os::window::WindowHandle window)
{
    parameters.DeviceWindow = window;
    return parameters;
}

std::string ShaderVersionText(std::uint32_t vertex, std::uint32_t pixel)
{
    char text[96];
    std::snprintf(text, sizeof text, "VertexShader %u.%u / PixelShader %u.%u", (vertex >> 8) & 0xFFu, vertex & 0xFFu,
                  (pixel >> 8) & 0xFFu, pixel & 0xFFu);
    return text;
}

} // namespace

CGameApplicationDriverDX9::CGameApplicationDriverDX9(os::window::InstanceHandle instance)
    : CGameApplicationDriver(instance)
{
    LogInfoF("Korvane DX9/CX library ver.%s(%d) %s (%s %s)", kLibraryVersion, kLibraryYear, kBuildKind, __DATE__,
             __TIME__);
    displaySettingPath_ = AppendBackslash(GetDirectory(GetModuleFilePath())) + "display_setting.ini";
    GetGameWindow()->AddListener(this);
}

CGameApplicationDriverDX9::~CGameApplicationDriverDX9()
{
    try {
        GetGameWindow()->RemoveListener(this);
        DeleteSceneManager();
        if (GetApplication() != nullptr) {
            GetApplication()->SetListener(nullptr);
        }
        delete frameRateKeeper_;
        frameRateKeeper_ = nullptr;
        delete input_;
        input_ = nullptr;
        delete sound_;
        sound_ = nullptr;
        DeleteGraphics();
        windowBanner_.reset();
        dataLoader_.reset();
    } catch (const EException& e) {
        LogEngineException(e);
    } catch (...) {
        LogErrorF("Unknown exception while finalizing the application driver.");
    }
}

void CGameApplicationDriverDX9::DeleteSceneManager()
{
    if (frameRateKeeper_ != nullptr) {
        frameRateKeeper_->frameListener = nullptr;
    }
    delete sceneManager_;
    sceneManager_ = nullptr;
}

void CGameApplicationDriverDX9::DeleteGraphics()
{
    if (graphics_ != nullptr) {
        graphics_->RemoveListener(this);
        delete graphics_;
        graphics_ = nullptr;
    }
    // The preference must not keep pointing at the object that went with the graphics.
    preference_.direct3D = nullptr;
}

bool CGameApplicationDriverDX9::Fatal(const std::string& text)
{
    os::system::ShowErrorMessageBox(GetTitle(), text, GetGameWindow()->GetHandle());
    return false;
}

bool CGameApplicationDriverDX9::Initialize()
{
    // 1. Data loader.
    if (!dataLoader_) {
        UseFileSystemDataLoader(AppendBackslash(GetDirectory(GetModuleFilePath())));
    }

    // 2. Window banner: a missing or bad image ends the start-up with its exception.
    if (!windowBannerImage_.empty()) {
        boost::shared_ptr<CSimpleDIB> banner(new CSimpleDIB());
        windowBanner_ = banner;
        boost::shared_ptr<IKorvaneStream> stream = dataLoader_->OpenShared(windowBannerImage_);
        banner->Load(*stream);
    }

    // 3. Graphics object.
    try {
        graphics_ = new CDXGraphics(forceDirect3D9_);
    } catch (const EDirect3DCreateError& e) {
        LogEngineException(e);
        return Fatal("Failed to initialize Direct3D9.\nPlease check installation of DirectX 9.0c\n");
    }

    // 4. Graphics events.
    graphics_->AddListener(this);

    // 5. Display settings.
    if (!(useConfigDialog_ ? ApplyConfigDialog() : ApplySettingsFile())) {
        return false;
    }

    // 6. Window.
    CGameWindow* window = GetGameWindow();
    window->SetMaximizeBoxEnabled(altEnterSwitchesFullscreen_);
    const os::gfx::PresentParameters& current = graphics_->GetCurrentPresentParameters();
    window->SetClientSize(static_cast<int>(current.BackBufferWidth), static_cast<int>(current.BackBufferHeight));
    window->SetFullScreen(graphics_->IsFullscreen());
    if (GetShowWindowOnInitialize()) {
        window->Show();
    }

    // 7. Input.
    input_ = new CDXInput(GetInstance(), window->GetHandle());
    if (!input_->Initialize(disableWindowsKey_)) {
        LogErrorAt("Failed to initialize CDXInput", kSourceName, __LINE__);
        return Fatal("Failed to initialize DirectInput.\nThis program will exit.");
    }

    // 8. Sound: the program runs on without it.
    sound_ = new CDXSound();
    sound_->SetWindow(window->GetHandle());
    if (!sound_->Initialize()) {
        LogErrorAt("Failed to initialize CDXSound", kSourceName, __LINE__);
    }

    // 9. Device.
    if (!graphics_->InitializeDevice()) {
        LogErrorAt("Failed to initialize CDXGraphics", kSourceName, __LINE__);
        Fatal("Failed to initialize Direct3D9.\nThis program will exit.");
        DeleteGraphics();
        return false;
    }

    // 10. Shader model.
    LogInfoF("Checking D3D9 Shader Model...");
    const std::string requirement = ShaderVersionText(requiredVertexShaderVersion_, requiredPixelShaderVersion_);
    LogInfoF("  Shader Model Requirements: %s", requirement.c_str());
    const os::gfx::Caps& caps = graphics_->GetCaps();
    if (caps.VertexShaderVersion >= requiredVertexShaderVersion_ &&
        caps.PixelShaderVersion >= requiredPixelShaderVersion_) {
        LogInfoF("OK.");
    } else {
        LogErrorAt("Unsupported shader version.", kSourceName, __LINE__);
        return Fatal("Unsupported shader version with current Direct3D device.\nThis program requires following "
                     "specification: " +
                     requirement);
    }

    // 11. Cursor.
    if (graphics_->IsFullscreen()) {
        GetApplication()->ShowCursor(showCursorInFullscreen_);
    }

    // 12. Keeper and scene manager. The keeper's elapsed milliseconds become the engine clock that the
    // profiler and the game threads read; its destructor hands the clock back to the fallback.
    frameRateKeeper_ = new CFrameRateKeeper();
    frameRateKeeper_->InstallAsEngineClock();
    sceneManager_ = new CSceneManager();
    frameRateKeeper_->frameListener = sceneManager_;
    GetApplication()->SetListener(frameRateKeeper_);

    // 13.
    SetInitialized(true);
    return true;
}

bool CGameApplicationDriverDX9::ApplySettingsFile()
{
    preference_.direct3D = graphics_->GetDirect3D();
    preference_.minimumWidth = minimumWidth_;
    preference_.minimumHeight = minimumHeight_;
    preference_.minimumRefreshRate = minimumRefreshRate_;
    preference_.maximumWidth = maximumWidth_;
    preference_.maximumHeight = maximumHeight_;
    preference_.EnumerateModes();
    LogInfo("Loading display configuration ('" + displaySettingPath_ + "')...");
    try {
        preference_.Load(displaySettingPath_);
    } catch (const EFileOpenError& e) {
        LogEngineException(e);
        LogInfoF("Can't open a configuration file. Default settings used.");
    }
    os::window::WindowHandle window = GetGameWindow()->GetHandle();
    graphics_->SetAdapter(preference_.adapter);
    graphics_->SetFullscreenPresentParameters(WithDeviceWindow(preference_.fullscreenParameters, window));
    graphics_->SetWindowedPresentParameters(WithDeviceWindow(preference_.windowedParameters, window));
    graphics_->SetDeviceType(preference_.deviceType);
    graphics_->SetFullscreen(forceWindowed_ ? false : preference_.fullscreen);
    return true;
}

bool CGameApplicationDriverDX9::ApplyConfigDialog()
{
    CConfigDialogDX9 dialog;
    dialog.SetDirect3D(graphics_->GetDirect3D());
    dialog.SetTitle(GetTitle());
    dialog.SetIcon(GetIconHandle());
    dialog.SetMinimumScreenSize(minimumWidth_, minimumHeight_);
    dialog.SetMaximumScreenSize(maximumWidth_, maximumHeight_);
    dialog.SetEnablePerfHUD(enablePerfHUD_);
    CSimpleDIB banner;
    try {
        boost::shared_ptr<IKorvaneStream> stream = dataLoader_->OpenShared(dialogBannerImage_);
        banner.Load(*stream);
    } catch (const EIOError&) {
        LogErrorAt("ダイアログバナーイメージ \"" + dialogBannerImage_ + "\" のロードに失敗しました.", kSourceName,
                   __LINE__);
        banner.Release();
    }
    dialog.SetBanner(banner.GetHandle());
    if (!dialog.Run(usePreviousConfig_)) {
        DeleteGraphics();
        return false;
    }
    os::window::WindowHandle window = GetGameWindow()->GetHandle();
    graphics_->SetAdapter(static_cast<std::uint32_t>(dialog.GetAdapter()));
    graphics_->SetFullscreenPresentParameters(WithDeviceWindow(dialog.GetFullscreenPresentParameters(), window));
    graphics_->SetWindowedPresentParameters(WithDeviceWindow(dialog.GetWindowedPresentParameters(), window));
    graphics_->SetAnisotropy(dialog.GetAnisotropy());
    graphics_->SetDeviceType(dialog.GetDeviceType());
    graphics_->SetFullscreen(forceWindowed_ ? false : dialog.GetFullscreen());
    return true;
}

void CGameApplicationDriverDX9::Run()
{
    if (!IsInitialized()) {
        throw EInvalidOperation(this, "ApplicationDriver is not initialized.");
    }
    LogInfoF("Starting application main-loop...");
    runFailed_ = false;
    try {
        GetApplication()->Run();
        GetGameWindow()->Hide();
    } catch (const EException& e) {
        // Shown here; the program still has to end with a failure status.
        runFailed_ = true;
        GetGameWindow()->Hide();
        ShowEngineException(e, GetGameWindow()->GetHandle());
    }
    LogInfoF("Appication main-loop finished.");
}

bool CGameApplicationDriverDX9::HasRunFailed() const
{
    return runFailed_;
}

void CGameApplicationDriverDX9::SetPaused(bool paused)
{
    if (frameRateKeeper_ != nullptr) {
        frameRateKeeper_->paused = paused;
    }
    GetGameWindow()->SetTitle(paused ? GetTitle() + " [PAUSE]" : GetTitle());
}

void CGameApplicationDriverDX9::SetFullscreenAndRecord(bool fullscreen)
{
    graphics_->SetFullscreen(fullscreen);
    preference_.fullscreen = graphics_->IsFullscreen();
}

void CGameApplicationDriverDX9::ResizeBackBuffer()
{
    if (graphics_ != nullptr) {
        graphics_->ResizeWindow(GetGameWindow()->GetClientWidth(), GetGameWindow()->GetClientHeight());
    }
}

bool CGameApplicationDriverDX9::OnWindowMessage(CGameWindow*, std::uint32_t message, os::window::WParam wParam,
                                                os::window::LParam, os::window::LResult* result)
{
    switch (message) {
    case os::window::WM_SYSKEYDOWN:
        if (wParam != os::window::VK_RETURN || !altEnterSwitchesFullscreen_) {
            return false;
        }
        if (graphics_ != nullptr) {
            SetFullscreenAndRecord(!graphics_->IsFullscreen());
        }
        break;
    case os::window::WM_SIZE:
        if (wParam == os::window::SIZE_MAXIMIZED) {
            if (graphics_ != nullptr) {
                SetFullscreenAndRecord(true);
            }
        } else if (wParam == os::window::SIZE_RESTORED) {
            if (!inSizeMove_) {
                ResizeBackBuffer();
            }
        } else if (wParam == os::window::SIZE_MINIMIZED) {
            if (pauseWhenInactive_) {
                SetPaused(true);
            }
        }
        break;
    case os::window::WM_ENTERSIZEMOVE:
        inSizeMove_ = true;
        break;
    case os::window::WM_EXITSIZEMOVE:
        inSizeMove_ = false;
        ResizeBackBuffer();
        break;
    case os::window::WM_ACTIVATE: {
        const auto state = os::window::LoWord(wParam);
        if (state == os::window::WA_INACTIVE) {
            if (pauseWhenInactive_) {
                GetGameWindow()->GetHandle()->Invalidate();
                SetPaused(true);
            }
        } else if (state == os::window::WA_ACTIVE || state == os::window::WA_CLICKACTIVE) {
            SetPaused(false);
        }
        break;
    }
    case os::window::WM_PAINT:
        Paint();
        break;
    default:
        return false;
    }
    *result = 0;
    return true;
}

void CGameApplicationDriverDX9::Paint()
{
    os::window::Window* window = GetGameWindow()->GetHandle();
    os::window::PaintSurface& surface = window->BeginPaint();
    const int width = surface.GetWidth();
    const int height = surface.GetHeight();
    surface.FillRect(0, 0, width, height, kBackgroundColour);
    if (windowBanner_ && windowBanner_->GetHandle() != nullptr) {
        windowBanner_->Draw(&surface, width - windowBanner_->GetWidth(), height - windowBanner_->GetHeight());
    } else {
        int textWidth = 0;
        int textHeight = 0;
        os::window::PaintSurface::MeasureText(GetTitle(), textWidth, textHeight);
        surface.DrawText(width - kTitleInset - textWidth, height - kTitleInset - textHeight, GetTitle(), kTextColour);
    }
    const std::string& centre =
        (frameRateKeeper_ != nullptr && frameRateKeeper_->paused) ? std::string("-- P A U S E D --") : paintText_;
    int textWidth = 0;
    int textHeight = 0;
    os::window::PaintSurface::MeasureText(centre, textWidth, textHeight);
    surface.DrawText(width / 2 - textWidth / 2, height / 2 - textHeight / 2, centre, kTextColour);
    window->EndPaint();
    // Rendering is not running while the window needs painting: show the surface until the next frame.
    os::gfx::Device* device = graphics_ != nullptr ? graphics_->GetDevice() : nullptr;
    if (device != nullptr && width > 0 && height > 0) {
        device->PresentPixels(surface.GetPixels(), static_cast<std::uint32_t>(width),
                              static_cast<std::uint32_t>(height));
    }
}

CDXGraphics* CGameApplicationDriverDX9::GetGraphics()
{
    return graphics_;
}
CDXSound* CGameApplicationDriverDX9::GetSound()
{
    return sound_;
}
CDXInput* CGameApplicationDriverDX9::GetInput()
{
    return input_;
}
CFrameRateKeeper* CGameApplicationDriverDX9::GetFrameRateKeeper()
{
    return frameRateKeeper_;
}
CSceneManager* CGameApplicationDriverDX9::GetSceneManager()
{
    return sceneManager_;
}

void CGameApplicationDriverDX9::UseFileSystemDataLoader(const std::string& folder)
{
    dataLoader_.reset(new CFileSystemDataLoader(folder));
}

void CGameApplicationDriverDX9::UseArchiveDataLoader(const std::string& archive)
{
    dataLoader_.reset(new TArchiveFileDataLoader<CArchiveFileLoader>(archive));
}

void CGameApplicationDriverDX9::SetDataLoader(boost::shared_ptr<IDataLoader> loader)
{
    dataLoader_ = std::move(loader);
}
boost::shared_ptr<IDataLoader> CGameApplicationDriverDX9::GetDataLoader()
{
    return dataLoader_;
}
void CGameApplicationDriverDX9::SetDialogBannerImage(const std::string& name)
{
    dialogBannerImage_ = name;
}
void CGameApplicationDriverDX9::SetPauseWhenInactive(bool value)
{
    pauseWhenInactive_ = value;
}
bool CGameApplicationDriverDX9::GetPauseWhenInactive()
{
    return pauseWhenInactive_;
}
void CGameApplicationDriverDX9::SetShowCursorInFullscreen(bool value)
{
    showCursorInFullscreen_ = value;
}
bool CGameApplicationDriverDX9::GetShowCursorInFullscreen()
{
    return showCursorInFullscreen_;
}
void CGameApplicationDriverDX9::SetUsePreviousConfig(bool value)
{
    usePreviousConfig_ = value;
}
bool CGameApplicationDriverDX9::GetUsePreviousConfig()
{
    return usePreviousConfig_;
}
void CGameApplicationDriverDX9::SetAltEnterSwitchesFullscreen(bool value)
{
    altEnterSwitchesFullscreen_ = value;
}
bool CGameApplicationDriverDX9::GetAltEnterSwitchesFullscreen()
{
    return altEnterSwitchesFullscreen_;
}
void CGameApplicationDriverDX9::SetForceWindowed(bool value)
{
    forceWindowed_ = value;
}
bool CGameApplicationDriverDX9::GetForceWindowed()
{
    return forceWindowed_;
}
void CGameApplicationDriverDX9::SetShowWindowOnInitialize(bool value)
{
    showWindowOnInitialize_ = value;
}
bool CGameApplicationDriverDX9::GetShowWindowOnInitialize()
{
    return showWindowOnInitialize_;
}
void CGameApplicationDriverDX9::SetDisableWindowsKey(bool value)
{
    disableWindowsKey_ = value;
}
bool CGameApplicationDriverDX9::GetDisableWindowsKey()
{
    return disableWindowsKey_;
}
void CGameApplicationDriverDX9::SetWindowBannerImage(const std::string& name)
{
    windowBannerImage_ = name;
}
void CGameApplicationDriverDX9::SetPaintText(const std::string& text)
{
    paintText_ = text;
}

void CGameApplicationDriverDX9::SetMinimumScreenSize(std::int32_t width, std::int32_t height)
{
    minimumWidth_ = width;
    minimumHeight_ = height;
}

void CGameApplicationDriverDX9::SetMinimumRefreshRate(std::int32_t hz)
{
    minimumRefreshRate_ = hz;
}

void CGameApplicationDriverDX9::SetMaximumScreenSize(std::int32_t width, std::int32_t height)
{
    maximumWidth_ = width;
    maximumHeight_ = height;
}

void CGameApplicationDriverDX9::SetRequiredVertexShaderVersion(int major, int minor)
{
    requiredVertexShaderVersion_ =
        0xFFFE0000u + static_cast<std::uint32_t>(major) * 256u + static_cast<std::uint32_t>(minor);
}

void CGameApplicationDriverDX9::SetRequiredPixelShaderVersion(int major, int minor)
{
    requiredPixelShaderVersion_ =
        0xFFFF0000u + static_cast<std::uint32_t>(major) * 256u + static_cast<std::uint32_t>(minor);
}

void CGameApplicationDriverDX9::SetForceDirect3D9(bool value)
{
    forceDirect3D9_ = value;
}
void CGameApplicationDriverDX9::SetEnablePerfHUD(bool value)
{
    enablePerfHUD_ = value;
}
void CGameApplicationDriverDX9::SetUseConfigDialog(bool value)
{
    useConfigDialog_ = value;
}
void CGameApplicationDriverDX9::SetDisplaySettingPath(const std::string& path)
{
    displaySettingPath_ = path;
}
std::string CGameApplicationDriverDX9::GetDisplaySettingPath()
{
    return displaySettingPath_;
}
CGraphicsModePreference& CGameApplicationDriverDX9::GetGraphicsModePreference()
{
    return preference_;
}

void CGameApplicationDriverDX9::OnDeviceLost() {}

void CGameApplicationDriverDX9::OnDeviceReset()
{
    if (sceneManager_ != nullptr) {
        sceneManager_->RestoreAll();
    }
}

void CGameApplicationDriverDX9::OnFullscreenChanging(bool fullscreen)
{
    // The graphics object has already taken the new mode: its current parameters are the new ones.
    const os::gfx::PresentParameters& parameters = graphics_->GetCurrentPresentParameters();
    GetGameWindow()->SetFullScreen(fullscreen);
    GetGameWindow()->SetClientSize(static_cast<int>(parameters.BackBufferWidth),
                                   static_cast<int>(parameters.BackBufferHeight));
    GetGameWindow()->ClearTopMost();
    GetApplication()->ShowCursor(fullscreen ? showCursorInFullscreen_ : true);
}

void CGameApplicationDriverDX9::OnFullscreenChanged(bool)
{
    const os::gfx::PresentParameters& parameters = graphics_->GetCurrentPresentParameters();
    GetGameWindow()->SetClientSize(static_cast<int>(parameters.BackBufferWidth),
                                   static_cast<int>(parameters.BackBufferHeight));
    GetGameWindow()->Show();
    GetGameWindow()->CenterOnScreen();
}

void CGameApplicationDriverDX9::SetGraphicsForTesting(CDXGraphics* graphics)
{
    if (graphics == graphics_) {
        return; // already ours: deleting it first would leave a dangling object
    }
    DeleteGraphics();
    graphics_ = graphics;
    if (graphics_ != nullptr) {
        graphics_->AddListener(this);
        preference_.direct3D = graphics_->GetDirect3D();
    }
}

bool CGameApplicationDriverDX9::InitializeGraphicsForTesting(std::uint32_t width, std::uint32_t height)
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

namespace
{

std::mutex gShutdownFailureMutex;
std::string gShutdownFailures;

} // namespace

void ReportShutdownFailure(const std::string& message)
{
    std::lock_guard<std::mutex> lock(gShutdownFailureMutex);
    if (!gShutdownFailures.empty())
        gShutdownFailures += '\n';
    gShutdownFailures += message;
}

std::string TakeShutdownFailures()
{
    std::lock_guard<std::mutex> lock(gShutdownFailureMutex);
    return std::exchange(gShutdownFailures, std::string());
}

} // namespace korvane
