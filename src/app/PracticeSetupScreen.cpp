// The practice set-up screen, reached with Tab from the mode screen: one row per option of a
// practice (tempo, loop, speed trainer, wait mode, count-in, metronome, mix), Up/Down to the
// row, Left/Right to change it, Enter to start the practice play; Escape or BackSpace go back to
// the mode screen. Screen.LeaveFrame counts the frames after Enter.
#include "app/MainForm.h"
#include "app/MenuInput.h"
#include "app/MenuText.h"

#include "platform/display/DirectDrawSurface.h"

namespace tamtara {

namespace {

constexpr std::int32_t FirstRowY = 66;
constexpr std::int32_t RowHeight = 30;
constexpr std::int32_t NameX = 200;
constexpr std::int32_t ValueX = 450;
// A stretch of the top bar without anything drawn on it, and how much of the bar it covers.
constexpr std::int32_t PlainBarLeft = 300;
constexpr std::int32_t PlainBarWidth = 150;
constexpr std::int32_t TitleCoverWidth = 300;

} // namespace

void TMainForm::PracticeSetupScreen() {
    Input.PollKeys();
    const auto& hold = Input.Holds.KeyHoldA;
    PracticeSetupState& setup = PracticeSetup;
    if (Screen.LeaveFrame == 0) {
        if (IsRepeatPress(hold[mbUp])) setup.MoveRow(-1);
        if (IsRepeatPress(hold[mbDown])) setup.MoveRow(1);
        if (IsRepeatPress(hold[mbLeft])) ChangePracticeRow(setup.Choices, setup.Row, -1, setup.BarCount);
        if (IsRepeatPress(hold[mbRight])) ChangePracticeRow(setup.Choices, setup.Row, 1, setup.BarCount);
        if (IsPress(hold[mbEnter])) {
            KeepPracticeChoices();
            PlayState& play = Play->State;
            ApplyChoices(setup.Choices, setup.BarCount, play.Practice);
            // The parts stay as the part screen last left them.
            ConfirmPlay(play);
        }
    }

    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& sheets = Art.Surfaces;
    DrawBarredBackground(back, *sheets.BackSurface, *sheets.OverlaySurface);
    // The mode screen's top bar with its plain middle over the mode screen's title, and this
    // screen's own title on it.
    for (std::int32_t x = 0; x < TitleCoverWidth; x += PlainBarWidth)
        back.Draw(x, 0, Bounds(PlainBarLeft, 0, PlainBarWidth, 56), *sheets.OverlaySurface, false);
    DrawShadowedLine(back, TitleCoverWidth / 2, 12, "練習モードの設定", clWhite, 28);
    back.FillRectAlpha(TRect{40, FirstRowY - 6, 600, FirstRowY + RowHeight * PracticeRowCount}, clBlack, 150);
    for (std::int32_t row = 0; row < PracticeRowCount; ++row) {
        const std::int32_t y = FirstRowY + RowHeight * row;
        const bool current = row == setup.Row;
        // The chosen row stands on a lighter band and blinks while it can still be changed.
        if (current) back.FillRectAlpha(TRect{44, y - 3, 596, y + RowHeight - 5}, clWhite, 60);
        const bool used = PracticeRowInUse(setup.Choices, row);
        const TColor colour = !used ? clGray : current ? clYellow : clWhite;
        DrawShadowedLine(back, NameX, y, PracticeRowName(row), colour, 20);
        if (!current || Screen.LeaveFrame > 0 || Screen.FrameCount % 6 != 0)
            DrawShadowedLine(back, ValueX, y, PracticeRowValue(setup.Choices, row, setup.BarCount), colour,
                             20, 280);
    }
    DrawHelpLine(back, "↑↓で項目、← →で変更、Enterで練習開始");
    if (Screen.LeaveFrame == 0) DrawSecondHelpLine(back, "Esc/BackSpaceでモード選択に戻る");
    DXDraw.Flip();
    Screen.ScreenFrame += 1;

    LeaveAfterConfirmation(ssPlay);
}

void TMainForm::EnterPracticeSetup() {
    // The mode screen's tune plays on; the song's bars are counted from its file.
    PracticeSetup.Begin(Selection.SongFile, SongBarCount(Selection.SongFile), Settings.Practice);
}

void TMainForm::KeepPracticeChoices() {
    PracticeSetup.Remember(Selection.SongFile);
    Settings.Practice = SettingsOfChoices(PracticeSetup.Choices, Settings.Practice);
    SaveSettingsFile([&](const std::string& iniPath) { SavePracticeSettings(iniPath, Settings.Practice); });
}

void TMainForm::LeavePracticeSetup() {
    KeepPracticeChoices();
    // The mode screen comes back with the rows the player had chosen.
    const PlayOptions options = Options;
    ChangeScreen(ssModeSelect);
    Options = options;
}

} // namespace tamtara
