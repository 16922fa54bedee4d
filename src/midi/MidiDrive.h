// The sequencer: plays the loaded song in real time on a thread of its own through the output
// port, announces the game's drum notes ahead of time and withholds them when they fall due.
#pragma once

#include "base/Clock.h"
#include "base/Stream.h"
#include "midi/BarMap.h"
#include "midi/ChannelChase.h"
#include "midi/MidiDriver.h"
#include "midi/MidiOutput.h"
#include "midi/PlayRequest.h"
#include "midi/PracticePlan.h"
#include "midi/SongModel.h"
#include "midi/SoundingNotes.h"
#include "midi/TempoTimeline.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace tamtara {

// The sixteen General MIDI percussion keys that become game notes.
constexpr std::array<std::uint8_t, 16> DrumNoteTable = {35, 36, 38, 40, 42, 44, 46, 41,
                                                        43, 45, 47, 48, 50, 49, 55, 57};

constexpr std::array<std::uint8_t, 6> GMSystemOnMessage = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
constexpr std::array<std::uint8_t, 11> GSResetMessage = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40,
                                                         0x00, 0x7F, 0x00, 0x41, 0xF7};

// Tempo used when a song has no usable Set Tempo event (the file format's default).
constexpr std::int32_t DefaultTempo = 120;

enum class ThreadPriority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };

// What the game hears from the sequencer. The note callbacks get the track's slot, valid only
// during the call; they run on the sequencer thread with the lock held. Cycle runs on the
// sequencer thread without it.
struct SequencerHooks {
    using NoteCallback = std::function<void(const SequencerEvent* slot)>;
    using CycleCallback = std::function<void(TMidiDrive& sender)>;
    // A drum note of the game's map, some beats before it falls due (announced plays only).
    NoteCallback DrumNoteAhead;
    // That note falling due: it is withheld from the output, the game sounds it or not.
    NoteCallback DrumNote;
    // Every note-on sent (announced plays only), for the level meters.
    NoteCallback NoteOn;
    CycleCallback Cycle;
    // In the cycle that plays the song's first tick (after the pre-roll), lock held, before that
    // tick's events are sent.
    CycleCallback SongStart;
};

class TMidiDrive {
public:
    // runThread false: no thread is started and RunCycle() runs the thread body's passes on the
    // caller's thread, so tests can step the sequencer on a fake clock.
    TMidiDrive(IMidiOutDriver& driver, IClock& clock, bool runThread = true);
    ~TMidiDrive();
    TMidiDrive(const TMidiDrive&) = delete;
    TMidiDrive& operator=(const TMidiDrive&) = delete;

    // Creates and opens the port once; later calls do nothing. An invalid id raises
    // EmidioutputError; a device that cannot be opened leaves the port closed without an error.
    void OpenOutput(int deviceId);
    // Lets the driver start on deviceId while the caller does other work (see
    // IMidiOutDriver::Prepare); OpenOutput finishes it. Does nothing once the port is open.
    void PrepareOutput(int deviceId);
    // Null until OpenOutput. Send through it only while holding the lock.
    TMidiOutput* Output() const { return Port.get(); }

    // The re-entrant lock guarding the song state and every send through Output.
    void Lock() { Mutex.lock(); }
    void Unlock() { Mutex.unlock(); }
    [[nodiscard]] std::unique_lock<std::recursive_mutex> ScopedLock() {
        return std::unique_lock<std::recursive_mutex>(Mutex);
    }

    // The loaded song. The sequencer thread writes it when a queued play loads: read it under
    // the lock unless no play can be queued meanwhile.
    const TSongModel& Song() const { return Model; }
    bool IsLoaded() const { return Model.Loaded.load(); }
    // Ticks per quarter note of the loaded song (0 when it has none).
    std::int32_t Division() const { return Model.Division.load(); }

    // Both loads stop playback first. LoadFromFile raises EStreamError, before stopping, when
    // the file cannot be opened; both raise ESongFileError, before stopping, for data over
    // MaxSongFileBytes (ReadTitle too, after stopping).
    void LoadFromFile(const std::string& path);
    void LoadFromStream(TStream& stream);
    // Stops playback, then returns the file's title bytes (empty when it has none).
    std::string ReadTitle(const std::string& path);

