// The latency calibration screen: clicks at 100 beats per minute through the MIDI output and four
// pads pulsing with them; the player strikes any lane key or pad with the clicks, every strike is
// marked on a scale of ±250 ms, and Enter keeps the median of the kept strikes as the input offset
// and says on screen, for a moment, whether it could be saved.
#include "app/MainForm.h"
#include "app/MenuInput.h"
#include "app/MenuText.h"

#include "base/Stream.h"
#include "platform/input/GameBindings.h"
#include "settings/Settings.h"
#include "settings/SettingsError.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace tamtara {

namespace {

// Long enough that the loop's restart (which drops a fraction of a tick) is rare.
constexpr int ClickBars = 64;
// The pads of the four beats: the cymbal's on the bar's first beat, the hi-hat's on the others,
// lit while the click sounds.
constexpr std::int32_t BeatPadLeft = 172;
constexpr std::int32_t BeatPadStep = 80;
constexpr std::int32_t BeatPadTop = 128;
// The deviation scale: x of 0 ms, one pixel per millisecond either way.
constexpr std::int32_t ScaleCentre = 320;
constexpr std::int32_t ScaleY = 262;
constexpr std::int32_t ScaleHalf = 250;

std::int32_t ScaleX(double deviationMs) {
    const double clamped = std::clamp(deviationMs, -double(ScaleHalf), double(ScaleHalf));
    return ScaleCentre + static_cast<std::int32_t>(std::lround(clamped));
}

const char* CalibrationHelpLine(const CalibrationRun& run) {
    if (run.Ending) return "";
    return run.Enough() ? "Enterで保存、Escで保存せずに戻る"
                        : "プレイキーかパッドで叩く、Escで保存せずに戻る";
}

} // namespace

void TMainForm::EnterCalibration() {
    Calibrating.Clear();
    MidiDrive->Stop();
    TMemoryStream clicks(ClickSongBytes(ClickBars));
    MidiDrive->LoadFromStream(clicks);
    {
        auto lock = MidiDrive->ScopedLock();
        SongStartLine = "click start";
    }
    PlaySetup looping;
    looping.Style = PlayStyle{.Loop = true, .GMReset = true};
    MidiDrive->Play(looping);
}

void TMainForm::CalibrationStrike(std::optional<std::uint32_t> time) {
    if (Calibrating.Ending) return;
    double position = 0.0;
    {
        auto lock = MidiDrive->ScopedLock();
        if (!MidiDrive->IsPlaying()) return;
        // A polled press is measured at the poll, as play grades it in that mode.
        position = time ? MidiDrive->PositionAt(*time) : MidiDrive->CurrentPosition();
    }
    Calibrating.AddStrike(BeatDeviationMs(position, MidiDrive->Division(), CalibrationTempo));
    if (time) CalibrationStruckSincePoll = true;
}

void TMainForm::SaveCalibration() {
    CalibrationEnding ending;
    ending.OffsetMs = std::clamp(*Calibrating.Median(), MinInputOffsetMs, MaxInputOffsetMs);
    Settings.InputOffsetMs = ending.OffsetMs;
    ending.Saved =
        !SettingsFile.empty() &&
        SaveSettingsFile([&](const std::string& iniPath) { SaveInputOffset(iniPath, ending.OffsetMs); },
                         &ending.Problem);
    if (!ending.Problem.empty())
        std::cerr << "tamtara: the input offset was not saved: " << ending.Problem << std::endl;
    Calibrating.Ending = ending;
    StartEnterJingle();
    Screen.LeaveFrame = 1;
}

void TMainForm::CalibrationScreen() {
    Input.PollKeys();
    const KeyHolds& keys = Input.Holds;
    // Written mode measures key presses at the poll; the kit's hits came stamped already.
    if (!Settings.PreciseInput && !CalibrationStruckSincePoll) {
        for (int lane = 0; lane < LaneCount; ++lane) {
            if (IsPress(keys.KeyHoldA[lane]) || IsPress(keys.KeyHoldB[lane])) {
                CalibrationStrike(std::nullopt);
                break;
            }
        }
    }
    CalibrationStruckSincePoll = false;
    if (!Calibrating.Ending && IsPress(keys.KeyHoldA[mbEnter]) && Calibrating.Enough()) SaveCalibration();

    DrawCalibration();
    DXDraw.Flip();
    Screen.ScreenFrame += 1;
    // The confirmation stays a second before the title screen.
    LeaveAfterConfirmation(ssTitle);
}

