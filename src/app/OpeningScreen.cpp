// The opening screen: the logo spins in on white, holds, stretches flat and vanishes between
// black curtains; Enter cuts to the black tail, after which the title follows.
#include "app/MainForm.h"

namespace tamtara {

namespace {

constexpr TRect Logo{0, 0, 370, 180};
// The frame an Enter jumps to: the last black frames before the title.
constexpr std::int32_t BlackTailFrame = 110;
constexpr std::int32_t LastOpeningFrame = 120;

} // namespace

void TMainForm::OpeningScreen() {
    TDirectDrawSurface& back = DXDraw.Surface();
    const TDirectDrawSurface& logo = *Art.Surfaces.SpriteSurface;
    const std::int32_t f = Screen.ScreenFrame;
    const std::uint32_t white = back.ColorMatch(clWhite);
    if (f <= 32) {
        back.Fill(white);
        back.DrawRotate(320, 240, 370, 180 * (34 - f), Logo, logo, 0.5, 0.5, false, 4 * (33 - f));
    } else if (f <= 66) {
        back.Fill(white);
        back.Draw(135, 150, Logo, logo, false);
    } else if (f <= 100) {
        back.Fill(white);
        const std::int32_t n = (f - 66) * 180 / 33;
        back.DrawRotate(320, 240, 370 + 8 * n, 180 - n, Logo, logo, 0.5, 0.5, false, -4 * (f - 66));
    } else {
        back.Fill(back.ColorMatch(clBlack));
    }
    if (f < 8)
        DrawCurtain((8 - f) * 240 / 8);
    else if (f >= 92 && f <= 100)
        DrawCurtain((f - 91) * 240 / 8);
    DXDraw.Flip();

    Input.PollKeys();
    if (Screen.LeaveFrame == 0 && Input.Holds.KeyHoldA[7] == 1) {
        Screen.LeaveFrame = 1;
        Screen.ScreenFrame = BlackTailFrame;
    }
    if (Screen.ScreenFrame > LastOpeningFrame) ChangeScreen(ssTitle);
    // Counted after the change too: the title's first frame sees 1.
    Screen.ScreenFrame += 1;
}

void TMainForm::EnterOpening() {
    MidiDrive->Stop();
}

} // namespace tamtara
