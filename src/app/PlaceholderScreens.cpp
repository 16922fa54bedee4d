// Stand-ins for the screens still to be built: each draws its state's name on black so the
// screen state machine can be followed, and Enter leads on along the way to play.
#include "app/MainForm.h"
#include "library/LibraryScan.h"

#include "platform/display/SurfaceCanvas.h"

namespace tamtara {

namespace {

const char* PlaceholderHint(ScreenState state) {
    switch (state) {
    case ssOpening:
    case ssTitle:
        return "Enter: next   Escape: quit";
    case ssPlay:
        return "Escape: opening   F2: cleared";
    default:
        return "Enter: next   Escape: back";
    }
}

void DrawCentred(TDirectDrawSurfaceCanvas& canvas, std::int32_t y, const std::string& text) {
    canvas.TextOut(320 - canvas.TextWidth(text) / 2, y, text);
}

} // namespace

void TMainForm::PlaceholderScreen() {
    TDirectDrawSurface& back = DXDraw.Surface();
    back.Fill(back.ColorMatch(clBlack));
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "Times New Roman";
    canvas.Font.Height = -40;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    canvas.Font.Color = clWhite;
    DrawCentred(canvas, 200, std::string(ScreenStateName(ScreenState)));
    canvas.Font.Height = -18;
    canvas.Font.Style = TFontStyles{};
    canvas.Font.Color = clSilver;
    if (ScreenState == ssPlay || ScreenState == ssDiscSelect) {
        DrawCentred(canvas, 260, SongFile.empty() ? "(no song under the game folder)" : SongFile);
    }
    DrawCentred(canvas, 440, PlaceholderHint(ScreenState));
    back.ReleaseCanvas();
    DXDraw.Flip();

    if (PlaceholderEnterPressed()) PlaceholderAdvance();
    ScreenFrame += 1;
}

bool TMainForm::PlaceholderEnterPressed() {
    Play->PollKeys();
    return Play->State.KeyHoldA[7] == 1;
}

void TMainForm::PlaceholderAdvance() {
    switch (ScreenState) {
    case ssOpening:
        ChangeScreen(ssTitle);
        break;
    case ssTitle:
        ChangeScreen(ssFolderSelect);
        break;
    case ssFolderSelect:
        // The first folder of the scanned library and its first song.
        DiscFiles.clear();
        DiscTitles.clear();
        if (!Folders.empty()) CollectDiscs(Folders.front(), SongFiles, SongTitles, DiscFiles, DiscTitles);
        SongFile = DiscFiles.empty() ? std::string() : DiscFiles.front();
        SongTitle = DiscTitles.empty() ? std::string() : DiscTitles.front();
        ChangeScreen(ssDiscSelect);
        break;
    case ssDiscSelect:
        if (!SongFile.empty()) ChangeScreen(ssModeSelect);
        break;
    case ssModeSelect:
        ChangeScreen(ssPartSelect);
        break;
    case ssPartSelect:
        ChangeScreen(ssPlay);
        break;
    case ssCleared:
        ChangeScreen(ssResult);
        break;
    case ssFailed:
        ChangeScreen(ssOpening);
        break;
    case ssResult:
        ChangeScreen(ssFolderSelect);
        break;
    case ssPlay:
        break;
    }
}

} // namespace tamtara
