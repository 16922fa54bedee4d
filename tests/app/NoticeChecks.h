// What a notice panel on the back buffer looks like to a test: the yellow frame and red inner
// line at the panel's edges, and yellow title text inside.
#pragma once

#include "support/harness/GameHarness.h"

namespace tamtara::testing {

inline bool NoticePanelDrawn(GameHarness& game) {
    const TRect area = game.Form().NoticePanel.Area();
    const TDirectDrawSurface& back = game.BackBuffer();
    const std::uint32_t yellow = back.ColorMatch(clYellow);
    const std::uint32_t red = back.ColorMatch(clRed);
    const bool frame = game.Pixel(area.Left, area.Top + 20) == yellow &&
                       game.Pixel(area.Right - 1, area.Bottom - 20) == yellow &&
                       game.Pixel(area.Left + 20, area.Bottom - 1) == yellow &&
                       game.Pixel(area.Left + 4, area.Top + 20) == red;
    int titlePixels = 0;
    for (int y = area.Top + 12; y < area.Top + 36; ++y)
        for (int x = area.Left + 44; x < area.Left + 200; ++x)
            titlePixels += game.Pixel(x, y) == yellow;
    return frame && titlePixels > 20;
}

} // namespace tamtara::testing
