#include "midi/DrumPartKey.h"

#include "midi/DrumMap.h"
#include "midi/MidiDrive.h"
#include "midi/SongModel.h"

#include <nettle/sha2.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace tamtara {

namespace {

constexpr std::int64_t StartMicros = 60000000 / DefaultTempo;

struct LaneNote {
    std::int32_t Tick;
    int Lane;
    bool operator<(const LaneNote& other) const {
        return Tick != other.Tick ? Tick < other.Tick : Lane < other.Lane;
    }
};

struct TempoPoint {
    std::int32_t Tick;
    std::int64_t Micros;
};

class Hasher {
public:
    explicit Hasher(std::int64_t division) : Division(division) { sha256_init(&Context); }

    void Line(const char* text, std::size_t length) {
        sha256_update(&Context, length, reinterpret_cast<const std::uint8_t*>(text));
    }
    // "P/Q" of tick / division in lowest terms.
    std::string Position(std::int32_t tick) const {
        const std::int64_t divisor = std::gcd(static_cast<std::int64_t>(tick), Division);
        return std::to_string(tick / divisor) + "/" + std::to_string(Division / divisor);
    }
    std::string Hex() {
        std::uint8_t digest[SHA256_DIGEST_SIZE];
        sha256_digest(&Context, sizeof digest, digest);
        std::string hex;
        char pair[3];
        for (std::uint8_t b : digest) {
            std::snprintf(pair, sizeof pair, "%02x", b);
            hex += pair;
        }
        return hex;
    }

private:
    sha256_ctx Context;
    std::int64_t Division;
};

std::vector<LaneNote> LaneNotesOf(const TSongModel& song, LaneMap lanes) {
    std::vector<LaneNote> notes;
    ForEachDrumHit(song, [&notes, lanes](std::int32_t tick, std::uint8_t note) {
        if (const int lane = lanes.LaneOf(note); lane >= 0) notes.push_back(LaneNote{tick, lane});
    });
    std::stable_sort(notes.begin(), notes.end());
    return notes;
}

std::vector<TempoPoint> TempoChangesOf(const TSongModel& song) {
    std::vector<TempoPoint> applied;
    std::int32_t from = 0;
    for (std::int32_t i = 0; i < song.TempoCount; ++i) {
        const TempoEntry& entry = song.TempoMap[i];
        from = i == 0 ? 0 : std::max(from, entry.Tick);
        const std::int64_t micros = entry.MicrosPerQuarter > 0 ? entry.MicrosPerQuarter
                                    : entry.Bpm > 0            ? 60000000 / entry.Bpm
                                                               : StartMicros;
        if (!applied.empty() && applied.back().Tick == from)
            applied.back().Micros = micros;
        else
            applied.push_back(TempoPoint{from, micros});
    }
    std::vector<TempoPoint> changes;
    std::int64_t current = StartMicros;
    for (const TempoPoint& point : applied) {
        if (point.Micros == current) continue;
        changes.push_back(point);
        current = point.Micros;
    }
    return changes;
}

} // namespace

std::string DrumPartKey(const TSongModel& song, LaneMap lanes) {
    const std::int32_t division = song.Division.load();
    Hasher hasher(division > 0 ? division : 1);
    std::string line = "tamtara drum part 1\n";
    hasher.Line(line.data(), line.size());
    for (const LaneNote& note : LaneNotesOf(song, lanes)) {
        line = "n " + std::to_string(note.Lane) + " " + hasher.Position(note.Tick) + "\n";
        hasher.Line(line.data(), line.size());
    }
    for (const TempoPoint& point : TempoChangesOf(song)) {
        line = "t " + hasher.Position(point.Tick) + " " + std::to_string(point.Micros) + "\n";
        hasher.Line(line.data(), line.size());
    }
    return hasher.Hex();
}

} // namespace tamtara
