// The folder selection screen: the song folders on a turning wheel of plates; Enter builds the
// chosen folder's disc list and leads on to the disc screen.
#include "app/MainForm.h"
#include "app/MenuInput.h"
#include "app/MenuText.h"
#include "app/SelectionLabels.h"

#include "app/graphics/FittedText.h"
#include "platform/display/SurfaceCanvas.h"

#include <algorithm>
#include <cmath>

namespace tamtara {

namespace {

constexpr double DegreesToRadians = 3.14 / 180;

} // namespace

void TMainForm::FolderSelectScreen() {
    Input.PollKeys();
    const auto& hold = Input.Holds.KeyHoldA;
    const auto folderCount = static_cast<std::int32_t>(Library.Folders.size());
    if (Screen.LeaveFrame == 0) {
        if (IsRepeatPress(hold[mbUp])) {
            if (--Selection.FolderIndex < 0)
                Selection.FolderIndex = 0;
            else
                Selection.WheelTarget += 12;
        }
        if (IsRepeatPress(hold[mbDown])) {
            if (Selection.FolderIndex + 1 < folderCount) {
                Selection.FolderIndex += 1;
                Selection.WheelTarget -= 12;
            } else {
                // An empty library keeps the index at 0 rather than -1.
                Selection.FolderIndex = std::max(folderCount - 1, 0);
            }
        }
        if (IsPress(hold[mbEnter]) && Selection.FolderIndex >= 0 && Selection.FolderIndex < folderCount) {
            Library.CollectDiscs(Library.Folders[Selection.FolderIndex]);
            if (!Library.DiscFiles.empty()) {
                StartEnterJingle();
                Screen.LeaveFrame = 1;
            }
        }
    }
    if (LeaveAfterConfirmation(ssDiscSelect)) return;

    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& sheets = Art.Surfaces;
    back.Draw(0, 0, TRect{0, 0, 640, 480}, *sheets.BackSurface, false);
    Art.Text.DrawText16(32, 230, " " + CounterText(Selection.FolderIndex + 1, folderCount), 0);
    Art.Text.DrawText16(16, 250, "FOLDERS", 3);

    for (std::int32_t s = -4; s <= 4; ++s) {
        const std::int32_t k = s + (-Selection.WheelAngle / 12);
        if (k < 0 || k >= folderCount) continue;
        const double a = ((Selection.WheelAngle % 12) + 12 * s) * DegreesToRadians;
        const auto x = static_cast<std::int32_t>(std::cos(a) * 300) - 160;
        const auto y = static_cast<std::int32_t>(std::sin(a) * 300) + 230;
        back.Draw(x, y, Bounds(0, s == 0 ? 176 : 128, 416, 48), *sheets.OverlaySurface, true);
        TDirectDrawSurfaceCanvas& canvas = back.Canvas();
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Name = "ＭＳ Ｐゴシック";
        canvas.Font.Charset = SHIFTJIS_CHARSET;
        canvas.Font.Height = -22;
        canvas.Font.Style = s == 0 ? TFontStyles{TFontStyle::fsBold} : TFontStyles{};
        // The label stays on its plate, cut short when it is too long.
        const std::string label = FitText(canvas, FolderLabel(Library.Folders[k], Library), 416 - 56 - 16);
        canvas.Font.Color = clBlack;
        canvas.TextOut(x + 57, y + 7, label);
        canvas.Font.Color = clWhite;
        canvas.TextOut(x + 56, y + 6, label);
        back.ReleaseCanvas();
    }
    Selection.TurnWheel();

    back.Draw(0, 0, Bounds(0, 8, 640, 56), *sheets.OverlaySurface, false);
    back.Draw(0, 432, Bounds(0, 64, 640, 48), *sheets.OverlaySurface, false);
    DrawHelpLine(back, "↑↓で選択、ENTERで決定");
    DXDraw.Flip();
    Screen.ScreenFrame += 1;
}

void TMainForm::EnterFolderSelect() {
    StartJingle(SelectJingle, true, false, true);
    Selection.WheelAngle = -12 * Selection.FolderIndex;
    Selection.WheelTarget = Selection.WheelAngle;
}

} // namespace tamtara
