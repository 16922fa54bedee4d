// The song model's building blocks: one MIDI event, the view of one track slot, and one track's
// compact event array.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tamtara {

// One event of a song. A short event has ExclusiveLength 0 and no ExclusiveData. An exclusive
// event has Status 0xF0 or 0xF7, Data1 and Data2 0, and a block holding the status byte followed
// by the data bytes as they stood in the file; ExclusiveLength counts the whole block. The block
// belongs to the track (or to whoever built the event) and is not freed through the event.
struct TMyMidiEvent {
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    std::uint16_t ExclusiveLength = 0;
    const std::uint8_t* ExclusiveData = nullptr;

    bool IsExclusive() const { return ExclusiveData != nullptr; }
    // Whether an output can carry it: an exclusive block, or a short event that opens with a
    // status byte. A lenient read keeps stray data bytes as events of status below 0x80 (and
    // the dump shows them); no device takes those.
    bool IsSendable() const {
        if (IsExclusive()) return ExclusiveLength > 0;
        return Status >= 0x80 && Status != 0xF0 && Status != 0xF7;
    }
    // A note-on of the drum channel (10) that sounds: a velocity above 0.
    bool IsDrumHit() const { return Status == 0x99 && Data2 > 0 && !IsExclusive(); }
};

// One slot of a track as the sequencer and the note callbacks see it. Tracks hand it out by
// value: a pointer to it is valid only during the call that received it.
struct SequencerEvent {
    std::int32_t Tick = 0; // absolute time in ticks from the start of the track
    TMyMidiEvent Event;
};

// One track's events in file order. A song file may hold one event per byte, so a slot is stored
// in 8 bytes and exclusive blocks share one byte pool; the loader sizes both exactly from a
// counting pass (Reserve), so loading never holds more than the song needs.
//
// Capacity is the slot count the track is sized for: without Reserve it grows by Growth slots
// and always keeps one free slot, so it steps up at counts 1, 128, 256, ...
class TMidiTrack {
public:
    TMidiTrack() = default;
    TMidiTrack(TMidiTrack&&) = default;
    TMidiTrack& operator=(TMidiTrack&&) = default;

    // Frees every event and the array; PlayIndex and AnnounceIndex go back to 0.
    void Clear();
    // Sizes the track for exactly this many events and exclusive bytes (status bytes included).
    void Reserve(std::int32_t events, std::int32_t exclusiveEvents, std::size_t exclusiveBytes);
    void AppendShort(std::int32_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // The block is the status byte followed by data: at most 65534 data bytes.
    void AppendExclusive(std::int32_t tick, std::uint8_t status, std::span<const std::uint8_t> data);

    std::int32_t Capacity() const { return SlotCapacity; }
    std::int32_t Count() const { return SlotCount; }
    std::int32_t Growth() const { return GrowthStep; }
    bool Empty() const { return SlotCount == 0; }
    SequencerEvent operator[](std::int32_t index) const;
    // Moves every event later than tick to tick (keeping their order).
    void EndAt(std::int32_t tick);
    // Bytes held for this track's events, for the loader's memory accounting.
    std::size_t StorageBytes() const;

    // Next slot the sequencer will play, and next slot the drum look-ahead will examine.
    std::int32_t PlayIndex = 0;
    std::int32_t AnnounceIndex = 0;

private:
    struct PackedSlot {
        std::int32_t Tick;
        std::uint8_t Status;
        std::uint8_t Data1;
        std::uint8_t Data2;
        std::uint8_t Exclusive; // 1 when the slot's block is in the pool
    };
    static_assert(sizeof(PackedSlot) == 8);
    // Where one exclusive block starts in the pool; it ends where the next one starts.
    struct ExclusiveRef {
        std::int32_t Slot;
        std::uint32_t Offset;
    };

    void TakeSlot();

    std::vector<PackedSlot> Slots;
    std::vector<ExclusiveRef> Exclusives;
    std::vector<std::uint8_t> Pool;
    std::int32_t SlotCapacity = 0;
    std::int32_t SlotCount = 0;
    std::int32_t GrowthStep = 128;
};

} // namespace tamtara
