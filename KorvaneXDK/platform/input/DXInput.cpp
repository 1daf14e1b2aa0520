/** @file DXInput.cpp Loading the input object, creating the controllers in their fixed order, telling pads
 * apart. */
#include "KorvaneXDK/platform/input/DXInput.h"

#include <cstdio>
#include <cwchar>
#include <stdexcept>

#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/input/MappedJoystickController.h"
#include "KorvaneXDK/platform/input/MappedKeyboardController.h"
#include "KorvaneXDK/platform/input/MappedMouseController.h"
#include "KorvaneXDK/platform/input/MappedXInputController.h"
#include "os/input/PnpDevices.h"

namespace korvane
{

namespace
{

constexpr const char* kSourceFile = "DXInput";

/// The number after `tag` at its first occurrence, read as up to four hexadecimal digits; 0 when none.
std::uint32_t ReadHexAfter(const std::wstring& id, const wchar_t* format, const wchar_t* tag)
{
    const wchar_t* start = std::wcsstr(id.c_str(), tag);
    unsigned int value = 0;
    if (start == nullptr || std::swscanf(start, format, &value) != 1)
        return 0;
    return value;
}

} // namespace

bool IsXInputDevice(const os::input::Guid& productId)
{
    std::vector<std::wstring> ids;
    if (!os::input::EnumeratePnpDeviceIds(ids))
        return false;
    for (const std::wstring& id : ids) {
        if (std::wcsstr(id.c_str(), L"IG_") == nullptr)
            continue;
        const std::uint32_t vendor = ReadHexAfter(id, L"VID_%4X", L"VID_");
        const std::uint32_t product = ReadHexAfter(id, L"PID_%4X", L"PID_");
        if (((product << 16) | (vendor & 0xFFFF)) == productId.data1)
            return true;
    }
    return false;
}

CDXInput::CDXInput(os::window::InstanceHandle instance, os::window::WindowHandle window)
    : instance_(instance), window_(window)
{}

CDXInput::~CDXInput()
{
    try {
        // This class's own teardown: a derived part is already gone when this runs.
        CDXInput::Finalize();
    } catch (...) {
        LogErrorF("CDXInput: finalization failed.\n");
    }
}

bool CDXInput::LoadDirectInput()
{
    module_ = os::input::LoadInputModule("dinput8.dll");
    if (module_ == nullptr)
        return false;
    const os::input::DirectInputCreateFunction create = os::input::FindInputFunction(module_, "DirectInput8Create");
    if (create == nullptr) {
        os::input::FreeInputModule(module_);
        module_ = nullptr;
        return false;
    }
    const os::input::Result result = create(instance_, os::input::kDirectInputVersion, directInput_);
    if (ReportOnDirectXFailure(result, kSourceFile, __LINE__)) {
        return false;
    }
    return true;
}

bool CDXInput::Initialize(bool disableWindowsKey)
{
    if (!LoadDirectInput()) {
        Finalize();
        LogErrorF("CDXInput: DirectInput8Create() 失敗\n");
        return false;
    }
    controllers_.push_back(boost::shared_ptr<IController>(
        new CMappedKeyboardController(*directInput_, os::input::kGuidSysKeyboard, window_, disableWindowsKey)));
    controllers_.push_back(
        boost::shared_ptr<IController>(new CMappedMouseController(*directInput_, os::input::kGuidSysMouse, window_)));
    const os::input::Result result = directInput_->EnumDevices(
        os::input::kDeviceClassGameController,
        [this](const os::input::DeviceInstance& instance) { return EnumJoystickCallback(instance); },
        os::input::kEnumAttachedOnly);
    if (os::input::Failed(result)) {
        Finalize();
        ReportDirectXError(result, kSourceFile, __LINE__);
        LogErrorF("CDXInput: ゲームコントローラの列挙に失敗しました.\n");
        return false;
    }
    for (std::uint32_t userIndex = 0; userIndex < 4; ++userIndex)
        controllers_.push_back(boost::shared_ptr<IController>(new CMappedXInputController(userIndex)));
    LogInfoF("DirectInput ready.");
    return true;
}

bool CDXInput::EnumJoystickCallback(const os::input::DeviceInstance& instance)
{
    if (IsXInputDevice(instance.product)) {
        const os::input::Guid& id = instance.instance;
        LogInfo("Found XInput Device: " + instance.instanceName +
                FormatString(" {%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", id.data1, id.data2, id.data3,
                             id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5], id.data4[6],
                             id.data4[7]));
        return os::input::kEnumContinue;
    }
    LogInfo("Detected game controller #" + IntToString(GetControllerCount()) + ": " + instance.instanceName);
    controllers_.push_back(
        boost::shared_ptr<IController>(new CMappedJoystickController(*directInput_, instance.instance, window_)));
    return os::input::kEnumContinue;
}

void CDXInput::Finalize()
{
    controllers_.clear();
    directInput_.reset();
    if (module_ != nullptr) {
        os::input::FreeInputModule(module_);
        module_ = nullptr;
    }
    LogInfoF("DirectInput finalized.");
}

os::input::DirectInput* CDXInput::GetDirectInput()
{
    return directInput_.get();
}

int CDXInput::GetControllerCount()
{
    return static_cast<int>(controllers_.size());
}

boost::shared_ptr<IController> CDXInput::GetController(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= controllers_.size())
        throw std::out_of_range("invalid vector<T> subscript");
    return controllers_[static_cast<std::size_t>(index)];
}

} // namespace korvane
