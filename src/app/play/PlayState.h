// The state of one play: options chosen in the menus, the per-lane rings of pending notes,
// score, gauge, combo, grade counts, animation timers and level meters.
#pragma once

#include "app/play/PlayTables.h"
#include "app/play/PracticeRun.h"
#include "midi/DrumMap.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace tamtara {

constexpr int LaneSlots = 256;

struct QueuedNote {
    std::int32_t Tick = 0; // a Partner with Tick <= 0 is empty
    std::uint8_t Status = 0;
    std::uint8_t Note = 0;
    std::uint8_t Velocity = 0;
};

// Notes of one lane within this many ticks of a slot's Main are one chart note with it.
constexpr std::int32_t LayerTicks = 1;
constexpr int MaxLayers = 7;

// Main is judged and drawn. Layers (further notes of the lane within LayerTicks of Main, such as
// a doubled kick or layered hi-hats) are the same chart note: they sound with Main at every
// strike. Partner (a later note of the lane within a thirty-second note) sounds with the first
// strike only.
struct NoteSlot {
    QueuedNote Main;
    QueuedNote Partner;
    std::array<QueuedNote, MaxLayers> Layers{};
    std::int32_t LayerCount = 0;
};

// Ring positions only grow during a play; every use takes them modulo the ring size.
constexpr int RingIndex(std::int32_t position) {
    int index = position % LaneSlots;
    return index < 0 ? index + LaneSlots : index;
}

struct PlayState {
    // Options written by the menus before play.
    std::array<bool, LaneCount> AutoLane{true, false, false, false, false, false, false};
    bool AutoPlayMode = false;
    bool TwoMinutes = false;
    bool DemoMode = false;
    std::int32_t ScrollSpeed = 100;
    bool HideLowerNotes = false;
    bool HideUpperNotes = false;

    // Settings handed over by the launcher.
    // The lanes of this play's notes: the captured notes, the strikes' notes and the waits.
    LaneMap Lanes = LaneMap::Standard();
    std::int32_t Level = 3;
    std::int32_t MissPenalty = 20;
    bool Combo = true;
    // A strike at time t is graded as at t - InputOffsetMs (the player's measured latency).
    std::int32_t InputOffsetMs = 0;

    std::int32_t Gauge = FullGauge;
    std::int32_t Score = 0;
    std::int32_t ComboCount = 0;
    std::int32_t MaxCombo = 0;
    std::int32_t PerfectCount = 0;
    std::int32_t GreatCount = 0;
    std::int32_t GoodCount = 0;
    std::int32_t MissCount = 0;
    std::int32_t NoteTotal = 0;

    std::array<std::int32_t, LaneCount> JudgeGrade{};
    std::array<std::int32_t, LaneCount> JudgeTimer{};
    std::array<std::int32_t, LaneCount> ExplodeTimer{};
    // Set by automatic lanes on the sequencer thread, counted down by the frame.
    std::array<std::atomic<std::int32_t>, LaneCount> PadTimer{};
    std::int32_t ScoreFlash = 0;
    std::int32_t ComboBounce = 0;

    // Filled by the capture on the sequencer thread (appending at head + count), consumed by the
    // frame (advancing the head); both change the count, so the counters are atomic and the slot
    // is published by the release of the count.
    std::array<std::array<NoteSlot, LaneSlots>, LaneCount> LaneQueue{};
    std::array<std::atomic<std::int32_t>, LaneCount> QueueHead{};
    std::array<std::atomic<std::int32_t>, LaneCount> QueueCount{};

    // Channel level meters, 0 to 1000; written by the sequencer thread, read by the frame.
    std::array<std::atomic<std::int32_t>, ChannelCount> MeterLeft{};
    std::array<std::atomic<std::int32_t>, ChannelCount> MeterRight{};

    // Lanes a key-down or a pad already struck since the last judged poll, so that poll does
    // not strike the same press again.
    std::array<bool, LaneCount> StruckBetweenPolls{};

    std::uint32_t PlayStartTime = 0;
    // The sequencer's error count (TMidiDrive::ErrorCount) as the song started: a song that
    // stops with more has been stopped by an error, not by its end.
    std::uint32_t SequencerErrorsAtStart = 0;

    // A practice's options and passes; inactive for the game's ordinary play.
    PracticeRun Practice;

    // What entering play resets; options, settings and meters carry over.
    void ResetForPlay(std::uint32_t startTime = 0);

    NoteSlot& Slot(int lane, std::int32_t position) { return LaneQueue[lane][RingIndex(position)]; }
    const NoteSlot& Slot(int lane, std::int32_t position) const {
        return LaneQueue[lane][RingIndex(position)];
    }
};

} // namespace tamtara
