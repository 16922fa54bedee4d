// How SDL's keyboard state (indexed by SDL scancode, i.e. USB usage) becomes the two arrays a
// key source delivers. Kept free of SDL headers so the tables can be checked on their own.
#pragma once

#include "platform/input/KeySource.h"

#include <array>
#include <cstdint>
#include <functional>

namespace tamtara {

// DirectInput scan code of the key at this SDL scancode, or 0.
int DirectInputScanCode(int sdlScancode);
// Windows virtual-key codes the key sets: the generic code and, for Shift, Control, Alt, the
// left- or right-hand one; 0 where none.
std::array<std::uint8_t, 2> VirtualKeyCodes(int sdlScancode);
// For a key that types one of the launcher's punctuation choices (; : [ ] @ , . /), the
// character's code; else 0.
int PunctuationKeyCode(std::int32_t typedCharacter);

// The character a key types without modifiers under the current layout.
using CharacterOfScancode = std::function<std::int32_t(int sdlScancode)>;

// The character a key types on a US layout, for the keys of the punctuation choices; else 0.
std::int32_t UsCharacterOfScancode(int sdlScancode);
// The SDL scancode of a key that gives this key code (US layout), or 0.
int SdlScancodeOfKeyCode(int keyCode);

void ScanCodesFromSdl(const std::uint8_t* sdlState, int count, KeyStateArray& scanCodes);
// Virtual keys of every key down; a key typing a punctuation choice also sets its character's
// code, so the launcher's choices work when the keyboard is read without DirectInput.
void VirtualKeysFromSdl(const std::uint8_t* sdlState, int count, const CharacterOfScancode& characterOf,
                        KeyStateArray& keys);

// The key codes one key sets when it is held alone, as a poll in that reading mode sees them.
void KeyCodesOfSdlKey(int sdlScancode, bool directInput, const CharacterOfScancode& characterOf,
                      KeyStateArray& keys);

} // namespace tamtara
