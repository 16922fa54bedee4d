// One track's growable event array.
#include "midi/MidiEvent.h"

#include <utility>

namespace tamtara {

void TMidiTrack::Clear() {
    std::vector<SequencerEvent>().swap(Slots);
    SlotCapacity = 0;
    SlotCount = 0;
    PlayIndex = 0;
    AnnounceIndex = 0;
}

SequencerEvent& TMidiTrack::NewSlot(std::int32_t tick) {
    ++SlotCount;
    if (SlotCount >= SlotCapacity)
        SlotCapacity += GrowthStep;
    SequencerEvent& slot = Slots.emplace_back();
    slot.Tick = tick;
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
