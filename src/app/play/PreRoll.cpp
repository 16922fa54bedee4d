// The pre-roll from the lane geometry, the scroll speed and the song's first note.
#include "app/play/PreRoll.h"

#include "app/play/PlayTables.h"
#include "midi/MidiDrive.h"

#include <algorithm>

namespace tamtara {

std::int32_t FirstLaneNoteTick(const TSongModel& song, LaneMap lanes) {
    std::int32_t first = -1;
    for (int t = 0; t < song.TrackCount; ++t) {
        const TMidiTrack& track = song.Tracks[t];
        for (std::int32_t i = 0; i < track.Count(); ++i) {
            const SequencerEvent slot = track[i];
            if (first >= 0 && slot.Tick >= first) break;
            const TMyMidiEvent& e = slot.Event;
            if (e.IsDrumHit() && lanes.HasLane(e.Data1)) {
                first = slot.Tick;
                break;
            }
        }
    }
    return first;
}

std::int32_t ScrollInTicks(std::int32_t scrollSpeed, std::int32_t division) {
    if (scrollSpeed <= 0 || division <= 0) return 0;
    // A note is drawn with its top at HitLineY - 8 - pixels; it lies above the lanes' top edge
    // (y 0) once its bottom, NoteHeight lower, is there: pixels >= HitLineY - 8 + NoteHeight.
    // The play screen's pixels are (ticks * 80 * speed / 100) / division, rounded down twice.
    const std::int64_t pixels = HitLineY - 8 + NoteHeight;
    const std::int64_t scaled = pixels * 100 * division;
    const std::int64_t perTick = 80LL * scrollSpeed;
    return static_cast<std::int32_t>((scaled + perTick - 1) / perTick);
}

std::int32_t PreRollTicks(std::int32_t firstNoteTick, std::int32_t scrollSpeed, std::int32_t division,
                          std::int32_t bpm, std::int32_t frameMs) {
    if (firstNoteTick < 0) return 0;
    const std::int64_t perMinute = std::int64_t(std::max(frameMs, 0)) * std::max(bpm, 0) * division;
    const auto frameTicks = static_cast<std::int32_t>((perMinute + 59999) / 60000);
    return std::max(ScrollInTicks(scrollSpeed, division) + frameTicks - firstNoteTick, 0);
}

std::int32_t SongPreRoll(const TSongModel& song, LaneMap lanes, std::int32_t scrollSpeed,
                         std::int32_t frameMs) {
    const std::int32_t bpm = song.TempoCount > 0 ? song.TempoMap[0].Bpm : DefaultTempo;
    return PreRollTicks(FirstLaneNoteTick(song, lanes), scrollSpeed, song.Division, bpm, frameMs);
}

} // namespace tamtara