void TMainForm::DrawCalibration() {
    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& sheets = Art.Surfaces;
    DrawBarredBackground(back, *sheets.BackSurface, *sheets.OverlaySurface);

    // The pads: lit for the first sixth of their beat.
    const std::int32_t songDivision = MidiDrive->Division();
    const std::int32_t division = songDivision > 0 ? songDivision : CalibrationDivision;
    const std::int32_t tick = MidiDrive->CurrentTick();
    const bool clicking = MidiDrive->IsPlaying() && !Calibrating.Ending;
    for (std::int32_t i = 0; i < 4; ++i) {
        const bool lit = clicking && (tick / division) % 4 == i && tick % division < division / 6;
        const std::int32_t lane = i == 0 ? dpCymbal : dpHiHat;
        back.Draw(BeatPadLeft + i * BeatPadStep, BeatPadTop, Bounds(64 * lane + 8, lit ? 66 : 2, 56, 44),
                  *sheets.PadSurface, true);
    }

    // The scale: a band where strikes are kept, every strike (kept ones light, dropped ones red),
    // the median in yellow.
    back.FillRectAlpha(
        TRect{ScaleCentre - ScaleHalf - 10, ScaleY - 34, ScaleCentre + ScaleHalf + 11, ScaleY + 50}, clBlack,
        160);
    const std::optional<double> centre = Calibrating.Centre();
    if (centre) {
        const std::int32_t left = ScaleX(*centre - CalibrationOutlierMs);
        const std::int32_t right = ScaleX(*centre + CalibrationOutlierMs);
        back.FillRectAlpha(TRect{left, ScaleY - 18, right + 1, ScaleY + 20}, ColorRGB(0, 160, 255), 80);
    }
    back.FillRect(TRect{ScaleCentre - ScaleHalf, ScaleY, ScaleCentre + ScaleHalf + 1, ScaleY + 2},
                  back.ColorMatch(clSilver));
    for (std::int32_t ms = -ScaleHalf; ms <= ScaleHalf; ms += 50) {
        const std::int32_t x = ScaleX(ms);
        const std::int32_t reach = ms == 0 ? 22 : 6;
        back.FillRect(TRect{x, ScaleY - reach, x + 1, ScaleY + reach + 2}, back.ColorMatch(clSilver));
    }
    for (double deviation : Calibrating.All()) {
        const std::int32_t x = ScaleX(deviation);
        const bool kept = CalibrationRun::IsKept(deviation, centre);
        back.FillRect(TRect{x - 1, ScaleY - 12, x + 2, ScaleY + 14},
                      back.ColorMatch(kept ? ColorRGB(128, 255, 160) : clRed));
    }
    const std::optional<std::int32_t> median = Calibrating.Median();
    if (median) {
        const std::int32_t x = ScaleX(*median);
        back.FillRect(TRect{x - 2, ScaleY - 24, x + 3, ScaleY + 26}, back.ColorMatch(clYellow));
    }
    BitmapText& text = Art.Text;
    text.DrawAnkText(ScaleX(-ScaleHalf) - 16, ScaleY + 28, "-250ms");
    text.DrawAnkText(ScaleX(0) - 4, ScaleY + 28, "0");
    text.DrawAnkText(ScaleX(ScaleHalf) - 32, ScaleY + 28, "+250ms");

    // The count up to the goal, then OK.
    const std::string count = Calibrating.CountText();
    text.DrawText32(320 - 8 * std::int32_t(count.size()), 188, count, Calibrating.Enough() ? 3 : 0);

    DrawShadowedLine(back, 320, 64, "タイミング調整", clYellow, 30);
    DrawShadowedLine(back, 320, 100, "クリックに合わせて、プレイキーかパッドを叩いてください", clWhite, 18);
    DrawShadowedLine(back, 320, 318, "ずれ: " + (median ? SignedMsText(*median) : std::string("--")),
                     Calibrating.Enough() ? clYellow : clWhite, 26);
    DrawShadowedLine(back, 320, 352, "いまの設定: " + SignedMsText(Settings.InputOffsetMs), clSilver, 18);

    if (Calibrating.Ending) {
        // The confirmation on a framed plate over the count and the scale.
        const bool failed = !Calibrating.Ending->Problem.empty();
        const TRect plate{40, 178, 600, 314};
        back.FillRect(plate, back.ColorMatch(clSilver));
        back.FillRect(TRect{plate.Left + 2, plate.Top + 2, plate.Right - 2, plate.Bottom - 2},
                      back.ColorMatch(clBlack));
        back.FillRect(TRect{plate.Left + 4, plate.Top + 4, plate.Right - 4, plate.Bottom - 4},
                      back.ColorMatch(failed ? ColorRGB(112, 0, 0) : ColorRGB(0, 40, 120)));
        DrawShadowedLine(back, 320, failed ? 212 : 230, Calibrating.Ending->Text(), clWhite,
                         failed ? 20 : 26);
        if (failed) DrawShadowedLine(back, 320, 256, Calibrating.Ending->Problem, clYellow, 16);
    }
    DrawHelpLine(back, CalibrationHelpLine(Calibrating));
}

} // namespace tamtara
