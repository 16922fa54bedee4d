// Two plays alike in every field the records keep.
#pragma once

#include "records/PlayRecord.h"

#include <tuple>

namespace tamtara::testing {

inline auto PlayFields(const PlayRecord& p) {
    return std::tie(p.Id, p.SongKey, p.PlayedAt, p.PlayTime, p.Special, p.Speed, p.HideLower, p.HideUpper,
                    p.Level, p.AutoLanes, p.Input, p.OffsetMs, p.PracticeTempo, p.LoopFromBar, p.LoopToBar,
                    p.Score, p.Rank, p.Perfect, p.Great, p.Good, p.Miss, p.MaxCombo, p.Cleared, p.Failed,
                    p.Strikes);
}

inline bool SamePlay(const PlayRecord& a, const PlayRecord& b) {
    return PlayFields(a) == PlayFields(b);
}

} // namespace tamtara::testing
