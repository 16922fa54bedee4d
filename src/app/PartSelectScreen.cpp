// The part selection screen: each part's key hands that part to automatic play or takes it
// back (the three toms together); Enter leads on to play. Below each panel stand the keys that
// choose it, and Backspace goes back to the disc screen.
#include "app/MainForm.h"
#include "app/MenuInput.h"
#include "app/MenuText.h"
#include "app/PartKeyNames.h"

namespace tamtara {

namespace {

// The part whose state each of the five panels shows: hi-hat, snare, kick, toms, cymbal.
constexpr std::int32_t PanelParts[5] = {0, 1, 2, 3, 6};
// The parts whose keys choose each panel.
const std::initializer_list<int> PanelKeyParts[5] = {{0}, {1}, {2}, {3, 4, 5}, {6}};

bool IsTom(std::int32_t part) {
    return part >= 3 && part <= 5;
}

} // namespace

void TMainForm::PartSelectScreen() {
    Input.PollKeys();
    PlayState& play = Play->State;
    const auto& hold = Input.Holds.KeyHoldA;
    if (Screen.LeaveFrame == 0) {
        for (std::int32_t p = 0; p < 7; ++p) {
            if (!IsPress(hold[p])) continue;
            if (IsTom(p)) {
                for (std::int32_t tom = 3; tom <= 5; ++tom)
                    play.AutoLane[tom] = !play.AutoLane[tom];
            } else {
                play.AutoLane[p] = !play.AutoLane[p];
            }
        }
        if (IsPress(hold[mbEnter])) ConfirmPlay(play);
    }

    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& sheets = Art.Surfaces;
    DrawBarredBackground(back, *sheets.BackSurface, *sheets.OverlaySurface);
    const TDirectDrawSurface& panels = *sheets.SpriteSurface;
    back.Draw(0, 190, Bounds(0, 0, 640, 80), panels, true);
    // The lit button blinks off for two frames in every ten while the player chooses.
    const bool lit = (Screen.FrameCount / 2) % 5 != 0 || Screen.LeaveFrame > 0;
    for (std::int32_t c = 0; c < 5; ++c) {
        const std::int32_t x = 128 * c;
        back.Draw(x, 270, Bounds(0, 96, 128, 48), panels, true);
        back.Draw(x, 318, Bounds(256, 96, 128, 48), panels, true);
        if (!lit) continue;
        if (play.AutoLane[PanelParts[c]])
            back.Draw(x, 318, Bounds(384, 96, 128, 48), panels, true);
        else
            back.Draw(x, 270, Bounds(128, 96, 128, 48), panels, true);
    }
    // The keys of each panel on a dark strip under the buttons.
    back.FillRectAlpha(TRect{0, 370, 640, 396}, clBlack, 140);
    const KeyAssigns& assigns = Input.DXInput.Keyboard.Assigns;
    for (std::int32_t c = 0; c < 5; ++c)
        DrawShadowedLine(back, 128 * c + 64, 373, PartKeyNames(assigns, PanelKeyParts[c]), clYellow, 18);
    DrawHelpLine(back, "プレイキーで演奏かオートかを選択、Enterで決定");
    if (Screen.LeaveFrame == 0) DrawSecondHelpLine(back, BackHelpLine);
    DXDraw.Flip();
    Screen.ScreenFrame += 1;

    LeaveAfterConfirmation(ssPlay);
}

void TMainForm::EnterPartSelect() {
    StartJingle(SelectJingle, true, true, true);
}

} // namespace tamtara
