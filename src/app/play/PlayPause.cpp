// The pause of play: the key that pauses and resumes, and the dimmed screen while paused.
#include "app/graphics/BitmapText.h"
#include "app/graphics/ShadowText.h"
#include "app/play/PlayScreen.h"
#include "midi/MidiDrive.h"
#include "platform/display/DXDraw.h"

namespace tamtara {

void PlayScreen::TogglePause() {
    TMidiDrive& drive = Parts.Drive;
    if (Parts.State.DemoMode || !drive.IsPlaying()) return;
    if (drive.IsPaused() && !drive.IsCountingIn())
        drive.Resume();
    else
        drive.Pause();
}

void PlayScreen::DrawPause() {
    Back().FillRectAlpha(TRect{0, 0, 640, 480}, clBlack, 160);
    Parts.Text.DrawText32(280, 176, "PAUSE", 1);
    DrawShadowedLine(Back(), 320, 236, "一時停止中", clWhite);
    DrawShadowedLine(Back(), 320, 270, std::string(PauseKeyName) + ": 再開 (1 小節のカウントのあと)",
                     clYellow, 18);
    DrawShadowedLine(Back(), 320, 296, "Esc: 演奏をやめる", clYellow, 18);
}

} // namespace tamtara
