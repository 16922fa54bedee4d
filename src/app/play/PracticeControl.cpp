// The practice play's side of the sequencer.
#include "app/play/PracticeControl.h"

#include "app/play/Judge.h"
#include "midi/BarMap.h"
#include "midi/MidiDrive.h"
#include "midi/SongEnd.h"
#include "settings/PracticeSettings.h"

#include <algorithm>
#include <cstdlib>

namespace tamtara {

namespace {

double ScaleOf(std::int32_t percent) {
    return percent / 100.0;
}

} // namespace

PracticeControl::PracticeControl(PlayState& state, TMidiDrive& drive, Judge& judgement)
    : State(state), Drive(drive), Judgement(judgement) {}

void PracticeControl::Prepare(PlaySetup& options) {
    PracticeRun& run = State.Practice;
    if (!run.Active || State.DemoMode) {
        End();
        return;
    }
    PracticePlan plan;
    plan.TempoScale = ScaleOf(run.TempoPercent);
    const BarMap bars = BarMap::FromSong(Drive.Song(), SongEndTick(Drive.Song()));
    if (run.LoopFromBar > 0 && run.LoopFromBar <= bars.BarCount()) {
        plan.LoopFromTick = bars.BarStartTick(run.LoopFromBar);
        plan.LoopToTick = bars.BarEndTick(std::clamp(run.LoopToBar, run.LoopFromBar, bars.BarCount()));
    }
    plan.CountInBars = run.CountInBars;
    plan.Metronome = run.Metronome;
    plan.DrumVolume = static_cast<std::uint8_t>(run.DrumVolume);
    plan.AccompanimentVolume = static_cast<std::uint8_t>(run.AccompanimentVolume);
    plan.ClickVolume = static_cast<std::uint8_t>(run.ClickVolume);
    options.Practice = plan;
    options.OnLoopEnd = [this](TMidiDrive&) { LoopEnded(); };
    if (run.WaitMode) options.HoldsAt = [this](const SequencerEvent& slot) { return HoldsAt(slot); };
    Planned = true;
}

void PracticeControl::ChangeTempo(std::int32_t percent) {
    auto lock = Drive.ScopedLock();
    PracticeRun& run = State.Practice;
    run.TempoPercent = std::clamp(run.TempoPercent + percent, MinPracticeTempo, MaxPracticeTempo);
    Drive.SetTempoScale(ScaleOf(run.TempoPercent));
}

void PracticeControl::RestartLoop() {
    auto lock = Drive.ScopedLock();
    // The notes of the pass given up go first: the restart announces the loop's notes anew.
    Judgement.DropPendingNotes(false);
    State.Practice.AbandonPass(CountsOf(State), false);
    State.Practice.HeldLane = -1;
    Drive.RestartLoop();
}

void PracticeControl::ToggleMetronome() {
    auto lock = Drive.ScopedLock();
    State.Practice.Metronome = !State.Practice.Metronome;
    Drive.SetMetronome(State.Practice.Metronome);
}

void PracticeControl::End() {
    if (!Planned) return;
    Planned = false;
    Drive.Stop();
    auto lock = Drive.ScopedLock();
    State.Practice.AbandonPass(CountsOf(State), true);
    State.Practice.HeldLane = -1;
    Drive.ClearPractice();
}

void PracticeControl::LoopEnded() {
    // A note of the pass not struck by the loop's end is missed; the trainer then judges the pass.
    Judgement.DropPendingNotes(true);
    Drive.SetTempoScale(ScaleOf(State.Practice.ClosePass(CountsOf(State))));
}

bool PracticeControl::HoldsAt(const SequencerEvent& slot) {
    const TMyMidiEvent& e = slot.Event;
    if (!State.Practice.WaitMode || e.Data2 == 0) return false;
    const int lane = State.Lanes.LaneOf(e.Data1);
    if (lane < 0 || State.AutoLane[lane] || State.QueueCount[lane].load(std::memory_order_acquire) == 0)
        return false;
    // A note already struck (early) or a layer of one is not waited for.
    const NoteSlot& next = State.Slot(lane, State.QueueHead[lane].load(std::memory_order_relaxed));
    if (std::abs(next.Main.Tick - slot.Tick) > LayerTicks) return false;
    State.Practice.HeldLane = lane;
    return true;
}

PracticeStripInfo PracticeControl::StripInfo() {
    auto lock = Drive.ScopedLock();
    const PracticeRun& run = State.Practice;
    return {run.TempoPercent, run.TrainerNextTempo(), run.TrainerStep > 0,
            run.LoopFromBar,  run.LoopToBar,          run.BarCount,
            run.Passes,       run.Metronome,          Drive.IsHolding()};
}

} // namespace tamtara
