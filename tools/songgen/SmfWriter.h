// Builds Standard MIDI Files in memory: tracks collect timed events in any order and are
// encoded sorted, with delta times, running status and one End of Track at a common tick.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamtara {

// Meta event types used by the generators.
namespace MetaType {
constexpr std::uint8_t Text = 0x01;
constexpr std::uint8_t Copyright = 0x02;
constexpr std::uint8_t TrackName = 0x03;
constexpr std::uint8_t Marker = 0x06;
constexpr std::uint8_t EndOfTrack = 0x2F;
constexpr std::uint8_t SetTempo = 0x51;
constexpr std::uint8_t TimeSignature = 0x58;
} // namespace MetaType

class TSmfTrack {
public:
    // Channels are 0-based (9 is the drum channel).
    void Meta(int tick, std::uint8_t type, std::string_view bytes);
    void Tempo(int tick, int beatsPerMinute);
    void TimeSignature(int tick, int numerator, int denominatorPower);
    void ProgramChange(int tick, int channel, int program);
    void Controller(int tick, int channel, int controller, int value);
    // A note-on at tick and its note-off length ticks later.
    void Note(int tick, int channel, int key, int velocity, int length);

    // Tick of the latest event so far (0 for an empty track).
    int LastTick() const;
    // The MTrk chunk, End of Track placed at endTick (or at the last event, if later).
    std::vector<std::uint8_t> Encode(int endTick) const;

private:
    struct Event {
        int Tick;
        int Rank; // orders events of one tick: note-offs, then set-up, then note-ons
        std::size_t Sequence;
        std::vector<std::uint8_t> Bytes;
    };
    void Add(int tick, int rank, std::vector<std::uint8_t> bytes);
    std::vector<Event> Events;
};

// A format 1 file: every track chunk after the header, all ending at the same tick.
std::vector<std::uint8_t> EncodeSmf(const std::vector<TSmfTrack>& tracks, int division, int endTick);

// Raises std::runtime_error when the file cannot be written.
void WriteBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace tamtara
