// SDL_BlitSurface on two RGB565 surfaces.
#include "platform/display/PlatformBlit.h"

#include <SDL.h>

namespace tamtara {

void PlatformBlit(TDirectDrawSurface& target, std::int32_t x, std::int32_t y, const TRect& srcRect,
                  const TDirectDrawSurface& source) {
    if (!target.Handle() || !source.Handle()) return;
    SDL_SetColorKey(source.Handle(), SDL_FALSE, 0);
    SDL_SetSurfaceBlendMode(source.Handle(), SDL_BLENDMODE_NONE);
    SDL_Rect from{srcRect.Left, srcRect.Top, srcRect.Width(), srcRect.Height()};
    SDL_Rect to{x, y, 0, 0};
    SDL_BlitSurface(source.Handle(), &from, target.Handle(), &to);
}

} // namespace tamtara
