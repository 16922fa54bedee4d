// The launcher's two pictures, painted rather than shipped: the logo of the about and progress
// pages and the picture on the Start button.
#pragma once

#include <QPixmap>

namespace tamtara {

QPixmap LauncherLogo(int width, int height);
QPixmap StartPicture(int size);

} // namespace tamtara
