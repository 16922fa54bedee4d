// Where the keyboard's state comes from: the platform (SDL) in the game, a script in tests.
#pragma once

#include <array>
#include <cstdint>

namespace tamtara {

// One byte per code; bit 7 set means the key is down.
using KeyStateArray = std::array<std::uint8_t, 256>;

class TKeySource {
public:
    virtual ~TKeySource() = default;
    // Whether the game window has the keyboard focus.
    virtual bool HasFocus() = 0;
    // State by DirectInput keyboard scan code; false when the read failed.
    virtual bool ReadScanCodes(KeyStateArray& state) = 0;
    // State by Windows virtual-key code; false when the read failed.
    virtual bool ReadVirtualKeys(KeyStateArray& keys) = 0;
    // The key codes the key with this SDL scancode sets when held alone, in the reading mode
    // given (DirectInput scan codes through the scan-code table, or virtual-key codes); used to
    // bind a single key event to input states.
    virtual void KeyCodesOfScancode(int sdlScancode, bool directInput, KeyStateArray& keys) = 0;
    // Asks the source to take the keyboard again after a failed read or an activation.
    virtual void Acquire() {}
};

} // namespace tamtara
