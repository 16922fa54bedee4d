// The sequencer: song loading under the lock, the playback operations and the thread body.
#include "midi/MidiDrive.h"

#include "midi/DrumMap.h"
#include "midi/SmfReader.h"
#include "midi/SongEnd.h"
#include "midi/ThreadPriority.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tamtara {

TMidiDrive::TMidiDrive(IMidiOutDriver& driver, IClock& clock, bool runThread) : Driver(driver), Clock(clock) {
    for (int c = 0; c < 16; ++c) {
        ChannelVolumes[c] = 100;
        ChannelPans[c] = 64;
        ChannelPrograms[c] = 128;
    }
    MarkCycle(Clock.NowMicros());
    if (runThread) Worker = std::thread([this] { Execute(); });
}

TMidiDrive::~TMidiDrive() {
    Terminated = true;
    if (Worker.joinable()) Worker.join();
    if (Port) {
        try {
            Stop();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tamtara: silencing the MIDI output failed: %s\n", e.what());
        }
        Port.reset();
    }
}

void TMidiDrive::OpenOutput(int deviceId) {
    auto lock = ScopedLock();
    if (Port) return;
    // The port is only kept once its id has been accepted, so a bad id can be corrected.
    auto port = std::make_unique<TMidiOutput>(Driver);
    port->SetDeviceID(deviceId);
    port->Open();
    Port = std::move(port);
}

void TMidiDrive::PrepareOutput(int deviceId) {
    auto lock = ScopedLock();
    if (!Port) Driver.Prepare(deviceId);
}

TMidiOutput& TMidiDrive::RequireOutput() {
    if (!Port) throw EmidioutputError("MIDI Output device not open");
    return *Port;
}

void TMidiDrive::Send(const TMyMidiEvent& event) {
    if (DueStamp)
        RequireOutput().SendEventAt(event, *DueStamp);
    else
        RequireOutput().SendEvent(event);
}

void TMidiDrive::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (DueStamp)
        RequireOutput().SendShortAt(status, data1, data2, *DueStamp);
    else
        RequireOutput().SendShort(status, data1, data2);
}

void TMidiDrive::DispatchAt(const SequencerEvent& slot, std::int64_t dueMicros) {
    // Never in the future: a rounding step past this cycle would hold the event back.
    DueStamp = std::min(dueMicros, CycleMicros);
    try {
        Dispatch(slot);
    } catch (...) {
        DueStamp.reset();
        throw;
    }
    DueStamp.reset();
}

void TMidiDrive::SendLong(const std::uint8_t* bytes, std::uint16_t length) {
    RequireOutput().SendLong(bytes, length);
}

void TMidiDrive::LoadFromFile(const std::string& path) {
    TFileStream stream(path);
    // Refused like a file that cannot be opened: before playback is stopped.
    CheckSongFileSize(stream.Size(), path);
    LoadFromStream(stream);
}

void TMidiDrive::LoadFromStream(TStream& stream) {
    CheckSongFileSize(stream.Size(), "stream");
    Stop();
    auto lock = ScopedLock();
    const std::vector<std::uint8_t> bytes = stream.ReadAll();
    ParseSmf(bytes, Model);
    EndSongAtItsEndTick(Model);
    Model.Loaded = true;
}

std::string TMidiDrive::ReadTitle(const std::string& path) {
    Stop();
    const std::vector<std::uint8_t> bytes = ReadSongFile(path);
    return ReadSmfTitle(bytes);
}

PlayStyle TMidiDrive::Style() const {
    std::lock_guard<std::recursive_mutex> lock(Mutex);
    return AskedStyle;
}

std::int32_t TMidiDrive::StartTempo() const {
    return Model.TempoCount > 0 ? Model.TempoMap[0].Bpm : DefaultTempo;
}

