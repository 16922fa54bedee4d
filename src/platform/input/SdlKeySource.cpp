// TSdlKeySource on SDL_GetKeyboardState and SDL_GetKeyboardFocus.
#include "platform/input/SdlKeySource.h"

#include "platform/input/SdlKeyTables.h"

#include <SDL.h>

namespace tamtara {

bool TSdlKeySource::HasFocus() {
    SDL_Window* focus = SDL_GetKeyboardFocus();
    return Window ? focus == Window : focus != nullptr;
}

bool TSdlKeySource::ReadScanCodes(KeyStateArray& state) {
    int count = 0;
    const Uint8* sdlState = SDL_GetKeyboardState(&count);
    if (!sdlState) return false;
    ScanCodesFromSdl(sdlState, count, state);
    return true;
}

bool TSdlKeySource::ReadVirtualKeys(KeyStateArray& keys) {
    int count = 0;
    const Uint8* sdlState = SDL_GetKeyboardState(&count);
    if (!sdlState) return false;
    VirtualKeysFromSdl(
        sdlState, count,
        [](int sdl) {
            return static_cast<std::int32_t>(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sdl)));
        },
        keys);
    return true;
}

void TSdlKeySource::KeyCodesOfScancode(int sdlScancode, bool directInput, KeyStateArray& keys) {
    KeyCodesOfSdlKey(
        sdlScancode, directInput,
        [](int sdl) {
            return static_cast<std::int32_t>(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sdl)));
        },
        keys);
}

} // namespace tamtara
