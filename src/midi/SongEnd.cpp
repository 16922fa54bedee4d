// The song's end: its last event, or its last sounding event before a long silence.
#include "midi/SongEnd.h"

#include "midi/MidiDrive.h"
#include "midi/TempoTimeline.h"

#include <algorithm>
#include <array>

namespace tamtara {

bool SoundsOrChangesSound(const TMyMidiEvent& event) {
    if (event.IsExclusive()) return event.IsSendable();
    switch (event.Status & 0xF0) {
    case 0x90:
        return event.Data2 > 0;
    case 0xA0:
    case 0xB0:
    case 0xC0:
    case 0xD0:
    case 0xE0:
        return true;
    default:
        return false; // note-offs, system messages and stray data bytes
    }
}

namespace {

// The tick of the track's last event that sounds or changes the sound. Releasing a note that
// sounds changes the sound too (a chord let ring is the song's), releasing one that does not is
// silence.
std::int32_t LastSoundTick(const TMidiTrack& track) {
    std::array<std::uint8_t, 16 * 128> sounding{}; // note-ons not yet released, per channel and key
    std::int32_t last = 0;
    for (std::int32_t i = 0; i < track.Count(); ++i) {
        const SequencerEvent slot = track[i];
        const TMyMidiEvent& e = slot.Event;
        const std::uint8_t kind = e.IsExclusive() ? 0 : e.Status & 0xF0;
        std::uint8_t& key = sounding[static_cast<std::size_t>((e.Status & 0x0F) * 128 + (e.Data1 & 0x7F))];
        if (SoundsOrChangesSound(e)) {
            last = slot.Tick;
            if (kind == 0x90 && key < 255) ++key;
        } else if ((kind == 0x80 || kind == 0x90) && key > 0) {
            --key;
            last = slot.Tick;
        }
    }
    return last;
}

} // namespace

std::int32_t SongEndTick(const TSongModel& song) {
    std::int32_t lastEvent = 0;
    std::int32_t lastSound = 0;
    for (int t = 0; t < song.TrackCount; ++t) {
        const TMidiTrack& track = song.Tracks[static_cast<std::size_t>(t)];
        if (track.Empty()) continue;
        // Ticks only grow along a track: its last event is its latest.
        lastEvent = std::max(lastEvent, track[track.Count() - 1].Tick);
        lastSound = std::max(lastSound, LastSoundTick(track));
    }
    for (int i = 0; i < song.TempoCount; ++i)
        if (song.TempoMap[static_cast<std::size_t>(i)].Tick <= lastEvent)
            lastSound = std::max(lastSound, song.TempoMap[static_cast<std::size_t>(i)].Tick);
    if (lastEvent == lastSound) return lastEvent;
    const double silentMs = TempoTimeline(song, DefaultTempo).Milliseconds(lastSound, lastEvent);
    return silentMs > LongestSilentTailMs ? lastSound : lastEvent;
}

double SongLengthMs(const TSongModel& song) {
    return TempoTimeline(song, DefaultTempo).Milliseconds(0, SongEndTick(song));
}

void EndSongAtItsEndTick(TSongModel& song) {
    const std::int32_t end = SongEndTick(song);
    for (int t = 0; t < song.TrackCount; ++t)
        song.Tracks[static_cast<std::size_t>(t)].EndAt(end);
}

} // namespace tamtara