void TMidiDrive::Play(const PlaySetup& options) {
    {
        auto lock = ScopedLock();
        AskedStyle = options.Style;
    }
    if (Playing || !Model.Loaded) return;
    // Without ticks per quarter note the position cannot be timed (not a MIDI file).
    if (Model.Division <= 0) return;
    auto lock = ScopedLock();
    Current = options;
    Plan = options.Practice.Clamped();
    const std::int32_t preRollTicks = options.PreRollTicks;
    Timed = Plan.ChangesTiming();
    Holding = false;
    Loops = 0;
    Sounding.Clear();
    Tempo = StartTempo();
    TempoIndex = 0;
    for (auto& program : ChannelPrograms)
        program = 128;
    Cycles = 0;
    Position = -static_cast<double>(std::max(preRollTicks, 0));
    PauseStage = PauseStep::Running;
    SongStarted = false;
    for (int t = 0; t < Model.TrackCount; ++t) {
        Model.Tracks[t].PlayIndex = 0;
        Model.Tracks[t].AnnounceIndex = 0;
    }
    if (!Timed) AnnounceDrumNotes(Position + Model.Division * 8.0);

    if (Current.Style.SkipLeadIn) {
        FirstNoteTick = 100000;
        for (int t = 0; t < Model.TrackCount; ++t) {
            const TMidiTrack& track = Model.Tracks[t];
            for (std::int32_t i = 0; i < track.Count() && track[i].Tick < FirstNoteTick; ++i) {
                if ((track[i].Event.Status & 0xF0) == 0x90 && !track[i].Event.IsExclusive()) {
                    FirstNoteTick = track[i].Tick;
                    break;
                }
            }
        }
        FirstNoteTick = std::max(FirstNoteTick - Model.Division / 4, 0);
    }

    Fade = 10000.0;
    FadeStep = 0.0;
    if (Current.Style.GMReset) SendGMReset();
    if (Current.Style.GSReset) SendGSReset();
    const bool anyReset = Current.Style.GMReset || Current.Style.GSReset;
    for (int c = 0; c < 16; ++c) {
        ChannelVolumes[c] = 100;
        ChannelPans[c] = 64;
        // After a reset the synth is at 100 already, unless the mix turns the channel down.
        const std::uint8_t volume = MixedVolume(Plan, c, 100);
        if (!anyReset || volume != 100) SendShort(static_cast<std::uint8_t>(0xB0 + c), 7, volume);
        Clock.Sleep(1);
    }
    SetThreadPriority(PlayPriority);
    Playing = true;
    MarkCycle(Clock.NowMicros());
    if (Timed) {
        PrepareTimeline();
        // The song's state where a loop begins, as if the events before it had played.
        if (PassStart > 0) ChaseState();
        BaseTime = PrevTime;
        StartPass(std::max(preRollTicks, 0), 0.0);
        StartTime = BaseTime + static_cast<std::uint32_t>(std::lround(TimelineMsOf(PassStart)));
        return;
    }
    const double perMs = TicksPerMillisecond();
    const double preRollMs = perMs > 0.0 ? -Position.load() / perMs : 0.0;
    StartTime = PrevTime + static_cast<std::uint32_t>(std::lround(preRollMs));
}

void TMidiDrive::Stop() {
    if (!Playing) return;
    Playing = false;
    auto lock = ScopedLock();
    PauseStage = PauseStep::Running;
    Holding = false;
    AllNotesOff();
    FadeStep = 0.0;
    Fade = 10000.0;
}

void TMidiDrive::Rewind() {
    if (!Playing) return;
    auto lock = ScopedLock();
    Tempo = StartTempo();
    TempoIndex = 0;
    Cycles = 0;
    Position = 0.0;
    for (int t = 0; t < Model.TrackCount; ++t)
        Model.Tracks[t].PlayIndex = 0;
}

void TMidiDrive::FadeOut(std::int32_t milliseconds) {
    auto lock = ScopedLock();
    // A duration below 1 ms would divide by zero or make the level rise past full volume.
    const double duration = std::max(milliseconds, 1);
    Fade = 10000.0;
    FadeStep = -(10000.0 / duration * SleepInterval);
    FadeStartMicros = Clock.NowMicros();
}

bool TMidiDrive::IsFading() {
    auto lock = ScopedLock();
    return FadeStep != 0.0 && Playing;
}

std::int32_t TMidiDrive::CurrentTick() const {
    return WholeTick(Position.load());
}

double TMidiDrive::TicksPerMillisecond() const {
    if (Timed) return Timeline.TicksPerMillisecond(Position) * Plan.TempoScale;
    if (Tempo <= 0 || Model.Division <= 0) return 0.0;
    const double speed = Current.Style.SkipLeadIn && Position < FirstNoteTick ? 3.0 : 1.0;
    return Tempo * speed * Model.Division / 60000.0;
}

