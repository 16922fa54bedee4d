// Capture of announced drum notes into the lane rings, sounding of automatic lanes, meters.
#include "app/play/NoteCapture.h"

#include "midi/DrumMap.h"
#include "midi/MidiDrive.h"

#include <algorithm>
#include <cstdlib>

namespace tamtara {

MeterLevels MeterLevelsFor(std::int32_t volume, std::int32_t pan, std::int32_t velocity, std::int32_t fade) {
    const std::int32_t leftGain = std::min(2 * (127 - pan), 127);
    const std::int32_t rightGain = std::min(2 * pan, 127);
    const std::int32_t level = (volume * ((velocity * 100) / 127)) / 127;
    return {((level * leftGain) / 127) * fade / 1000, ((level * rightGain) / 127) * fade / 1000};
}

NoteCapture::NoteCapture(PlayState& state, TMidiDrive& drive, std::function<bool()> inPlay)
    : State(state), Drive(drive), InPlay(std::move(inPlay)) {}

void NoteCapture::Register() {
    Drive.Hooks.DrumNoteAhead = [this](const SequencerEvent* e) { CaptureDrumNote(e); };
    Drive.Hooks.DrumNote = [this](const SequencerEvent* e) { SoundDrumNote(e); };
    Drive.Hooks.NoteOn = [this](const SequencerEvent* e) { MeterNoteOn(e); };
    Drive.Hooks.Cycle = [this](TMidiDrive&) { MeterDecay(); };
}

void NoteCapture::CaptureDrumNote(const SequencerEvent* event) {
    const TMyMidiEvent& e = event->Event;
    if (e.Data2 == 0 || Drive.IsFading() || !InPlay()) return;
    const int lane = State.Lanes.LaneOf(e.Data1);
    if (lane < 0) return;

    const QueuedNote note{event->Tick, e.Status, e.Data1, e.Data2};
    const std::int32_t head = State.QueueHead[lane].load(std::memory_order_acquire);
    const std::int32_t count = State.QueueCount[lane].load(std::memory_order_acquire);
    const std::int32_t half = Drive.Division() / 8;
    // Tracks are announced one after the other, so a layer may find its slot behind newer ones.
    for (std::int32_t k = count - 1; k >= 0; --k) {
        NoteSlot& slot = State.Slot(lane, head + k);
        if (std::abs(slot.Main.Tick - event->Tick) > LayerTicks) continue;
        // More layers than a slot holds still make no note of their own; they stay silent.
        if (slot.LayerCount < MaxLayers) slot.Layers[static_cast<std::size_t>(slot.LayerCount++)] = note;
        return;
    }
    if (count > 0) {
        NoteSlot& last = State.Slot(lane, head + count - 1);
        if (last.Partner.Tick <= 0 && last.Main.Tick >= event->Tick - half) {
            last.Partner = note;
            return;
        }
    }
    // A full ring would overwrite the oldest pending note while the frame may be reading it.
    if (count >= LaneSlots) {
        Dropped.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    NoteSlot& slot = State.Slot(lane, head + count);
    slot.Main = note;
    slot.Partner = QueuedNote{};
    slot.LayerCount = 0;
    // Publishes the slot to the frame thread.
    State.QueueCount[lane].fetch_add(1, std::memory_order_release);
}

void NoteCapture::SoundDrumNote(const SequencerEvent* event) {
    TMidiOutput* output = Drive.Output();
    // With the song's other events: at the moment the note fell due.
    const auto send = [output, due = Drive.DispatchDue()](const TMyMidiEvent& e) {
        if (!output) return;
        if (due)
            output->SendEventAt(e, *due);
        else
            output->SendEvent(e);
    };
    if (!InPlay()) {
        send(event->Event);
        return;
    }
    if (event->Event.Data2 == 0) return;
    // The lane the capture queued the note in: the map in force, extended notes included.
    const int lane = State.Lanes.LaneOf(event->Event.Data1);
    // The player's lanes sound only when struck.
    if (lane < 0 || !State.AutoLane[lane]) return;
    if (State.DemoMode || State.AutoPlayMode) State.PadTimer[lane].store(7, std::memory_order_relaxed);
    send(event->Event);
}

void NoteCapture::MeterNoteOn(const SequencerEvent* event) {
    const TMyMidiEvent& e = event->Event;
    if (!InPlay() || e.Data2 == 0) return;
    const int ch = e.Status & 0x0F;
    const auto fade = static_cast<std::int32_t>(Drive.FadeLevel());
    const MeterLevels levels = MeterLevelsFor(Drive.ChannelVolume(ch), Drive.ChannelPan(ch), e.Data2, fade);
    State.MeterLeft[ch].store(levels.Left, std::memory_order_relaxed);
    State.MeterRight[ch].store(levels.Right, std::memory_order_relaxed);
}

void NoteCapture::MeterDecay() {
    for (int ch = 0; ch < ChannelCount; ++ch) {
        State.MeterLeft[ch].store(std::max(State.MeterLeft[ch].load(std::memory_order_relaxed) - 2, 0),
                                  std::memory_order_relaxed);
        State.MeterRight[ch].store(std::max(State.MeterRight[ch].load(std::memory_order_relaxed) - 2, 0),
                                   std::memory_order_relaxed);
    }
}

} // namespace tamtara
