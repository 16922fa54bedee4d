// The mode selection screen: play length, scroll speed and special mode, chosen one row at a
// time; Screen.LeaveFrame is the row being chosen, then 10 and counting after the confirmation.
#include "app/MainForm.h"
#include "app/MenuInput.h"
#include "app/MenuText.h"

namespace tamtara {

namespace {

// The speed row's options in their order on the strip: 75 comes last.
constexpr std::int32_t ScrollSpeeds[4] = {100, 150, 200, 75};

// The way to the practice set-up, after the way back on the second help line.
constexpr const char* PracticeHelpText = "Tabで練習モード";

const char* ModeHelpLine(std::int32_t row) {
    switch (row) {
    case 0:
        return "← →で演奏時間を選択、↓またはEnterで決定";
    case 1:
        return "← →でスピードを選択、↓またはEnterで決定、↑で前へ戻る";
    case 2:
        return "← →で特殊モードを選択、Enterで決定、↑で前へ戻る";
    default:
        return "";
    }
}

} // namespace

void TMainForm::ModeSelectScreen() {
    Input.PollKeys();
    const auto& hold = Input.Holds.KeyHoldA;
    std::int32_t& r = Screen.LeaveFrame;
    if (r < 10) {
        if (IsPress(hold[mbLeft])) Options.Choice(r) -= 1;
        if (IsPress(hold[mbRight])) Options.Choice(r) += 1;
        bool confirmed = false;
        if (IsPress(hold[mbEnter]) || (IsPress(hold[mbDown]) && r < 2)) {
            if (r < 2) {
                r += 1;
            } else {
                ApplyModeOptions();
                StartEnterJingle();
                r = 10;
                confirmed = true;
            }
        }
        if (IsPress(hold[mbUp]) && r > 0 && !confirmed) r -= 1;
    }

    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& sheets = Art.Surfaces;
    DrawBarredBackground(back, *sheets.BackSurface, *sheets.OverlaySurface);
    const TDirectDrawSurface& choices = *sheets.SpriteSurface;
    back.Draw(0, 96, Bounds(0, 0, 640, 32), choices, true);
    back.Draw(0, 208, Bounds(0, 32, 640, 32), choices, true);
    back.Draw(0, 320, Bounds(0, 64, 640, 32), choices, true);
    back.Draw(0, 128, Bounds(0, 128, 640, 48), choices, true);
    back.Draw(0, 240, Bounds(0, 224, 640, 48), choices, true);
    back.Draw(0, 352, Bounds(0, 320, 640, 48), choices, true);

    // The row being chosen blinks (hidden one frame in three); rows not yet reached show nothing.
    const auto shown = [&](std::int32_t row) { return r > row || (r == row && Screen.FrameCount % 3 != 0); };
    if (shown(0)) {
        const std::int32_t a = 320 * (Options.PlayTimeChoice % 2);
        back.Draw(a, 128, Bounds(a, 176, 320, 48), choices, true);
    }
    if (shown(1)) {
        const std::int32_t a = 160 * (Options.SpeedChoice % 4);
        back.Draw(a, 240, Bounds(a, 272, 160, 48), choices, true);
    }
    if (shown(2)) {
        const std::int32_t a = 160 * (Options.SpecialChoice % 4);
        back.Draw(a, 352, Bounds(a, 368, 160, 48), choices, true);
    }
    if (r < 10) {
        DrawHelpLine(back, ModeHelpLine(r));
        DrawSecondHelpLine(back, std::string(BackHelpLine) + "、" + PracticeHelpText);
    }
    DXDraw.Flip();
    Screen.ScreenFrame += 1;

    if (r > 30)
        ChangeScreen(ssPartSelect);
    else if (r > 9)
        r += 1;
}

void TMainForm::EnterModeSelect() {
    StartJingle(SelectJingle, true, true, false);
    Options = PlayOptions{};
    // A song chosen anew is played as the game's own play unless its practice is set up again.
    Play->State.Practice.Active = false;
}

void TMainForm::ApplyModeOptions() {
    PlayState& play = Play->State;
    play.TwoMinutes = Options.PlayTimeChoice % 2 == 0;
    play.ScrollSpeed = ScrollSpeeds[Options.SpeedChoice % 4];
    play.HideLowerNotes = (Options.SpecialChoice % 4 & 1) != 0;
    play.HideUpperNotes = (Options.SpecialChoice % 4 & 2) != 0;
}

} // namespace tamtara