double TMidiDrive::PositionAt(std::uint32_t time) const {
    if (!Playing || IsPaused() || Holding) return Position.load();
    if (Timed) return TimelinePosition(TimelineMs(time));
    // Signed: a time stamped before the last cycle lies behind its position.
    const auto sinceCycle = static_cast<std::int32_t>(time - PrevTime);
    return Position.load() + sinceCycle * TicksPerMillisecond();
}

std::int32_t TMidiDrive::WholeTick(double position) {
    constexpr double maxTick = std::numeric_limits<std::int32_t>::max();
    constexpr double minTick = std::numeric_limits<std::int32_t>::min();
    if (!(position < maxTick)) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::floor(std::max(position, minTick)));
}

std::int32_t TMidiDrive::ChannelVolume(int channel) const {
    return channel >= 0 && channel < 16 ? ChannelVolumes[channel].load() : 0;
}

std::int32_t TMidiDrive::ChannelPan(int channel) const {
    return channel >= 0 && channel < 16 ? ChannelPans[channel].load() : 0;
}

std::int32_t TMidiDrive::ChannelProgram(int channel) const {
    return channel >= 0 && channel < 16 ? ChannelPrograms[channel].load() : 0;
}

void TMidiDrive::SendGMReset() {
    auto lock = ScopedLock();
    SendLong(GMSystemOnMessage.data(), static_cast<std::uint16_t>(GMSystemOnMessage.size()));
    Clock.Sleep(60);
}

void TMidiDrive::SendGSReset() {
    auto lock = ScopedLock();
    SendLong(GSResetMessage.data(), static_cast<std::uint16_t>(GSResetMessage.size()));
    Clock.Sleep(60);
}

void TMidiDrive::AllNotesOff() {
    auto lock = ScopedLock();
    for (int c = 0; c < 16; ++c) {
        const auto status = static_cast<std::uint8_t>(0xB0 + c);
        SendShort(status, 7, 0);
        SendShort(status, 120, 0);
        SendShort(status, 123, 0);
        SendShort(status, 121, 0);
        Clock.Sleep(1);
    }
}

void TMidiDrive::SilenceNotes() {
    auto lock = ScopedLock();
    for (int c = 0; c < 16; ++c) {
        const auto status = static_cast<std::uint8_t>(0xB0 + c);
        SendShort(status, 120, 0);
        SendShort(status, 123, 0);
    }
}

void TMidiDrive::Pause() {
    auto lock = ScopedLock();
    if (!Playing || PauseStage == PauseStep::Paused) return;
    // Paused again during the count-in: the pause still runs from its first moment.
    if (PauseStage == PauseStep::Running) PauseTime = Clock.Now();
    PauseStage = PauseStep::Paused;
    SilenceNotes();
}

void TMidiDrive::Resume() {
    auto lock = ScopedLock();
    if (!Playing || PauseStage != PauseStep::Paused) return;
    const std::int32_t paused = WholeTick(Position);
    // The meter in force at the paused position; none written is 4/4 from the start.
    MeterEntry meter;
    for (int i = 0; i < Model.MeterCount; ++i)
        if (Model.MeterMap[i].Tick <= paused) meter = Model.MeterMap[i];
    CountInBeat = std::max(Model.Division * 4 / meter.Denominator, 1);
    CountInBarTicks = CountInBeat * meter.Numerator;
    CountInBarOrigin = meter.Tick;
    CountInPosition = Position - CountInBarTicks;
    // The first beat of the meter's grid at or after the start of the silent bar.
    const std::int32_t from = WholeTick(std::ceil(CountInPosition)) - CountInBarOrigin;
    const std::int32_t beats = from >= 0 ? (from + CountInBeat - 1) / CountInBeat : -(-from / CountInBeat);
    NextClickTick = CountInBarOrigin + beats * CountInBeat;
    MarkCycle(Clock.NowMicros());
    PauseStage = PauseStep::CountIn;
    CountInClicks();
}

void TMidiDrive::CountInClicks() {
    // The silent bar's position sums cycle steps; a click due within rounding of it is due.
    while (NextClickTick <= CountInPosition + 1e-6 && NextClickTick < Position) {
        const std::int32_t inBar = (NextClickTick - CountInBarOrigin) % CountInBarTicks;
        const bool downbeat = inBar == 0;
        SendClick(downbeat);
        NextClickTick += CountInBeat;
    }
}

