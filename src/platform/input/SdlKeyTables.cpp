// SDL scancodes in both keyboard reading modes, looked up in the key table.
#include "platform/input/SdlKeyTables.h"

#include "platform/input/KeyTable.h"
#include "platform/input/ScanCodeTable.h"

#include <SDL_scancode.h>

namespace tamtara {

namespace {

const KeyRow* RowOf(int sdlScancode) {
    for (const KeyRow& row : KeyRows)
        if (row.Sdl == sdlScancode) return &row;
    return nullptr;
}

} // namespace

int DirectInputScanCode(int sdlScancode) {
    const KeyRow* row = RowOf(sdlScancode);
    return row ? row->ScanCode : 0;
}

std::array<std::uint8_t, 2> VirtualKeyCodes(int sdlScancode) {
    const KeyRow* row = RowOf(sdlScancode);
    if (!row) return {0, 0};
    return {row->VirtualKey, row->SidedVirtualKey};
}

int PunctuationKeyCode(std::int32_t typedCharacter) {
    switch (typedCharacter) {
    case ';':
    case ':':
    case '[':
    case ']':
    case '@':
    case ',':
    case '.':
    case '/':
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
        if (int punctuation = PunctuationKeyCode(characterOf(sdl)))
            keys[static_cast<std::size_t>(punctuation)] = 0x80;
    }
}

std::int32_t UsCharacterOfScancode(int sdlScancode) {
    const KeyRow* row = RowOf(sdlScancode);
    return row ? row->UsCharacter : 0;
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