    // Plays the loaded song as the options say, replacing whatever the last play was given.
    // The song starts PreRollTicks before its tick 0: the position begins that far below 0 and
    // the song's first tick plays once it has counted up to 0. With a practice loop the song
    // starts that far before the loop's first tick instead, the song's events before it held
    // back and their channel state sent at once; a count-in makes the lead at least its bars.
    void Play(const PlaySetup& options = {});
    void Stop();
    // Freezes the song where it is and silences the sounding notes; Playing stays set. Does
    // nothing unless the song is playing or counting in.
    void Pause();
    // After a pause: one bar of clicks in the song's meter on channel 10, then the song goes on
    // from exactly the position it was paused at.
    void Resume();
    // True from Pause until the count-in after Resume is over.
    bool IsPaused() const { return PauseStage.load() != PauseStep::Running; }
    bool IsCountingIn() const { return PauseStage.load() == PauseStep::CountIn; }
    // Milliseconds of song time at `now`: 0 when the first tick played, negative during the
    // pre-roll, standing still during a pause and its count-in and during a hold. It is the time
    // the song has been playing: at a tempo scale of 0.73 a song of 5 minutes ends at about
    // 410959, and loop passes add up.
    std::int32_t SongMilliseconds(std::uint32_t now) const;
    void Rewind();
    void FadeOut(std::int32_t milliseconds);
    bool IsFading();
    std::int32_t CurrentTick() const;
    // A song position as the whole tick CurrentTick reports for it (rounded down, so the ticks
    // of the pre-roll are negative).
    static std::int32_t WholeTick(double position);
    // Ticks per millisecond at the current tempo (and lead-in speed). Call with the lock held.
    double TicksPerMillisecond() const;
    // The position the song had (or will have) at `time` on the sequencer's clock: the last
    // cycle's position moved on, or back, at the current tempo. Call with the lock held, so the
    // position and the cycle's time belong together.
    double PositionAt(std::uint32_t time) const;
    std::int32_t ChannelVolume(int channel) const;
    std::int32_t ChannelPan(int channel) const;
    std::int32_t ChannelProgram(int channel) const;
    void SendGMReset();
    void SendGSReset();
    void AllNotesOff();
    // All Sound Off and All Notes Off on every channel, leaving volumes and controllers as the
    // song set them.
    void SilenceNotes();
    // The look-ahead pass; call with the lock held. With a practice loop it stops short of the
    // loop's end.
    void AnnounceDrumNotes(double limitTick);
    // Asks the sequencer thread to load and play the file as the request says; errors are
    // reported through LastError(). A later request replaces one not yet taken.
    void QueuePlay(const PlayRequest& request);
    bool IsPlayQueued() const { return PlayRequested.load(); }
    // The style the last play was given (before the first: a song's, with a General MIDI reset).
    PlayStyle Style() const;
    // Bank selects are not sent (a device that takes them badly); any time.
    void SetNoBankSelect(bool off) { BankSelectOff = off; }
    bool NoBankSelect() const { return BankSelectOff.load(); }

    // Read by the game during play without the lock.
    bool IsPlaying() const { return Playing.load(); }
    // The song position in ticks as of the last cycle (negative in the pre-roll).
    double CurrentPosition() const { return Position.load(); }
    // Beats per minute in force at the position.
    std::int32_t CurrentTempo() const { return Tempo.load(); }
    // The clock time at which the song's tick 0 plays (or played); each pause moves it on by
    // its length, count-in included.
    std::uint32_t SongStartTime() const { return StartTime.load(); }
    // The fade's level: 10000 at full volume, 0 when faded out.
    double FadeLevel() const { return Fade.load(); }
    // The clock time of the last cycle and the number of cycles since Play (the thread's own
    // pace; tests and benchmarks time against it).
    std::uint32_t LastCycleTime() const { return PrevTime; }
    std::int64_t LastCycleMicros() const { return PrevMicros; }
    std::int32_t CycleCount() const { return Cycles; }
    // The sequencer's pace between events, in milliseconds.
    static constexpr std::int32_t SleepInterval = 2;

