// SDL scancode tables for both keyboard reading modes (US key positions).
#include "platform/input/SdlKeyTables.h"

#include "platform/input/ScanCodeTable.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

namespace tamtara {

namespace {

struct ScanPair {
    SDL_Scancode Sdl;
    std::uint8_t DirectInput;
};

constexpr ScanPair DirectInputPairs[] = {
    {SDL_SCANCODE_ESCAPE, 1}, {SDL_SCANCODE_1, 2}, {SDL_SCANCODE_2, 3}, {SDL_SCANCODE_3, 4},
    {SDL_SCANCODE_4, 5}, {SDL_SCANCODE_5, 6}, {SDL_SCANCODE_6, 7}, {SDL_SCANCODE_7, 8},
    {SDL_SCANCODE_8, 9}, {SDL_SCANCODE_9, 10}, {SDL_SCANCODE_0, 11}, {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13}, {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16}, {SDL_SCANCODE_W, 17}, {SDL_SCANCODE_E, 18}, {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20}, {SDL_SCANCODE_Y, 21}, {SDL_SCANCODE_U, 22}, {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24}, {SDL_SCANCODE_P, 25}, {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27}, {SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30}, {SDL_SCANCODE_S, 31}, {SDL_SCANCODE_D, 32}, {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34}, {SDL_SCANCODE_H, 35}, {SDL_SCANCODE_J, 36}, {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38}, {SDL_SCANCODE_SEMICOLON, 39}, {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41}, {SDL_SCANCODE_LSHIFT, 42}, {SDL_SCANCODE_BACKSLASH, 43},
    {SDL_SCANCODE_NONUSHASH, 43}, {SDL_SCANCODE_Z, 44}, {SDL_SCANCODE_X, 45}, {SDL_SCANCODE_C, 46},
    {SDL_SCANCODE_V, 47}, {SDL_SCANCODE_B, 48}, {SDL_SCANCODE_N, 49}, {SDL_SCANCODE_M, 50},
    {SDL_SCANCODE_COMMA, 51}, {SDL_SCANCODE_PERIOD, 52}, {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54}, {SDL_SCANCODE_KP_MULTIPLY, 55}, {SDL_SCANCODE_LALT, 56},
    {SDL_SCANCODE_SPACE, 57}, {SDL_SCANCODE_CAPSLOCK, 58}, {SDL_SCANCODE_F1, 59}, {SDL_SCANCODE_F2, 60},
    {SDL_SCANCODE_F3, 61}, {SDL_SCANCODE_F4, 62}, {SDL_SCANCODE_F5, 63}, {SDL_SCANCODE_F6, 64},
    {SDL_SCANCODE_F7, 65}, {SDL_SCANCODE_F8, 66}, {SDL_SCANCODE_F9, 67}, {SDL_SCANCODE_F10, 68},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69}, {SDL_SCANCODE_SCROLLLOCK, 70}, {SDL_SCANCODE_KP_7, 71},
    {SDL_SCANCODE_KP_8, 72}, {SDL_SCANCODE_KP_9, 73}, {SDL_SCANCODE_KP_MINUS, 74},
    {SDL_SCANCODE_KP_4, 75}, {SDL_SCANCODE_KP_5, 76}, {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78}, {SDL_SCANCODE_KP_1, 79}, {SDL_SCANCODE_KP_2, 80},
    {SDL_SCANCODE_KP_3, 81}, {SDL_SCANCODE_KP_0, 82}, {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_NONUSBACKSLASH, 86}, {SDL_SCANCODE_F11, 87}, {SDL_SCANCODE_F12, 88},
    {SDL_SCANCODE_INTERNATIONAL2, 112}, {SDL_SCANCODE_INTERNATIONAL1, 115},
    {SDL_SCANCODE_INTERNATIONAL4, 121}, {SDL_SCANCODE_INTERNATIONAL5, 123},
    {SDL_SCANCODE_INTERNATIONAL3, 125}, {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_RCTRL, 157},
    {SDL_SCANCODE_KP_DIVIDE, 181}, {SDL_SCANCODE_PRINTSCREEN, 183}, {SDL_SCANCODE_RALT, 184},
    {SDL_SCANCODE_PAUSE, 197}, {SDL_SCANCODE_HOME, 199}, {SDL_SCANCODE_UP, 200},
    {SDL_SCANCODE_PAGEUP, 201}, {SDL_SCANCODE_LEFT, 203}, {SDL_SCANCODE_RIGHT, 205},
    {SDL_SCANCODE_END, 207}, {SDL_SCANCODE_DOWN, 208}, {SDL_SCANCODE_PAGEDOWN, 209},
    {SDL_SCANCODE_INSERT, 210}, {SDL_SCANCODE_DELETE, 211}, {SDL_SCANCODE_LGUI, 219},
    {SDL_SCANCODE_RGUI, 220}, {SDL_SCANCODE_APPLICATION, 221},
};

struct VirtualKeyPair {
    SDL_Scancode Sdl;
    std::uint8_t Generic;
    std::uint8_t Sided;
};

constexpr VirtualKeyPair VirtualKeyPairs[] = {
    {SDL_SCANCODE_BACKSPACE, 0x08, 0}, {SDL_SCANCODE_TAB, 0x09, 0}, {SDL_SCANCODE_RETURN, 0x0D, 0},
    {SDL_SCANCODE_KP_ENTER, 0x0D, 0}, {SDL_SCANCODE_LSHIFT, 0x10, 0xA0}, {SDL_SCANCODE_RSHIFT, 0x10, 0xA1},
    {SDL_SCANCODE_LCTRL, 0x11, 0xA2}, {SDL_SCANCODE_RCTRL, 0x11, 0xA3}, {SDL_SCANCODE_LALT, 0x12, 0xA4},
    {SDL_SCANCODE_RALT, 0x12, 0xA5}, {SDL_SCANCODE_PAUSE, 0x13, 0}, {SDL_SCANCODE_CAPSLOCK, 0x14, 0},
    {SDL_SCANCODE_ESCAPE, 0x1B, 0}, {SDL_SCANCODE_SPACE, 0x20, 0}, {SDL_SCANCODE_PAGEUP, 0x21, 0},
    {SDL_SCANCODE_PAGEDOWN, 0x22, 0}, {SDL_SCANCODE_END, 0x23, 0}, {SDL_SCANCODE_HOME, 0x24, 0},
    {SDL_SCANCODE_LEFT, 0x25, 0}, {SDL_SCANCODE_UP, 0x26, 0}, {SDL_SCANCODE_RIGHT, 0x27, 0},
    {SDL_SCANCODE_DOWN, 0x28, 0}, {SDL_SCANCODE_PRINTSCREEN, 0x2C, 0}, {SDL_SCANCODE_INSERT, 0x2D, 0},
    {SDL_SCANCODE_DELETE, 0x2E, 0}, {SDL_SCANCODE_LGUI, 0x5B, 0}, {SDL_SCANCODE_RGUI, 0x5C, 0},
    {SDL_SCANCODE_APPLICATION, 0x5D, 0}, {SDL_SCANCODE_KP_0, 0x60, 0}, {SDL_SCANCODE_KP_1, 0x61, 0},
    {SDL_SCANCODE_KP_2, 0x62, 0}, {SDL_SCANCODE_KP_3, 0x63, 0}, {SDL_SCANCODE_KP_4, 0x64, 0},
    {SDL_SCANCODE_KP_5, 0x65, 0}, {SDL_SCANCODE_KP_6, 0x66, 0}, {SDL_SCANCODE_KP_7, 0x67, 0},
    {SDL_SCANCODE_KP_8, 0x68, 0}, {SDL_SCANCODE_KP_9, 0x69, 0}, {SDL_SCANCODE_KP_MULTIPLY, 0x6A, 0},
    {SDL_SCANCODE_KP_PLUS, 0x6B, 0}, {SDL_SCANCODE_KP_MINUS, 0x6D, 0}, {SDL_SCANCODE_KP_PERIOD, 0x6E, 0},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F, 0}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x90, 0},
    {SDL_SCANCODE_SCROLLLOCK, 0x91, 0}, {SDL_SCANCODE_SEMICOLON, 0xBA, 0}, {SDL_SCANCODE_EQUALS, 0xBB, 0},
    {SDL_SCANCODE_COMMA, 0xBC, 0}, {SDL_SCANCODE_MINUS, 0xBD, 0}, {SDL_SCANCODE_PERIOD, 0xBE, 0},
    {SDL_SCANCODE_SLASH, 0xBF, 0}, {SDL_SCANCODE_GRAVE, 0xC0, 0}, {SDL_SCANCODE_LEFTBRACKET, 0xDB, 0},
    {SDL_SCANCODE_BACKSLASH, 0xDC, 0}, {SDL_SCANCODE_NONUSHASH, 0xDC, 0},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD, 0}, {SDL_SCANCODE_APOSTROPHE, 0xDE, 0},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2, 0}, {SDL_SCANCODE_INTERNATIONAL1, 0xE2, 0},
};

} // namespace

