// One track's growable event array.
#include "midi/MidiEvent.h"

#include <utility>

namespace tamtara {

void TMidiTrack::Clear() {
    Slots.reset();
    SlotCapacity = 0;
    SlotCount = 0;
    PlayIndex = 0;
    AnnounceIndex = 0;
}

SequencerEvent& TMidiTrack::NewSlot(std::int32_t tick) {
    ++SlotCount;
    if (SlotCount >= SlotCapacity) {
        const std::int32_t newCapacity = SlotCapacity + GrowthStep;
        auto grown = std::make_unique<SequencerEvent[]>(static_cast<std::size_t>(newCapacity));
        for (std::int32_t i = 0; i < SlotCount - 1; ++i)
            grown[i] = std::move(Slots[i]);
        Slots = std::move(grown);
        SlotCapacity = newCapacity;
    }
    SequencerEvent& slot = Slots[SlotCount - 1];
    slot.Tick = tick;
    slot.Event = TMyMidiEvent{};
    return slot;
}

void TMidiTrack::AppendShort(std::int32_t tick, std::uint8_t status, std::uint8_t data1,
                             std::uint8_t data2) {
    TMyMidiEvent& event = NewSlot(tick).Event;
    event.Status = status;
    event.Data1 = data1;
    event.Data2 = data2;
}

void TMidiTrack::AppendExclusive(std::int32_t tick, std::uint16_t length,
                                 std::unique_ptr<std::uint8_t[]> block) {
    TMyMidiEvent& event = NewSlot(tick).Event;
    event.Status = length > 0 ? block[0] : 0;
    event.ExclusiveLength = length;
    event.ExclusiveData = std::move(block);
}

} // namespace tamtara
