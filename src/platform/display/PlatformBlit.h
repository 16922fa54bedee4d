// The platform library's own opaque blit, the yardstick the display benchmark measures the
// surface operations against.
#pragma once

#include "platform/display/DirectDrawSurface.h"

namespace tamtara {

// SDL_BlitSurface of srcRect of source to (x, y) of target, opaque, clipped by SDL.
void PlatformBlit(TDirectDrawSurface& target, std::int32_t x, std::int32_t y, const TRect& srcRect,
                  const TDirectDrawSurface& source);

} // namespace tamtara
