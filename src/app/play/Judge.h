// Judgement of the player's strikes: key counters, grading by the distance in ticks, the miss
// sweep, and score, gauge and combo bookkeeping.
#pragma once

#include "app/input/KeyHolds.h"
#include "app/play/PlayState.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace tamtara {

class TMidiDrive;

// One strike as it was graded: when it happened, the song position it was graded at, and the
// grade (none when the lane was empty or the strike fell outside every window).
struct StrikeRecord {
    int Lane = 0;
    // The key-down's or pad's stamp on the sequencer's clock; none for a press the frame's poll
    // found, which is graded at the position of the poll.
    std::optional<std::uint32_t> Time;
    double Position = 0.0;
    std::optional<Grade> Result;
    // The tick of the chart note it was graded against (with a Result only).
    std::int32_t NoteTick = 0;
    // The practice's speed when it was struck (1 in ordinary play): song time runs that much
    // faster than the player's.
    double TempoScale = 1.0;
};

// Windows with D ticks per quarter note: Perfect within D/16, Great D/8, Good D/4 (exclusive).
std::optional<Grade> GradeFor(std::int32_t distance, std::int32_t division);
// Notes later than this many ticks are missed.
constexpr std::int32_t MissWindow(std::int32_t division) {
    return division / 4;
}

class Judge {
public:
    Judge(PlayState& state, TMidiDrive& drive);

    // Judges the presses counted by the last poll, one slot per lane at most; presses already
    // struck by StrikeAt since the previous poll are left alone, and a paused song takes none,
    // nor does a play whose keys the key thread strikes.
    void JudgePresses(const KeyHolds& holds);
    // Strikes lane at once for a key-down or pad hit stamped at time: sounds its next note (at
    // velocity, or the note's own when 0) and grades it by the song position at
    // time - InputOffsetMs. Automatic lanes ignore it, and so does a paused song.
    // While wait mode holds the song on a note, every strike is graded at the held position
    // (the note's own tick, so the held lane's note is Perfect by its distance of 0), and a
    // strike on the held lane lets the song go on; one on another lane does not.
    void StrikeAt(int lane, std::uint32_t time, std::uint8_t velocity = 0);
    // A pad hit on the kit's input thread, sounded there at once (the window's thread may be in
    // the middle of a frame) and graded at the window's next GradeSounded. False when the hit
    // was not taken: strikes are closed, the lane is automatic or the song paused; the window
    // then handles it as any other hit.
    bool StrikeFromInputThread(int lane, std::uint32_t time, std::uint8_t velocity);
    // Grades the strikes sounded on the input thread since the last call (window's thread).
    void GradeSounded();
    // While the key thread strikes every key-down, the poll strikes no press: SDL may show a key
    // down to the poll before its event (and the key thread's strike) has come.
    bool KeysStruckElsewhere = false;
    // Whether StrikeFromInputThread takes hits: open for the player's play only. Closing waits
    // for a strike in progress on the input thread.
    void OpenStrikes(bool open);
    // The sweep step for the slot at ring position `position` of lane; true when it was removed.
    bool SweepSlot(int lane, std::int32_t position, std::int32_t now);
    // Empties every lane's pending notes (a practice loop's end or restart); with countMisses,
    // the ones of the player's lanes add to MissCount (and nothing else). Takes the lock.
    void DropPendingNotes(bool countMisses);

    // Told of every strike after it was graded (calibration of tests and the benchmark).
    std::function<void(const StrikeRecord&)> OnStrike;
    // The graded strikes of the play in progress, in order, for its record; emptied by
    // BeginPlay.
    std::vector<StrikeRecord> PlayStrikes;
    // Also forgets strikes sounded but not yet graded (they belonged to the play before).
    void BeginPlay();

private:
    // A strike's two steps: the sound, which takes the note from its lane under the sequencer's
    // lock and may run on any thread, and the grade, which changes what the frame draws (score,
    // gauge, combo, the play's record) and runs on the window's thread.
    StrikeRecord SoundStrike(int lane, std::optional<std::uint32_t> time, std::uint8_t velocity);
    void GradeStrike(const StrikeRecord& record);
    // The song position a strike is graded at; call with the sequencer's lock held.
    double StrikePosition(std::optional<std::uint32_t> time) const;
    void ApplyGrade(int lane, Grade grade);
    // A note of lane gone unstruck. Call with the sequencer's lock held.
    void CountMiss(int lane);
    void Send(const QueuedNote& note, std::uint8_t velocity);

    PlayState& State;
    TMidiDrive& Drive;
    // Changed under the sequencer's lock.
    std::atomic<bool> StrikesOpen{false};
    std::mutex SoundedMutex;
    std::vector<StrikeRecord> Sounded;
    // The window's side of Sounded, swapped with it: neither allocates once both have grown.
    std::vector<StrikeRecord> Grading;
};

} // namespace tamtara
