// The disc selection screen: the songs of the chosen folder as titles and file names beside a
// turning column of discs, with a preview of the highlighted song once the highlight rests.
#include "app/DiscBadge.h"
#include "app/MainForm.h"
#include "app/MenuInput.h"
#include "app/MenuText.h"
#include "app/SelectionLabels.h"

#include "app/graphics/FittedText.h"
#include "platform/display/SurfaceCanvas.h"
#include "platform/text/SongText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace tamtara {

namespace {

constexpr double DegreesToRadians = 3.14 / 180;

// Texts end inside the screen: the title from x 270, the file name (and a mark's tag) from 286.
constexpr std::int32_t TextRight = 632;
constexpr std::int32_t TagHeight = 20;

// A marked disc's tag: white on a dark plate of the mark's colour, right-aligned at TextRight
// on the file name's row. Returns its width.
std::int32_t DrawTag(TDirectDrawSurfaceCanvas& canvas, std::int32_t y, SongMark mark) {
    const std::string tag = SongMarkTag(mark);
    canvas.Font.Height = -16;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    const std::int32_t w = canvas.TextWidth(tag) + 12;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = mark == SongMark::Unplayable ? ColorRGB(160, 0, 0) : ColorRGB(64, 64, 64);
    canvas.FillRect(Bounds(TextRight - w, y + 2, w, TagHeight));
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Color = clWhite;
    canvas.TextOut(TextRight - w + 6, y + 4, tag);
    canvas.Font.Height = -24;
    return w;
}

// The chosen disc's difficulty, small and right-aligned in its title row ("…" while the song is
// still being read); its width.
std::int32_t DrawDifficulty(TDirectDrawSurfaceCanvas& canvas, std::int32_t y,
                            std::optional<double> difficulty) {
    char text[32];
    if (difficulty)
        std::snprintf(text, sizeof text, "難易度 %.1f", *difficulty);
    else
        std::snprintf(text, sizeof text, "難易度 …");
    canvas.Font.Height = -14;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    const std::int32_t w = canvas.TextWidth(text);
    canvas.Font.Color = ColorRGB(0, 0, 128);
    canvas.TextOut(TextRight - w, y - 18, text);
    canvas.Font.Height = -24;
    return w;
}

} // namespace

void TMainForm::DiscSelectScreen() {
    Input.PollKeys();
    const auto& hold = Input.Holds.KeyHoldA;
    const auto discCount = static_cast<std::int32_t>(Library.DiscFiles.size());
    if (Screen.LeaveFrame == 0) {
        if (IsRepeatPress(hold[mbUp])) {
            if (--Selection.DiscIndex < 0) {
                Selection.DiscIndex = 0;
            } else {
                MidiDrive->Stop();
                Selection.PreviewDelay = 0;
                Selection.WheelTarget += 24;
            }
        }
        if (IsRepeatPress(hold[mbDown])) {
            if (Selection.DiscIndex + 1 < discCount) {
                Selection.DiscIndex += 1;
                MidiDrive->Stop();
                Selection.PreviewDelay = 0;
                Selection.WheelTarget -= 24;
            } else {
                Selection.DiscIndex = std::max(discCount - 1, 0);
            }
        }
        Selection.PreviewDelay += 1;
        // The records' thread works out the song's key once the highlight has moved to it.
        if (Selection.PreviewDelay == 1 && Records && Selection.DiscIndex < discCount)
            Records->LookUp(Library.DiscFiles[static_cast<std::size_t>(Selection.DiscIndex)]);
        // A marked song is not previewed: it would fail or play without anything to strike.
        if (Selection.PreviewDelay == 30 && Settings.Prev && Selection.DiscIndex < discCount &&
            DiscCheck(Selection.DiscIndex).Mark == SongMark::Playable)
            StartJingle(Library.DiscFiles[Selection.DiscIndex].c_str(), true, false, false);
        if (IsPress(hold[mbEnter]) && Selection.DiscIndex < discCount && MayChooseDisc(Selection.DiscIndex)) {
            Selection.SongFile = Library.DiscFiles[Selection.DiscIndex];
            Selection.SongTitle = Library.DiscTitles[Selection.DiscIndex];
            StartEnterJingle();
            Screen.LeaveFrame = 1;
        }
        if (IsPress(hold[mbLeft])) {
            ChangeScreen(ssFolderSelect);
            return;
        }
    }
    if (LeaveAfterConfirmation(ssModeSelect)) return;

    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& sheets = Art.Surfaces;
    back.Draw(0, 0, TRect{0, 0, 640, 480}, *sheets.BackSurface, false);
    DrawDiscTexts(back);
    back.Draw(0, 152, Bounds(0, 256, 256, 176), *sheets.OverlaySurface, true);
    for (std::int32_t s = -2; s <= 2; ++s) {
        const std::int32_t frame = s == 0 ? 160 * (Screen.FrameCount % 2) : 0;
        const double a = ((Selection.WheelAngle % 24) + 24 * s) * DegreesToRadians;
        const auto x = static_cast<std::int32_t>(std::cos(a) * 400) - 322;
        const auto y = static_cast<std::int32_t>(std::sin(a) * 400) + 160;
        back.Draw(x, y, Bounds(frame, 0, 160, 160), *sheets.SpriteSurface, true);
    }
    Selection.TurnWheel();
    Art.Text.DrawText16(8, 220, CounterText(Selection.DiscIndex + 1, discCount), 0);
    Art.Text.DrawText16(8, 242, "DISCS", 3);
    back.Draw(0, 0, Bounds(0, 8, 320, 56), *sheets.OverlaySurface, false);
    back.Draw(320, 0, Bounds(0, 72, 320, 56), *sheets.OverlaySurface, false);
    back.Draw(0, 432, Bounds(0, 128, 320, 48), *sheets.OverlaySurface, false);
    back.Draw(320, 432, Bounds(0, 192, 320, 48), *sheets.OverlaySurface, false);
    DrawDiscBadge(back);
    DrawHelpLine(back, "↑↓で選択、ENTERで決定、←でフォルダ選択に戻ります");
    DXDraw.Flip();
    Screen.ScreenFrame += 1;
}

