// The frame tick: one step of the current screen per tick of the frame timer.
#include "app/MainForm.h"

namespace tamtara {

void TMainForm::TimerTimer() {
    if (!DXDraw.CanDraw()) return;
    // Nothing else sets the first screen: the first frame that can draw enters the opening.
    if (FrameCount == 0) ChangeScreen(ssOpening);
    RunScreen();
    FrameCount += 1;
}

void TMainForm::RunScreen() {
    switch (ScreenState) {
    case ssPlay: {
        const PlayOutcome outcome = Play->Screen.DrawPlayScreen(FrameCount, ScreenFrame);
        if (outcome == PlayOutcome::Cleared) ChangeScreen(ssCleared);
        if (outcome == PlayOutcome::DemoEnded) ChangeScreen(ssOpening);
        if (outcome == PlayOutcome::Failed) ChangeScreen(ssFailed);
        ScreenFrame += 1;
        break;
    }
    case ssFolderSelect:
        FolderSelectScreen();
        break;
    case ssDiscSelect:
        DiscSelectScreen();
        break;
    case ssModeSelect:
        ModeSelectScreen();
        break;
    case ssPartSelect:
        PartSelectScreen();
        break;
    case ssOpening:
        OpeningScreen();
        break;
    case ssTitle:
        TitleScreen();
        break;
    case ssFailed:
    case ssCleared:
        StageEndScreen();
        break;
    case ssResult:
        ResultScreen();
        break;
    }
}

} // namespace tamtara
