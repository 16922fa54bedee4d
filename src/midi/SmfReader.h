// Standard MIDI File parsing into the song model, and the title scan used by the song library.
// Every read is bounded by the data: truncated or lying chunks end the track instead of reading on.
#pragma once

#include "midi/DrumMap.h"
#include "midi/SongModel.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tamtara {

class TStream;

// A song file refused before it is read.
class ESongFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Loading keeps the file and 8 bytes per event in memory, and a file may hold one event per
// byte: larger files are refused rather than allowed to take gigabytes.
constexpr std::int64_t MaxSongFileBytes = 64LL * 1024 * 1024;

// Parses one file's bytes into song: sets Format, TrackCount and Division, clears all tracks and
// the tempo map and refills them. Does not touch Loaded, nor any playback state. A RIFF "RMID"
// file is read from its "data" chunk, and a file with other bytes before its "MThd" header
// (within the first 1024 bytes) from that header.
void ParseSmf(std::span<const std::uint8_t> data, TSongModel& song);

// The bytes of the first text-class meta event (types 1 to 7) in file order, at most 255 of
// them, cut at the first zero byte; empty when there is none. The bytes are not converted. A
// text event cut off by the end of the data gives no title.
std::string ReadSmfTitle(std::span<const std::uint8_t> data);

// What one pass over a song file's bytes tells the library: the title, whether the sequencer can
// time it, and whether it has anything for the lanes. The pass ends once all of it is known.
struct TSmfSummary {
    std::string Title;           // as ReadSmfTitle gives it
    std::int32_t Division = 0;   // the header's ticks per quarter note; 0 without a header
    std::int32_t TrackCount = 0; // the header's count, as ParseSmf keeps it
    // A channel-10 note-on with a velocity of a note that has a lane in the map is there.
    bool HasDrumNotes = false;
};
TSmfSummary ReadSmfSummary(std::span<const std::uint8_t> data, LaneMap lanes);

// Raises ESongFileError, naming the limit, for a song file larger than MaxSongFileBytes.
void CheckSongFileSize(std::int64_t size, const std::string& path);
// A song file's whole content, refused with ESongFileError above the limit before any byte is
// read; a file that cannot be opened raises EStreamError.
std::vector<std::uint8_t> ReadSongFile(const std::string& path);
std::vector<std::uint8_t> ReadSongFile(TStream& stream, const std::string& path);

} // namespace tamtara
