// The bitmaps of one screen, loaded on entry into the shared surfaces.
#pragma once

#include "app/ScreenState.h"
#include "app/graphics/ScreenSurfaces.h"
#include "app/play/PlayBackground.h"

namespace tamtara {

// For play it composes the background and the title strip from song. Raises EGraphicError.
void ScreenGraphics(ScreenState screenState, TReadPackageFile& package, ScreenSurfaces& surfaces,
                    const PlayPicture& song);

} // namespace tamtara
