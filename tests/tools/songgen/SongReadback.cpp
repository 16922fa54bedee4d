// Read-back helpers: flattens the reader's tracks into drum hits and a tempo map.
#include "SongReadback.h"

#include <algorithm>
#include <map>

namespace tamtara {

int LaneOf(int key) {
    static const int lanes[7][3] = {{42, 44, 46}, {38, 40, 0}, {35, 36, 0}, {48, 50, 0},
                                    {45, 47, 0},  {41, 43, 0}, {49, 55, 57}};
    for (int lane = 0; lane < 7; ++lane)
        for (int k : lanes[lane])
            if (k != 0 && k == key) return lane;
    return -1;
}

TReadback ReadBack(const std::vector<std::uint8_t>& bytes) {
    TReadback result;
    ParseSmf(bytes, *result.Song);
    for (int t = 0; t < result.Song->TrackCount; ++t) {
        const TMidiTrack& track = result.Song->Tracks[static_cast<std::size_t>(t)];
        std::map<int, int> sounding; // channel and key -> start tick
        for (int i = 0; i < track.Count(); ++i) {
            const SequencerEvent& slot = track[i];
            result.LastTick = std::max(result.LastTick, slot.Tick);
            const int type = slot.Event.Status & 0xF0, channel = slot.Event.Status & 0x0F;
            const int id = channel << 8 | slot.Event.Data1;
            if (type == 0x90 && slot.Event.Data2 > 0) {
                sounding[id] = slot.Tick;
            } else if ((type == 0x80 || type == 0x90) && sounding.count(id)) {
                result.Notes.push_back({sounding[id], slot.Tick, channel, slot.Event.Data1});
                sounding.erase(id);
            }
            if (slot.Event.Status == 0x99 && slot.Event.Data2 > 0)
                result.DrumHits.push_back({slot.Tick, slot.Event.Data1});
        }
    }
    std::stable_sort(result.DrumHits.begin(), result.DrumHits.end(),
                     [](const TDrumHit& a, const TDrumHit& b) { return a.Tick < b.Tick; });
    for (int i = 0; i < result.Song->TempoCount; ++i)
        result.Tempos.push_back({result.Song->TempoMap[static_cast<std::size_t>(i)].Tick,
                                 result.Song->TempoMap[static_cast<std::size_t>(i)].Bpm});
    return result;
}

} // namespace tamtara
