// The name of a song's chart that survives what does not change the chart: a SHA-256 over its lane
// notes and its tempo map, both placed in quarter notes as exact fractions.
#pragma once

#include "midi/DrumMap.h"

#include <string>

namespace tamtara {

struct TSongModel;

// 64 lowercase hex digits, for the lanes of a map. Hashed, one line each, in this order:
//   "tamtara drum part 1"
//   "n LANE P/Q" for every channel-10 note-on with a velocity of a note that has a lane, ordered
//                by position then lane (duplicates kept), P/Q = tick / division reduced;
//   "t P/Q MICROS" for the tempo map as the sequencer applies it: the first entry from 0, each
//                later one from the latest position so far, the last of one position kept, and
//                none that repeats the tempo before it (the start tempo is 500000).
// So re-saving, renaming tracks, editing other channels, scaling the division with every tick,
// velocities and another note of the same lane keep the key; a drum note moved, added or
// removed, or a tempo changed, make another.
std::string DrumPartKey(const TSongModel& song, LaneMap lanes);

} // namespace tamtara
