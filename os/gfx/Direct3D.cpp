/** @file Direct3D.cpp Adapters and display modes from SDL's displays, capabilities and device creation. */
#include "os/gfx/Direct3D.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <vector>

#include <SDL.h>

#include "os/gfx/BaseCaps.h"
#include "os/gfx/Device.h"
#include "os/gfx/HookState.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/WindowBinding.h"
#include "os/system/System.h"

namespace os::gfx
{

namespace
{

using detail::Hooks;

/// Before any device has asked its driver, multisampling is promised up to this many samples.
constexpr int kAssumedMaxSamples = 4;

bool FormatMatchesBits(Format format, int bits)
{
    switch (format) {
    case Format::X8R8G8B8:
        return bits == 24 || bits == 32;
    case Format::R5G6B5:
        return bits == 16;
    case Format::X1R5G5B5:
        return bits == 15;
    default:
        return false;
    }
}

std::vector<DisplayMode> ListModes(std::uint32_t adapter, Format format)
{
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        auto found = Hooks().modeOverrides.find(adapter);
        if (found != Hooks().modeOverrides.end()) {
            std::vector<DisplayMode> modes = found->second;
            for (DisplayMode& mode : modes) {
                mode.Format = format;
            }
            return modes;
        }
    }
    std::vector<DisplayMode> modes;
    {
        // A listed adapter past the real displays stands on the first display.
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        if (!Hooks().adapterNames.empty() && static_cast<int>(adapter) >= SDL_GetNumVideoDisplays()) {
            adapter = 0;
        }
    }
    const int count = SDL_GetNumDisplayModes(static_cast<int>(adapter));
    if (count < 0) {
        os::system::SetLastErrorFromSdl("SDL_GetNumDisplayModes");
    }
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode sdlMode;
        if (SDL_GetDisplayMode(static_cast<int>(adapter), i, &sdlMode) != 0) {
            os::system::SetLastErrorFromSdl("SDL_GetDisplayMode");
            continue;
        }
        if (!FormatMatchesBits(format, static_cast<int>(SDL_BITSPERPIXEL(sdlMode.format)))) {
            continue;
        }
        DisplayMode mode;
        mode.Width = static_cast<std::uint32_t>(sdlMode.w);
        mode.Height = static_cast<std::uint32_t>(sdlMode.h);
        mode.RefreshRate = sdlMode.refresh_rate > 0 ? static_cast<std::uint32_t>(sdlMode.refresh_rate) : 0;
        mode.Format = format;
        if (mode.Width > 0 && mode.Height > 0) {
            modes.push_back(mode);
        }
    }
    // Some video drivers (the offscreen one) list no real modes: the desktop mode stands for them.
    SDL_DisplayMode desktop{};
    if (modes.empty() && SDL_GetDesktopDisplayMode(static_cast<int>(adapter), &desktop) != 0) {
        os::system::SetLastErrorFromSdl("SDL_GetDesktopDisplayMode");
    } else if (modes.empty() && desktop.w > 0 && desktop.h > 0 &&
               FormatMatchesBits(format, static_cast<int>(SDL_BITSPERPIXEL(desktop.format)))) {
        modes.push_back(DisplayMode{static_cast<std::uint32_t>(desktop.w), static_cast<std::uint32_t>(desktop.h),
                                    desktop.refresh_rate > 0 ? static_cast<std::uint32_t>(desktop.refresh_rate) : 0,
                                    format});
    }
    auto key = [](const DisplayMode& m) { return std::make_tuple(m.Width, m.Height, m.RefreshRate); };
    std::sort(modes.begin(), modes.end(), [&](const DisplayMode& a, const DisplayMode& b) { return key(a) < key(b); });
    modes.erase(std::unique(modes.begin(), modes.end(),
                            [&](const DisplayMode& a, const DisplayMode& b) { return key(a) == key(b); }),
                modes.end());
    return modes;
}

} // namespace

Direct3D::~Direct3D()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::uint32_t Direct3D::GetAdapterCount() const
{
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        if (!Hooks().adapterNames.empty()) {
            return static_cast<std::uint32_t>(Hooks().adapterNames.size());
        }
    }
    const int count = SDL_GetNumVideoDisplays();
    if (count < 0) {
        os::system::SetLastErrorFromSdl("SDL_GetNumVideoDisplays");
    }
    return count > 0 ? static_cast<std::uint32_t>(count) : 0;
}

