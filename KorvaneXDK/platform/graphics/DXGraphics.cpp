/** @file DXGraphics.cpp The program's one graphics object. */
#include "KorvaneXDK/platform/graphics/DXGraphics.h"

#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/TypeName.h"
#include "KorvaneXDK/platform/graphics/DXGraphicsEventListener.h"
#include "KorvaneXDK/platform/graphics/Direct3DCreateError.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "os/gfx/Device.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/ResultCodes.h"

namespace korvane
{

namespace
{

const char* const kSourceFile = "DXGraphics";

const char* BoolText(bool value)
{
    return value ? "true" : "false";
}

} // namespace

CDXGraphics::CDXGraphics(bool forceDirect3D9) : forceDirect3D9_(forceDirect3D9)
{
    if (!LoadDirect3D()) {
        throw EDirect3DCreateError(this, "Direct3D の初期化に失敗しました.");
    }
}

CDXGraphics::~CDXGraphics()
{
    try {
        // This class's own teardown: a derived part is already gone when this runs.
        CDXGraphics::FinalizeDevice();
        direct3D_.reset();
        LogInfoF("Direct3D finalized.");
    } catch (...) {
        // Logging is all that can fail here, and a destructor must not throw.
    }
}

bool CDXGraphics::LoadDirect3D()
{
    if (!os::gfx::IsDirect3DModuleAvailable()) {
        return false;
    }
    if (os::gfx::HasDirect3DCreate9Ex() && !forceDirect3D9_) {
        LogInfoF("DirectX9Ex detected.");
        // A failure of the extended object is final: no second try with the plain one.
        if (os::gfx::Failed(os::gfx::Direct3DCreate9Ex(os::gfx::kSdkVersion, &direct3D_))) {
            direct3D_.reset();
            return false;
        }
        return direct3D_ != nullptr;
    }
    LogInfoF("DirectX9 detected.");
    direct3D_ = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    return direct3D_ != nullptr;
}

bool CDXGraphics::InitializeDevice()
{
    if (device_) {
        throw EIOError(this, "Direct3D device already initialized.");
    }
    os::gfx::Result result = CreateDevice(os::gfx::create::HardwareVertexProcessing);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        LogInfoF("ハードウェア頂点処理が利用できません. ソフトウェア頂点処理に切り替えます.");
        result = CreateDevice(os::gfx::create::SoftwareVertexProcessing);
        if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
            return false;
        }
    }
    device_->GetDeviceCaps(&caps_);
    LogInfoF(
        "Direct3D Device: VertexShader %d.%d / PixelShader %d.%d",
        static_cast<int>((caps_.VertexShaderVersion >> 8) & 0xFF), static_cast<int>(caps_.VertexShaderVersion & 0xFF),
        static_cast<int>((caps_.PixelShaderVersion >> 8) & 0xFF), static_cast<int>(caps_.PixelShaderVersion & 0xFF));
    LogInfoF("Direct3D device ready.");
    return true;
}

os::gfx::Result CDXGraphics::CreateDevice(std::uint32_t behaviorFlags)
{
    device_.reset();
    const std::uint32_t flags = behaviorFlags | os::gfx::create::Multithreaded;
    os::gfx::PresentParameters& parameters = GetCurrentPresentParameters();
    const os::gfx::WindowHandle focus = parameters.DeviceWindow;
    if (direct3D_->IsExtended()) {
        os::gfx::DisplayModeEx mode;
        os::gfx::DisplayModeEx* modePointer = nullptr;
        if (fullscreen_) {
            mode.Size = 24;
            mode.Width = parameters.BackBufferWidth;
            mode.Height = parameters.BackBufferHeight;
            mode.RefreshRate = parameters.FullScreenRefreshRateInHz;
            mode.Format = parameters.BackBufferFormat;
            mode.ScanLineOrdering = os::gfx::ScanLineOrdering::Progressive;
            modePointer = &mode;
        }
        const os::gfx::Result result =
            direct3D_->CreateDeviceEx(adapter_, deviceType_, focus, flags, &parameters, modePointer, &device_);
        if (os::gfx::Succeeded(result)) {
            device_->SetMaximumFrameLatency(1);
            legacyDevice_ = 0;
        }
        return result;
    }
    legacyDevice_ = 1;
    return direct3D_->CreateDevice(adapter_, deviceType_, focus, flags, &parameters, &device_);
}

void CDXGraphics::FinalizeDevice()
{
    device_.reset();
    LogInfoF("Direct3D device finalized.");
}

os::gfx::Direct3D* CDXGraphics::GetDirect3D()
{
    return direct3D_.get();
}

os::gfx::Device* CDXGraphics::GetDevice()
{
    return device_.get();
}

void CDXGraphics::SetFullscreenPresentParameters(const os::gfx::PresentParameters& parameters)
{
    fullscreenParameters_ = parameters;
}