bool TMidiDrive::PauseCycle(std::uint32_t now, std::optional<double>& carried) {
    if (PauseStage == PauseStep::Running) return true;
    if (PauseStage == PauseStep::Paused) {
        MarkCycle(CycleMicros);
        return false;
    }
    const double perMs = TicksPerMillisecond();
    CountInPosition += Elapsed * perMs;
    CountInClicks();
    const double over = std::max(CountInPosition - Position, 0.0);
    if (CountInPosition < Position - 1e-6) {
        MarkCycle(CycleMicros);
        return false;
    }
    // The song goes on from the paused position at the moment the silent bar reached it; the
    // part of this cycle past that moment is played now.
    const double resumedAt = now - (perMs > 0.0 ? over / perMs : 0.0);
    StartTime = StartTime + static_cast<std::uint32_t>(std::lround(resumedAt - PauseTime.load()));
    if (Timed) Anchor(Position, resumedAt - BaseTime);
    carried = over;
    PauseStage = PauseStep::Running;
    return true;
}

std::int32_t TMidiDrive::SongMilliseconds(std::uint32_t now) const {
    if (Holding) return HeldSongMs;
    const std::uint32_t at = IsPaused() ? PauseTime.load() : now;
    return static_cast<std::int32_t>(at - StartTime.load());
}

void TMidiDrive::AnnounceDrumNotes(double limitTick) {
    if (Timed && Plan.HasLoop()) limitTick = std::min(limitTick, Plan.LoopToTick - 1.0);
    for (int t = 0; t < Model.TrackCount; ++t) {
        TMidiTrack& track = Model.Tracks[t];
        while (track.AnnounceIndex < track.Count() && limitTick >= track[track.AnnounceIndex].Tick) {
            const SequencerEvent& slot = track[track.AnnounceIndex];
            if (slot.Event.Status == 0x99 && !slot.Event.IsExclusive() &&
                Current.Lanes.HasLane(slot.Event.Data1) && Current.Style.AnnounceNotes && Hooks.DrumNoteAhead)
                Hooks.DrumNoteAhead(&slot);
            ++track.AnnounceIndex;
        }
    }
}

void TMidiDrive::QueuePlay(const PlayRequest& request) {
    {
        auto lock = ScopedLock();
        AskedStyle = request.Setup.Style;
    }
    {
        std::lock_guard<std::mutex> lock(RequestMutex);
        Requested = request;
    }
    PlayRequested = true;
    SetThreadPriority(ThreadPriority::BelowNormal);
}

void TMidiDrive::SetThreadPriority(ThreadPriority priority) {
    RequestedPriority = static_cast<int>(priority);
    if (Worker.joinable() && std::this_thread::get_id() == Worker.get_id()) ApplyRequestedPriority();
}

void TMidiDrive::ApplyRequestedPriority() {
    const int wanted = RequestedPriority.load();
    if (wanted == AppliedPriority) return;
    const std::string obtained = ApplyCurrentThreadPriority(static_cast<ThreadPriority>(wanted));
    if (wanted == static_cast<int>(ThreadPriority::TimeCritical))
        ReportThreadPriority(PriorityRole::Sequencer, obtained);
    AppliedPriority = wanted;
}

int TMidiDrive::ProcessCompletions() {
    auto lock = ScopedLock();
    return Port ? Port->ProcessCompletions() : 0;
}

std::string TMidiDrive::LastError() const {
    std::lock_guard<std::mutex> lock(ErrorMutex);
    return LastErrorText;
}

void TMidiDrive::ClearLastError() {
    std::lock_guard<std::mutex> lock(ErrorMutex);
    LastErrorText.clear();
}

void TMidiDrive::Report(const std::string& message) {
    std::fprintf(stderr, "tamtara: %s\n", message.c_str());
    {
        std::lock_guard<std::mutex> lock(ErrorMutex);
        LastErrorText = message;
    }
    ++Errors;
}

void TMidiDrive::Execute() {
    // PrevTime was set before the thread started; Play sets it again under the lock.
    while (!Terminated) {
        ApplyRequestedPriority();
        Pass();
    }
}

void TMidiDrive::RunCycle() {
    Pass();
}

