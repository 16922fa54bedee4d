// One track's compact event array.
#include "midi/MidiEvent.h"

#include <algorithm>

namespace tamtara {

void TMidiTrack::Clear() {
    std::vector<PackedSlot>().swap(Slots);
    std::vector<ExclusiveRef>().swap(Exclusives);
    std::vector<std::uint8_t>().swap(Pool);
    SlotCapacity = 0;
    SlotCount = 0;
    PlayIndex = 0;
    AnnounceIndex = 0;
}

void TMidiTrack::Reserve(std::int32_t events, std::int32_t exclusiveEvents, std::size_t exclusiveBytes) {
    Slots.reserve(static_cast<std::size_t>(events));
    Exclusives.reserve(static_cast<std::size_t>(exclusiveEvents));
    Pool.reserve(exclusiveBytes);
    SlotCapacity = std::max(SlotCapacity, events + 1);
}

void TMidiTrack::TakeSlot() {
    ++SlotCount;
    if (SlotCount >= SlotCapacity) SlotCapacity += GrowthStep;
}

void TMidiTrack::AppendShort(std::int32_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    TakeSlot();
    Slots.push_back(PackedSlot{tick, status, data1, data2, 0});
}

void TMidiTrack::AppendExclusive(std::int32_t tick, std::uint8_t status, std::span<const std::uint8_t> data) {
    Exclusives.push_back(ExclusiveRef{SlotCount, static_cast<std::uint32_t>(Pool.size())});
    Pool.push_back(status);
    Pool.insert(Pool.end(), data.begin(), data.end());
    TakeSlot();
    Slots.push_back(PackedSlot{tick, status, 0, 0, 1});
}

SequencerEvent TMidiTrack::operator[](std::int32_t index) const {
    const PackedSlot& slot = Slots[static_cast<std::size_t>(index)];
    SequencerEvent out;
    out.Tick = slot.Tick;
    out.Event.Status = slot.Status;
    out.Event.Data1 = slot.Data1;
    out.Event.Data2 = slot.Data2;
    if (slot.Exclusive) {
        const auto ref = std::lower_bound(Exclusives.begin(), Exclusives.end(), index,
                                          [](const ExclusiveRef& r, std::int32_t i) { return r.Slot < i; });
        const std::size_t end = ref + 1 == Exclusives.end() ? Pool.size() : (ref + 1)->Offset;
        out.Event.ExclusiveLength = static_cast<std::uint16_t>(end - ref->Offset);
        out.Event.ExclusiveData = Pool.data() + ref->Offset;
    }
    return out;
}

void TMidiTrack::EndAt(std::int32_t tick) {
    for (PackedSlot& slot : Slots)
        slot.Tick = std::min(slot.Tick, tick);
}

std::size_t TMidiTrack::StorageBytes() const {
    return Slots.capacity() * sizeof(PackedSlot) + Exclusives.capacity() * sizeof(ExclusiveRef) +
           Pool.capacity();
}

} // namespace tamtara
