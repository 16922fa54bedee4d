// The pre-roll of a play: how far before its tick 0 a song starts, so that its first note
// scrolls in from above the lanes at the chosen speed instead of appearing on the hit line.
#pragma once

#include "midi/DrumMap.h"

#include <cstdint>

namespace tamtara {

struct TSongModel;

// The tick of the song's first lane note (a channel-10 note-on with a velocity of a note with a
// lane in the map); -1 when it has none.
std::int32_t FirstLaneNoteTick(const TSongModel& song, LaneMap lanes);

// Ticks a note takes, at scrollSpeed percent, from lying wholly above the lanes' top edge to
// reaching the hit line.
std::int32_t ScrollInTicks(std::int32_t scrollSpeed, std::int32_t division);

// The pre-roll in ticks for a first note at firstNoteTick: the scroll-in distance and the ticks
// of one frame at bpm (the first frame of play is drawn up to a frame after the start), less
// what the first note already lies after tick 0; never negative, 0 without a first note.
std::int32_t PreRollTicks(std::int32_t firstNoteTick, std::int32_t scrollSpeed, std::int32_t division,
                          std::int32_t bpm, std::int32_t frameMs);

// PreRollTicks for a loaded song at its starting tempo.
std::int32_t SongPreRoll(const TSongModel& song, LaneMap lanes, std::int32_t scrollSpeed,
                         std::int32_t frameMs);

} // namespace tamtara
