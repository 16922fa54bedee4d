// Reset of the play state when a play begins.
#include "app/play/PlayState.h"

namespace tamtara {

void PlayState::ResetForPlay(std::uint32_t startTime) {
    Gauge = FullGauge;
    Score = 0;
    ComboCount = 0;
    ComboBounce = 0;
    MaxCombo = 0;
    NoteTotal = 0;
    PerfectCount = 0;
    GreatCount = 0;
    GoodCount = 0;
    MissCount = 0;
    ScoreFlash = 0;
    for (int lane = 0; lane < LaneCount; ++lane) {
        PadTimer[lane] = 0;
        QueueHead[lane] = 0;
        QueueCount[lane] = 0;
        JudgeGrade[lane] = 0;
        JudgeTimer[lane] = 0;
        ExplodeTimer[lane] = 0;
        StruckBetweenPolls[lane] = false;
    }
    PlayStartTime = startTime;
    Practice.ResetForPlay();
}

} // namespace tamtara
