// Standard MIDI File parsing into the song model, and the title scan used by the song library.
// Every read is bounded by the data: truncated or lying chunks end the track instead of reading on.
#pragma once

#include "midi/SongModel.h"

#include <cstdint>
#include <span>
#include <string>

namespace tamtara {

// Parses one file's bytes into song: sets Format, TrackCount and Division, clears all tracks and
// the tempo map and refills them. Does not touch Loaded, nor any playback state.
void ParseSmf(std::span<const std::uint8_t> data, TSongModel& song);

// The bytes of the first text-class meta event (types 1 to 7) in file order, at most 255 of
// them, cut at the first zero byte; empty when there is none. The bytes are not converted.
std::string ReadSmfTitle(std::span<const std::uint8_t> data);

} // namespace tamtara
