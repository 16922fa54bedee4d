// The bookkeeping of a practice play's passes and its speed trainer.
#include "app/play/PracticeRun.h"

#include "app/play/PlayState.h"

#include <algorithm>

namespace tamtara {

std::int32_t GradeCounts::AccuracyPermille() const {
    const std::int32_t total = Total();
    return total > 0 ? (Perfect + Great) * 1000 / total : 0;
}

GradeCounts CountsOf(const PlayState& state) {
    return {state.PerfectCount, state.GreatCount, state.GoodCount, state.MissCount};
}

void PracticeRun::ResetForPlay() {
    TempoPercent = StartTempoPercent;
    Metronome = StartMetronome;
    Rows.clear();
    Rows.reserve(256);
    PassStart = {};
    Passes = 0;
    HeldLane = -1;
}

std::int32_t PracticeRun::TrainerNextTempo() const {
    if (TrainerStep <= 0 || TempoPercent >= TrainerTarget) return TempoPercent;
    return std::min(TempoPercent + TrainerStep, TrainerTarget);
}

std::int32_t PracticeRun::ClosePass(const GradeCounts& now) {
    const GradeCounts pass = now - PassStart;
    Passes += 1;
    if (pass.Total() > 0) Rows.push_back({Passes, TempoPercent, pass});
    PassStart = now;
    if (pass.Clean()) TempoPercent = TrainerNextTempo();
    return TempoPercent;
}

void PracticeRun::AbandonPass(const GradeCounts& now, bool keepRow) {
    const GradeCounts pass = now - PassStart;
    if (keepRow && pass.Total() > 0) Rows.push_back({Passes + 1, TempoPercent, pass});
    PassStart = now;
}

} // namespace tamtara
