// Judgement of the player's strikes: key counters, grading by the distance in ticks, the miss
// sweep, and score, gauge and combo bookkeeping.
#pragma once

#include "app/play/PlayState.h"

#include <functional>
#include <optional>

namespace tamtara {

class TMidiDrive;

// Windows with D ticks per quarter note: Perfect within D/16, Great D/8, Good D/4 (exclusive).
std::optional<Grade> GradeFor(std::int32_t distance, std::int32_t division);
// Notes later than this many ticks are missed.
constexpr std::int32_t MissWindow(std::int32_t division) { return division / 4; }

class Judge {
public:
    Judge(PlayState& state, TMidiDrive& drive);

    // Adds one poll to the key counters; stateOn answers for an input state number
    // (inButton1 is 4, inButton11 is 14).
    void UpdateHolds(const std::function<bool(int inputState)>& stateOn);
    // Judges the presses counted by the last poll, one slot per lane at most.
    void JudgePresses();
    // The sweep step for the slot at ring position `position` of lane; true when it was removed.
    bool SweepSlot(int lane, std::int32_t position, std::int32_t now);

private:
    void StrikeLane(int lane);
    void ApplyGrade(int lane, Grade grade);
    void Send(const QueuedNote& note);

    PlayState& State;
    TMidiDrive& Drive;
};

} // namespace tamtara
