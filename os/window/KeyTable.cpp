/** @file KeyTable.cpp SDL keys as the platform's virtual keys. */
#include "os/window/KeyTable.h"

#include <SDL.h>

namespace os::window
{

KeyInfo KeyInfoOf(std::int32_t keycode, int scancode)
{
    const SDL_Keycode sym = keycode;
    const auto code = static_cast<SDL_Scancode>(scancode);
    // Letters and digits follow the layout, as virtual keys do.
    if (sym >= SDLK_a && sym <= SDLK_z)
        return {static_cast<WParam>('A' + (sym - SDLK_a)), false};
    if (sym >= SDLK_0 && sym <= SDLK_9 && !(code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_0))
        return {static_cast<WParam>('0' + (sym - SDLK_0)), false};
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z)
        return {static_cast<WParam>('A' + (code - SDL_SCANCODE_A)), false};
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9)
        return {static_cast<WParam>('1' + (code - SDL_SCANCODE_1)), false};
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12)
        return {VK_F1 + static_cast<WParam>(code - SDL_SCANCODE_F1), false};
    if (code >= SDL_SCANCODE_F13 && code <= SDL_SCANCODE_F24)
        return {VK_F1 + 12 + static_cast<WParam>(code - SDL_SCANCODE_F13), false};
    if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9)
        return {VK_NUMPAD0 + 1 + static_cast<WParam>(code - SDL_SCANCODE_KP_1), false};
    switch (code) {
    case SDL_SCANCODE_0:
        return {'0', false};
    case SDL_SCANCODE_RETURN:
        return {VK_RETURN, false};
    case SDL_SCANCODE_KP_ENTER:
        return {VK_RETURN, true};
    case SDL_SCANCODE_ESCAPE:
        return {VK_ESCAPE, false};
    case SDL_SCANCODE_BACKSPACE:
        return {VK_BACK, false};
    case SDL_SCANCODE_TAB:
        return {VK_TAB, false};
    case SDL_SCANCODE_SPACE:
        return {VK_SPACE, false};
    case SDL_SCANCODE_MINUS:
        return {VK_OEM_MINUS, false};
    case SDL_SCANCODE_EQUALS:
        return {VK_OEM_PLUS, false};
    case SDL_SCANCODE_LEFTBRACKET:
        return {VK_OEM_4, false};
    case SDL_SCANCODE_RIGHTBRACKET:
        return {VK_OEM_6, false};
    case SDL_SCANCODE_BACKSLASH:
        return {VK_OEM_5, false};
    case SDL_SCANCODE_NONUSHASH:
        return {VK_OEM_5, false};
    case SDL_SCANCODE_SEMICOLON:
        return {VK_OEM_1, false};
    case SDL_SCANCODE_APOSTROPHE:
        return {VK_OEM_7, false};
    case SDL_SCANCODE_GRAVE:
        return {VK_OEM_3, false};
    case SDL_SCANCODE_COMMA:
        return {VK_OEM_COMMA, false};
    case SDL_SCANCODE_PERIOD:
        return {VK_OEM_PERIOD, false};
    case SDL_SCANCODE_SLASH:
        return {VK_OEM_2, false};
    case SDL_SCANCODE_NONUSBACKSLASH:
        return {VK_OEM_102, false};
    case SDL_SCANCODE_CAPSLOCK:
        return {VK_CAPITAL, false};
    case SDL_SCANCODE_PRINTSCREEN:
        return {VK_SNAPSHOT, true};
    case SDL_SCANCODE_SCROLLLOCK:
        return {VK_SCROLL, false};
    case SDL_SCANCODE_PAUSE:
        return {VK_PAUSE, false};
    case SDL_SCANCODE_INSERT:
        return {VK_INSERT, true};
    case SDL_SCANCODE_HOME:
        return {VK_HOME, true};
    case SDL_SCANCODE_PAGEUP:
        return {VK_PRIOR, true};
    case SDL_SCANCODE_DELETE:
        return {VK_DELETE, true};
    case SDL_SCANCODE_END:
        return {VK_END, true};
    case SDL_SCANCODE_PAGEDOWN:
        return {VK_NEXT, true};
    case SDL_SCANCODE_RIGHT:
        return {VK_RIGHT, true};
    case SDL_SCANCODE_LEFT:
        return {VK_LEFT, true};
    case SDL_SCANCODE_DOWN:
        return {VK_DOWN, true};
    case SDL_SCANCODE_UP:
        return {VK_UP, true};
    case SDL_SCANCODE_NUMLOCKCLEAR:
        return {VK_NUMLOCK, true};
    case SDL_SCANCODE_KP_DIVIDE:
        return {VK_DIVIDE, true};
    case SDL_SCANCODE_KP_MULTIPLY:
        return {VK_MULTIPLY, false};
    case SDL_SCANCODE_KP_MINUS:
        return {VK_SUBTRACT, false};
    case SDL_SCANCODE_KP_PLUS:
        return {VK_ADD, false};
    case SDL_SCANCODE_KP_0:
        return {VK_NUMPAD0, false};
    case SDL_SCANCODE_KP_PERIOD:
        return {VK_DECIMAL, false};
    case SDL_SCANCODE_KP_COMMA:
        return {VK_SEPARATOR, false};
    case SDL_SCANCODE_APPLICATION:
        return {VK_APPS, true};
    case SDL_SCANCODE_LCTRL:
        return {VK_CONTROL, false};
    case SDL_SCANCODE_RCTRL:
        return {VK_CONTROL, true};
    case SDL_SCANCODE_LSHIFT:
        return {VK_SHIFT, false};
    case SDL_SCANCODE_RSHIFT:
        return {VK_SHIFT, false};
    case SDL_SCANCODE_LALT:
        return {VK_MENU, false};
    case SDL_SCANCODE_RALT:
        return {VK_MENU, true};
    case SDL_SCANCODE_LGUI:
        return {VK_LWIN, true};
    case SDL_SCANCODE_RGUI:
        return {VK_RWIN, true};
    case SDL_SCANCODE_CLEAR:
        return {VK_CLEAR, false};
    default:
        return {0, false};
    }
}

} // namespace os::window