    // Practice. A plan that changes nothing (PracticePlan{}) leaves the sequencer as it always
    // was, message for message. Anything that changes the timing (a tempo scale, a loop, a
    // count-in, the metronome, a hold) puts the song on the practice timeline: the position is
    // worked out from the time since a fixed point over the tempo map, exactly, instead of
    // being summed cycle by cycle, and song events, clicks and loop ends are sent in tick order.
    //
    // Play takes the plan from its options; during play the tempo, metronome and mix apply at
    // once, the loop and count-in from the next pass.
    void SetPractice(const PracticePlan& plan);
    // After a practice play: the plan and the practice's hooks are dropped, so nothing of it
    // outlives the play.
    void ClearPractice();
    bool HasPracticeHooks() const;
    const PracticePlan& Practice() const { return Plan; }
    // Any time during play; the position stays continuous, only the rate changes.
    void SetTempoScale(double scale);
    void SetMetronome(bool on);
    // The channel volumes are sent again at once, scaled from the song's own values; the
    // song's later volume changes are scaled as they come.
    void SetMix(std::uint8_t drums, std::uint8_t accompaniment, std::uint8_t click);
    // Restarts the loop now (from its first tick, after the count-in); without a loop, restarts
    // the song from tick 0 (after the count-in). Ends a pause or a hold; the sounding notes are
    // ended and the channel state chased.
    void RestartLoop();
    // Loop passes completed since Play.
    std::int32_t LoopCount() const { return Loops.load(); }
    // True once the song runs on the practice timeline (see above).
    bool OnPracticeTimeline() const { return Timed.load(); }
    // The first tick of the song a pass plays: the loop's first tick, else 0.
    std::int32_t PassStartTick() const { return PassStart; }
    // The song's bars, built at Play (empty until then).
    const BarMap& Bars() const { return SongBars; }
    bool IsHolding() const { return Holding.load(); }
    // The song goes on from the held tick as from this moment; what falls due there is sent by
    // the sequencer's next cycle (a held song looks every millisecond).
    void ReleaseHold();

    // One pass of the thread body, sleeps included (only without a thread of its own).
    void RunCycle();
    // Releases finished exclusive messages and fires the port's Onmidioutput; the game loop
    // calls it every frame on the thread that opened the port.
    int ProcessCompletions();

    // Errors met on the sequencer thread (a queued file that cannot be loaded, an output error
    // during a cycle), also written to stderr. Empty when none; ErrorCount() grows with each.
    std::string LastError() const;
    std::uint32_t ErrorCount() const { return Errors.load(); }
    void ClearLastError();

    // The moment, in steady-clock microseconds, the song event being dispatched fell due: set
    // while its sends and note callbacks run on the sequencer thread (the game's automatic
    // lanes send their notes with it), none otherwise.
    std::optional<std::int64_t> DispatchDue() const { return DueStamp; }

    // Set once after construction, before the first play.
    SequencerHooks Hooks;

    // The count-in notes: side stick on the bar's first beat, closed hi-hat on the others.
    static constexpr std::uint8_t CountInDownbeatNote = 37;
    static constexpr std::uint8_t CountInBeatNote = 42;

private:
    // Tests of the game's judgement place a stopped song at a tick without playing it.
    friend struct SequencerTestAccess;

    enum class PauseStep { Running, Paused, CountIn };

    TSongModel Model;
    // The running play's options (its practice plan lives in Plan, which practice changes) and
    // the style of the last play asked for.
    PlaySetup Current;
    PlayStyle AskedStyle{.GMReset = true, .AnnounceNotes = true};
    std::int32_t Cycles = 0;
    std::uint32_t PrevTime = 0;
    // PrevTime in microseconds: the position moves on from it by the microseconds elapsed.
    std::int64_t PrevMicros = 0;
    std::int32_t Elapsed = 0;
    std::atomic<bool> Playing{false};
    std::atomic<bool> BankSelectOff{false};
    std::int32_t FirstNoteTick = 0;
    std::atomic<std::uint32_t> StartTime{0};
    std::atomic<bool> PlayRequested{false};
    std::atomic<std::int32_t> Tempo{DefaultTempo};
    std::atomic<double> Position{0.0};
    std::array<std::atomic<std::int32_t>, 16> ChannelVolumes{};
    std::array<std::atomic<std::int32_t>, 16> ChannelPans{};
    std::array<std::atomic<std::int32_t>, 16> ChannelPrograms{};
    std::atomic<double> Fade{0.0};
    double FadeStep = 0.0;
    std::int32_t TempoIndex = 0;
    ThreadPriority PlayPriority = ThreadPriority::TimeCritical;

    void Execute();
    // The cycle's step while paused or counting in; false while the song stands still. When the
    // count-in ends in this cycle, carried is how far past the paused position the song is.
    bool PauseCycle(std::uint32_t now, std::optional<double>& carried);
    void CountInClicks();
    // One pass; returns after its own sleep, if it has one.
    void Pass();
    void PassBody();
    void PlayCycle();
    void Dispatch(const SequencerEvent& slot);
    // Dispatch with every send stamped with the event's due time.
    void DispatchAt(const SequencerEvent& slot, std::int64_t dueMicros);
    // The cycle time in both units.
    void MarkCycle(std::int64_t micros) {
        PrevMicros = micros;
        PrevTime = static_cast<std::uint32_t>(micros / 1000);
    }
    // The due time of a tick on the practice timeline, from this cycle's millisecond.
    std::int64_t TimelineDueMicros(double tick) const;
    // The fade's step every 20 cycles; false when it has ended the song.
    bool FadeCycle();
    // A count-in or metronome click on channel 10.
    void SendClick(bool downbeat);

