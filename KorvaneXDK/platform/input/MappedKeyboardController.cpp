/** @file MappedKeyboardController.cpp Keyboard set-up, polling, key capture and key names. */
#include "KorvaneXDK/platform/input/MappedKeyboardController.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/input/Reacquire.h"

namespace korvane
{

namespace
{

constexpr const char* kSourceFile = "MappedKeyboardController";

struct KeyName
{
    std::uint32_t code;
    const char* name;
};

constexpr KeyName kKeyNames[] = {
    {0x01, "ESC"},
    {0x02, "1"},
    {0x03, "2"},
    {0x04, "3"},
    {0x05, "4"},
    {0x06, "5"},
    {0x07, "6"},
    {0x08, "7"},
    {0x09, "8"},
    {0x0A, "9"},
    {0x0B, "0"},
    {0x0C, "MINUS"},
    {0x0D, "EQUALS"},
    {0x0E, "BACKSPACE"},
    {0x0F, "TAB"},
    {0x10, "Q"},
    {0x11, "W"},
    {0x12, "E"},
    {0x13, "R"},
    {0x14, "T"},
    {0x15, "Y"},
    {0x16, "U"},
    {0x17, "I"},
    {0x18, "O"},
    {0x19, "P"},
    {0x1A, "L-BRACKET"},
    {0x1B, "R-BRACKET"},
    {0x1C, "ENTER"},
    {0x1D, "L-CONTROL"},
    {0x1E, "A"},
    {0x1F, "S"},
    {0x20, "D"},
    {0x21, "F"},
    {0x22, "G"},
    {0x23, "H"},
    {0x24, "J"},
    {0x25, "K"},
    {0x26, "L"},
    {0x27, "SEMICOLON"},
    {0x28, "APOSTROPHE"},
    {0x29, "GRAVE"},
    {0x2A, "L-SHIFT"},
    {0x2B, "BACKSLASH"},
    {0x2C, "Z"},
    {0x2D, "X"},
    {0x2E, "C"},
    {0x2F, "V"},
    {0x30, "B"},
    {0x31, "N"},
    {0x32, "M"},
    {0x33, "COMMA"},
    {0x34, "PERIOD"},
    {0x35, "SLASH"},
    {0x36, "R-SHIFT"},
    {0x37, "MULTIPLY"},
    {0x38, "L-ALT"},
    {0x39, "SPACE"},
    {0x3A, "CAPITAL"},
    {0x3B, "F1"},
    {0x3C, "F2"},
    {0x3D, "F3"},
    {0x3E, "F4"},
    {0x3F, "F5"},
    {0x40, "F6"},
    {0x41, "F7"},
    {0x42, "F8"},
    {0x43, "F9"},
    {0x44, "F10"},
    {0x45, "NUMLOCK"},
    {0x46, "SCROLL"},
    {0x47, "NUMPAD7"},
    {0x48, "NUMPAD8"},
    {0x49, "NUMPAD9"},
    {0x4A, "SUBTRACT"},
    {0x4B, "NUMPAD4"},
    {0x4C, "NUMPAD5"},
    {0x4D, "NUMPAD6"},
    {0x4E, "ADD"},
    {0x4F, "NUMPAD1"},
    {0x50, "NUMPAD2"},
    {0x51, "NUMPAD3"},
    {0x52, "NUMPAD0"},
    {0x53, "DECIMAL"},
    {0x56, "OEM_102"},
    {0x57, "F11"},
    {0x58, "F12"},
    {0x64, "F13"},
    {0x65, "F14"},
    {0x66, "F15"},
    {0x70, "KANA"},
    {0x73, "ABNT_C1"},
    {0x79, "CONVERT"},
    {0x7B, "NOCONVERT"},
    {0x7D, "YEN"},
    {0x7E, "ABNT_C2"},
    {0x8D, "NUMPADEQUALS"},
    {0x90, "PREVTRACK"},
    {0x91, "AT"},
    {0x92, "COLON"},
    {0x93, "UNDERLINE"},
    {0x94, "KANJI"},
    {0x95, "STOP"},
    {0x96, "AX"},
    {0x97, "UNLABELED"},
    {0x99, "NEXTTRACK"},
    {0x9C, "NUMPADENTER"},
    {0x9D, "R-CONTROL"},
    {0xA0, "MUTE"},
    {0xA1, "CALCULATOR"},
    {0xA2, "PLAYPAUSE"},
    {0xA4, "MEDIASTOP"},
    {0xAE, "VOLUMEDOWN"},
    {0xB0, "VOLUMEUP"},
    {0xB2, "WEBHOME"},
    {0xB3, "NUMPADCOMMA"},
    {0xB5, "DIVIDE"},
    {0xB7, "SYSRQ"},
    {0xB8, "R-ALT"},
    {0xC5, "PAUSE"},
    {0xC7, "HOME"},
    {0xC8, "UP"},
    {0xC9, "PAGE UP"},
    {0xCB, "LEFT"},
    {0xCD, "RIGHT"},
    {0xCF, "END"},
    {0xD0, "DOWN"},
    {0xD1, "PAGE DOWN"},
    {0xD2, "INSERT"},
    {0xD3, "DELETE"},
    {0xDB, "L-WIN"},
    {0xDC, "R-WIN"},
    {0xDD, "APPS"},
    {0xDE, "POWER"},
    {0xDF, "SLEEP"},
    {0xE3, "WAKE"},
    {0xE5, "WEBSEARCH"},
    {0xE6, "WEBFAVORITES"},
    {0xE7, "WEBREFRESH"},
    {0xE8, "WEBSTOP"},
    {0xE9, "WEBFORWARD"},
    {0xEA, "WEBBACK"},
    {0xEB, "MYCOMPUTER"},
    {0xEC, "MAIL"},
    {0xED, "MEDIASELECT"},
};
static_assert(sizeof(kKeyNames) / sizeof(kKeyNames[0]) == 144);

} // namespace

CMappedKeyboardController::CMappedKeyboardController(os::input::DirectInput& directInput, const os::input::Guid& guid,
                                                     os::window::WindowHandle window, bool disableWindowsKey)
{
    using namespace os::input;
    ThrowOnDirectXFailure<EIOError>(directInput.CreateDevice(guid, device_), this,
                                    "DirectInputデバイスの作成に失敗しました.", kSourceFile, __LINE__);
    const std::uint32_t level = kCoopNonExclusive | kCoopForeground | (disableWindowsKey ? kCoopNoWinKey : 0);
    ThrowOnDirectXFailure<EIOError>(device_->SetCooperativeLevel(window, level), this,
                                    "DirectInputデバイスの協調レベルの設定に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetDataFormat(DataFormat::Keyboard), this,
                                    "DirectInputデバイスのデータフォーマットの設定に失敗しました.", kSourceFile,
                                    __LINE__);
    device_->Acquire();
    BuildKeyNames();
}

CMappedKeyboardController::~CMappedKeyboardController() = default;

void CMappedKeyboardController::BuildKeyNames()
{
    for (const KeyName& entry : kKeyNames)
        keyNames_[entry.code] = entry.name;
}

int CMappedKeyboardController::GetDeviceType()
{
    return kControllerKeyboard;
}

void CMappedKeyboardController::Update()
{
    using namespace os::input;
    CScopedLock lock(GetLock());
    if (!RunWithReacquire(
            *device_, [this] { return device_->GetDeviceState(sizeof(keys_), keys_); }, kSourceFile, __LINE__))
        return;
    RefreshButtons();
}

void CMappedKeyboardController::EvaluateInput(std::uint32_t code, bool& down, float& value)
{
    if (code <= 0xFF && (keys_[code] & 0x80) != 0) {
        down = true;
        value = 1.0f;
    }
}

bool CMappedKeyboardController::GetActiveInput(const std::string& name, int slot)
{
    // Every key in code order but the toggles (0x3A, 0x70, 0x94), which some keyboards report
    // as held while their toggle is on.
    return CaptureInput(name, slot, {{0x00, 0x39}, {0x3B, 0x6F}, {0x71, 0x93}, {0x95, 0xFF}});
}

std::string CMappedKeyboardController::GetInputName(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    const std::uint32_t code = GetMapping(name, slot);
    if (code > 0xFF)
        return "NONE";
    auto found = keyNames_.find(code);
    if (found != keyNames_.end())
        return found->second;
    return FormatString("(KEY:%02X)", code);
}

} // namespace korvane
