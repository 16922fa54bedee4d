// The difficulty rating: its range, that more notes and a faster tempo rate higher, and the
// notes a song gives it (lanes, merged doubles, timing through tempo changes).
#include "library/Difficulty.h"
#include "library/SongFacts.h"
#include "midi/DrumMap.h"
#include "midi/SmfReader.h"
#include "midi/SongModel.h"

#include "TempTree.h"

#include <gtest/gtest.h>

#include <memory>

namespace tamtara {
namespace {

// A groove of seconds length: a hi-hat every step, kick and snare alternating on the beats.
std::vector<TChartNote> Groove(double seconds, double step) {
    std::vector<TChartNote> notes;
    int count = 0;
    for (double t = 0; t < seconds; t += step, ++count) {
        notes.push_back({t, dpHiHat});
        if (count % 2 == 0) notes.push_back({t, count % 4 == 0 ? dpKick : dpSnare});
    }
    return notes;
}

std::vector<TChartNote> Faster(std::vector<TChartNote> notes, double factor) {
    for (TChartNote& note : notes)
        note.Seconds /= factor;
    return notes;
}

TEST(Difficulty, DenserAndFasterRateHigherWithinTheRange) {
    EXPECT_EQ(ChartDifficulty({}), 0.0);
    const double single = ChartDifficulty({{3.0, dpKick}});
    EXPECT_GE(single, 1.0);
    EXPECT_LT(single, 1.5);

    const double quarters = ChartDifficulty(Groove(60, 0.5));
    const double eighths = ChartDifficulty(Groove(60, 0.25));
    const double sixteenths = ChartDifficulty(Groove(60, 0.125));
    EXPECT_LT(single, quarters);
    EXPECT_LT(quarters, eighths);
    EXPECT_LT(eighths, sixteenths);
    EXPECT_LT(ChartDifficulty(Groove(60, 0.25)), ChartDifficulty(Faster(Groove(60, 0.25), 1.3)));
    // A fill over the toms and cymbal adds to a groove.
    std::vector<TChartNote> withFill = Groove(60, 0.25);
    for (int i = 0; i < 16; ++i)
        withFill.push_back({30.0 + i * 0.0625, dpHighTom + i % 4});
    EXPECT_LT(eighths, ChartDifficulty(withFill));
    // Bounded however absurd the chart, and the order of the notes given does not matter.
    std::vector<TChartNote> blast = Faster(Groove(600, 0.01), 1.0);
    EXPECT_LE(ChartDifficulty(blast), 10.0);
    std::reverse(blast.begin(), blast.end());
    EXPECT_EQ(ChartDifficulty(blast), ChartDifficulty(Faster(Groove(600, 0.01), 1.0)));
}

TEST(Difficulty, SongNotesAreTheLaneNotesTimedByTheTempoMap) {
    using namespace testing;
    // 480 ticks per quarter: 120 bpm, then 60 bpm from tick 960. A doubled kick at 0 is one
    // note; a channel 1 note, a silent note-on and a ride (no lane in the table) are none.
    const Bytes bytes = Smf(480, {Cat({Tempo(0, 500000), Tempo(960, 1000000)}),
                                  Cat({Ev(0, {0x99, 36, 100}), Ev(1, {0x99, 36, 90}), Ev(0, {0x90, 38, 100}),
                                       Ev(479, {0x99, 38, 100}), Ev(0, {0x99, 51, 100}),
                                       Ev(480, {0x99, 42, 0}), Ev(480, {0x99, 49, 100})})});
    auto song = std::make_unique<TSongModel>();
    ParseSmf(bytes, *song);
    std::vector<TChartNote> notes = ChartNotes(*song, LaneMap::Standard());
    ASSERT_EQ(notes.size(), 3u);
    std::sort(notes.begin(), notes.end(), [](auto& a, auto& b) { return a.Seconds < b.Seconds; });
    EXPECT_EQ(notes[0].Lane, dpKick);
    EXPECT_DOUBLE_EQ(notes[0].Seconds, 0.0);
    EXPECT_EQ(notes[1].Lane, dpSnare);
    EXPECT_DOUBLE_EQ(notes[1].Seconds, 0.5);
    EXPECT_EQ(notes[2].Lane, dpCymbal);
    EXPECT_DOUBLE_EQ(notes[2].Seconds, 1.0 + 1.0);                // tick 1440: 960 at 120 bpm, 480 at 60
    EXPECT_EQ(ChartNotes(*song, LaneMap::Extended()).size(), 4u); // the ride joins the cymbal lane

    TempTree tree;
    tree.File("song.mid", bytes);
    EXPECT_EQ(SongDifficulty(tree.Path("song.mid"), LaneMap::Standard()), ChartDifficulty(notes));
    EXPECT_EQ(SongDifficulty(tree.Path("missing.mid"), LaneMap::Standard()), 0.0);
}

} // namespace
} // namespace tamtara
