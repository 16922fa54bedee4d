// The result screen's second page: the timing of the play's strikes (histogram, early and late,
// each lane's mean and spread, unstable rate, suggested input offset) and the play against the
// best earlier play of the same song and mode.
#pragma once

#include "records/PlayRecord.h"
#include "records/TimingStats.h"

#include <optional>
#include <string>

namespace tamtara {

class TDirectDrawSurface;

enum class BestLookup { Pending, None, Found, RecordsOff };

struct TimingPageData {
    TimingStats Timing;
    // The input offset the play was graded with.
    std::int32_t OffsetMs = 0;
    // This play's score and counts.
    PlayRecord Play;
    BestLookup BestState = BestLookup::Pending;
    std::optional<PlayRecord> Best;
};

// The page's texts that tests and the readme name.
inline constexpr const char* TimingPageTitle = "タイミング";
// The keys that turn the result screen's pages, at the head of its help line.
inline constexpr const char* TimingPageKeyLine = "→でタイミング";
inline constexpr const char* TimingPageBackLine = "←で結果に戻る";
// Where a normal play is weighed against the best, a practice says that it is not.
inline constexpr const char* PracticeNotComparedLine = "練習は自己ベストと比べません";

// "+3.2" style: a sign always, one decimal.
std::string SignedMs(double ms);
// The offset the player is advised to set: the current one moved by the median error; nothing
// below the strikes the median needs.
std::optional<std::int32_t> SuggestedOffset(const TimingPageData& data);

// Draws the page's panels over whatever background the caller drew. Releases the canvas.
void DrawTimingPage(TDirectDrawSurface& back, const TimingPageData& data);

} // namespace tamtara