Result Direct3D::GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t, AdapterIdentifier* identifier) const
{
    if (identifier == nullptr || adapter >= GetAdapterCount()) {
        return kErrInvalidCall;
    }
    *identifier = AdapterIdentifier();
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        if (!Hooks().adapterNames.empty()) {
            std::snprintf(identifier->Description, sizeof(identifier->Description), "%s",
                          Hooks().adapterNames[adapter].c_str());
            std::snprintf(identifier->DeviceName, sizeof(identifier->DeviceName), "DISPLAY%u", adapter + 1);
            return kOk;
        }
    }
    const char* name = SDL_GetDisplayName(static_cast<int>(adapter));
    std::snprintf(identifier->Description, sizeof(identifier->Description), "%s", name != nullptr ? name : "");
    std::snprintf(identifier->DeviceName, sizeof(identifier->DeviceName), "DISPLAY%u", adapter + 1);
    return kOk;
}

std::uint32_t Direct3D::GetAdapterModeCount(std::uint32_t adapter, Format format) const
{
    if (adapter >= GetAdapterCount()) {
        return 0;
    }
    return static_cast<std::uint32_t>(ListModes(adapter, format).size());
}

Result Direct3D::EnumAdapterModes(std::uint32_t adapter, Format format, std::uint32_t index, DisplayMode* mode) const
{
    if (mode == nullptr || adapter >= GetAdapterCount()) {
        return kErrInvalidCall;
    }
    const std::vector<DisplayMode> modes = ListModes(adapter, format);
    if (index >= modes.size()) {
        return kErrInvalidCall;
    }
    *mode = modes[index];
    return kOk;
}

Result Direct3D::GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode* mode) const
{
    if (mode == nullptr || adapter >= GetAdapterCount()) {
        return kErrInvalidCall;
    }
    SDL_DisplayMode current;
    if (SDL_GetCurrentDisplayMode(static_cast<int>(adapter), &current) != 0) {
        os::system::SetLastErrorFromSdl("SDL_GetCurrentDisplayMode");
        return kErrNotAvailable;
    }
    mode->Width = static_cast<std::uint32_t>(current.w);
    mode->Height = static_cast<std::uint32_t>(current.h);
    mode->RefreshRate = current.refresh_rate > 0 ? static_cast<std::uint32_t>(current.refresh_rate) : 0;
    mode->Format = Format::X8R8G8B8;
    return kOk;
}

Result Direct3D::GetDeviceCaps(std::uint32_t adapter, DeviceType type, Caps* caps) const
{
    if (caps == nullptr || adapter >= GetAdapterCount()) {
        return kErrInvalidCall;
    }
    if (type != DeviceType::Hal) {
        return kErrNotAvailable;
    }
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        if (Hooks().failCapsAdapters.count(adapter) != 0) {
            return kErrNotAvailable;
        }
    }
    // Without a context the figures are what every GL 4.1 driver offers.
    *caps = detail::MakeBaseCaps(adapter);
    return kOk;
}

Result Direct3D::CheckDeviceMultiSampleType(std::uint32_t adapter, DeviceType type, Format, bool,
                                            MultiSampleType samples, std::uint32_t* qualityLevels) const
{
    if (adapter >= GetAdapterCount()) {
        return kErrInvalidCall;
    }
    if (type != DeviceType::Hal) {
        return kErrNotAvailable;
    }
    const auto count = static_cast<int>(samples);
    int maxSamples = kAssumedMaxSamples;
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        if (Hooks().knownMaxSamples > 0) {
            maxSamples = Hooks().knownMaxSamples;
        }
    }
    const bool supported =
        count == 0 || count == 1 || ((count == 2 || count == 4 || count == 8 || count == 16) && count <= maxSamples);
    if (!supported) {
        if (qualityLevels != nullptr) {
            *qualityLevels = 0;
        }
        return kErrNotAvailable;
    }
    if (qualityLevels != nullptr) {
        *qualityLevels = 1;
    }
    return kOk;
}

Result Direct3D::CreateDevice(std::uint32_t adapter, DeviceType type, WindowHandle focusWindow,
                              std::uint32_t behaviorFlags, PresentParameters* parameters,
                              std::shared_ptr<Device>* device)
{
    return CreateDeviceCommon(adapter, type, focusWindow, behaviorFlags, parameters, nullptr, false, device);
}

Result Direct3D::CreateDeviceEx(std::uint32_t adapter, DeviceType type, WindowHandle focusWindow,
                                std::uint32_t behaviorFlags, PresentParameters* parameters,
                                DisplayModeEx* fullscreenMode, std::shared_ptr<Device>* device)
{
    if (!extended_) {
        return kErrInvalidCall;
    }
    return CreateDeviceCommon(adapter, type, focusWindow, behaviorFlags, parameters, fullscreenMode, true, device);
}

