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

TEST(DrumMap, TheMapInForceDecidesLanesAndAnnouncedNotes) {
    ASSERT_FALSE(ExtendedDrumMapInUse);
    EXPECT_EQ(LaneOfNote(51), -1);
    EXPECT_FALSE(IsDrumTableNote(51));
    ExtendedDrumMapInUse = true;
    EXPECT_EQ(LaneOfNote(51), dpCymbal);
    EXPECT_TRUE(IsDrumTableNote(51));
    EXPECT_TRUE(IsDrumTableNote(37));
    EXPECT_EQ(LaneOfNote(36), dpKick);
    ExtendedDrumMapInUse = false;
    EXPECT_FALSE(IsDrumTableNote(37));
}

} // namespace
} // namespace tamtara
