/** @file MappedMouseController.cpp Mouse set-up, polling, exclusive and active switching, capture and names.
 */
#include "KorvaneXDK/platform/input/MappedMouseController.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/input/Reacquire.h"

namespace korvane
{

namespace
{

constexpr const char* kSourceFile = "MappedMouseController";
constexpr std::int32_t kMotionThreshold = 8;
constexpr const char* kMotionNames[6] = {"X AXIS -", "X AXIS +", "Y AXIS -", "Y AXIS +", "WHEEL -", "WHEEL +"};

} // namespace

CMappedMouseController::CMappedMouseController(os::input::DirectInput& directInput, const os::input::Guid& guid,
                                               os::window::WindowHandle window)
    : window_(window)
{
    using namespace os::input;
    ThrowOnDirectXFailure<EIOError>(directInput.CreateDevice(guid, device_), this,
                                    "DirectInputデバイスの作成に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetCooperativeLevel(window_, kCoopNonExclusive | kCoopForeground), this,
                                    "DirectInputデバイスの協調レベルの設定に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetDataFormat(DataFormat::Mouse2), this,
                                    "DirectInputデバイスのデータフォーマットの設定に失敗しました.", kSourceFile,
                                    __LINE__);
}

CMappedMouseController::~CMappedMouseController() = default;

int CMappedMouseController::GetDeviceType()
{
    return kControllerMouse;
}

void CMappedMouseController::Update()
{
    using namespace os::input;
    CScopedLock lock(GetLock());
    if (!IsActive())
        return;
    if (!RunWithReacquire(
            *device_, [this] { return device_->Poll(); }, kSourceFile, __LINE__))
        return;
    device_->GetDeviceState(sizeof(state_), &state_);
    RefreshButtons();
}

void CMappedMouseController::SetExclusive(bool exclusive)
{
    using namespace os::input;
    CScopedLock lock(GetLock());
    if (exclusive == IsExclusive())
        return;
    CStandardController::SetExclusive(exclusive);
    ThrowOnDirectXFailure<EIOError>(device_->Unacquire(), this, "DirectInputデバイスアクセス権の開放に失敗しました.",
                                    kSourceFile, __LINE__);
    const std::uint32_t level = exclusive ? (kCoopExclusive | kCoopForeground) : (kCoopNonExclusive | kCoopForeground);
    ThrowOnDirectXFailure<EIOError>(device_->SetCooperativeLevel(window_, level), this,
                                    "DirectInputデバイスの協調レベルの設定に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->Acquire(), this, "DirectInputデバイスアクセス権の取得に失敗しました.",
                                    kSourceFile, __LINE__);
}

void CMappedMouseController::SetActive(bool active)
{
    using namespace os::input;
    CScopedLock lock(GetLock());
    if (active == IsActive())
        return;
    CStandardController::SetActive(active);
    ResetAll();
    const Result result = active ? device_->Acquire() : device_->Unacquire();
    ReportOnDirectXFailure(result, kSourceFile, __LINE__);
}

void CMappedMouseController::EvaluateInput(std::uint32_t code, bool& down, float& value)
{
    if (code < kButtonCount) {
        if ((state_.buttons[code] & 0x80) != 0) {
            down = true;
            value = 1.0f;
        }
        return;
    }
    if (code < kFirstMotionCode || code > kLastMotionCode)
        return;
    const std::int32_t motions[3] = {state_.x, state_.y, state_.z};
    const std::int32_t motion = motions[(code - kFirstMotionCode) / 2];
    const bool minusSide = ((code - kFirstMotionCode) % 2) == 0;
    if (minusSide && motion < 0) {
        value = -static_cast<float>(motion);
        if (motion < -kMotionThreshold)
            down = true;
    } else if (!minusSide && motion > 0) {
        value = static_cast<float>(motion);
        if (motion > kMotionThreshold)
            down = true;
    }
}

bool CMappedMouseController::GetActiveInput(const std::string& name, int slot)
{
    // Buttons first, then the motions.
    return CaptureInput(name, slot, {{0, kButtonCount - 1}, {kFirstMotionCode, kLastMotionCode}});
}

std::string CMappedMouseController::GetInputName(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    const std::uint32_t code = GetMapping(name, slot);
    if (code < kButtonCount)
        return FormatString("BUTTON:%d", static_cast<int>(code) + 1);
    if (code >= kFirstMotionCode && code <= kLastMotionCode)
        return kMotionNames[code - kFirstMotionCode];
    if (code == kNoInput)
        return "NONE";
    return "UNKNOWN";
}

} // namespace korvane
