// Drum note capture: lane rings, layers and partners, automatic lanes and the level meters.
#include "PlayFixture.h"

namespace tamtara::testing {

using DrumCapture = PlayFixture;

TEST_F(DrumCapture, NotesOfALaneWithinATickAreOneSlotWhateverTheirOrderOrCount) {
    // A doubled kick at tick 0 (35 + 36), three layered hi-hats a tick apart, and a kick of a
    // later track announced after newer notes of its lane: each group is one chart note.
    Announce(0, 36);
    Announce(0, 35, 90);
    Announce(480, 42);
    Announce(481, 46);
    Announce(480, 44);
    Announce(960, 36);
    Announce(1, 35, 70);
    ASSERT_EQ(State.QueueCount[dpKick], 2);
    ASSERT_EQ(State.QueueCount[dpHiHat], 1);
    const NoteSlot& kick = State.Slot(dpKick, 0);
    EXPECT_EQ(kick.Main.Tick, 0);
    ASSERT_EQ(kick.LayerCount, 2);
    EXPECT_EQ(kick.Layers[0].Note, 35);
    EXPECT_EQ(kick.Layers[1].Velocity, 70);
    EXPECT_EQ(State.Slot(dpHiHat, 0).LayerCount, 2);
    // Two ticks apart they are two notes (the later one the first's flam partner).
    Announce(2000, 38);
    Announce(2002, 38);
    EXPECT_EQ(State.QueueCount[dpSnare], 1);
    EXPECT_EQ(State.Slot(dpSnare, 0).LayerCount, 0);
    EXPECT_EQ(State.Slot(dpSnare, 0).Partner.Tick, 2002);
}

TEST_F(DrumCapture, NotesAThirtySecondApartPairButOneTickMoreDoNot) {
    Announce(1000, 38);
    Announce(1060, 40);
    EXPECT_EQ(State.QueueCount[dpSnare], 1);
    Announce(2000, 38);
    Announce(2061, 38);
    EXPECT_EQ(State.QueueCount[dpSnare], 3);
}

TEST_F(DrumCapture, EveryTableNoteLandsInItsLane) {
    const std::pair<int, int> expected[] = {{42, 0}, {44, 0}, {46, 0}, {38, 1}, {40, 1}, {35, 2},
                                            {36, 2}, {48, 3}, {50, 3}, {45, 4}, {47, 4}, {41, 5},
                                            {43, 5}, {49, 6}, {55, 6}, {57, 6}};
    for (const auto& [note, lane] : expected)
        EXPECT_EQ(State.Lanes.LaneOf(note), lane) << note;
    EXPECT_EQ(State.Lanes.LaneOf(37), -1);
    EXPECT_EQ(State.Lanes.LaneOf(0), -1);
}

TEST_F(DrumCapture, SilentNotesAndNotesOutsidePlayAreNotQueued) {
    Announce(480, 36, 0);
    OnPlayScreen = false;
    Announce(960, 36);
    EXPECT_EQ(State.QueueCount[dpKick], 0);
}

TEST_F(DrumCapture, AFullLaneDropsTheNewNote) {
    for (int i = 0; i < LaneSlots; ++i)
        Announce(100 * (i + 1), 36);
    ASSERT_EQ(State.QueueCount[dpKick], LaneSlots);
    Announce(100 * 300, 36);
    EXPECT_EQ(State.QueueCount[dpKick], LaneSlots);
    EXPECT_EQ(Capture.DroppedNotes(), 1);
    EXPECT_EQ(State.Slot(dpKick, 0).Main.Tick, 100);
}

TEST_F(DrumCapture, AutomaticLaneSoundsWhenDuePlayedLaneStaysSilent) {
    State.AutoLane[dpSnare] = true;
    const SequencerEvent snare = Note(480, 38);
    const SequencerEvent kick = Note(480, 36);
    const SequencerEvent silent = Note(480, 38, 0);
    Capture.SoundDrumNote(&snare);
    Capture.SoundDrumNote(&kick);
    Capture.SoundDrumNote(&silent);
    EXPECT_EQ(Sent(), (std::vector<std::uint32_t>{Short(0x99, 38, 100)}));
    // The pad moves by itself only when the player plays nothing.
    EXPECT_EQ(State.PadTimer[dpSnare], 0);
    State.AutoPlayMode = true;
    Capture.SoundDrumNote(&snare);
    EXPECT_EQ(State.PadTimer[dpSnare], 7);
}

TEST_F(DrumCapture, ExtendedMapNotesSoundOnTheirAutomaticLanes) {
    // Ride, china, ride bell, ride 2 on the cymbal lane and side stick on the snare lane are
    // queued there under the extended map, so an automatic lane must sound them too.
    State.Lanes = LaneMap::Extended();
    State.AutoLane[dpCymbal] = true;
    State.AutoLane[dpSnare] = true;
    State.AutoPlayMode = true;
    std::vector<std::uint32_t> expected;
    for (std::uint8_t note : {51, 52, 53, 59, 37}) {
        const SequencerEvent due = Note(480, note, 90);
        Capture.SoundDrumNote(&due);
        expected.push_back(Short(0x99, note, 90));
    }
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(State.PadTimer[dpCymbal], 7);
    EXPECT_EQ(State.PadTimer[dpSnare], 7);
    // A played lane keeps them silent, like any note of its own.
    State.AutoLane[dpCymbal] = false;
    Driver.ClearMessages();
    const SequencerEvent ride = Note(960, 51);
    Capture.SoundDrumNote(&ride);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(DrumCapture, DueNoteOutsidePlayIsSentUnchanged) {
    OnPlayScreen = false;
    const SequencerEvent kick = Note(480, 36, 0);
    Capture.SoundDrumNote(&kick);
    EXPECT_EQ(Sent(), (std::vector<std::uint32_t>{Short(0x99, 36, 0)}));
}

TEST(Meters, FullNoteFollowsThePan) {
    const MeterLevels left = MeterLevelsFor(127, 0, 127, 10000);
    EXPECT_EQ(left.Left, 1000);
    EXPECT_EQ(left.Right, 0);
    const MeterLevels centre = MeterLevelsFor(127, 64, 127, 10000);
    EXPECT_EQ(centre.Left, 990);
    EXPECT_EQ(centre.Right, 1000);
    EXPECT_EQ(MeterLevelsFor(127, 64, 127, 5000).Right, 500);
}

TEST_F(DrumCapture, MetersFallTwoPerCycleNotBelowZero) {
    State.MeterLeft[3] = 5;
    State.MeterRight[3] = 1;
    Capture.MeterDecay();
    EXPECT_EQ(State.MeterLeft[3], 3);
    EXPECT_EQ(State.MeterRight[3], 0);
}

} // namespace tamtara::testing
