// The game's key source: SDL's keyboard state, read for the game window.
#pragma once

#include "platform/input/KeySource.h"

struct SDL_Window;

namespace tamtara {

class TSdlKeySource : public TKeySource {
public:
    // window is the game window whose focus counts; null accepts any window of the program.
    explicit TSdlKeySource(SDL_Window* window = nullptr) : Window(window) {}
    void SetWindow(SDL_Window* window) { Window = window; }

    // SDL updates its state while events are pumped; the game's event loop does that once a
    // frame before polling.
    bool HasFocus() override;
    bool ReadScanCodes(KeyStateArray& state) override;
    bool ReadVirtualKeys(KeyStateArray& keys) override;
    void KeyCodesOfScancode(int sdlScancode, bool directInput, KeyStateArray& keys) override;

private:
    SDL_Window* Window;
};

} // namespace tamtara