    // The practice timeline (MidiPractice.cpp).
    struct Click {
        bool Due = false;
        std::int32_t Tick = 0;
        bool Downbeat = false;
    };
    void EnterTimeline();
    void PrepareTimeline();
    void PrepareChase();
    void ChaseState();
    // Starts a pass: lead ticks (at least the count-in) before its first tick, at timeline
    // millisecond atMs.
    void StartPass(std::int32_t leadTicks, double atMs);
    void EndPass(double endMs);
    void TimelineCycle(std::uint32_t now);
    // Sends clicks and song events up to and including limit, in tick order; stops at a hold.
    void SendDue(double limit);
    void BeginHold(std::int32_t tick);
    void ReleaseSounding();
    void SendMix();
    Click ClickAt(std::int32_t from) const;
    // Microseconds until the next event of the timeline (or of the song) falls due, within
    // MinimumWaitMicros and SleepInterval.
    std::int64_t TimelineSleep(std::uint32_t now) const;
    std::int64_t SongSleep(double msPerTick) const;
    static constexpr std::int64_t MinimumWaitMicros = 100;
    double TimelineMs(std::uint32_t now) const { return static_cast<std::int32_t>(now - BaseTime); }
    double TimelinePosition(double ms) const {
        return Timeline.PositionAfter(AnchorPosition, (ms - AnchorMs) * Plan.TempoScale);
    }
    double TimelineMsOf(double position) const {
        return AnchorMs + Timeline.Milliseconds(AnchorPosition, position) / Plan.TempoScale;
    }
    void Anchor(double position, double ms) {
        AnchorPosition = position;
        AnchorMs = ms;
    }
    void Send(const TMyMidiEvent& event);
    void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void SendLong(const std::uint8_t* bytes, std::uint16_t length);
    TMidiOutput& RequireOutput();
    std::int32_t StartTempo() const;
    void SetThreadPriority(ThreadPriority priority);
    void ApplyRequestedPriority();
    void Report(const std::string& message);

    IMidiOutDriver& Driver;
    IClock& Clock;
    mutable std::recursive_mutex Mutex;
    std::unique_ptr<TMidiOutput> Port;

    mutable std::mutex RequestMutex;
    PlayRequest Requested;

    mutable std::mutex ErrorMutex;
    std::string LastErrorText;
    std::atomic<std::uint32_t> Errors{0};

    std::atomic<int> RequestedPriority{static_cast<int>(ThreadPriority::TimeCritical)};
    int AppliedPriority = -1;
    std::atomic<PauseStep> PauseStage{PauseStep::Running};
    std::atomic<std::uint32_t> PauseTime{0};
    // The count-in replays the bar before the paused position in silence: its own position,
    // the tick of its next click and the length of a beat in ticks.
    double CountInPosition = 0.0;
    std::int32_t NextClickTick = 0;
    std::int32_t CountInBeat = 0;
    std::int32_t CountInBarOrigin = 0;
    std::int32_t CountInBarTicks = 0;
    bool SongStarted = false;

    PracticePlan Plan;
    std::atomic<bool> Timed{false};
    TempoTimeline Timeline;
    BarMap SongBars;
    std::int32_t SongEnd = 0;
    // The timeline: position AnchorPosition at AnchorMs milliseconds after BaseTime.
    std::uint32_t BaseTime = 0;
    double AnchorMs = 0.0;
    double AnchorPosition = 0.0;
    std::int32_t PassStart = 0;
    // Count-in clicks of the pass: every ClickBeat ticks over [ClickFrom, PassStart), a bar of
    // ClickBarBeats beats counted back from PassStart.
    std::int32_t ClickFrom = 0;
    std::int32_t ClickBeat = 1;
    std::int32_t ClickBarBeats = 4;
    Click NextClick;
    ChannelChase Chase;
    SoundingNotes Sounding;
    std::atomic<bool> Holding{false};
    std::int32_t HeldSongMs = 0;
    std::atomic<std::int32_t> Loops{0};

    std::optional<std::int64_t> DueStamp;
    std::int64_t FadeStartMicros = 0;
    // The clock at the start of the running cycle.
    std::int64_t CycleMicros = 0;

    std::atomic<bool> Terminated{false};
    std::thread Worker;
};

} // namespace tamtara
