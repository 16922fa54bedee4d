// The heads-up parts of the play frame: meters, counters, texts, gauge and the length of play.
#include "app/graphics/BitmapText.h"
#include "app/graphics/ScreenSurfaces.h"
#include "app/play/PlayScreen.h"
#include "app/play/PracticeControl.h"
#include "midi/MidiDrive.h"
#include "platform/display/DXDraw.h"
#include "platform/display/DXTimer.h"

#include <algorithm>
#include <cstdio>

namespace tamtara {

namespace {

template <typename... Args> std::string Format(const char* format, Args... args) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

} // namespace

void PlayScreen::DrawMeters() {
    const TDirectDrawSurface& meter = *Parts.Surfaces.MeterSurface;
    for (int c = 0; c < ChannelCount; ++c) {
        const std::int32_t y = 128 + 8 * c;
        std::int32_t w = Parts.State.MeterLeft[c].load(std::memory_order_relaxed) / 10;
        Back().Draw(10, y, Bounds(10, 0, w, 7), meter, false);
        w = Parts.State.MeterRight[c].load(std::memory_order_relaxed) / 10;
        Back().Draw(632 - w, y, Bounds(104 - w, 8, w + 8, 7), meter, false);
        if (c == 9) {
            Parts.Text.DrawText6(10, y + 1, "DRUM SET");
        } else {
            const std::int32_t program = Parts.Drive.ChannelProgram(c);
            if (program >= 0 && std::size_t(program) < Parts.InstrumentNames.size())
                Parts.Text.DrawText6(10, y + 1, Parts.InstrumentNames[program]);
        }
    }
}

void PlayScreen::DrawFrameTexts() {
    const PlayState& s = Parts.State;
    const std::int32_t f = Parts.Timer.FrameRate();
    const std::int32_t interval = std::max<std::int32_t>(std::int32_t(Parts.Timer.Interval()), 1);
    const std::int32_t nominal = std::max<std::int32_t>(1000 / interval, 1);
    Parts.Text.DrawAnkText(8, 436, Format("%2dFPS %3d%%", f, f * 100 / nominal));
    Parts.Text.DrawText16(8, 456, Format("LEVEL %d", s.Level), 0);
    Parts.Text.DrawText16(540, 20, Format("%.6d", s.Score), s.ScoreFlash > 0 ? 2 : 0);
    if (s.TwoMinutes) {
        Parts.Text.DrawText16(522, 436, "    TWO", 0);
        Parts.Text.DrawText16(522, 456, "MINUTES", 0);
    } else {
        Parts.Text.DrawText16(530, 436, "  FULL", 0);
        Parts.Text.DrawText16(530, 456, "CHORUS", 0);
    }
}

void PlayScreen::DrawTitleStrip(std::int32_t frameCount) {
    const TDirectDrawSurface& strip = *Parts.Surfaces.SpriteSurface;
    const std::int32_t period = strip.Width() + 108;
    const std::int32_t s = (frameCount * 2) % period;
    Back().Draw(0, 338, Bounds(s, 0, 108, 32), strip, false);
}

void PlayScreen::DrawTempoAndCounters(std::int32_t now, std::int32_t division, std::int32_t elapsed) {
    // The tempo being played: a practice plays the song's own scaled by its tempo percent.
    std::int32_t bpm = Parts.Drive.CurrentTempo();
    if (Parts.State.Practice.Active) bpm = (bpm * Parts.Practice.StripInfo().TempoPercent + 50) / 100;
    Parts.Text.DrawText16(536, 356, "BPM", 0);
    Parts.Text.DrawText32(584, 340, Format("%3d", bpm), 2);
    // The pre-roll counts the bars and the time before the song's start as negative.
    const std::int32_t beat = FloorDiv(now, division);
    const std::int32_t phase = now - beat * division;
    Parts.Text.DrawText6(
        4, 365, Format("BEAT%4d:%1d.%.3d", FloorDiv(beat, 4), beat - 4 * FloorDiv(beat, 4) + 1, phase));
    const char sign = elapsed < 0 ? '-' : ' ';
    const std::int32_t ms = elapsed < 0 ? -elapsed : elapsed;
    Parts.Text.DrawText6(4, 371, Format("TIME %c%d:%.2d.%.3d", sign, ms / 60000, ms / 1000 % 60, ms % 1000));
}

void PlayScreen::CheckLengthOfPlay(std::int32_t elapsed) {
    PlayState& s = Parts.State;
    TMidiDrive& drive = Parts.Drive;
    if (s.DemoMode) {
        Parts.PollKeys();
        if (elapsed > 40000 && !drive.IsFading())
            drive.FadeOut(5000);
        else if (Parts.Holds.KeyHoldA[7] == 1 && !drive.IsFading())
            drive.Stop();
    } else if (s.TwoMinutes && elapsed > 120000 && !drive.IsFading()) {
        drive.FadeOut(10000);
    }
}

void PlayScreen::DrawGauge() {
    PlayState& s = Parts.State;
    std::int32_t r = 0;
    if (s.ScoreFlash > 0) {
        r = 20;
        --s.ScoreFlash;
    }
    const std::int32_t w = (std::max(s.Gauge, 0) / 10) * 8;
    Back().Draw(152, 460, Bounds(0, r, w, 20), *Parts.Surfaces.GaugeSurface, false);
}

void PlayScreen::DrawDemoTexts(std::int32_t frameCount) {
    if (!Parts.State.DemoMode) return;
    Parts.Text.DrawText32(180, 190, "  DEMONSTRATION", 1);
    if ((frameCount / 5) % 3 > 0) Parts.Text.DrawText16(206, 240, "PRESS ENTER KEY", 0);
    Parts.Text.DrawText16(224, 300, "VERSION 1.82", 3);
    Parts.Text.DrawText16(192, 320, "INTERNET RELEASE", 2);
}

} // namespace tamtara