void TMainForm::DrawDiscTexts(TDirectDrawSurface& back) {
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clYellow;
    canvas.FillRect(Bounds(0, 210, 640, 60));
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Charset = SHIFTJIS_CHARSET;
    canvas.Font.Height = -24;
    const auto discCount = static_cast<std::int32_t>(Library.DiscFiles.size());
    for (std::int32_t s = -2; s <= 2; ++s) {
        const std::int32_t k = Selection.DiscIndex + s;
        if (k < 0 || k >= discCount) continue;
        const std::int32_t y = 240 + 70 * s;
        // A marked disc is dimmed and tagged with what is wrong with it.
        const SongMark mark = DiscCheck(k).Mark;
        const bool marked = mark != SongMark::Playable;
        const std::int32_t tagWidth = marked ? DrawTag(canvas, y, mark) + 8 : 0;
        const std::int32_t ratingWidth =
            s == 0 && !marked ? DrawDifficulty(canvas, y, Library.Difficulty(Library.DiscFiles[k])) + 8 : 0;
        canvas.Font.Style = s == 0 ? TFontStyles{TFontStyle::fsBold} : TFontStyles{};
        const std::string title = FitText(canvas, SongLabel(Library.DiscTitles[k], Library.DiscFiles[k]),
                                          TextRight - 270 - ratingWidth);
        const std::string fileName =
            FitText(canvas, DiscFileName(Library.DiscFiles[k]), TextRight - 286 - tagWidth);
        canvas.Font.Color = clBlack;
        canvas.TextOut(271, y - 23, title);
        canvas.TextOut(287, y + 1, fileName);
        canvas.Font.Color = marked ? clGray : s == 0 ? clRed : clAqua;
        canvas.TextOut(270, y - 24, title);
        canvas.Font.Color = marked ? (s == 0 ? clGray : clSilver) : s == 0 ? clFuchsia : clWhite;
        canvas.TextOut(286, y, fileName);
    }
    back.ReleaseCanvas();
}

void TMainForm::DrawDiscBadge(TDirectDrawSurface& back) {
    const auto k = static_cast<std::size_t>(Selection.DiscIndex);
    if (!Records || k >= Library.DiscFiles.size()) return;
    if (const std::optional<SongBest> best = Records->BestOf(Library.DiscFiles[k]))
        tamtara::DrawDiscBadge(back, DiscBadgeArea, *best);
}

SongCheck TMainForm::DiscCheck(std::int32_t index) const {
    const auto k = static_cast<std::size_t>(index);
    return k < Library.DiscChecks.size() ? Library.DiscChecks[k] : SongCheck{};
}

bool TMainForm::MayChooseDisc(std::int32_t index) {
    const SongCheck check = DiscCheck(index);
    if (check.Mark == SongMark::Playable) return true;
    ShowNotice(check.Mark == SongMark::Unplayable ? UnplayableSongText : NoDrumNotesSongText,
               SongPathLabel(Library.DiscFiles[static_cast<std::size_t>(index)]) + "：" + check.Problem);
    return false;
}

void TMainForm::EnterDiscSelect() {
    Selection.DiscIndex = 0;
    Selection.PreviewDelay = 0;
    Selection.WheelAngle = 0;
    Selection.WheelTarget = 0;
}

} // namespace tamtara
