// Grading of strikes, the miss sweep and the score, gauge and combo they change.
#include "app/play/Judge.h"

#include "midi/MidiDrive.h"
#include "platform/input/GameBindings.h"

#include <algorithm>

namespace tamtara {

std::optional<Grade> GradeFor(std::int32_t distance, std::int32_t division) {
    const std::int32_t p = division / 16;
    const std::int32_t g = division / 8;
    const std::int32_t w = division / 4;
    if (-p < distance && distance < p) return Perfect;
    if (-g < distance && distance < g) return Great;
    if (-w < distance && distance < w) return Good;
    return std::nullopt;
}

Judge::Judge(PlayState& state, TMidiDrive& drive) : State(state), Drive(drive) {}

void Judge::JudgePresses(const KeyHolds& holds) {
    // A paused song takes no strikes.
    if (Drive.IsPaused() || KeysStruckElsewhere) {
        State.StruckBetweenPolls.fill(false);
        return;
    }
    for (int lane = 0; lane < LaneCount; ++lane) {
        if ((holds.KeyHoldA[lane] == 1 || holds.KeyHoldB[lane] == 1) && !State.AutoLane[lane] &&
            !State.StruckBetweenPolls[lane])
            GradeStrike(SoundStrike(lane, std::nullopt, 0));
    }
    State.StruckBetweenPolls.fill(false);
}

void Judge::StrikeAt(int lane, std::uint32_t time, std::uint8_t velocity) {
    if (lane < 0 || lane >= LaneCount || State.AutoLane[lane] || Drive.IsPaused()) return;
    GradeStrike(SoundStrike(lane, time, velocity));
    State.StruckBetweenPolls[lane] = true;
}

bool Judge::StrikeFromInputThread(int lane, std::uint32_t time, std::uint8_t velocity) {
    if (lane < 0 || lane >= LaneCount) return false;
    StrikeRecord record;
    {
        auto lock = Drive.ScopedLock();
        // The lanes' automatic marks are set before strikes open and kept until they close.
        if (!StrikesOpen.load(std::memory_order_relaxed) || State.AutoLane[lane] || Drive.IsPaused())
            return false;
        record = SoundStrike(lane, time, velocity);
    }
    std::lock_guard lock(SoundedMutex);
    Sounded.push_back(record);
    return true;
}

void Judge::GradeSounded() {
    {
        std::lock_guard lock(SoundedMutex);
        Grading.swap(Sounded);
    }
    for (const StrikeRecord& record : Grading)
        GradeStrike(record);
    Grading.clear();
}

void Judge::OpenStrikes(bool open) {
    // Under the lock, so no strike is half way through SoundStrike when this returns.
    auto lock = Drive.ScopedLock();
    StrikesOpen.store(open, std::memory_order_relaxed);
}

void Judge::Send(const QueuedNote& note, std::uint8_t velocity) {
    if (TMidiOutput* output = Drive.Output())
        output->SendShort(note.Status, note.Note, velocity > 0 ? velocity : note.Velocity);
}

double Judge::StrikePosition(std::optional<std::uint32_t> time) const {
    // A held song stands on the note it waits for, whatever the strike's time.
    if (State.Practice.HeldLane >= 0) return Drive.CurrentPosition();
    // A polled press keeps the written rule: the position of the poll, moved back by the offset.
    if (!time) return Drive.CurrentPosition() - State.InputOffsetMs * Drive.TicksPerMillisecond();
    return Drive.PositionAt(*time - static_cast<std::uint32_t>(State.InputOffsetMs));
}

StrikeRecord Judge::SoundStrike(int lane, std::optional<std::uint32_t> time, std::uint8_t velocity) {
    State.PadTimer[lane].store(7, std::memory_order_relaxed);
    StrikeRecord record{lane, time, 0.0, std::nullopt, 0};
    {
        // The whole strike runs under the sequencer's lock: the capture may be attaching a
        // partner to this very slot on the sequencer thread, and the position must belong to
        // the cycle time it is interpolated from.
        auto lock = Drive.ScopedLock();
        record.Position = StrikePosition(time);
        record.TempoScale = Drive.Practice().TempoScale;
        if (State.QueueCount[lane].load(std::memory_order_acquire) == 0) {
            Send(QueuedNote{0, 0x99, LaneDefaultNote[lane], 100}, velocity);
        } else {
            NoteSlot& slot = State.Slot(lane, State.QueueHead[lane].load(std::memory_order_relaxed));
            Send(slot.Main, velocity);
            for (std::int32_t i = 0; i < slot.LayerCount; ++i)
                Send(slot.Layers[static_cast<std::size_t>(i)], velocity);
            if (slot.Partner.Tick > 0) Send(slot.Partner, velocity);
            slot.Partner.Tick = -1;
            const std::int32_t d = TMidiDrive::WholeTick(record.Position) - slot.Main.Tick;
            record.Result = GradeFor(d, Drive.Division());
            if (record.Result) {
                record.NoteTick = slot.Main.Tick;
                State.QueueHead[lane].fetch_add(1, std::memory_order_relaxed);
                State.QueueCount[lane].fetch_sub(1, std::memory_order_release);
            }
        }
        if (State.Practice.HeldLane == lane) {
            State.Practice.HeldLane = -1;
            Drive.ReleaseHold();
        }
    }
    return record;
}

void Judge::GradeStrike(const StrikeRecord& record) {
    if (record.Result) {
        ApplyGrade(record.Lane, *record.Result);
        PlayStrikes.push_back(record);
    }
    if (OnStrike) OnStrike(record);
}

void Judge::BeginPlay() {
    {
        std::lock_guard lock(SoundedMutex);
        Sounded.clear();
        // Room for a fast roll on every lane between two frames.
        Sounded.reserve(64);
        Grading.reserve(64);
    }
    PlayStrikes.clear();
    // A long song's strikes fit without a reallocation in the middle of play.
    PlayStrikes.reserve(4096);
}

void Judge::ApplyGrade(int lane, Grade grade) {
    switch (grade) {
    case Perfect:
        State.Gauge = std::min(State.Gauge + 10, FullGauge);
        State.Score += 100;
        ++State.PerfectCount;
        State.ScoreFlash = 2;
        State.ExplodeTimer[lane] = 6;
        break;
    case Great:
        State.Gauge = std::min(State.Gauge + 5, FullGauge);
        State.Score += 50;
        ++State.GreatCount;
        State.ScoreFlash = 1;
        State.ExplodeTimer[lane] = 6;
        break;
    case Good:
        State.Score += 25;
        ++State.GoodCount;
        break;
    case Miss:
        return;
    }
    ++State.ComboCount;
    State.MaxCombo = std::max(State.MaxCombo, State.ComboCount);
    State.ComboBounce = 4;
    State.JudgeGrade[lane] = grade;
    State.JudgeTimer[lane] = 10;
}

void Judge::CountMiss(int lane) {
    if (State.AutoLane[lane]) return;
    State.JudgeGrade[lane] = Miss;
    State.JudgeTimer[lane] = 10;
    State.Gauge -= State.MissPenalty;
    ++State.MissCount;
    State.ComboCount = 0;
    State.ComboBounce = 0;
}

bool Judge::SweepSlot(int lane, std::int32_t position, std::int32_t now) {
    if (State.Slot(lane, position).Main.Tick >= now - MissWindow(Drive.Division())) return false;
    // The capture reads head and count as one pair to find where to append; under the lock it
    // never sees one moved without the other. A practice's loop end reads the counts under it.
    auto lock = Drive.ScopedLock();
    // A practice loop's end may have dropped the lane's notes since the frame looked.
    if (State.QueueCount[lane].load(std::memory_order_relaxed) == 0 ||
        State.QueueHead[lane].load(std::memory_order_relaxed) != position)
        return false;
    CountMiss(lane);
    State.QueueHead[lane].fetch_add(1, std::memory_order_relaxed);
    State.QueueCount[lane].fetch_sub(1, std::memory_order_release);
    return true;
}

void Judge::DropPendingNotes(bool countMisses) {
    auto lock = Drive.ScopedLock();
    for (int lane = 0; lane < LaneCount; ++lane) {
        const std::int32_t count = State.QueueCount[lane].load(std::memory_order_acquire);
        // Only the count: the grade sprites, combo and gauge belong to the frame's thread.
        if (countMisses && !State.AutoLane[lane]) State.MissCount += count;
        State.QueueHead[lane].fetch_add(count, std::memory_order_relaxed);
        State.QueueCount[lane].fetch_sub(count, std::memory_order_release);
    }
}

} // namespace tamtara
