// The black curtains that open and close the opening and title screens.
#include "app/MainForm.h"

namespace tamtara {

// Two bands, from the top and from the bottom; past 240 they overlap and cover the screen.
void TMainForm::DrawCurtain(std::int32_t height) {
    TDirectDrawSurface& back = DXDraw.Surface();
    const std::uint32_t black = back.ColorMatch(clBlack);
    back.FillRect(TRect{0, 0, 640, height}, black);
    back.FillRect(TRect{0, 480 - height, 640, 480}, black);
}

} // namespace tamtara
