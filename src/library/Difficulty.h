// How hard a song is to play: a strain model over the seven lanes. Every note raises the strain
// of its lane and the overall strain, both decaying exponentially between notes; the peaks of
// short sections, hardest first and each weighted less than the one before, give the rating.
#pragma once

#include "midi/DrumMap.h"

#include <string>
#include <vector>

namespace tamtara {

struct TSongModel;

// One note to strike: when (seconds from the song's start) and in which lane.
struct TChartNote {
    double Seconds = 0;
    int Lane = 0;
};

// The rating from 1.0 (a few calm notes) to 10.0, rounded to one decimal; 0 for no notes.
double ChartDifficulty(std::vector<TChartNote> notes);

// The notes a loaded song gives the lanes of the map, timed the way the sequencer times them;
// notes of one lane within one tick of each other are one note, as in play.
std::vector<TChartNote> ChartNotes(const TSongModel& song, LaneMap lanes);

} // namespace tamtara
