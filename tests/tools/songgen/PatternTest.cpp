// The pattern language: grids, held notes over chord changes, melodies and tempo arithmetic.
#include "SongReadback.h"
#include "songgen/Arrangement.h"
#include "songgen/Music.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tamtara {
namespace {

// Notes of one channel (0-based) as (tick, key) pairs, in the order they end.
std::vector<std::pair<int, int>> NotesOf(const TReadback& back, int channel) {
    std::vector<std::pair<int, int>> notes;
    for (const TNoteSpan& note : back.Notes)
        if (note.Channel == channel) notes.push_back({note.Start, note.Key});
    std::sort(notes.begin(), notes.end());
    return notes;
}

TSong OneSection(TSection section, int tempo = 120) {
    TSong song{.FileName = "test", .Title = "Test", .Tempo = tempo};
    song.Sections = {std::move(section)};
    return song;
}

TEST(Music, PitchNamesAndChordSymbols) {
    EXPECT_EQ(ParsePitch("C4"), 60);
    EXPECT_EQ(ParsePitch("A4"), 69);
    EXPECT_EQ(ParsePitch("F#5"), 78);
    EXPECT_EQ(ParsePitch("Cb4"), 59);
    EXPECT_EQ(ParsePitch("B#3"), 60);
    const TChord chord = ParseChord("F#m7");
    EXPECT_EQ(chord.Root, 6);
    EXPECT_EQ(chord.Intervals, (std::vector<int>{0, 3, 7, 10}));
    EXPECT_EQ(ParseChord("C/E").Bass, 4);
    EXPECT_THROW(ParseChord("Cxyz"), std::invalid_argument);
}

TEST(Pattern, DrumGridStepsBecomeNotesAndFillReplacesTheLastBar) {
    const TGroove beat{{{Kit::Kick, "x...x...x...x..."}}};
    const TGroove fill{{{Kit::TomHigh, "xxxxxxxx"}}};
    const TReadback back = ReadBack(RenderSong(OneSection({.Name = "A",
                                                           .Bars = 2,
                                                           .Chords = {"C"},
                                                           .Drums = {&beat},
                                                           .Fill = &fill,
                                                           .CrashKey = Kit::Crash}))
                                        .Bytes);
    int kicks = 0, toms = 0, crashes = 0, lowKicks = 0;
    for (const TDrumHit& hit : back.DrumHits) {
        kicks += hit.Key == Kit::Kick;
        toms += hit.Key == Kit::TomHigh;
        crashes += hit.Key == Kit::Crash;
        lowKicks += hit.Key == Kit::Kick2;
        if (hit.Key == Kit::TomHigh) {
            EXPECT_EQ((hit.Tick - BarTicks) % 240, 0);
        }
    }
    // The crash's low kick on the downbeat takes the place of the groove's kick there: a lane
    // has one note per moment.
    EXPECT_EQ(kicks, 3);
    EXPECT_EQ(toms, 8);
    EXPECT_EQ(crashes, 1);
    EXPECT_EQ(lowKicks, 1);
}

TEST(Pattern, HeldBassIsStruckAgainWhereTheChordChanges) {
    const TReadback back = ReadBack(
        RenderSong(OneSection({.Name = "A", .Bars = 1, .Chords = {"C G"}, .Bass = "R---------------"}))
            .Bytes);
    const auto notes = NotesOf(back, 0);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], std::make_pair(0, 36));   // C2
    EXPECT_EQ(notes[1], std::make_pair(960, 31)); // G1
}

TEST(Pattern, ChordToneDigitsPlayArpeggios) {
    const TReadback back =
        ReadBack(RenderSong(OneSection({.Name = "A", .Bars = 1, .Chords = {"C"}, .Comp = "1234"})).Bytes);
    const auto notes = NotesOf(back, 1);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].second, 60);
    EXPECT_EQ(notes[1].second, 64);
    EXPECT_EQ(notes[2].second, 67);
    EXPECT_EQ(notes[3].second, 72);
}

TEST(Pattern, MelodyRepeatsToFillItsSectionAndStopsAtTheEnd) {
    const TReadback back = ReadBack(
        RenderSong(OneSection({.Name = "A", .Bars = 2, .Chords = {"C"}, .Lead = "C5:8 | r:4 E5:12"})).Bytes);
    const auto notes = NotesOf(back, 2);
    ASSERT_EQ(notes.size(), 3u); // C5, E5, then C5 again; the second E5 would start past the end
    EXPECT_EQ(notes[2], std::make_pair(2880, 72));
    EXPECT_LE(back.LastTick, 2 * BarTicks);
}

TEST(Pattern, BadGridLengthIsRefused) {
    const TGroove odd{{{Kit::Kick, "x.x.x.x"}}};
    EXPECT_THROW(RenderSong(OneSection({.Name = "A", .Bars = 1, .Chords = {"C"}, .Drums = {&odd}})),
                 std::invalid_argument);
}

TEST(TempoMap, SecondsFollowEveryTempoChange) {
    EXPECT_DOUBLE_EQ(TicksToSeconds(1920, {{0, 120}}, 480), 2.0);
    EXPECT_DOUBLE_EQ(TicksToSeconds(3840, {{0, 120}, {1920, 60}}, 480), 6.0);
    EXPECT_DOUBLE_EQ(TicksToSeconds(960, {}, 480), 1.0);
    TSection fast{.Name = "B", .Bars = 1, .Chords = {"C"}, .Tempo = 240};
    TSong song = OneSection({.Name = "A", .Bars = 1, .Chords = {"C"}});
    song.Sections.push_back(fast);
    EXPECT_DOUBLE_EQ(RenderSong(song).Seconds, 3.0);
}

} // namespace
} // namespace tamtara