Result Direct3D::CreateDeviceCommon(std::uint32_t adapter, DeviceType type, WindowHandle focusWindow,
                                    std::uint32_t behaviorFlags, PresentParameters* parameters,
                                    const DisplayModeEx* fullscreenMode, bool extended, std::shared_ptr<Device>* device)
{
    if (device == nullptr) {
        return kErrInvalidCall;
    }
    device->reset();
    bool failHardware = false;
    bool failSoftware = false;
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        auto& record = Hooks().lastCreate;
        record = os::testing::CreateDeviceRecord();
        record.extended = extended;
        record.adapter = adapter;
        record.type = type;
        record.behaviorFlags = behaviorFlags;
        record.hadDisplayMode = fullscreenMode != nullptr;
        if (fullscreenMode != nullptr) {
            record.displayMode = *fullscreenMode;
        }
        if (parameters != nullptr) {
            record.parameters = *parameters;
        }
        ++Hooks().createCalls;
        failHardware = Hooks().failHardwareCreation;
        failSoftware = Hooks().failSoftwareCreation;
    }
    if (parameters == nullptr || adapter >= GetAdapterCount()) {
        return kErrInvalidCall;
    }
    if (type != DeviceType::Hal) {
        return kErrNotAvailable;
    }
    const std::uint32_t processing = behaviorFlags & (create::HardwareVertexProcessing |
                                                      create::SoftwareVertexProcessing | create::MixedVertexProcessing);
    if (processing != create::HardwareVertexProcessing && processing != create::SoftwareVertexProcessing &&
        processing != create::MixedVertexProcessing) {
        return kErrInvalidCall;
    }
    if ((processing == create::HardwareVertexProcessing && failHardware) ||
        (processing == create::SoftwareVertexProcessing && failSoftware)) {
        return kErrNotAvailable;
    }
    // The extended object wants the mode record exactly when it goes full screen.
    if (extended && !parameters->Windowed &&
        (fullscreenMode == nullptr || fullscreenMode->Width != parameters->BackBufferWidth ||
         fullscreenMode->Height != parameters->BackBufferHeight)) {
        return kErrInvalidCall;
    }
    WindowHandle windowHandle = parameters->DeviceWindow != nullptr ? parameters->DeviceWindow : focusWindow;
    SDL_Window* window = ResolveWindow(windowHandle);
    if (window == nullptr || (SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL) == 0) {
        return kErrInvalidCall;
    }
    std::shared_ptr<Device> made(new Device(window, adapter, extended));
    const Result result = made->Initialize(parameters);
    if (Failed(result)) {
        return result;
    }
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        Hooks().knownMaxSamples = made->maxSamples_;
    }
    *device = std::move(made);
    return kOk;
}

bool IsDirect3DModuleAvailable()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    return Hooks().moduleAvailable;
}

bool HasDirect3DCreate9Ex()
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    return Hooks().moduleAvailable && Hooks().extendedAvailable;
}

std::shared_ptr<Direct3D> Direct3DCreate9(std::uint32_t sdkVersion)
{
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        if (!Hooks().moduleAvailable || Hooks().failDirect3DCreation) {
            return nullptr;
        }
    }
    if (sdkVersion != kSdkVersion) {
        return nullptr;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        os::system::SetLastErrorFromSdl("SDL_InitSubSystem(SDL_INIT_VIDEO)");
        return nullptr;
    }
    return std::shared_ptr<Direct3D>(new Direct3D(false));
}

Result Direct3DCreate9Ex(std::uint32_t sdkVersion, std::shared_ptr<Direct3D>* direct3D)
{
    if (direct3D == nullptr) {
        return kErrInvalidCall;
    }
    direct3D->reset();
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        if (!Hooks().moduleAvailable || !Hooks().extendedAvailable) {
            return kNotImplemented;
        }
        if (Hooks().failDirect3DCreation) {
            return kErrNotAvailable;
        }
    }
    if (sdkVersion != kSdkVersion) {
        return kErrInvalidCall;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        os::system::SetLastErrorFromSdl("SDL_InitSubSystem(SDL_INIT_VIDEO)");
        return kErrNotAvailable;
    }
    *direct3D = std::shared_ptr<Direct3D>(new Direct3D(true));
    return kOk;
}

} // namespace os::gfx
