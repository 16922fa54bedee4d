// The SMF writer: what the game's reader gets back from the bytes it writes.
#include "songgen/SmfWriter.h"
#include "SongReadback.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

TEST(SmfWriter, NotesComeBackAtTheirTicksThroughRunningStatus) {
    TSmfTrack track;
    track.Note(0, 9, 36, 100, 100);
    track.Note(480, 9, 38, 90, 100);
    track.Note(20000, 9, 42, 80, 100); // a delta that needs three bytes
    const TReadback back = ReadBack(EncodeSmf({track}, 480, 21000));
    ASSERT_EQ(back.DrumHits.size(), 3u);
    EXPECT_EQ(back.DrumHits[0].Tick, 0);
    EXPECT_EQ(back.DrumHits[1].Tick, 480);
    EXPECT_EQ(back.DrumHits[1].Key, 38);
    EXPECT_EQ(back.DrumHits[2].Tick, 20000);
    EXPECT_EQ(back.Song->Division, 480);
    EXPECT_EQ(back.Song->Format, 1);
}

TEST(SmfWriter, ReleaseComesBeforeStrikeOfTheSameKeyAtOneTick) {
    TSmfTrack track;
    track.Note(0, 0, 60, 100, 480);
    track.Note(480, 0, 60, 100, 480);
    const TReadback back = ReadBack(EncodeSmf({track}, 480, 960));
    const TMidiTrack& events = back.Song->Tracks[0];
    ASSERT_EQ(events.Count(), 4);
    EXPECT_EQ(events[1].Tick, 480);
    EXPECT_EQ(events[1].Event.Status, 0x80);
    EXPECT_EQ(events[2].Event.Status, 0x90);
}

TEST(SmfWriter, TempoAndTitleReadAsTheGameReadsThem) {
    TSmfTrack track;
    track.Meta(0, MetaType::TrackName, "Title here");
    track.Meta(0, MetaType::Copyright, "not the title");
    track.Tempo(0, 180);
    track.Tempo(1920, 80);
    const std::vector<std::uint8_t> bytes = EncodeSmf({track}, 480, 3840);
    const TReadback back = ReadBack(bytes);
    ASSERT_EQ(back.Tempos.size(), 2u);
    EXPECT_EQ(back.Tempos[0].BeatsPerMinute, 180);
    EXPECT_EQ(back.Tempos[1].BeatsPerMinute, 80);
    EXPECT_EQ(ReadSmfTitle(bytes), "Title here");
}

TEST(SmfWriter, EveryTrackEndsAtTheCommonTick) {
    TSmfTrack a, b;
    a.Note(0, 0, 60, 100, 10);
    const std::vector<std::uint8_t> bytes = EncodeSmf({a, b}, 480, 1920);
    // Header, then two chunks whose last four bytes are the delta and End of Track.
    ASSERT_GE(bytes.size(), 14u + 8u);
    EXPECT_EQ(bytes[10], 0);
    EXPECT_EQ(bytes[11], 2);
    const std::vector<std::uint8_t> empty = b.Encode(1920);
    const std::vector<std::uint8_t> tail(empty.end() - 5, empty.end());
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{0x8F, 0x00, 0xFF, 0x2F, 0x00}));
}

} // namespace
} // namespace tamtara
