// The lane parts of the play frame: beat lines, notes with the miss sweep, automatic-lane bands,
// pads, grade sprites, combo and explosions.
#include "app/graphics/BitmapText.h"
#include "app/graphics/ScreenSurfaces.h"
#include "app/play/Judge.h"
#include "app/play/PlayScreen.h"
#include "platform/display/DXDraw.h"

namespace tamtara {

void PlayScreen::DrawBeatLines(std::int32_t now, std::int32_t division) {
    const std::int32_t b = Parts.State.ScrollSpeed * 80 / 100;
    if (b <= 0) return;
    const std::int32_t phase = now - FloorDiv(now, division) * division;
    for (std::int32_t k = 0; k <= HitLineY / b; ++k) {
        const std::int32_t y = HitLineY - b * (division - phase) / division - k * b;
        Back().FillRect(Bounds(160, y, 320, 1), 0);
    }
}

void PlayScreen::DrawNotesAndSweep(std::int32_t now, std::int32_t division) {
    PlayState& s = Parts.State;
    const TDirectDrawSurface& notes = *Parts.Surfaces.NoteSurface;
    for (int lane = 0; lane < LaneCount; ++lane) {
        const std::int32_t head = s.QueueHead[lane].load(std::memory_order_relaxed);
        const std::int32_t count = s.QueueCount[lane].load(std::memory_order_acquire);
        const std::int32_t col = (!s.AutoLane[lane] || s.AutoPlayMode) ? 0 : 64;
        for (std::int32_t k = 0; k < count; ++k) {
            const std::int32_t position = head + k;
            Parts.Judgement.SweepSlot(lane, position, now);
            const std::int32_t tick = s.Slot(lane, position).Main.Tick;
            if (tick < now) continue;
            const std::int32_t y = HitLineY - ((tick - now) * 80 * s.ScrollSpeed / 100) / division - 8;
            if ((s.HideLowerNotes && y > 238) || (s.HideUpperNotes && y <= 238)) continue;
            Back().Draw(LaneX[lane], y, Bounds(col, 16 * lane, 64, 16), notes, true);
        }
    }
}

void PlayScreen::DrawAutoLanes(std::int32_t frameCount) {
    const PlayState& s = Parts.State;
    if (!s.DemoMode && !s.AutoPlayMode) {
        for (int lane = 0; lane < LaneCount; ++lane) {
            if (!s.AutoLane[lane]) continue;
            const std::int32_t centre = LaneCentre(lane);
            Back().FillRectAlpha(Bounds(centre - 12, 160, 24, 152), clBlack, 96);
            Parts.Text.DrawText16Vertical(centre - 8, 180, "A U T O", 3);
        }
    }
    if (!s.DemoMode && s.AutoPlayMode && (frameCount / 5) % 3 > 0)
        Parts.Text.DrawText32(180, 32, "  AUTO PLAY MODE", 3);
}

void PlayScreen::DrawPads() {
    PlayState& s = Parts.State;
    for (int lane = 0; lane < LaneCount; ++lane) {
        std::int32_t t = s.PadTimer[lane].load(std::memory_order_relaxed);
        const std::int32_t r = t >= 6 ? 64 : 0;
        Back().Draw(LaneX[lane] - 8, 394 + 2 * t, Bounds(64 * lane, r, 64, 64), *Parts.Surfaces.PadSurface,
                    true);
        // An automatic lane may press the pad again meanwhile; that press wins.
        if (t > 0) s.PadTimer[lane].compare_exchange_strong(t, t - 1, std::memory_order_relaxed);
    }
}

void PlayScreen::DrawGrades(std::int32_t frameCount) {
    PlayState& s = Parts.State;
    if (frameCount % 2 == 0) return;
    for (int lane = 0; lane < LaneCount; ++lane) {
        if (s.JudgeTimer[lane] <= 0) continue;
        const std::int32_t row = s.JudgeTimer[lane] >= 10 ? s.JudgeGrade[lane] + 4 : s.JudgeGrade[lane];
        Back().Draw(LaneCentre(lane) - 72, 210 + 32 * (lane % 3), Bounds(0, 48 * row, 144, 48),
                    *Parts.Surfaces.HitSurface, true);
        --s.JudgeTimer[lane];
    }
}

void PlayScreen::DrawCombo() {
    PlayState& s = Parts.State;
    if (s.Combo && s.ComboCount >= 2) Parts.Text.DrawComboNumber(300, 30 - 4 * s.ComboBounce, s.ComboCount);
    if (s.ComboBounce > 0) --s.ComboBounce;
}

void PlayScreen::DrawExplosions() {
    PlayState& s = Parts.State;
    for (int lane = 0; lane < LaneCount; ++lane) {
        const std::int32_t t = s.ExplodeTimer[lane];
        if (t <= 0 || s.AutoLane[lane]) continue;
        Back().DrawAdd(Bounds(ExplodeX[lane], 358, 64, 64),
                       Bounds(64 * ((6 - t) / 2), 64 * ExplodeRow[lane], 64, 64),
                       *Parts.Surfaces.ExplodeSurface, true, 40 * t + 15);
        --s.ExplodeTimer[lane];
    }
}

} // namespace tamtara
