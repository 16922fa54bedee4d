// The song as the reader builds it and the sequencer plays it: header values, per-track event
// arrays and the tempo map.
#pragma once

#include "midi/MidiEvent.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace tamtara {

constexpr int MaxTracks = 256;
constexpr int MaxTempoEntries = 8192;
constexpr int MaxMeterEntries = 1024;

struct TempoEntry {
    std::int32_t Tick = 0;
    std::int32_t Bpm = 0;              // beats per minute, 60000000 div microseconds per quarter note
    std::int32_t MicrosPerQuarter = 0; // the file's own value, which Bpm rounds
};

// A time signature: Numerator beats of a 1/Denominator note per bar, from Tick on.
struct MeterEntry {
    std::int32_t Tick = 0;
    std::int32_t Numerator = 4;
    std::int32_t Denominator = 4;
};

struct TSongModel {
    std::int32_t Format = 0;     // stored, not used for playback
    std::int32_t TrackCount = 0; // the header's count, at most MaxTracks
    // Ticks per quarter note. Atomic because the game reads it without the sequencer lock.
    std::atomic<std::int32_t> Division{0};
    std::array<TMidiTrack, MaxTracks> Tracks;
    // Tempo changes in file order (so in tick order for a format 1 file); nothing sorts them.
    std::array<TempoEntry, MaxTempoEntries> TempoMap{};
    std::int32_t TempoCount = 0;
    // Time signatures in file order, as the tempo map.
    std::array<MeterEntry, MaxMeterEntries> MeterMap{};
    std::int32_t MeterCount = 0;
    // Set once a file has been parsed; never cleared afterwards.
    std::atomic<bool> Loaded{false};
};

// Hands visit(tick, note) every sounding drum note of the song (see IsDrumHit), track by track
// and in each track in order.
template <typename Visit> void ForEachDrumHit(const TSongModel& song, Visit&& visit) {
    for (int t = 0; t < song.TrackCount; ++t) {
        const TMidiTrack& track = song.Tracks[static_cast<std::size_t>(t)];
        for (std::int32_t i = 0; i < track.Count(); ++i) {
            const SequencerEvent slot = track[i];
            if (slot.Event.IsDrumHit()) visit(slot.Tick, slot.Event.Data1);
        }
    }
}

} // namespace tamtara
