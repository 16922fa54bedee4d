// A song's best and counts kept up to date one play at a time (the game's cache between reads
// of the whole file).
#include "records/PlayRecord.h"

#include <algorithm>

namespace tamtara {

void CountPlayIn(SongBest& best, const PlayRecord& play) {
    best.LastPlayedAt = std::max(best.LastPlayedAt, play.PlayedAt);
    if (play.PracticeTempo != 0) {
        ++best.PracticePlays;
        return;
    }
    ++best.Plays;
    if (best.BestRank.empty() || play.Score > best.BestScore) {
        best.BestScore = play.Score;
        best.BestRank = play.Rank;
    }
}

} // namespace tamtara