void TMidiDrive::Pass() {
    try {
        PassBody();
    } catch (const std::exception& e) {
        // An output error would repeat every cycle: stop the song and keep the thread alive. The
        // error is counted before the song stops, so whoever sees it stopped also sees why.
        Report(std::string("MIDI output error during playback: ") + e.what());
        Playing = false;
        {
            auto lock = ScopedLock();
            FadeStep = 0.0;
        }
        Clock.Sleep(static_cast<std::uint32_t>(SleepInterval));
    }
}

void TMidiDrive::PassBody() {
    if (PlayRequested.exchange(false)) {
        PlayRequest request;
        {
            std::lock_guard<std::mutex> lock(RequestMutex);
            request = Requested;
        }
        const std::string& file = request.File;
        try {
            LoadFromFile(file);
            Play(request.Setup);
            // Play refuses a song without ticks per quarter note silently; say so once here.
            if (!Playing && Model.Division <= 0)
                Report("Cannot play \"" + file + "\": the file gives no ticks per quarter note");
        } catch (const std::exception& e) {
            Report("Cannot play \"" + file + "\": " + e.what());
        }
    }
    if (!Model.Loaded || !Playing) {
        Clock.Sleep(static_cast<std::uint32_t>(SleepInterval));
        return;
    }
    if (Hooks.Cycle) Hooks.Cycle(*this);
    PlayCycle();
}

void TMidiDrive::PlayCycle() {
    auto lock = ScopedLock();
    // Stop, or a load that stopped the song, may have come between the check and the lock.
    if (!Playing) {
        lock.unlock();
        Clock.Sleep(static_cast<std::uint32_t>(SleepInterval));
        return;
    }
    CycleMicros = Clock.NowMicros();
    const auto now = static_cast<std::uint32_t>(CycleMicros / 1000);
    Elapsed = static_cast<std::int32_t>(now - PrevTime);
    const double elapsedMs = static_cast<double>(CycleMicros - PrevMicros) / 1000.0;
    std::optional<double> carried;
    if (!PauseCycle(now, carried)) {
        lock.unlock();
        Clock.Sleep(static_cast<std::uint32_t>(SleepInterval));
        return;
    }
    if (Holding) {
        MarkCycle(CycleMicros);
        lock.unlock();
        Clock.Sleep(1);
        return;
    }
    if (Timed) {
        TimelineCycle(now);
        const std::int64_t sleep = Playing ? TimelineSleep(now) : 0;
        lock.unlock();
        if (sleep > 0) Clock.SleepMicros(sleep);
        return;
    }
    MarkCycle(CycleMicros);
    ++Cycles;

    while (TempoIndex < Model.TempoCount && Position >= Model.TempoMap[TempoIndex].Tick) {
        Tempo = Model.TempoMap[TempoIndex].Bpm;
        ++TempoIndex;
    }

    const double speed = Current.Style.SkipLeadIn && Position < FirstNoteTick ? 3.0 : 1.0;
    double msPerTick = 0.0;
    if (Tempo > 0 && Model.Division > 0) {
        msPerTick = 60000.0 / (Tempo * speed) / Model.Division;
        Position = Position + (carried ? *carried : elapsedMs / msPerTick);
    }

    AnnounceDrumNotes(Position + Model.Division * 8.0);
    if (!SongStarted && Position >= 0.0) {
        SongStarted = true;
        if (Hooks.SongStart) Hooks.SongStart(*this);
    }

    if (!FadeCycle()) return;

    int ended = 0;
    for (int t = 0; t < Model.TrackCount && !Holding; ++t) {
        TMidiTrack& track = Model.Tracks[t];
        while (track.PlayIndex < track.Count() && Position >= track[track.PlayIndex].Tick && !Holding) {
            // When the position passed the event's tick, at the tempo of this cycle.
            const double behind = (Position - track[track.PlayIndex].Tick) * msPerTick * 1000.0;
            DispatchAt(track[track.PlayIndex], CycleMicros - static_cast<std::int64_t>(std::llround(behind)));
            ++track.PlayIndex;
        }
        if (track.PlayIndex >= track.Count()) ++ended;
    }

    if (ended < Model.TrackCount || Holding) {
        const std::int64_t sleep = Holding ? std::int64_t{SleepInterval} * 1000 : SongSleep(msPerTick);
        lock.unlock();
        Clock.SleepMicros(sleep);
        return;
    }
    if (Current.Style.Loop) {
        Rewind();
        // A song with no length would otherwise restart without pause, for ever.
        lock.unlock();
        Clock.Sleep(static_cast<std::uint32_t>(SleepInterval));
        return;
    }
    Playing = false;
    FadeStep = 0.0;
}

