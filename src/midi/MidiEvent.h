// The song model's building blocks: one MIDI event, one track slot and one track's event array.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace tamtara {

// One event of a song. A short event has ExclusiveLength 0 and no ExclusiveData. An exclusive
// event has Status 0xF0 or 0xF7, Data1 and Data2 0, and a block holding the status byte followed
// by the data bytes as they stood in the file; ExclusiveLength counts the whole block.
struct TMyMidiEvent {
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    std::uint16_t ExclusiveLength = 0;
    std::unique_ptr<std::uint8_t[]> ExclusiveData;

    bool IsExclusive() const { return ExclusiveData != nullptr; }
};

// One slot of a track. The note callbacks receive a pointer to it, valid only during the call.
struct SequencerEvent {
    std::int32_t Tick = 0;  // absolute time in ticks from the start of the track
    TMyMidiEvent Event;
};

// One track's events in file order. Capacity grows by Growth slots at a time and always keeps
// one free slot, so it steps up at counts 1, 128, 256, ... The storage underneath grows
// geometrically, so loading stays linear in the number of events.
class TMidiTrack {
public:
    TMidiTrack() = default;
    TMidiTrack(TMidiTrack&&) = default;
    TMidiTrack& operator=(TMidiTrack&&) = default;

    // Frees every event and the array; PlayIndex and AnnounceIndex go back to 0.
    void Clear();
    void AppendShort(std::int32_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // block holds length bytes: the status byte, then the data.
    void AppendExclusive(std::int32_t tick, std::uint16_t length, std::unique_ptr<std::uint8_t[]> block);

    std::int32_t Capacity() const { return SlotCapacity; }
    std::int32_t Count() const { return SlotCount; }
    std::int32_t Growth() const { return GrowthStep; }
    // Null while the track is empty.
    const SequencerEvent* Events() const { return Slots.empty() ? nullptr : Slots.data(); }
    const SequencerEvent& operator[](std::int32_t index) const { return Slots[index]; }

    // Next slot the sequencer will play, and next slot the drum look-ahead will examine.
    std::int32_t PlayIndex = 0;
    std::int32_t AnnounceIndex = 0;

private:
    SequencerEvent& NewSlot(std::int32_t tick);

    std::vector<SequencerEvent> Slots;
    std::int32_t SlotCapacity = 0;
    std::int32_t SlotCount = 0;
    std::int32_t GrowthStep = 128;
};

} // namespace tamtara
