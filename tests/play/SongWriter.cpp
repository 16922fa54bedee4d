// Small songs for the play tests, encoded by the game's own song generator's writer.
#include "SongWriter.h"

#include "songgen/SmfWriter.h"

namespace tamtara::testing {

std::vector<std::uint8_t> SongFileBytes(std::vector<SongNote> notes) {
    constexpr int Division = 480;
    constexpr int Sixteenth = Division / 4;
    TSmfTrack track;
    track.Tempo(0, 120);
    track.ProgramChange(0, 0, 0);
    for (const SongNote& n : notes)
        track.Note(n.Tick, n.Channel, n.Note, n.Velocity, Sixteenth);
    return EncodeSmf({track}, Division, track.LastTick());
}

void WriteSong(const std::string& path, const std::vector<SongNote>& notes) {
    WriteBinaryFile(path, SongFileBytes(notes));
}

} // namespace tamtara::testing
