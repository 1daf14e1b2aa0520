/** @file ConfigDialogDX9.cpp Adapter listing, the dialog library's exchange and the chosen mode. */
#include "KorvaneXDK/platform/ConfigDialogDX9.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/ResultCodes.h"
#include "os/system/System.h"

namespace korvane
{

namespace
{

const char* const kSourceName = "ConfigDialogDX9";
constexpr std::int32_t kMaxAdapters = 8;
constexpr std::int32_t kMaxModes = 1024;

struct FormatGroupKind
{
    os::gfx::Format format;
    std::int32_t bits;
};
constexpr FormatGroupKind kFormatGroups[3] = {
    {os::gfx::Format::X8R8G8B8, 32}, {os::gfx::Format::R5G6B5, 16}, {os::gfx::Format::X1R5G5B5, 15}};

/// Copies text into a fixed field of `size` bytes, NUL-terminated, cut before a partial
/// multi-byte character.
void CopyCut(char* field, std::size_t size, const std::string& text)
{
    std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0u) == 0x80u) {
            --length;
        }
    }
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), length);
}

bool SupportsSamples(os::gfx::Direct3D& direct3D, std::uint32_t adapter, os::gfx::Format format, int samples)
{
    const auto type = static_cast<os::gfx::MultiSampleType>(samples);
    for (os::gfx::Format checked : {format, os::gfx::Format::D16}) {
        for (bool windowed : {false, true}) {
            if (os::gfx::Failed(direct3D.CheckDeviceMultiSampleType(adapter, os::gfx::DeviceType::Hal, checked,
                                                                    windowed, type, nullptr))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

CConfigDialogDX9::CConfigDialogDX9() = default;

CConfigDialogDX9::~CConfigDialogDX9()
{
    FreeLibrary();
}

std::uint32_t CConfigDialogDX9::GetHandleId(const void* object)
{
    if (object == nullptr) {
        return 0;
    }
    static std::mutex mutex;
    static std::map<const void*, std::uint32_t> ids;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = ids.find(object);
    if (found != ids.end()) {
        return found->second;
    }
    const auto id = static_cast<std::uint32_t>(ids.size() + 1);
    ids[object] = id;
    return id;
}

void CConfigDialogDX9::SetMinimumScreenSize(std::int32_t width, std::int32_t height)
{
    minimumWidth_ = width;
    minimumHeight_ = height;
}

void CConfigDialogDX9::SetMaximumScreenSize(std::int32_t width, std::int32_t height)
{
    maximumWidth_ = width;
    maximumHeight_ = height;
}

void CConfigDialogDX9::FreeLibrary()
{
    if (module_ != nullptr) {
        os::system::FreeLibrary(module_);
        module_ = nullptr;
    }
    getVersion_ = nullptr;
    showConfigDialog_ = nullptr;
    getPreviousConfig_ = nullptr;
}

bool CConfigDialogDX9::Run(bool usePreviousConfig)
{
    auto block = std::make_unique<ConfigDialogBlock>();
    std::memset(block.get(), 0, sizeof(ConfigDialogBlock));
    if (!EnumerateAdapters(direct3D_, block.get())) {
        return false;
    }
    LoadLibrary();
    CopyCut(block->title, sizeof block->title, title_);
    block->icon = GetHandleId(icon_);
    block->banner = GetHandleId(banner_);

    ConfigDialogResult result{};
    if (usePreviousConfig) {
        getPreviousConfig_(block.get(), &result);
    } else if (showConfigDialog_(block.get(), &result) == 0) {
        LogInfoF("コンフィグダイアログをキャンセルしました.");
        FreeLibrary();
        return false;
    }
    const bool taken = TakeResult(*block, result);
    FreeLibrary();
    return taken;
}

bool CConfigDialogDX9::TakeResult(const ConfigDialogBlock& block, const ConfigDialogResult& result)
{
    // The library's indices are outside data: a bad one must not reach past the records.
    if (result.adapter < 0 || result.adapter >= block.adapterCount || result.adapter >= kMaxAdapters) {
        char line[128];
        std::snprintf(line, sizeof line, "Invalid adapter index from the config dialog: %d", result.adapter);
        LogErrorAt(line, kSourceName, __LINE__);
        return false;
    }
    const ConfigDialogAdapter& record = block.adapters[result.adapter];
    if (result.mode < 0 || result.mode >= record.modeCount || result.mode >= kMaxModes) {
        char line[128];
        std::snprintf(line, sizeof line, "Invalid display mode index from the config dialog: %d", result.mode);
        LogErrorAt(line, kSourceName, __LINE__);
        return false;
    }
    const ConfigDialogMode& mode = record.modes[result.mode];
    adapter_ = static_cast<std::int32_t>(record.ordinal);

    os::gfx::PresentParameters full;
    full.BackBufferWidth = mode.width;
    full.BackBufferHeight = mode.height;
    full.BackBufferFormat = mode.bitsPerPixel == 15   ? os::gfx::Format::X1R5G5B5
                            : mode.bitsPerPixel == 16 ? os::gfx::Format::R5G6B5
                                                      : os::gfx::Format::X8R8G8B8;
    full.BackBufferCount = 1;
    full.MultiSampleType = static_cast<os::gfx::MultiSampleType>(result.multiSample);
    full.MultiSampleQuality = 0;
    full.SwapEffect = os::gfx::SwapEffect::Discard;
    full.DeviceWindow = nullptr;
    full.Windowed = false;
    full.EnableAutoDepthStencil = true;
    full.AutoDepthStencilFormat = result.depthBits == 24   ? os::gfx::Format::D24X8
                                  : result.depthBits == 32 ? os::gfx::Format::D32
                                                           : os::gfx::Format::D16;
    full.Flags = result.multiSample == 0 ? os::gfx::present::FlagLockableBackBuffer : 0u;
    full.FullScreenRefreshRateInHz = mode.refreshRate;
    full.PresentationInterval = result.vsync > 0 ? os::gfx::present::IntervalOne : os::gfx::present::IntervalImmediate;
    fullscreenParameters_ = full;
    os::gfx::PresentParameters windowed = full;
    windowed.BackBufferFormat = os::gfx::Format::Unknown;
    windowed.FullScreenRefreshRateInHz = 0;
    windowed.Windowed = true;
    windowedParameters_ = windowed;
    anisotropy_ = static_cast<std::uint32_t>(result.anisotropy);
    fullscreen_ = result.windowed == 0;

    if (enablePerfHUD_) {
        LogInfoF("Enabling NVIDIA PerfHUD...");
        const std::string name(record.name, strnlen(record.name, sizeof record.name));
        if (name.find("PerfHUD") != std::string::npos) {
            deviceType_ = os::gfx::DeviceType::Ref;
            LogInfoF("NVIDIA PerfHUD detected.");
        } else {
            LogInfo("No NVIDIA PerfHUD: '" + name + "'");
        }
    }
    LogInfoF("Selected display mode: Adapter = #%d, Mode = %d, MultiSample = %d, Anisotropy = %d, Windowed = %d, "
             "DepthBufferBits = %d, VSync = %d",
             adapter_, result.mode, result.multiSample, result.anisotropy, result.windowed, result.depthBits,
             result.vsync);
    LogInfoF("Selected display mode description: %u x %u, %u bpp, %u Hz", mode.width, mode.height, mode.bitsPerPixel,
             mode.refreshRate);
    return true;
}

bool CConfigDialogDX9::LoadLibrary()
{
    const std::string name = kConfDlgLibraryName;
    module_ = os::system::LoadLibrary(name);
    if (module_ == nullptr) {
        throw EIOError(this, "DLLをロードできません : '" + name + "'");
    }
    getVersion_ = reinterpret_cast<ConfDlgGetVersionFunction>(ImportFunction(module_, "ConfDlgGetVersion"));
    if (getVersion_() != kConfDlgVersion) {
        throw EIOError(this, "Unsupported DLL version : '" + name + "'");
    }
    showConfigDialog_ = reinterpret_cast<ShowConfigDialogFunction>(ImportFunction(module_, "ShowConfigDialog"));
    getPreviousConfig_ = reinterpret_cast<GetPreviousConfigFunction>(ImportFunction(module_, "GetPreviousConfig"));
    LogInfoF("Config dialog DLL load successful.");
    return true;
}

void* CConfigDialogDX9::ImportFunction(os::system::LibraryHandle module, const std::string& name)
{
    void* address = os::system::GetProcAddress(module, name);
    if (address == nullptr) {
        char message[512];
        std::snprintf(message, sizeof message, "Function import failure : '%s' - '%s()'", kConfDlgLibraryName,
                      name.c_str());
        throw EIOError(this, message);
    }
    return address;
}

bool CConfigDialogDX9::EnumerateAdapters(os::gfx::Direct3D* direct3D, ConfigDialogBlock* block)
{
    std::int32_t listed = 0;
    const std::uint32_t count = direct3D != nullptr ? direct3D->GetAdapterCount() : 0;
    for (std::uint32_t ordinal = 0; ordinal < count; ++ordinal) {
        if (listed == kMaxAdapters) {
            LogErrorAt("ディスプレイアダプタは最大 8 個までの対応です. 9 個め以降のアダプタはリストアップされません.",
                       kSourceName, __LINE__);
            break;
        }
        ConfigDialogAdapter& record = block->adapters[listed];
        std::memset(&record, 0, sizeof record);
        os::gfx::AdapterIdentifier identifier;
        direct3D->GetAdapterIdentifier(ordinal, 0, &identifier);
        record.ordinal = ordinal;
        char name[600];
        std::snprintf(name, sizeof name, "%s (モニタ%u)", identifier.Description, ordinal + 1);
        CopyCut(record.name, sizeof record.name, name);

        os::gfx::Caps caps;
        const os::gfx::Result capsResult = direct3D->GetDeviceCaps(ordinal, os::gfx::DeviceType::Hal, &caps);
        if (os::gfx::Failed(capsResult)) {
            ReportDirectXError(capsResult, kSourceName, __LINE__);
            LogErrorAt("HAL デバイスの能力を取得できません. このディスプレイアダプタをスキップします.", kSourceName,
                       __LINE__);
            continue;
        }
        record.maxAnisotropy = caps.MaxAnisotropy;
        record.modeCount = 0;
        record.formatGroupCount = 3;
        bool full = false;
        for (int g = 0; g < 3; ++g) {
            ConfigDialogFormatGroup& group = record.formatGroups[g];
            group.bitsPerPixel = kFormatGroups[g].bits;
            for (int samples = 2; samples <= 16; ++samples) {
                const bool supported = SupportsSamples(*direct3D, ordinal, kFormatGroups[g].format, samples);
                // The group holds flags for 0 to 15 samples only; the answer for 16 has no place.
                if (samples < 16) {
                    group.multiSample[samples] = supported ? 1 : 0;
                }
            }
            if (full) {
                continue;
            }
            const std::uint32_t modeCount = direct3D->GetAdapterModeCount(ordinal, kFormatGroups[g].format);
            for (std::uint32_t m = 0; m < modeCount; ++m) {
                os::gfx::DisplayMode mode;
                if (os::gfx::Failed(direct3D->EnumAdapterModes(ordinal, kFormatGroups[g].format, m, &mode))) {
                    continue;
                }
                const auto width = static_cast<std::int64_t>(mode.Width);
                const auto height = static_cast<std::int64_t>(mode.Height);
                if (width < minimumWidth_ || width > maximumWidth_ || height < minimumHeight_ ||
                    height > maximumHeight_) {
                    continue;
                }
                record.modes[record.modeCount] = ConfigDialogMode{
                    mode.Width, mode.Height, static_cast<std::uint32_t>(kFormatGroups[g].bits), mode.RefreshRate};
                ++record.modeCount;
                if (record.modeCount == kMaxModes) {
                    LogErrorAt("ディスプレイモード数が制限値を超えました. "
                               "このアダプタの一部のディスプレイモードは使用できません.",
                               kSourceName, __LINE__);
                    full = true;
                    break;
                }
            }
        }
        LogInfoF("Display adapter #%u: %s (%d modes)", ordinal, record.name, record.modeCount);
        ++listed;
    }
    block->adapterCount = listed;
    if (listed == 0) {
        const std::string line = "Direct3D 対応ディスプレイデバイスが見つかりませんでした.\nグラフィックカードが "
                                 "DirectX 9 に対応しているか確認してください.";
        LogErrorAt(line, kSourceName, __LINE__);
        os::system::ShowErrorMessageBox(title_, line + "\n\nプログラムの実行を中止します.", nullptr);
        return false;
    }
    return true;
}

} // namespace korvane
