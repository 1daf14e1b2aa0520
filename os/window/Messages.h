/** @file Messages.h Window message numbers, their parameter values and virtual-key codes. */
#pragma once

#include <cstdint>

namespace os::window
{

class Window;

/// Message parameters keep the shapes the engine's listeners read: the first an unsigned word,
/// the second a signed one, and the handler's result a signed word.
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

/// One queued window message.
struct Message
{
    Window* window = nullptr; ///< null for thread messages (the quit message)
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// Message numbers (the values the engine compares and logs).
constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
constexpr std::uint32_t WM_SYSCHAR = 0x0106; ///< a character typed with Alt held
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203; ///< never produced: the window takes no double clicks
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206; ///< never produced
constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209; ///< never produced
constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr std::uint32_t WM_XBUTTONDOWN = 0x020B;
constexpr std::uint32_t WM_XBUTTONUP = 0x020C;
constexpr std::uint32_t WM_MOUSEHWHEEL = 0x020E;
constexpr std::uint32_t WM_ENTERSIZEMOVE = 0x0231; ///< not reported by this layer (no frame-drag events)
constexpr std::uint32_t WM_EXITSIZEMOVE = 0x0232;  ///< not reported by this layer

// WM_SIZE kinds (first parameter).
constexpr WParam SIZE_RESTORED = 0;
constexpr WParam SIZE_MINIMIZED = 1;
constexpr WParam SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states (low word of the first parameter; the high word is 1 while minimised).
constexpr WParam WA_INACTIVE = 0;
constexpr WParam WA_ACTIVE = 1;
constexpr WParam WA_CLICKACTIVE = 2;

// Mouse message key flags (first parameter of the mouse messages).
constexpr WParam MK_LBUTTON = 0x0001;
constexpr WParam MK_RBUTTON = 0x0002;
constexpr WParam MK_SHIFT = 0x0004;
constexpr WParam MK_CONTROL = 0x0008;
constexpr WParam MK_MBUTTON = 0x0010;
constexpr WParam MK_XBUTTON1 = 0x0020;
constexpr WParam MK_XBUTTON2 = 0x0040;
constexpr WParam XBUTTON1 = 0x0001; ///< high word of WM_XBUTTON* first parameter
constexpr WParam XBUTTON2 = 0x0002;
constexpr int WHEEL_DELTA = 120;

// Key message second-parameter bits.
constexpr LParam KF_EXTENDED_BIT = 1 << 24;
constexpr LParam KF_ALTDOWN_BIT = 1 << 29;
constexpr LParam KF_REPEAT_BIT = 1 << 30;
constexpr LParam KF_UP_BIT = LParam(1) << 31;

// Virtual-key codes (first parameter of the key messages).
constexpr WParam VK_BACK = 0x08;
constexpr WParam VK_TAB = 0x09;
constexpr WParam VK_CLEAR = 0x0C;
constexpr WParam VK_RETURN = 0x0D;
constexpr WParam VK_SHIFT = 0x10;
constexpr WParam VK_CONTROL = 0x11;
constexpr WParam VK_MENU = 0x12;
constexpr WParam VK_PAUSE = 0x13;
constexpr WParam VK_CAPITAL = 0x14;
constexpr WParam VK_ESCAPE = 0x1B;
constexpr WParam VK_SPACE = 0x20;
constexpr WParam VK_PRIOR = 0x21;
constexpr WParam VK_NEXT = 0x22;
constexpr WParam VK_END = 0x23;
constexpr WParam VK_HOME = 0x24;
constexpr WParam VK_LEFT = 0x25;
constexpr WParam VK_UP = 0x26;
constexpr WParam VK_RIGHT = 0x27;
constexpr WParam VK_DOWN = 0x28;
constexpr WParam VK_SNAPSHOT = 0x2C;
constexpr WParam VK_INSERT = 0x2D;
constexpr WParam VK_DELETE = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A.
constexpr WParam VK_LWIN = 0x5B;
constexpr WParam VK_RWIN = 0x5C;
constexpr WParam VK_APPS = 0x5D;
constexpr WParam VK_NUMPAD0 = 0x60; ///< through VK_NUMPAD9 = 0x69
constexpr WParam VK_MULTIPLY = 0x6A;
constexpr WParam VK_ADD = 0x6B;
constexpr WParam VK_SEPARATOR = 0x6C;
constexpr WParam VK_SUBTRACT = 0x6D;
constexpr WParam VK_DECIMAL = 0x6E;
constexpr WParam VK_DIVIDE = 0x6F;
constexpr WParam VK_F1 = 0x70; ///< through VK_F24 = 0x87
constexpr WParam VK_F4 = 0x73;
constexpr WParam VK_F10 = 0x79;
constexpr WParam VK_NUMLOCK = 0x90;
constexpr WParam VK_SCROLL = 0x91;
constexpr WParam VK_OEM_1 = 0xBA;      ///< ';'
constexpr WParam VK_OEM_PLUS = 0xBB;   ///< '='
constexpr WParam VK_OEM_COMMA = 0xBC;  ///< ','
constexpr WParam VK_OEM_MINUS = 0xBD;  ///< '-'
constexpr WParam VK_OEM_PERIOD = 0xBE; ///< '.'
constexpr WParam VK_OEM_2 = 0xBF;      ///< '/'
constexpr WParam VK_OEM_3 = 0xC0;      ///< '`'
constexpr WParam VK_OEM_4 = 0xDB;      ///< '['
constexpr WParam VK_OEM_5 = 0xDC;      ///< '\'
constexpr WParam VK_OEM_6 = 0xDD;      ///< ']'
constexpr WParam VK_OEM_7 = 0xDE;      ///< '\''
constexpr WParam VK_OEM_102 = 0xE2;    ///< the extra key of 102-key keyboards

/// Helpers for the packed parameters.
constexpr std::uint16_t LoWord(std::uintptr_t value)
{
    return static_cast<std::uint16_t>(value & 0xFFFF);
}
constexpr std::uint16_t HiWord(std::uintptr_t value)
{
    return static_cast<std::uint16_t>((value >> 16) & 0xFFFF);
}
/// Signed 16-bit halves, as client coordinates are read.
constexpr int GetXParam(LParam value)
{
    return static_cast<std::int16_t>(value & 0xFFFF);
}
constexpr int GetYParam(LParam value)
{
    return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}
constexpr LParam MakeLParam(int low, int high)
{
    return static_cast<LParam>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(low)) |
                               (static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16));
}

} // namespace os::window
