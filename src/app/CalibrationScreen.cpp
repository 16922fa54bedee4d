// The latency calibration screen: clicks at 100 beats per minute through the MIDI output and a
// pulse on screen; the player strikes any lane key or pad with the clicks, and Enter keeps the
// median deviation as the input offset.
#include "app/MainForm.h"

#include "base/Stream.h"
#include "platform/display/SurfaceCanvas.h"
#include "platform/input/GameBindings.h"
#include "settings/Settings.h"

#include <cmath>
#include <cstdio>

namespace tamtara {

namespace {

// Long enough that the loop's restart (which drops a fraction of a tick) is rare.
constexpr int ClickBars = 64;
// The deviation scale: x of 0 ms and pixels per millisecond.
constexpr std::int32_t ScaleCentre = 320;
constexpr std::int32_t ScaleY = 330;
constexpr std::int32_t PixelsPerTenMs = 25;

std::string SignedMs(std::int32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%+d ms", ms);
    return text;
}

void DrawCentred(TDirectDrawSurfaceCanvas& canvas, std::int32_t y, const std::string& text) {
    canvas.TextOut(320 - canvas.TextWidth(text) / 2, y, text);
}

} // namespace

void TMainForm::EnterCalibration() {
    Calibrating.Clear();
    MidiDrive->Stop();
    MidiDrive->SkipLeadIn = false;
    MidiDrive->GMResetOnPlay = true;
    MidiDrive->GSResetOnPlay = false;
    MidiDrive->LoopPlay = true;
    MidiDrive->AnnounceNotes = false;
    TMemoryStream clicks(ClickSongBytes(ClickBars));
    MidiDrive->LoadFromStream(clicks);
    MidiDrive->Play();
}

void TMainForm::CalibrationStrike(std::optional<std::uint32_t> time) {
    double position = 0.0;
    {
        auto lock = MidiDrive->ScopedLock();
        if (!MidiDrive->Playing) return;
        // A polled press is measured at the poll, as play grades it in that mode.
        position = time ? MidiDrive->PositionAt(*time) : MidiDrive->Position.load();
    }
    Calibrating.AddStrike(BeatDeviationMs(position, MidiDrive->Division, CalibrationTempo));
    if (time) CalibrationStruckSincePoll = true;
}

void TMainForm::CalibrationScreen() {
    Input.PollKeys();
    const KeyHolds& keys = Input.Holds;
    // Written mode measures key presses at the poll; the kit's hits came stamped already.
    if (!Settings.PreciseInput && !CalibrationStruckSincePoll) {
        for (int lane = 0; lane < LaneCount; ++lane) {
            if (keys.KeyHoldA[lane] == 1 || keys.KeyHoldB[lane] == 1) {
                CalibrationStrike(std::nullopt);
                break;
            }
        }
    }

    CalibrationStruckSincePoll = false;

    TDirectDrawSurface& back = DXDraw.Surface();
    back.Fill(back.ColorMatch(clBlack));
    // The pulse: bright for the first sixth of every beat, the bar's first beat in yellow.
    const std::int32_t songDivision = MidiDrive->Division;
    const std::int32_t division = songDivision > 0 ? songDivision : CalibrationDivision;
    const std::int32_t tick = MidiDrive->CurrentTick();
    const std::int32_t beat = tick / division;
    const std::int32_t phase = tick % division;
    for (int i = 0; i < 4; ++i) {
        const bool current = MidiDrive->Playing && beat % 4 == i;
        const bool flash = current && phase < division / 6;
        TColor colour = flash ? (i == 0 ? clYellow : clWhite) : (current ? clGray : ColorRGB(64, 64, 64));
        const std::int32_t left = 170 + i * 80;
        back.FillRect(TRect{left, 120, left + 60, 180}, back.ColorMatch(colour));
    }

    // Every strike on a scale of -100 to +100 ms; outliers in red at the ends.
    back.FillRect(TRect{ScaleCentre - 250, ScaleY, ScaleCentre + 251, ScaleY + 2}, back.ColorMatch(clGray));
    back.FillRect(TRect{ScaleCentre, ScaleY - 20, ScaleCentre + 1, ScaleY + 22}, back.ColorMatch(clWhite));
    for (double deviation : Calibrating.All()) {
        const bool kept = std::fabs(deviation) <= CalibrationOutlierMs;
        const double clamped = std::fmax(-100.0, std::fmin(100.0, deviation));
        const auto x = static_cast<std::int32_t>(ScaleCentre + clamped * PixelsPerTenMs / 10);
        back.FillRect(TRect{x - 1, ScaleY - 12, x + 2, ScaleY + 14}, back.ColorMatch(kept ? clLime : clRed));
    }
    if (const auto median = Calibrating.Median()) {
        const std::int32_t x = ScaleCentre + *median * PixelsPerTenMs / 10;
        back.FillRect(TRect{x - 2, ScaleY - 24, x + 3, ScaleY + 26}, back.ColorMatch(clYellow));
    }

    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "Times New Roman";
    canvas.Font.Height = -34;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    canvas.Font.Color = clWhite;
    DrawCentred(canvas, 40, "Latency calibration");
    canvas.Font.Height = -18;
    canvas.Font.Style = TFontStyles{};
    canvas.Font.Color = clSilver;
    DrawCentred(canvas, 200, "Strike any lane key or pad with the clicks (100 BPM).");
    const std::string counts = "Strikes: " + std::to_string(Calibrating.Total()) +
                               "   kept: " + std::to_string(Calibrating.Kept()) + " of " +
                               std::to_string(CalibrationStrikesNeeded) + " needed";
    DrawCentred(canvas, 230, counts);
    canvas.TextOut(ScaleCentre - 262, ScaleY + 30, "-100 ms");
    canvas.TextOut(ScaleCentre + 200, ScaleY + 30, "+100 ms");
    canvas.Font.Height = -26;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    canvas.Font.Color = Calibrating.Enough() ? clYellow : clWhite;
    const auto median = Calibrating.Median();
    DrawCentred(canvas, 262, "Median: " + (median ? SignedMs(*median) : std::string("--")));
    canvas.Font.Height = -18;
    canvas.Font.Style = TFontStyles{};
    canvas.Font.Color = clSilver;
    DrawCentred(canvas, 395, "Offset now: " + SignedMs(Settings.InputOffsetMs));
    canvas.Font.Color = clWhite;
    DrawCentred(canvas, 440,
                Calibrating.Enough() ? "Enter: save the median   Escape: leave unchanged"
                                     : "Escape: leave unchanged");
    back.ReleaseCanvas();
    DXDraw.Flip();

    if (keys.KeyHoldA[7] == 1 && Calibrating.Enough()) {
        Settings.InputOffsetMs = std::clamp(*Calibrating.Median(), MinInputOffsetMs, MaxInputOffsetMs);
        SaveSettingsFile(
            [this](const std::string& iniPath) { SaveInputOffset(iniPath, Settings.InputOffsetMs); });
        ChangeScreen(ssTitle);
    }
    Screen.ScreenFrame += 1;
}

} // namespace tamtara