int DirectInputScanCode(int sdlScancode) {
    for (const ScanPair& pair : DirectInputPairs)
        if (pair.Sdl == sdlScancode) return pair.DirectInput;
    return 0;
}

std::array<std::uint8_t, 2> VirtualKeyCodes(int sdlScancode) {
    if (sdlScancode >= SDL_SCANCODE_A && sdlScancode <= SDL_SCANCODE_Z)
        return {static_cast<std::uint8_t>('A' + sdlScancode - SDL_SCANCODE_A), 0};
    if (sdlScancode >= SDL_SCANCODE_1 && sdlScancode <= SDL_SCANCODE_9)
        return {static_cast<std::uint8_t>('1' + sdlScancode - SDL_SCANCODE_1), 0};
    if (sdlScancode == SDL_SCANCODE_0) return {'0', 0};
    if (sdlScancode >= SDL_SCANCODE_F1 && sdlScancode <= SDL_SCANCODE_F12)
        return {static_cast<std::uint8_t>(0x70 + sdlScancode - SDL_SCANCODE_F1), 0};
    for (const VirtualKeyPair& pair : VirtualKeyPairs)
        if (pair.Sdl == sdlScancode) return {pair.Generic, pair.Sided};
    return {0, 0};
}

int PunctuationKeyCode(std::int32_t typedCharacter) {
    switch (typedCharacter) {
    case ';': case ':': case '[': case ']': case '@': case ',': case '.': case '/':
        return typedCharacter;
    default:
        return 0;
    }
}

