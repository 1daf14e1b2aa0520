/** @file GraphicsModePreference.cpp The offered display modes, the chosen one and "display_setting.ini". */
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/ResultCodes.h"

namespace korvane
{

namespace
{

/// Of a saved mode whose exact refresh rate is gone, the same size at this rate or more will do.
constexpr std::uint32_t kFallbackRefreshRate = 58;

/// The largest settings file read: one written here holds a handful of short lines (about 110
/// bytes); the rest leaves room for keys of other parts. A larger one is damaged, and reading it
/// whole would cost its size in memory at every start and again in the file written at exit.
constexpr std::int32_t kMaximumFileSize = 16 * 1024;

} // namespace

CGraphicsModePreference::CGraphicsModePreference() = default;
CGraphicsModePreference::~CGraphicsModePreference() = default;

std::string CGraphicsModePreference::GetProperty(const std::string& key, const std::string& defaultValue)
{
    return properties.Get(key, defaultValue);
}

void CGraphicsModePreference::SetProperty(const std::string& key, const std::string& value)
{
    properties.Set(key, value);
}

void CGraphicsModePreference::EnumerateModes()
{
    modes.clear();
    if (direct3D != nullptr) {
        const std::uint32_t count = direct3D->GetAdapterModeCount(adapter, os::gfx::Format::X8R8G8B8);
        for (std::uint32_t i = 0; i < count; ++i) {
            DisplayMode mode;
            if (os::gfx::Failed(direct3D->EnumAdapterModes(adapter, os::gfx::Format::X8R8G8B8, i, &mode))) {
                continue;
            }
            const auto width = static_cast<std::int64_t>(mode.Width);
            const auto height = static_cast<std::int64_t>(mode.Height);
            if (width < minimumWidth || width > maximumWidth || height < minimumHeight || height > maximumHeight) {
                continue;
            }
            if (mode.RefreshRate != 0 && static_cast<std::int64_t>(mode.RefreshRate) < minimumRefreshRate) {
                continue;
            }
            modes.push_back(mode);
        }
    }
    if (modes.empty()) {
        throw EIOError(this, "Display device initialization failed.");
    }
    std::stable_sort(modes.begin(), modes.end(), [](const DisplayMode& a, const DisplayMode& b) {
        return std::tie(a.Width, a.Height, a.RefreshRate) < std::tie(b.Width, b.Height, b.RefreshRate);
    });

    auto find = [this](auto matches) {
        for (std::size_t i = 0; i < modes.size(); ++i) {
            if (matches(modes[i])) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    int chosen = find([](const DisplayMode& m) {
        const bool size = (m.Width == 1280 && m.Height == 720) || (m.Width == 1920 && m.Height == 1080);
        return size && (m.RefreshRate == 60 || m.RefreshRate == 59);
    });
    if (chosen < 0) {
        chosen = find([](const DisplayMode& m) {
            const bool size = (m.Width == 800 && m.Height == 600) || (m.Width == 640 && m.Height == 480);
            return size && m.RefreshRate >= kFallbackRefreshRate;
        });
    }
    if (chosen < 0) {
        chosen = 0;
    }
    SelectMode(chosen);
}

void CGraphicsModePreference::SelectMode(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= modes.size()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    selectedIndex = index;
    const DisplayMode& mode = modes[static_cast<std::size_t>(index)];
    os::gfx::PresentParameters p;
    p.BackBufferWidth = mode.Width;
    p.BackBufferHeight = mode.Height;
    p.BackBufferFormat = os::gfx::Format::X8R8G8B8;
    p.BackBufferCount = 1;
    p.MultiSampleType = os::gfx::MultiSampleType::None;
    p.MultiSampleQuality = 0;
    p.SwapEffect = os::gfx::SwapEffect::Discard;
    p.DeviceWindow = nullptr;
    p.Windowed = false;
    p.EnableAutoDepthStencil = true;
    p.AutoDepthStencilFormat = os::gfx::Format::D24X8;
    p.Flags = os::gfx::present::FlagLockableBackBuffer;
    p.FullScreenRefreshRateInHz = mode.RefreshRate;
    p.PresentationInterval = os::gfx::present::IntervalOne;
    fullscreenParameters = p;
    p.Windowed = true;
    p.BackBufferFormat = os::gfx::Format::Unknown;
    p.FullScreenRefreshRateInHz = 0;
    windowedParameters = p;
    LogInfoF("Selected display mode description: %d x %d, %d Hz", static_cast<int>(mode.Width),
             static_cast<int>(mode.Height), static_cast<int>(mode.RefreshRate));
}

void CGraphicsModePreference::Load(const std::string& path)
{
    CFileStream file(path, 1, 1);
    // At most one byte past the bound is read: that byte alone tells a damaged file.
    CMemoryStream text;
    text.SetSize(kMaximumFileSize + 1);
    if (text.GetSize() != kMaximumFileSize + 1)
        throw EReadError(this, "Load: out of memory");
    const std::int32_t size = file.Read(text.GetBuffer(), kMaximumFileSize + 1);
    if (size > kMaximumFileSize) {
        LogErrorAt("Display configuration file is corrupt (larger than " + IntToString(kMaximumFileSize) +
                       " bytes). Default settings used.",
                   "GraphicsModePreference", __LINE__);
        return;
    }
    text.SetSize(size);
    properties.LoadFromStream(text);
    const int width = StringToInt(GetProperty("ScreenWidth", "0"));
    const int height = StringToInt(GetProperty("ScreenHeight", "0"));
    const int refresh = StringToInt(GetProperty("ScreenRefreshRatio", "0"));
    const bool windowed = ToLowerString(GetProperty("Windowed", "true")) == "true";
    if (width == 0 || height == 0) {
        return;
    }
    // Compared as the unsigned values the modes hold, so a negative text never matches.
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const auto r = static_cast<std::uint32_t>(refresh);
    int found = -1;
    for (std::size_t i = 0; i < modes.size() && found < 0; ++i) {
        if (modes[i].Width == w && modes[i].Height == h && modes[i].RefreshRate == r) {
            found = static_cast<int>(i);
        }
    }
    for (std::size_t i = 0; i < modes.size() && found < 0; ++i) {
        if (modes[i].Width == w && modes[i].Height == h && modes[i].RefreshRate >= kFallbackRefreshRate) {
            found = static_cast<int>(i);
        }
    }
    if (found < 0) {
        return;
    }
    SelectMode(found);
    fullscreen = !windowed;
    file.Close();
}

void CGraphicsModePreference::Save(const std::string& path)
{
    CFileStream file(path, 0, 1);
    std::uint32_t width = fullscreenParameters.BackBufferWidth;
    std::uint32_t height = fullscreenParameters.BackBufferHeight;
    std::uint32_t refresh = fullscreenParameters.FullScreenRefreshRateInHz;
    bool savedFullscreen = fullscreen;
    if (confirmationPending_ && previousIndex_ >= 0 && static_cast<std::size_t>(previousIndex_) < modes.size()) {
        const DisplayMode& previous = modes[static_cast<std::size_t>(previousIndex_)];
        width = previous.Width;
        height = previous.Height;
        refresh = previous.RefreshRate;
        savedFullscreen = previousFullscreen_;
    }
    SetProperty("ScreenWidth", IntToString(static_cast<int>(width)));
    SetProperty("ScreenHeight", IntToString(static_cast<int>(height)));
    SetProperty("ScreenRefreshRatio", IntToString(static_cast<int>(refresh)));
    SetProperty("Windowed", savedFullscreen ? "false" : "true");
    properties.SaveToStream(file);
    file.Close();
}

void CGraphicsModePreference::BeginConfirmation(int previousIndex, bool previousFullscreen)
{
    confirmationPending_ = true;
    previousIndex_ = previousIndex;
    previousFullscreen_ = previousFullscreen;
}

void CGraphicsModePreference::EndConfirmation()
{
    confirmationPending_ = false;
}

} // namespace korvane
