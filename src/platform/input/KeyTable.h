// The one table of the keyboard's keys (US positions), from which the scan-code table and the
// SDL tables of both reading modes are derived: each physical key is listed once.
#pragma once

#include <SDL_scancode.h>

#include <cstdint>

namespace tamtara {

struct KeyRow {
    SDL_Scancode Sdl;
    // DirectInput scan code.
    std::uint8_t ScanCode;
    // The game's key code for that scan code (the scan-code table); 0 where it gives none.
    std::uint8_t KeyCode;
    // Windows virtual-key codes: the generic one and, for Shift, Control and Alt, the left- or
    // right-hand one; 0 where none.
    std::uint8_t VirtualKey;
    std::uint8_t SidedVirtualKey;
    // For the keys of the launcher's punctuation choices, the character the key types on a US
    // layout; else 0.
    char UsCharacter;
};

// In DirectInput scan-code order. The backslash key and the ISO key beside Enter report the same
// scan code, so two rows share 43.
inline constexpr KeyRow KeyRows[] = {
    {SDL_SCANCODE_ESCAPE, 1, 27, 0x1B, 0, 0},
    {SDL_SCANCODE_1, 2, '1', '1', 0, 0},
    {SDL_SCANCODE_2, 3, '2', '2', 0, 0},
    {SDL_SCANCODE_3, 4, '3', '3', 0, 0},
    {SDL_SCANCODE_4, 5, '4', '4', 0, 0},
    {SDL_SCANCODE_5, 6, '5', '5', 0, 0},
    {SDL_SCANCODE_6, 7, '6', '6', 0, 0},
    {SDL_SCANCODE_7, 8, '7', '7', 0, 0},
    {SDL_SCANCODE_8, 9, '8', '8', 0, 0},
    {SDL_SCANCODE_9, 10, '9', '9', 0, 0},
    {SDL_SCANCODE_0, 11, '0', '0', 0, 0},
    {SDL_SCANCODE_MINUS, 12, 0, 0xBD, 0, 0},
    {SDL_SCANCODE_EQUALS, 13, 61, 0xBB, 0, 0},
    {SDL_SCANCODE_BACKSPACE, 14, 8, 0x08, 0, 0},
    {SDL_SCANCODE_TAB, 15, 9, 0x09, 0, 0},
    {SDL_SCANCODE_Q, 16, 'Q', 'Q', 0, 0},
    {SDL_SCANCODE_W, 17, 'W', 'W', 0, 0},
    {SDL_SCANCODE_E, 18, 'E', 'E', 0, 0},
    {SDL_SCANCODE_R, 19, 'R', 'R', 0, 0},
    {SDL_SCANCODE_T, 20, 'T', 'T', 0, 0},
    {SDL_SCANCODE_Y, 21, 'Y', 'Y', 0, 0},
    {SDL_SCANCODE_U, 22, 'U', 'U', 0, 0},
    {SDL_SCANCODE_I, 23, 'I', 'I', 0, 0},
    {SDL_SCANCODE_O, 24, 'O', 'O', 0, 0},
    {SDL_SCANCODE_P, 25, 'P', 'P', 0, 0},
    {SDL_SCANCODE_LEFTBRACKET, 26, 91, 0xDB, 0, '['},
    {SDL_SCANCODE_RIGHTBRACKET, 27, 93, 0xDD, 0, ']'},
    {SDL_SCANCODE_RETURN, 28, 13, 0x0D, 0, 0},
    {SDL_SCANCODE_LCTRL, 29, 17, 0x11, 0xA2, 0},
    {SDL_SCANCODE_A, 30, 'A', 'A', 0, 0},
    {SDL_SCANCODE_S, 31, 'S', 'S', 0, 0},
    {SDL_SCANCODE_D, 32, 'D', 'D', 0, 0},
    {SDL_SCANCODE_F, 33, 'F', 'F', 0, 0},
    {SDL_SCANCODE_G, 34, 'G', 'G', 0, 0},
    {SDL_SCANCODE_H, 35, 'H', 'H', 0, 0},
    {SDL_SCANCODE_J, 36, 'J', 'J', 0, 0},
    {SDL_SCANCODE_K, 37, 'K', 'K', 0, 0},
    {SDL_SCANCODE_L, 38, 'L', 'L', 0, 0},
    {SDL_SCANCODE_SEMICOLON, 39, 59, 0xBA, 0, ';'},
    {SDL_SCANCODE_APOSTROPHE, 40, 39, 0xDE, 0, 0},
    {SDL_SCANCODE_GRAVE, 41, 0, 0xC0, 0, 0},
    {SDL_SCANCODE_LSHIFT, 42, 16, 0x10, 0xA0, 0},
    {SDL_SCANCODE_BACKSLASH, 43, 92, 0xDC, 0, 0},
    {SDL_SCANCODE_NONUSHASH, 43, 92, 0xDC, 0, 0},
    {SDL_SCANCODE_Z, 44, 'Z', 'Z', 0, 0},
    {SDL_SCANCODE_X, 45, 'X', 'X', 0, 0},
    {SDL_SCANCODE_C, 46, 'C', 'C', 0, 0},
    {SDL_SCANCODE_V, 47, 'V', 'V', 0, 0},
    {SDL_SCANCODE_B, 48, 'B', 'B', 0, 0},
    {SDL_SCANCODE_N, 49, 'N', 'N', 0, 0},
    {SDL_SCANCODE_M, 50, 'M', 'M', 0, 0},
    {SDL_SCANCODE_COMMA, 51, 44, 0xBC, 0, ','},
    {SDL_SCANCODE_PERIOD, 52, 46, 0xBE, 0, '.'},
    {SDL_SCANCODE_SLASH, 53, 47, 0xBF, 0, '/'},
    {SDL_SCANCODE_RSHIFT, 54, 16, 0x10, 0xA1, 0},
    {SDL_SCANCODE_KP_MULTIPLY, 55, 42, 0x6A, 0, 0},
    {SDL_SCANCODE_LALT, 56, 18, 0x12, 0xA4, 0},
    {SDL_SCANCODE_SPACE, 57, 32, 0x20, 0, 0},
    {SDL_SCANCODE_CAPSLOCK, 58, 20, 0x14, 0, 0},
    {SDL_SCANCODE_F1, 59, 112, 0x70, 0, 0},
    {SDL_SCANCODE_F2, 60, 113, 0x71, 0, 0},
    {SDL_SCANCODE_F3, 61, 114, 0x72, 0, 0},
    {SDL_SCANCODE_F4, 62, 115, 0x73, 0, 0},
    {SDL_SCANCODE_F5, 63, 116, 0x74, 0, 0},
    {SDL_SCANCODE_F6, 64, 117, 0x75, 0, 0},
    {SDL_SCANCODE_F7, 65, 118, 0x76, 0, 0},
    {SDL_SCANCODE_F8, 66, 119, 0x77, 0, 0},
    {SDL_SCANCODE_F9, 67, 120, 0x78, 0, 0},
    {SDL_SCANCODE_F10, 68, 121, 0x79, 0, 0},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69, 144, 0x90, 0, 0},
    {SDL_SCANCODE_SCROLLLOCK, 70, 145, 0x91, 0, 0},
    {SDL_SCANCODE_KP_7, 71, 103, 0x67, 0, 0},
    {SDL_SCANCODE_KP_8, 72, 104, 0x68, 0, 0},
    {SDL_SCANCODE_KP_9, 73, 105, 0x69, 0, 0},
    {SDL_SCANCODE_KP_MINUS, 74, 109, 0x6D, 0, 0},
    {SDL_SCANCODE_KP_4, 75, 100, 0x64, 0, 0},
    {SDL_SCANCODE_KP_5, 76, 101, 0x65, 0, 0},
    {SDL_SCANCODE_KP_6, 77, 102, 0x66, 0, 0},
    {SDL_SCANCODE_KP_PLUS, 78, 107, 0x6B, 0, 0},
    {SDL_SCANCODE_KP_1, 79, 97, 0x61, 0, 0},
    {SDL_SCANCODE_KP_2, 80, 98, 0x62, 0, 0},
    {SDL_SCANCODE_KP_3, 81, 99, 0x63, 0, 0},
    {SDL_SCANCODE_KP_0, 82, 96, 0x60, 0, 0},
    {SDL_SCANCODE_KP_PERIOD, 83, 110, 0x6E, 0, 0},
    {SDL_SCANCODE_NONUSBACKSLASH, 86, 0, 0xE2, 0, 0},
    {SDL_SCANCODE_F11, 87, 122, 0x7A, 0, 0},
    {SDL_SCANCODE_F12, 88, 123, 0x7B, 0, 0},
    {SDL_SCANCODE_INTERNATIONAL2, 112, 0, 0, 0, 0},
    {SDL_SCANCODE_INTERNATIONAL1, 115, 0, 0xE2, 0, 0},
    {SDL_SCANCODE_INTERNATIONAL4, 121, 0, 0, 0, 0},
    {SDL_SCANCODE_INTERNATIONAL5, 123, 0, 0, 0, 0},
    {SDL_SCANCODE_INTERNATIONAL3, 125, 0, 0, 0, 0},
    {SDL_SCANCODE_KP_ENTER, 156, 13, 0x0D, 0, 0},
    {SDL_SCANCODE_RCTRL, 157, 17, 0x11, 0xA3, 0},
    {SDL_SCANCODE_KP_DIVIDE, 181, 111, 0x6F, 0, 0},
    {SDL_SCANCODE_PRINTSCREEN, 183, 0, 0x2C, 0, 0},
    {SDL_SCANCODE_RALT, 184, 18, 0x12, 0xA5, 0},
    {SDL_SCANCODE_PAUSE, 197, 0, 0x13, 0, 0},
    {SDL_SCANCODE_HOME, 199, 36, 0x24, 0, 0},
    {SDL_SCANCODE_UP, 200, 38, 0x26, 0, 0},
    {SDL_SCANCODE_PAGEUP, 201, 33, 0x21, 0, 0},
    {SDL_SCANCODE_LEFT, 203, 37, 0x25, 0, 0},
    {SDL_SCANCODE_RIGHT, 205, 39, 0x27, 0, 0},
    {SDL_SCANCODE_END, 207, 35, 0x23, 0, 0},
    {SDL_SCANCODE_DOWN, 208, 40, 0x28, 0, 0},
    {SDL_SCANCODE_PAGEDOWN, 209, 34, 0x22, 0, 0},
    {SDL_SCANCODE_INSERT, 210, 45, 0x2D, 0, 0},
    {SDL_SCANCODE_DELETE, 211, 46, 0x2E, 0, 0},
    {SDL_SCANCODE_LGUI, 219, 91, 0x5B, 0, 0},
    {SDL_SCANCODE_RGUI, 220, 92, 0x5C, 0, 0},
    {SDL_SCANCODE_APPLICATION, 221, 93, 0x5D, 0, 0},
};

} // namespace tamtara
