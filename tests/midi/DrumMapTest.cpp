// The two lane maps: the game's own table unchanged, the extended one's additions, and the map
// in force deciding both the lanes and which notes the sequencer announces.
#include "midi/DrumMap.h"
#include "midi/MidiDrive.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tamtara {
namespace {

TEST(DrumMap, ExtendedMapKeepsTheTableAndAddsKitPiecesToTheirLanes) {
    for (int note = 0; note < 128; ++note) {
        const bool inTable = std::find(DrumNoteTable.begin(), DrumNoteTable.end(),
                                       static_cast<std::uint8_t>(note)) != DrumNoteTable.end();
        EXPECT_EQ(StandardLaneOfNote(note) >= 0, inTable) << note;
        if (inTable) {
            const auto& row = LaneNotes[static_cast<std::size_t>(StandardLaneOfNote(note))];
            EXPECT_NE(std::find(row.begin(), row.end(), note), row.end()) << note;
            EXPECT_EQ(ExtendedLaneOfNote(note), StandardLaneOfNote(note)) << note;
        }
    }
    EXPECT_EQ(ExtendedLaneOfNote(37), dpSnare);
    for (int ride : {51, 52, 53, 59})
        EXPECT_EQ(ExtendedLaneOfNote(ride), dpCymbal) << ride;
    EXPECT_EQ(ExtendedLaneOfNote(54), -1); // tambourine: no kit piece
    EXPECT_EQ(ExtendedLaneOfNote(0), -1);
    for (int outside : {-1, 128, 255})
        EXPECT_EQ(StandardLaneOfNote(outside) + ExtendedLaneOfNote(outside), -2) << outside;
}

TEST(DrumMap, AMapValueDecidesLanesWhateverOtherMapsAreInUse) {
    const LaneMap standard = LaneMap::Standard();
    const LaneMap extended = LaneMap::Chosen(true);
    EXPECT_EQ(standard.LaneOf(51), -1);
    EXPECT_FALSE(standard.HasLane(37));
    EXPECT_EQ(extended.LaneOf(51), dpCymbal);
    EXPECT_TRUE(extended.HasLane(37));
    EXPECT_EQ(extended.LaneOf(36), dpKick);
    // The standard map is unchanged by an extended one being made or used.
    EXPECT_EQ(standard.LaneOf(51), -1);
    EXPECT_TRUE(extended.IsExtended() && !standard.IsExtended());
    EXPECT_EQ(LaneMap::Chosen(false), standard);
}

} // namespace
} // namespace tamtara
