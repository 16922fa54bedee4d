// Where a song ends, and so how long it is. A song ends with its last event, unless nothing but
// silence (note-offs of notes that do not sound, stray bytes, system messages) follows its last
// event that sounds or changes the sound for more than a few seconds: files from the wild put
// such events days after the music. Then the song ends at that last sounding event; releasing a
// note that sounds counts as changing the sound.
//
// Every measure of a song's end goes through SongEndTick: the sequencer's end, the bars, the
// practice's bar list, the length in the library and songcheck's seconds.
#pragma once

#include "midi/SongModel.h"

#include <cstdint>

namespace tamtara {

// Silence after the last sounding event longer than this is not part of the song.
constexpr double LongestSilentTailMs = 6000.0;

// A note-on with a velocity, a controller, a program change, pressure, a pitch bend or an
// exclusive message.
bool SoundsOrChangesSound(const TMyMidiEvent& event);

// The tick the song ends at, as above (0 for an empty song). A tempo change counts as changing
// the sound.
std::int32_t SongEndTick(const TSongModel& song);

// Milliseconds from tick 0 to SongEndTick over the song's tempo map.
double SongLengthMs(const TSongModel& song);

// For the song loaded to be played: the events after SongEndTick (the silent tail) move to it,
// so the notes still sounding are released there and the song stops there.
void EndSongAtItsEndTick(TSongModel& song);

} // namespace tamtara