std::int64_t TMidiDrive::SongSleep(double msPerTick) const {
    // Until the next event of any track falls due at this cycle's tempo, or the usual interval.
    const std::int64_t interval = std::int64_t{SleepInterval} * 1000;
    double next = std::numeric_limits<double>::infinity();
    for (int t = 0; t < Model.TrackCount; ++t)
        if (Model.Tracks[t].PlayIndex < Model.Tracks[t].Count())
            next = std::min<double>(next, Model.Tracks[t][Model.Tracks[t].PlayIndex].Tick);
    if (!std::isfinite(next) || msPerTick <= 0.0) return interval;
    const double wait = std::ceil((next - Position) * msPerTick * 1000.0);
    return std::clamp(static_cast<std::int64_t>(wait), MinimumWaitMicros, interval);
}

bool TMidiDrive::FadeCycle() {
    if (FadeStep == 0.0 || Cycles % 20 != 0) return true;
    // By the time since FadeOut: the cycles are as long as the wait for the next event.
    Fade = 10000.0 + FadeStep / SleepInterval * static_cast<double>(CycleMicros - FadeStartMicros) / 1000.0;
    if (FadeStep < 0 && Fade <= 0) {
        Fade = 0.0;
        FadeStep = 0.0;
        Playing = false;
        AllNotesOff();
        return false;
    }
    SendMix();
    return true;
}

void TMidiDrive::SendMix() {
    for (int c = 0; c < 16; ++c)
        SendShort(static_cast<std::uint8_t>(0xB0 + c), 7,
                  static_cast<std::uint8_t>(std::clamp(
                      static_cast<int>(MixedVolume(Plan, c, ChannelVolumes[c]) * Fade / 10000), 0, 127)));
}

void TMidiDrive::SendClick(bool downbeat) {
    const std::uint8_t velocity = ClickVelocity(Plan, downbeat);
    if (velocity > 0) SendShort(0x99, downbeat ? CountInDownbeatNote : CountInBeatNote, velocity);
}

void TMidiDrive::Dispatch(const SequencerEvent& slot) {
    const TMyMidiEvent& event = slot.Event;
    // A stray data byte the reader kept: the song plays on past it, the output never sees it.
    if (!event.IsSendable()) return;
    if (event.IsExclusive()) {
        Send(event);
        return;
    }
    const std::uint8_t status = event.Status;
    const std::uint8_t kind = status & 0xF0;
    const int channel = status & 0x0F;
    if (kind == 0xB0 && event.Data1 == 7) {
        ChannelVolumes[channel] = event.Data2;
        SendShort(status, 7,
                  static_cast<std::uint8_t>(std::clamp(
                      static_cast<int>(MixedVolume(Plan, channel, event.Data2) * Fade / 10000), 0, 127)));
    } else if (kind == 0xB0 && event.Data1 == 10) {
        ChannelPans[channel] = event.Data2;
        Send(event);
    } else if (kind == 0xC0) {
        ChannelPrograms[channel] = event.Data1;
        Send(event);
    } else if (kind == 0xB0 && (event.Data1 == 0 || event.Data1 == 32)) {
        if (!BankSelectOff) Send(event);
    } else if (status == 0x99 && Current.Lanes.HasLane(event.Data1) && Current.Style.AnnounceNotes) {
        if (Hooks.DrumNote) Hooks.DrumNote(&slot);
        if (Current.HoldsAt && Current.HoldsAt(slot)) BeginHold(slot.Tick);
    } else if (status == 0x99) {
        Sounding.Sent(status, event.Data1, event.Data2);
        Send(event);
    } else if (kind == 0x90) {
        if (Current.Style.AnnounceNotes && Hooks.NoteOn) Hooks.NoteOn(&slot);
        Sounding.Sent(status, event.Data1, event.Data2);
        Send(event);
    } else {
        if (kind == 0x80) Sounding.Sent(status, event.Data1, event.Data2);
        Send(event);
    }
}

} // namespace tamtara
