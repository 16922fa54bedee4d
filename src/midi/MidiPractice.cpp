// The sequencer's practice timeline: tempo scaling, loop passes with their count-in, clicks,
// the mix and wait-mode holds.
#include "midi/MidiDrive.h"
#include "midi/SongEnd.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tamtara {

namespace {

std::int32_t CeilDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return static_cast<std::int32_t>(q * b < a ? q + 1 : q);
}

// The first slot of a track at or after tick (the slots are in tick order).
std::int32_t FirstSlotFrom(const TMidiTrack& track, std::int32_t tick) {
    std::int32_t lo = 0, hi = track.Count();
    while (lo < hi) {
        const std::int32_t mid = lo + (hi - lo) / 2;
        if (track[mid].Tick < tick)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace

void TMidiDrive::SetPractice(const PracticePlan& plan) {
    auto lock = ScopedLock();
    const PracticePlan next = plan.Clamped();
    if (!Playing) {
        Plan = next;
        return;
    }
    const bool loopChanged = next.LoopFromTick != Plan.LoopFromTick || next.LoopToTick != Plan.LoopToTick;
    Plan.CountInBars = next.CountInBars;
    Plan.LoopFromTick = next.LoopFromTick;
    Plan.LoopToTick = next.LoopToTick;
    if (loopChanged && next.HasLoop() && !Timed) EnterTimeline();
    if (loopChanged && Timed) PrepareChase();
    SetTempoScale(next.TempoScale);
    SetMetronome(next.Metronome);
    SetMix(next.DrumVolume, next.AccompanimentVolume, next.ClickVolume);
}

void TMidiDrive::ClearPractice() {
    auto lock = ScopedLock();
    SetPractice(PracticePlan{});
    Current.OnLoopEnd = nullptr;
    Current.HoldsAt = nullptr;
}

bool TMidiDrive::HasPracticeHooks() const {
    std::lock_guard<std::recursive_mutex> lock(Mutex);
    return Current.OnLoopEnd || Current.HoldsAt;
}

void TMidiDrive::SetTempoScale(double scale) {
    auto lock = ScopedLock();
    PracticePlan wanted = Plan;
    wanted.TempoScale = scale;
    scale = wanted.Clamped().TempoScale;
    if (scale == Plan.TempoScale) return;
    if (Playing && !Timed) EnterTimeline();
    if (Playing && !IsPaused() && !Holding) {
        // The position now stays where it is; only the rate from here on changes.
        const double ms = TimelineMs(Clock.Now());
        Anchor(TimelinePosition(ms), ms);
    }
    Plan.TempoScale = scale;
}

void TMidiDrive::SetMetronome(bool on) {
    auto lock = ScopedLock();
    if (on == Plan.Metronome) return;
    Plan.Metronome = on;
    if (Playing && on && !Timed) EnterTimeline();
    if (Playing && Timed) NextClick = ClickAt(WholeTick(Position) + 1);
}

void TMidiDrive::SetMix(std::uint8_t drums, std::uint8_t accompaniment, std::uint8_t click) {
    auto lock = ScopedLock();
    PracticePlan wanted = Plan;
    wanted.DrumVolume = drums;
    wanted.AccompanimentVolume = accompaniment;
    wanted.ClickVolume = click;
    wanted = wanted.Clamped();
    const bool volumes =
        wanted.DrumVolume != Plan.DrumVolume || wanted.AccompanimentVolume != Plan.AccompanimentVolume;
    Plan.DrumVolume = wanted.DrumVolume;
    Plan.AccompanimentVolume = wanted.AccompanimentVolume;
    Plan.ClickVolume = wanted.ClickVolume;
    if (volumes && Playing && Port) SendMix();
}

void TMidiDrive::RestartLoop() {
    auto lock = ScopedLock();
    if (!Playing) return;
    if (!Timed) EnterTimeline();
    const std::uint32_t now = Clock.Now();
    // A restart ends a pause or a hold; the time they stood still is not song time.
    if (Holding) StartTime = now - static_cast<std::uint32_t>(HeldSongMs);
    if (IsPaused()) StartTime = StartTime + (now - PauseTime.load());
    Holding = false;
    PauseStage = PauseStep::Running;
    ReleaseSounding();
    ChaseState();
    MarkCycle(Clock.NowMicros());
    StartPass(0, TimelineMs(now));
}

void TMidiDrive::ReleaseHold() {
    auto lock = ScopedLock();
    if (!Holding) return;
    const std::uint32_t now = Clock.Now();
    Anchor(Position, TimelineMs(now));
    StartTime = now - static_cast<std::uint32_t>(HeldSongMs);
    MarkCycle(Clock.NowMicros());
    Holding = false;
}

void TMidiDrive::PrepareTimeline() {
    Timeline = TempoTimeline(Model, DefaultTempo);
    SongEnd = SongEndTick(Model);
    SongBars = BarMap::FromSong(Model, SongEnd);
    PrepareChase();
}

void TMidiDrive::PrepareChase() {
    PassStart = Plan.HasLoop() ? Plan.LoopFromTick : 0;
    Chase.Clear();
    for (int t = 0; t < Model.TrackCount; ++t) {
        const TMidiTrack& track = Model.Tracks[t];
        for (std::int32_t i = 0; i < track.Count(); ++i) {
            const SequencerEvent slot = track[i];
            Chase.Feed(slot.Tick, slot.Event, PassStart);
        }
    }
}

void TMidiDrive::EnterTimeline() {
    // Mid-song, from the sequencer's own summed position: it goes on from where it is now.
    PrepareTimeline();
    BaseTime = PrevTime;
    Anchor(Position, 0.0);
    ClickFrom = PassStart;
    Timed = true;
    NextClick = ClickAt(WholeTick(Position) + 1);
}

void TMidiDrive::ChaseState() {
    Chase.Replay([this](std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
        SequencerEvent slot;
        slot.Tick = PassStart;
        slot.Event.Status = status;
        slot.Event.Data1 = d1;
        slot.Event.Data2 = d2;
        Dispatch(slot);
    });
}

void TMidiDrive::ReleaseSounding() {
    Sounding.Release([this](std::uint8_t status, std::uint8_t key) { SendShort(status, key, 0); });
}

void TMidiDrive::StartPass(std::int32_t leadTicks, double atMs) {
    PassStart = Plan.HasLoop() ? Plan.LoopFromTick : 0;
    const MeterEntry meter = SongBars.MeterAt(PassStart);
    ClickBeat = SongBars.BeatTicks(PassStart);
    ClickBarBeats = std::max(meter.Numerator, 1);
    const std::int32_t countIn = Plan.CountInBars * ClickBarBeats * ClickBeat;
    ClickFrom = PassStart - countIn;
    Position = static_cast<double>(PassStart - std::max(leadTicks, countIn));
    Anchor(Position, atMs);
    Tempo = Timeline.BpmAt(Position);
    for (int t = 0; t < Model.TrackCount; ++t) {
        TMidiTrack& track = Model.Tracks[t];
        track.PlayIndex = track.AnnounceIndex = FirstSlotFrom(track, PassStart);
    }
    NextClick = ClickAt(WholeTick(std::ceil(Position.load())));
    AnnounceDrumNotes(Position + Model.Division * 8.0);
}

void TMidiDrive::EndPass(double endMs) {
    ReleaseSounding();
    ++Loops;
    if (Current.OnLoopEnd) Current.OnLoopEnd(*this);
    if (!Playing || !Timed) return;
    ChaseState();
    StartPass(0, endMs);
}

TMidiDrive::Click TMidiDrive::ClickAt(std::int32_t from) const {
    if (from < PassStart && ClickFrom < PassStart) {
        const std::int32_t at = ClickFrom + CeilDiv(std::max(from - ClickFrom, 0), ClickBeat) * ClickBeat;
        if (at < PassStart) return Click{true, at, (PassStart - at) % (ClickBeat * ClickBarBeats) == 0};
    }
    if (!Plan.Metronome) return Click{};
    const BarMap::Beat beat = SongBars.BeatAtOrAfter(std::max(from, PassStart));
    const std::int32_t end = Plan.HasLoop() ? Plan.LoopToTick : SongEnd;
    if (beat.Tick >= end) return Click{};
    return Click{true, beat.Tick, beat.Downbeat};
}

void TMidiDrive::SendDue(double limit) {
    while (!Holding) {
        int next = -1;
        std::int32_t nextTick = 0;
        for (int t = 0; t < Model.TrackCount; ++t) {
            const TMidiTrack& track = Model.Tracks[t];
            if (track.PlayIndex >= track.Count()) continue;
            const std::int32_t tick = track[track.PlayIndex].Tick;
            if (tick <= limit && (next < 0 || tick < nextTick)) {
                next = t;
                nextTick = tick;
            }
        }
        if (NextClick.Due && NextClick.Tick <= limit && (next < 0 || NextClick.Tick <= nextTick)) {
            DueStamp = TimelineDueMicros(NextClick.Tick);
            SendClick(NextClick.Downbeat);
            DueStamp.reset();
            NextClick = ClickAt(NextClick.Tick + 1);
            continue;
        }
        if (next < 0) return;
        TMidiTrack& track = Model.Tracks[next];
        const SequencerEvent slot = track[track.PlayIndex];
        ++track.PlayIndex;
        DispatchAt(slot, TimelineDueMicros(slot.Tick));
    }
}

void TMidiDrive::BeginHold(std::int32_t tick) {
    if (!Timed) EnterTimeline();
    // The song stands still from the moment its tick was due.
    const double dueMs = TimelineMsOf(tick);
    HeldSongMs = static_cast<std::int32_t>(BaseTime + static_cast<std::uint32_t>(std::lround(dueMs)) -
                                           StartTime.load());
    Position = static_cast<double>(tick);
    Holding = true;
}

void TMidiDrive::TimelineCycle(std::uint32_t now) {
    MarkCycle(CycleMicros);
    ++Cycles;
    const double ms = TimelineMs(now);
    Position = TimelinePosition(ms);
    Tempo = Timeline.BpmAt(Position);
    AnnounceDrumNotes(Position + Model.Division * 8.0);
    if (!SongStarted && Position >= PassStart) {
        SongStarted = true;
        if (Hooks.SongStart) Hooks.SongStart(*this);
    }
    if (!FadeCycle()) return;

    // A loop's end may be reached more than once in one cycle only by a loop shorter than it.
    for (int passes = 0; Plan.HasLoop() && Position >= Plan.LoopToTick && passes < 4; ++passes) {
        SendDue(Plan.LoopToTick - 1.0);
        if (Holding) return;
        EndPass(TimelineMsOf(Plan.LoopToTick));
        if (!Playing || !Timed) return;
        Position = TimelinePosition(ms);
        AnnounceDrumNotes(Position + Model.Division * 8.0);
    }
    SendDue(Position);
    if (Holding || Plan.HasLoop()) return;
    for (int t = 0; t < Model.TrackCount; ++t)
        if (Model.Tracks[t].PlayIndex < Model.Tracks[t].Count()) return;
    if (NextClick.Due) return;
    if (Current.Style.Loop) {
        StartPass(0, ms);
        return;
    }
    Playing = false;
    FadeStep = 0.0;
}

std::int64_t TMidiDrive::TimelineDueMicros(double tick) const {
    // PrevTime is this cycle's whole millisecond; the timeline counts from it.
    const std::int64_t cycleMs = CycleMicros - CycleMicros % 1000;
    const double ahead = TimelineMsOf(tick) - TimelineMs(PrevTime);
    return cycleMs + static_cast<std::int64_t>(std::llround(ahead * 1000.0));
}

std::int64_t TMidiDrive::TimelineSleep(std::uint32_t now) const {
    // Sleeps the usual interval, or less when something falls due sooner.
    double due = NextClick.Due ? NextClick.Tick : std::numeric_limits<double>::infinity();
    if (Plan.HasLoop()) due = std::min(due, static_cast<double>(Plan.LoopToTick));
    for (int t = 0; t < Model.TrackCount; ++t)
        if (Model.Tracks[t].PlayIndex < Model.Tracks[t].Count())
            due = std::min<double>(due, Model.Tracks[t][Model.Tracks[t].PlayIndex].Tick);
    const std::int64_t interval = std::max(SleepInterval, 1) * std::int64_t{1000};
    if (!std::isfinite(due)) return interval;
    // The timeline counts whole milliseconds; the cycle began this far into its millisecond.
    const double wait =
        (TimelineMsOf(due) - TimelineMs(now)) * 1000.0 - static_cast<double>(CycleMicros % 1000);
    return std::clamp(static_cast<std::int64_t>(std::ceil(wait)), MinimumWaitMicros, interval);
}

} // namespace tamtara
