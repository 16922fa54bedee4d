// One parse of the song, the chart's notes taken from it once for the counts and the rating.
#include "library/SongFacts.h"

#include "library/Difficulty.h"
#include "midi/DrumMap.h"
#include "midi/DrumPartKey.h"
#include "midi/SmfReader.h"
#include "midi/SongEnd.h"
#include "midi/SongModel.h"

#include <cmath>
#include <exception>
#include <memory>

namespace tamtara {

SongFacts ReadSongFacts(const std::string& path, LaneMap lanes) {
    SongFacts facts;
    facts.ExtendedMap = lanes.IsExtended();
    try {
        auto song = std::make_unique<TSongModel>();
        ParseSmf(ReadSongFile(path), *song);
        if (song->Division <= 0) return facts;
        const std::vector<TChartNote> notes = ChartNotes(*song, lanes);
        for (const TChartNote& note : notes)
            if (note.Lane >= 0 && note.Lane < static_cast<int>(facts.LaneCounts.size()))
                ++facts.LaneCounts[static_cast<std::size_t>(note.Lane)];
        facts.DifficultyTenths = static_cast<std::int32_t>(std::lround(ChartDifficulty(notes) * 10.0));
        facts.LengthMs = static_cast<std::int32_t>(std::lround(SongLengthMs(*song)));
        facts.DrumKey = DrumPartKey(*song, lanes);
    } catch (const std::exception&) {
        return SongFacts{{}, 0, 0, {}, facts.ExtendedMap};
    }
    return facts;
}

double SongDifficulty(const std::string& path, LaneMap lanes) {
    return ReadSongFacts(path, lanes).DifficultyTenths / 10.0;
}

} // namespace tamtara