void CDXGraphics::SetWindowedPresentParameters(const os::gfx::PresentParameters& parameters)
{
    windowedParameters_ = parameters;
}

void CDXGraphics::SetAdapter(std::uint32_t adapter)
{
    adapter_ = adapter;
}

std::uint32_t CDXGraphics::GetAdapter()
{
    return adapter_;
}

void CDXGraphics::SetAnisotropy(std::uint32_t anisotropy)
{
    anisotropy_ = anisotropy;
}

std::uint32_t CDXGraphics::GetAnisotropy()
{
    return anisotropy_;
}

void CDXGraphics::SetDeviceType(os::gfx::DeviceType type)
{
    deviceType_ = type;
}

os::gfx::DeviceType CDXGraphics::GetDeviceType()
{
    return deviceType_;
}

std::uint32_t CDXGraphics::IsLegacyDevice()
{
    return legacyDevice_;
}

os::gfx::PresentParameters& CDXGraphics::GetCurrentPresentParameters()
{
    return fullscreen_ ? fullscreenParameters_ : windowedParameters_;
}

const os::gfx::Caps& CDXGraphics::GetCaps()
{
    return caps_;
}

void CDXGraphics::AddListener(IDXGraphicsEventListener* listener)
{
    listeners_.insert(listener);
}

void CDXGraphics::RemoveListener(IDXGraphicsEventListener* listener)
{
    listeners_.erase(listener);
}

template <typename Event>
void CDXGraphics::Notify(Event event)
{
    // A listener may add or remove listeners while it is told (a scene restored on reset may
    // destroy objects that listen): the event goes to the set as it was, less those removed since.
    const std::vector<IDXGraphicsEventListener*> listeners(listeners_.begin(), listeners_.end());
    for (IDXGraphicsEventListener* listener : listeners) {
        if (listeners_.count(listener) != 0) {
            event(*listener);
        }
    }
}

void CDXGraphics::SetFullscreen(bool fullscreen)
{
    fullscreen_ = fullscreen;
    if (!device_) {
        return;
    }
    LogInfoF("Changing Fullscreen Mode (Fullscreen = %s)...", BoolText(fullscreen));
    switching_ = true;
    Notify([fullscreen](IDXGraphicsEventListener& l) { l.OnFullscreenChanging(fullscreen); });
    Notify([](IDXGraphicsEventListener& l) { l.OnDeviceLost(); });
    if (os::gfx::Failed(device_->Reset(&GetCurrentPresentParameters()))) {
        LogErrorAt(GetRuntimeClassName(*this) + ": デバイスのリセットに失敗", kSourceFile, __LINE__);
        return;
    }
    device_->GetDeviceCaps(&caps_);
    Notify([](IDXGraphicsEventListener& l) { l.OnDeviceReset(); });
    Notify([fullscreen](IDXGraphicsEventListener& l) { l.OnFullscreenChanged(fullscreen); });
    switching_ = false;
    LogInfoF("Fullscreen Mode Changed (Fullscreen = %s).", BoolText(fullscreen));
}

bool CDXGraphics::IsFullscreen()
{
    return fullscreen_;
}

void CDXGraphics::ResizeWindow(int width, int height)
{
    // A size below 1 (a minimised window reports 0) has no back buffer to become.
    if (!device_ || fullscreen_ || switching_ || width <= 0 || height <= 0) {
        return;
    }
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    if (w == windowedParameters_.BackBufferWidth && h == windowedParameters_.BackBufferHeight) {
        return;
    }
    LogInfoF("Changing Window Size ...");
    Notify([](IDXGraphicsEventListener& l) { l.OnDeviceLost(); });
    windowedParameters_.BackBufferWidth = w;
    windowedParameters_.BackBufferHeight = h;
    if (os::gfx::Failed(device_->Reset(&GetCurrentPresentParameters()))) {
        LogErrorAt(GetRuntimeClassName(*this) + ": デバイスのリセットに失敗", kSourceFile, __LINE__);
        return;
    }
    device_->GetDeviceCaps(&caps_);
    Notify([](IDXGraphicsEventListener& l) { l.OnDeviceReset(); });
    LogInfoF("Window Size Changed (%dx%d).", width, height);
}

void CDXGraphics::Present()
{
    if (!device_) {
        return;
    }
    if (device_->Present() != os::gfx::kErrDeviceLost) {
        return;
    }
    if (device_->TestCooperativeLevel() != os::gfx::kErrDeviceNotReset) {
        return;
    }
    Notify([](IDXGraphicsEventListener& l) { l.OnDeviceLost(); });
    if (os::gfx::Failed(device_->Reset(&GetCurrentPresentParameters()))) {
        throw EIOError(this, "Direct3Dデバイスのリセットに失敗");
    }
    Notify([](IDXGraphicsEventListener& l) { l.OnDeviceReset(); });
}

} // namespace korvane
