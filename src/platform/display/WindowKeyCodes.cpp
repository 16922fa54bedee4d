// SDL scancodes to the virtual-key codes of the window's key events, from the keyboard's key table.
#include "platform/display/WindowKeyCodes.h"

#include "platform/display/Presenter.h"
#include "platform/input/SdlKeyTables.h"

namespace tamtara {

namespace {

// The window's events name only the keys its own handler and the menus could care about; the
// rest (modifiers, the keypad, punctuation) arrive with 0, as TDisplayEvent promises.
bool WindowReports(std::int32_t key) {
    switch (key) {
    case WindowKeys::Back:
    case WindowKeys::Tab:
    case WindowKeys::Return:
    case WindowKeys::Escape:
    case WindowKeys::Space:
    case WindowKeys::Left:
    case WindowKeys::Up:
    case WindowKeys::Right:
    case WindowKeys::Down:
        return true;
    default:
        return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ||
               (key >= WindowKeys::F1 && key <= WindowKeys::F12);
    }
}

} // namespace

std::int32_t VirtualKeyOfScancode(std::int32_t scancode) {
    const std::int32_t key = VirtualKeyCodes(scancode)[0];
    return WindowReports(key) ? key : 0;
}

} // namespace tamtara
