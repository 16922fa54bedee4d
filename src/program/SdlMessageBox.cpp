// The message box behind the program's user-message hook, echoed on stderr. Built into the program only; the
// game logic never sees SDL.
#include "program/SdlMessageBox.h"

#include <SDL.h>

#include <iostream>

namespace tamtara {

void ShowMessageBoxOrPrint(MessageKind kind, const std::string& caption, const std::string& text) {
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if (kind == MessageKind::Warning) flags = SDL_MESSAGEBOX_WARNING;
    if (kind == MessageKind::Error) flags = SDL_MESSAGEBOX_ERROR;
    // Also on stderr, so a message shown on a desktop nobody watches still reaches the log.
    std::cerr << caption << ": " << text << std::endl;
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
}

} // namespace tamtara
