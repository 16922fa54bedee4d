// SDL scancodes to the virtual-key codes of the window's key events.
#include "platform/display/WindowKeyCodes.h"

#include "platform/display/Presenter.h"

#include <SDL_scancode.h>

namespace tamtara {

std::int32_t VirtualKeyOfScancode(std::int32_t scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return WindowKeys::F1 + (scancode - SDL_SCANCODE_F1);
    switch (scancode) {
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return WindowKeys::Return;
    case SDL_SCANCODE_ESCAPE: return WindowKeys::Escape;
    case SDL_SCANCODE_BACKSPACE: return WindowKeys::Back;
    case SDL_SCANCODE_TAB: return WindowKeys::Tab;
    case SDL_SCANCODE_SPACE: return WindowKeys::Space;
    case SDL_SCANCODE_LEFT: return WindowKeys::Left;
    case SDL_SCANCODE_UP: return WindowKeys::Up;
    case SDL_SCANCODE_RIGHT: return WindowKeys::Right;
    case SDL_SCANCODE_DOWN: return WindowKeys::Down;
    default: return 0;
    }
}

} // namespace tamtara
