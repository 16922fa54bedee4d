// The records' schema, one step per version. A step is never changed once released: a new
// version adds a step.
#include "records/RecordStore.h"

#include <array>

namespace tamtara {

namespace {

// Version 1: songs by drum-part key, plays, and the strikes of each play in one blob.
constexpr const char* Version1 = R"sql(
CREATE TABLE songs(
    id INTEGER PRIMARY KEY,
    key TEXT NOT NULL UNIQUE,
    last_path TEXT NOT NULL,
    title TEXT NOT NULL,
    length_ms INTEGER NOT NULL,
    hh INTEGER NOT NULL, sd INTEGER NOT NULL, bd INTEGER NOT NULL, ht INTEGER NOT NULL,
    mt INTEGER NOT NULL, lt INTEGER NOT NULL, cy INTEGER NOT NULL);
CREATE TABLE plays(
    id INTEGER PRIMARY KEY,
    song_id INTEGER NOT NULL REFERENCES songs(id),
    played_at INTEGER NOT NULL,
    play_time INTEGER NOT NULL, special INTEGER NOT NULL, speed INTEGER NOT NULL,
    hide_lower INTEGER NOT NULL, hide_upper INTEGER NOT NULL, level INTEGER NOT NULL,
    auto_lanes INTEGER NOT NULL, input INTEGER NOT NULL, offset_ms INTEGER NOT NULL,
    practice_tempo INTEGER NOT NULL, loop_from_bar INTEGER NOT NULL, loop_to_bar INTEGER NOT NULL,
    score INTEGER NOT NULL, rank TEXT NOT NULL,
    perfect INTEGER NOT NULL, great INTEGER NOT NULL, good INTEGER NOT NULL, miss INTEGER NOT NULL,
    max_combo INTEGER NOT NULL, cleared INTEGER NOT NULL, failed INTEGER NOT NULL);
CREATE INDEX plays_by_song ON plays(song_id, played_at);
-- Two bytes a strike, as records/StrikePacking.h lays them out.
CREATE TABLE strikes(
    play_id INTEGER PRIMARY KEY REFERENCES plays(id),
    packed BLOB NOT NULL);
)sql";

// Version 2: the best of a song in one mode is found without reading all of the song's plays.
constexpr const char* Version2 = R"sql(
CREATE INDEX plays_by_mode ON plays(song_id, play_time, special, speed, score DESC)
    WHERE practice_tempo = 0;
)sql";

constexpr std::array<const char*, 2> Steps{Version1, Version2};

} // namespace

std::span<const char* const> RecordsSchemaSteps() {
    return Steps;
}

} // namespace tamtara