void ScanCodesFromSdl(const std::uint8_t* sdlState, int count, KeyStateArray& scanCodes) {
    scanCodes.fill(0);
    for (int sdl = 0; sdl < count; ++sdl)
        if (sdlState[sdl])
            if (int scan = DirectInputScanCode(sdl)) scanCodes[static_cast<std::size_t>(scan)] = 0x80;
}

void VirtualKeysFromSdl(const std::uint8_t* sdlState, int count, const CharacterOfScancode& characterOf,
                        KeyStateArray& keys) {
    keys.fill(0);
    for (int sdl = 0; sdl < count; ++sdl) {
        if (!sdlState[sdl]) continue;
        for (std::uint8_t code : VirtualKeyCodes(sdl))
            if (code) keys[code] = 0x80;
        if (int punctuation = PunctuationKeyCode(characterOf(sdl))) keys[static_cast<std::size_t>(punctuation)] = 0x80;
    }
}

std::int32_t UsCharacterOfScancode(int sdlScancode) {
    switch (sdlScancode) {
    case SDL_SCANCODE_SEMICOLON: return ';';
    case SDL_SCANCODE_COMMA: return ',';
    case SDL_SCANCODE_PERIOD: return '.';
    case SDL_SCANCODE_SLASH: return '/';
    case SDL_SCANCODE_LEFTBRACKET: return '[';
    case SDL_SCANCODE_RIGHTBRACKET: return ']';
    default: return 0;
    }
}

int SdlScancodeOfKeyCode(int keyCode) {
    for (int sdl = 1; sdl < SDL_NUM_SCANCODES; ++sdl) {
        const std::array<std::uint8_t, 2> codes = VirtualKeyCodes(sdl);
        if ((codes[0] != 0 && codes[0] == keyCode) || UsCharacterOfScancode(sdl) == keyCode) return sdl;
    }
    return 0;
}

void KeyCodesOfSdlKey(int sdlScancode, bool directInput, const CharacterOfScancode& characterOf,
                      KeyStateArray& keys) {
    keys.fill(0);
    if (sdlScancode <= 0 || sdlScancode >= SDL_NUM_SCANCODES) return;
    std::array<std::uint8_t, SDL_NUM_SCANCODES> one{};
    one[static_cast<std::size_t>(sdlScancode)] = 1;
    if (!directInput) {
        VirtualKeysFromSdl(one.data(), SDL_NUM_SCANCODES, characterOf, keys);
        return;
    }
    KeyStateArray scanCodes{};
    ScanCodesFromSdl(one.data(), SDL_NUM_SCANCODES, scanCodes);
    for (std::size_t scan = 0; scan < scanCodes.size(); ++scan)
        if (scanCodes[scan] & 0x80) keys[ScanCodeTable[scan]] = 0x80;
    keys[0] = 0;
}

} // namespace tamtara
