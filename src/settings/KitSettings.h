// The electronic drum kit's settings: which MIDI notes strike which lane, the softest hit that
// counts per lane, the debounce window and the note that acts as Enter.
#pragma once

#include "base/DrumParts.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

// No note acts as Enter.
inline constexpr std::int32_t NoKitNote = -1;

struct KitSettings {
    // Notes per lane, in DrumPart order.
    std::array<std::vector<std::uint8_t>, LaneCount> Notes;
    // A note-on counts when its velocity is above this.
    std::array<std::int32_t, LaneCount> MinVelocity{};
    // Hits of one lane closer together than this count once (double triggers of a pad).
    std::int32_t DebounceMs = 15;
    // The note that acts as the Enter key (hi-hat pedal by default), or NoKitNote.
    std::int32_t EnterNote = 44;
};

// General MIDI percussion as kits send it; the hi-hat pedal (44) strikes no lane.
KitSettings DefaultKit();

// The lane a note strikes (the first lane listing it), or -1.
int KitLaneOfNote(const KitSettings& kit, std::uint8_t note);
// Learning: the note moves to lane (taken off every other lane); replace first clears the
// lane's old notes, so the first hit of a re-learn replaces the map and later ones add zones.
void AssignKitNote(KitSettings& kit, int lane, std::uint8_t note, bool replace);

// "42,46,22"; parsing skips anything that is not a note number 0 to 127.
std::string KitNoteListText(const std::vector<std::uint8_t>& notes);
std::vector<std::uint8_t> ParseKitNoteList(const std::string& text);

} // namespace tamtara
