// Composition of the play screen's background (song picture, lane stripes, skin) and of the
// scrolling title strip, once per entry into play or display restore.
#pragma once

#include "app/play/ScreenSurfaces.h"

#include <string>

namespace tamtara {

// The song's picture beside it: the ".bmp" twin, else the ".jpg" one, else empty.
std::string SongPicturePath(const std::string& songFile);

void ComposePlayBackground(TReadPackageFile& package, ScreenSurfaces& surfaces, const PlayPicture& song);
void ComposeTitleStrip(TDirectDrawSurface& strip, const std::string& title);

} // namespace tamtara
