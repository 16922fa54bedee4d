// The order of one play frame and the end of play.
#include "app/play/PlayScreen.h"

#include "app/graphics/ScreenSurfaces.h"
#include "app/play/Judge.h"
#include "base/Clock.h"
#include "midi/MidiDrive.h"
#include "platform/display/DXDraw.h"

#include <algorithm>

namespace tamtara {

PlayScreen::PlayScreen(PlayScreenParts parts) : Parts(std::move(parts)) {}

TDirectDrawSurface& PlayScreen::Back() {
    return Parts.Display.Surface();
}

PlayOutcome PlayScreen::DrawPlayScreen(std::int32_t frameCount, std::int32_t screenFrame) {
    PlayState& s = Parts.State;
    Back().Draw(0, 0, TRect{0, 0, 640, 480}, *Parts.Surfaces.BackSurface, false);
    DrawMeters();
    if (!s.DemoMode) {
        Parts.PollKeys();
        Parts.Judgement.JudgePresses(Parts.Holds);
    }
    DrawFrameTexts();
    DrawTitleStrip(frameCount);

    const std::int32_t division = Parts.Drive.Division();
    // Without a division the song has no timeline to draw against.
    if (Parts.Drive.IsPlaying() && division > 0) {
        const std::int32_t now = Parts.Drive.CurrentTick();
        DrawBeatLines(now, division);
        DrawNotesAndSweep(now, division);
        DrawAutoLanes(frameCount);
        DrawPads();
        const std::int32_t elapsed = Parts.Drive.SongMilliseconds(Parts.Clock.Now());
        DrawTempoAndCounters(now, division, elapsed);
        CheckLengthOfPlay(elapsed);
        DrawGrades(frameCount);
        DrawCombo();
        DrawExplosions();
        DrawGauge();
        DrawDemoTexts(frameCount);
        if (s.Practice.Active && !s.DemoMode) DrawPracticeStrip();
        if (Parts.Drive.IsPaused() && !Parts.Drive.IsCountingIn()) DrawPause();
    }
    Parts.Display.Flip();
    return EndOfPlay(screenFrame);
}

PlayOutcome PlayScreen::EndOfPlay(std::int32_t screenFrame) {
    PlayState& s = Parts.State;
    PlayOutcome outcome = PlayOutcome::Continue;
    if (!Parts.Drive.IsPlaying() && Parts.Drive.ErrorCount() != s.SequencerErrorsAtStart)
        return PlayOutcome::OutputStopped;
    if (!Parts.Drive.IsPlaying() && screenFrame > 30)
        outcome = s.DemoMode ? PlayOutcome::DemoEnded : PlayOutcome::Cleared;
    // A practice cannot be failed: its gauge stops at empty.
    if (s.Practice.Active && !s.DemoMode) s.Gauge = std::max(s.Gauge, 0);
    if (s.Gauge < 0) {
        Parts.Drive.Stop();
        Parts.Drive.AllNotesOff();
        outcome = PlayOutcome::Failed;
    }
    return outcome;
}

} // namespace tamtara
