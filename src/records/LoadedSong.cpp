#include "records/LoadedSong.h"

#include "midi/DrumMap.h"
#include "midi/DrumPartKey.h"
#include "midi/MidiDrive.h"
#include "midi/SongModel.h"
#include "midi/TempoTimeline.h"

#include <algorithm>
#include <cmath>

namespace tamtara {

SongInfo DescribeLoadedSong(const TSongModel& song, LaneMap lanes) {
    SongInfo info;
    info.Key = DrumPartKey(song, lanes);
    std::int32_t lastTick = 0;
    for (std::int32_t t = 0; t < song.TrackCount; ++t) {
        const TMidiTrack& track = song.Tracks[static_cast<std::size_t>(t)];
        for (std::int32_t i = 0; i < track.Count(); ++i)
            lastTick = std::max(lastTick, track[i].Tick);
    }
    ForEachDrumHit(song, [&info, lanes](std::int32_t, std::uint8_t note) {
        if (const int lane = lanes.LaneOf(note); lane >= 0) ++info.LaneCounts[static_cast<std::size_t>(lane)];
    });
    info.LengthMs =
        static_cast<std::int32_t>(std::lround(TempoTimeline(song, DefaultTempo).Milliseconds(0, lastTick)));
    return info;
}

} // namespace tamtara
