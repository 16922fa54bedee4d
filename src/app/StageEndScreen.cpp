// The stage-end screens after a play: a wall of panels slides together, shakes and settles
// under the failure or clear banner; then the opening (failed) or the result (cleared). F5 on
// the failed screen plays the song again instead.
#include "app/MainForm.h"
#include "app/MenuText.h"

namespace tamtara {

namespace {

constexpr TRect Panel{0, 0, 160, 160};
constexpr TRect Banner{0, 0, 640, 112};
constexpr std::int32_t LastStageEndFrame = 64;

void DrawPanelGrid(TDirectDrawSurface& back, const TDirectDrawSurface& panel, std::int32_t dx,
                   std::int32_t dy) {
    for (std::int32_t r = 0; r <= 2; ++r)
        for (std::int32_t c = 0; c <= 3; ++c)
            back.Draw(160 * c + dx, 160 * r + dy, Panel, panel, false);
}

} // namespace

// Reads no keys: the hold counters stand still until the next screen polls.
void TMainForm::StageEndScreen() {
    if (RetryIfAsked()) return;
    TDirectDrawSurface& back = DXDraw.Surface();
    const TDirectDrawSurface& panel = *Art.Surfaces.BackSurface;
    const TDirectDrawSurface& banner = *Art.Surfaces.SpriteSurface;
    const std::int32_t f = Screen.ScreenFrame;
    if (f < 10) {
        // Not cleared first: the last play frame shows through the gaps of the two triangles.
        for (std::int32_t r = 0; r <= 2; ++r) {
            for (std::int32_t c = 0; c <= 2 - r; ++c)
                back.Draw(160 * c - 320 + 32 * f, 160 * r - 320 + 32 * f, Panel, panel, false);
            for (std::int32_t c = 2 - r; c <= 2; ++c)
                back.Draw(160 * c + 480 - 32 * f, 160 * r + 320 - 32 * f, Panel, panel, false);
        }
    } else {
        if (f < 20) {
            back.Fill(back.ColorMatch(clBlack));
            DrawPanelGrid(back, panel, 8 * (f % 3) - 8, 8 * ((f + 1) % 3) - 8);
        } else {
            DrawPanelGrid(back, panel, 0, 0);
        }
        back.Draw(0, 192, Banner, banner, true);
        if (MayRetry()) {
            // On a dark band, as the wall has no bar to carry it.
            back.FillRectAlpha(TRect{0, 438, 640, 474}, clBlack, 220);
            DrawHelpLine(back, RetryHelpLine);
        }
    }
    Screen.ScreenFrame += 1;
    if (Screen.ScreenFrame > LastStageEndFrame)
        ChangeScreen(Screen.ScreenState == ssFailed ? ssOpening : ssResult);
    DXDraw.Flip();
}

void TMainForm::EnterFailed() {
    RetryAsked = false;
    StartJingle("_failed.mid", false, true, true);
}

void TMainForm::EnterCleared() {
    StartJingle("_cleared.mid", false, true, true);
}

} // namespace tamtara
