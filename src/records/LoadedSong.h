// What the records keep of a song, taken from the song as it was loaded for a play: the file may
// be changed, moved or deleted while it plays, and the play still belongs to what was played.
#pragma once

#include "midi/DrumMap.h"
#include "records/PlayRecord.h"

namespace tamtara {

struct TSongModel;

// The song's drum-part key, its length to its last event and its notes per lane; the caller
// adds the path and title.
SongInfo DescribeLoadedSong(const TSongModel& song, LaneMap lanes);

} // namespace tamtara
