// What every screen draws with: the shared off-screen surfaces and text from their font sheets
// onto the display's back buffer.
#pragma once

#include "app/graphics/BitmapText.h"
#include "app/graphics/ScreenSurfaces.h"
#include "platform/display/DXDraw.h"

namespace tamtara {

struct ScreenArt {
    explicit ScreenArt(TDXDraw& display) : Text(display.Surface(), Surfaces) {}
    ScreenArt(const ScreenArt&) = delete;
    ScreenArt& operator=(const ScreenArt&) = delete;

    ScreenSurfaces Surfaces;
    BitmapText Text;
};

} // namespace tamtara
