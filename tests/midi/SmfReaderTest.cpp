// The MIDI file reader: running status rules, tempo map, clamps, titles and damaged data.
#include "midi/SmfReader.h"
#include "midi/SmfBuilder.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace tamtara {
namespace {

using namespace tamtara::testing;

std::unique_ptr<TSongModel> Parse(const Bytes& bytes) {
    auto song = std::make_unique<TSongModel>();
    ParseSmf(bytes, *song);
    return song;
}

void ExpectShort(const SequencerEvent& slot, int tick, int status, int d1, int d2) {
    EXPECT_EQ(slot.Tick, tick);
    EXPECT_EQ(slot.Event.Status, status);
    EXPECT_EQ(slot.Event.Data1, d1);
    EXPECT_EQ(slot.Event.Data2, d2);
    EXPECT_FALSE(slot.Event.IsExclusive());
}

TEST(TrackStorage, GrowsAtOneThenEveryHundredTwentyEightSlots) {
    TMidiTrack track;
    EXPECT_EQ(track.Capacity(), 0);
    EXPECT_EQ(track.Events(), nullptr);
    track.AppendShort(0, 0x90, 60, 100);
    EXPECT_EQ(track.Capacity(), 128);
    for (int i = 1; i < 127; ++i)
        track.AppendShort(i, 0x90, 60, 100);
    EXPECT_EQ(track.Capacity(), 128);
    track.AppendShort(127, 0x90, 60, 100);
    EXPECT_EQ(track.Count(), 128);
    EXPECT_EQ(track.Capacity(), 256);
    EXPECT_EQ(track[127].Tick, 127);
    track.PlayIndex = 5;
    track.Clear();
    EXPECT_EQ(track.Count(), 0);
    EXPECT_EQ(track.Capacity(), 0);
    EXPECT_EQ(track.PlayIndex, 0);
    EXPECT_EQ(track.Growth(), 128);
    EXPECT_EQ(track.Events(), nullptr);
}

TEST(SmfReader, ReadsHeaderAndAbsoluteTicks) {
    auto song = Parse(Smf(480, {Cat({Ev(0, {0x90, 60, 100}), Ev(240, {0x80, 60, 0}), EndOfTrack()})}));
    EXPECT_EQ(song->Format, 1);
    EXPECT_EQ(song->TrackCount, 1);
    EXPECT_EQ(song->Division, 480);
    ASSERT_EQ(song->Tracks[0].Count(), 2);
    ExpectShort(song->Tracks[0][0], 0, 0x90, 60, 100);
    ExpectShort(song->Tracks[0][1], 240, 0x80, 60, 0);
}

TEST(SmfReader, DivisionIsUnsignedSixteenBits) {
    auto song = Parse(Smf(0xE728, {EndOfTrack()}));
    EXPECT_EQ(song->Division, 0xE728);
}

TEST(SmfRunningStatus, TrackOpeningWithDataByteStoresStatusBelow80WithTwoDataBytes) {
    auto song = Parse(Smf(96, {Cat({{0x00, 0x3C, 0x40}, Ev(0, {0xC0, 5})})}));
    ASSERT_EQ(song->Tracks[0].Count(), 2);
    ExpectShort(song->Tracks[0][0], 0, 0x00, 0x3C, 0x40);
    ExpectShort(song->Tracks[0][1], 0, 0xC0, 5, 0);
}

TEST(SmfRunningStatus, SurvivesMetaEventBetweenEvents) {
    auto song = Parse(Smf(96, {Cat({Ev(0, {0x91, 60, 100}), Meta(0, 0x01, {'x'}),
                                    Ev(10, {62, 90})})}));
    ASSERT_EQ(song->Tracks[0].Count(), 2);
    ExpectShort(song->Tracks[0][1], 10, 0x91, 62, 90);
}

TEST(SmfRunningStatus, DataByteAfterExclusiveIsAnotherExclusive) {
    auto song = Parse(Smf(96, {Cat({Ev(0, {0xF0, 0x02, 0x7E, 0xF7}), Ev(5, {0x01, 0xF7})})}));
    ASSERT_EQ(song->Tracks[0].Count(), 2);
    const TMyMidiEvent& second = song->Tracks[0][1].Event;
    EXPECT_EQ(second.Status, 0xF0);
    ASSERT_EQ(second.ExclusiveLength, 2);
    EXPECT_EQ(second.ExclusiveData[0], 0xF0);
    EXPECT_EQ(second.ExclusiveData[1], 0xF7);
    EXPECT_EQ(song->Tracks[0][1].Tick, 5);
}

TEST(SmfRunningStatus, DataBytesPerStatusFollowTheTable) {
    auto song = Parse(Smf(96, {Cat({Ev(0, {0xD3, 20}), Ev(0, {0xF1, 7}), Ev(0, {0xF8}),
                                    Ev(0, {0xE0, 1, 2}), Ev(0, {0xF2, 3, 4}), Ev(0, {0xF3, 9})})}));
    ASSERT_EQ(song->Tracks[0].Count(), 6);
    ExpectShort(song->Tracks[0][0], 0, 0xD3, 20, 0);
    ExpectShort(song->Tracks[0][1], 0, 0xF1, 7, 0);
    ExpectShort(song->Tracks[0][2], 0, 0xF8, 0, 0);
    ExpectShort(song->Tracks[0][3], 0, 0xE0, 1, 2);
    ExpectShort(song->Tracks[0][4], 0, 0xF2, 3, 4);
    ExpectShort(song->Tracks[0][5], 0, 0xF3, 9, 0);
}

TEST(SmfExclusive, BlockHoldsStatusAndDataAsInFile) {
    auto song = Parse(Smf(96, {Ev(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})}));
    const TMyMidiEvent& e = song->Tracks[0][0].Event;
    EXPECT_EQ(e.Status, 0xF0);
    EXPECT_EQ(e.Data1, 0);
    ASSERT_EQ(e.ExclusiveLength, 6);
    const std::uint8_t expected[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_TRUE(std::equal(expected, expected + 6, e.ExclusiveData.get()));
}

TEST(SmfTempo, MicrosecondsBecomeTruncatedBeatsPerMinute) {
    auto song = Parse(Smf(96, {Cat({Tempo(0, 500000), Tempo(10, 400000), Tempo(10, 600000),
                                    Tempo(10, 416667)})}));
    ASSERT_EQ(song->TempoCount, 4);
    EXPECT_EQ(song->TempoMap[0].Bpm, 120);
    EXPECT_EQ(song->TempoMap[1].Bpm, 150);
    EXPECT_EQ(song->TempoMap[2].Bpm, 100);
    EXPECT_EQ(song->TempoMap[3].Bpm, 143);
    EXPECT_EQ(song->TempoMap[3].Tick, 30);
    EXPECT_EQ(song->Tracks[0].Count(), 0);
}

TEST(SmfTempo, MapKeepsFileOrderAcrossTracks) {
    auto song = Parse(Smf(96, {Tempo(100, 500000), Tempo(0, 600000)}));
    ASSERT_EQ(song->TempoCount, 2);
    EXPECT_EQ(song->TempoMap[0].Tick, 100);
    EXPECT_EQ(song->TempoMap[1].Tick, 0);
}

TEST(SmfTempo, UnusableTempoEventsAreIgnoredAndSkippedWhole) {
    Bytes longTempo = {0x00, 0xFF, 0x51, 0x05, 0x00, 0x07, 0xA1, 0x20, 0x00};
    Bytes emptyTempo = {0x00, 0xFF, 0x51, 0x00};
    auto song = Parse(Smf(96, {Cat({Tempo(0, 0), emptyTempo, longTempo,
                                    {0x00, 0xFF, 0x51, 0x04, 0x10, 0x00, 0x00, 0x00},
                                    Ev(0, {0x90, 1, 2})})}));
    EXPECT_EQ(song->TempoCount, 0);
    ASSERT_EQ(song->Tracks[0].Count(), 1);
    ExpectShort(song->Tracks[0][0], 0, 0x90, 1, 2);
}

TEST(SmfTempo, EventsBeyondTheMapAreDropped) {
    Bytes events;
    for (int i = 0; i < MaxTempoEntries + 10; ++i) {
        Bytes t = Tempo(1, 500000 + i);
        events.insert(events.end(), t.begin(), t.end());
    }
    auto song = Parse(Smf(96, {events}));
    EXPECT_EQ(song->TempoCount, MaxTempoEntries);
    EXPECT_EQ(song->TempoMap[MaxTempoEntries - 1].Tick, MaxTempoEntries);
}

TEST(SmfReader, LongTextMetaIsSkippedWhole) {
    auto song = Parse(Smf(96, {Cat({Meta(0, 0x01, Bytes(300, 'a')), Ev(0, {0x90, 1, 2})})}));
    ASSERT_EQ(song->Tracks[0].Count(), 1);
    ExpectShort(song->Tracks[0][0], 0, 0x90, 1, 2);
}

TEST(SmfReader, ThreeHundredTracksLoadTheFirst256) {
    Bytes file = Header(1, 300, 96);
    for (int t = 0; t < 300; ++t) {
        Bytes chunk = TrackChunk(Ev(0, {0x90, static_cast<std::uint8_t>(t % 128), 1}));
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    auto song = Parse(file);
    EXPECT_EQ(song->TrackCount, 256);
    EXPECT_EQ(song->Tracks[255].Count(), 1);
    EXPECT_EQ(song->Tracks[255][0].Event.Data1, 255 % 128);
}

TEST(SmfReader, EmptyTrackChunkHasNoEvents) {
    auto song = Parse(Smf(96, {{}, Ev(0, {0x90, 1, 2})}));
    EXPECT_EQ(song->Tracks[0].Count(), 0);
    EXPECT_EQ(song->Tracks[1].Count(), 1);
}

TEST(SmfReader, ForeignChunkCountsAsEmptyTrackAndOnlyItsIdIsConsumed) {
    Bytes file = Header(1, 2, 96);
    Bytes foreign = {'X', 'Y', 'Z', 'W'};
    Bytes track = TrackChunk(Ev(0, {0x90, 1, 2}));
    file = Cat({file, foreign, track});
    auto song = Parse(file);
    EXPECT_EQ(song->Tracks[0].Count(), 0);
    EXPECT_EQ(song->Tracks[1].Count(), 1);
}

TEST(SmfReader, HeaderLengthIsNotHonoured) {
    Bytes file = Smf(96, {Ev(0, {0x90, 1, 2})});
    file[7] = 8;  // claims a longer header; the track still follows the 14 bytes
    auto song = Parse(file);
    EXPECT_EQ(song->Tracks[0].Count(), 1);
}

TEST(SmfReader, DataWithoutHeaderLoadsAsSongWithoutTracks) {
    auto song = Parse(Bytes{'R', 'I', 'F', 'F', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    EXPECT_EQ(song->Format, 0);
    EXPECT_EQ(song->TrackCount, 0);
    EXPECT_EQ(song->Division, 0);
    EXPECT_EQ(song->TempoCount, 0);
}

TEST(SmfReader, ReloadClearsPreviousSong) {
    auto song = Parse(Smf(96, {Cat({Tempo(0, 500000), Ev(0, {0x90, 1, 2})}), Ev(0, {0x90, 1, 2})}));
    ParseSmf(Smf(48, {Ev(0, {0x80, 1, 2})}), *song);
    EXPECT_EQ(song->TrackCount, 1);
    EXPECT_EQ(song->TempoCount, 0);
    EXPECT_EQ(song->Tracks[1].Count(), 0);
    ExpectShort(song->Tracks[0][0], 0, 0x80, 1, 2);
}

TEST(SmfDamagedData, ChunkLengthPastTheEndStopsAtTheData) {
    Bytes file = Smf(96, {Cat({Ev(0, {0x90, 1, 2}), Ev(0, {0x80, 1, 0})})});
    file[21] = 0xFF;  // track length now claims far more than is there
    auto song = Parse(file);
    EXPECT_EQ(song->Tracks[0].Count(), 2);
}

TEST(SmfDamagedData, EventCutByTheEndIsDropped) {
    Bytes file = Smf(96, {Cat({Ev(0, {0x90, 1, 2}), Ev(0, {0x80, 1, 0})})});
    file.pop_back();
    auto song = Parse(file);
    EXPECT_EQ(song->Tracks[0].Count(), 1);
}

TEST(SmfDamagedData, ExclusiveLongerThanTheDataIsDropped) {
    auto song = Parse(Smf(96, {Cat({Ev(0, {0x90, 1, 2}), Ev(0, {0xF0, 0x7F, 1, 2})})}));
    EXPECT_EQ(song->Tracks[0].Count(), 1);
}

TEST(SmfDamagedData, OverlongQuantityAndHugeDeltasClampTheTick) {
    Bytes huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 2};
    auto song = Parse(Smf(96, {Cat({huge, Ev(0x0FFFFFFF, {0x80, 1, 0}), Ev(0x0FFFFFFF, {0x80, 2, 0})})}));
    ASSERT_EQ(song->Tracks[0].Count(), 3);
    EXPECT_EQ(song->Tracks[0][0].Tick, 0x7FFFFFFF);
    EXPECT_EQ(song->Tracks[0][2].Tick, 0x7FFFFFFF);
    ExpectShort(song->Tracks[0][0], 0x7FFFFFFF, 0x90, 1, 2);
}

TEST(SmfDamagedData, TruncatedHeaderLoadsAsNoSong) {
    Bytes file = Header(1, 3, 96);
    file.resize(12);
    auto song = Parse(file);
    EXPECT_EQ(song->TrackCount, 0);
    EXPECT_EQ(song->Division, 0);
}

TEST(SmfTitle, FirstTextClassMetaInFileOrder) {
    Bytes file = Smf(96, {Cat({Ev(0, {0x90, 1, 2}), Meta(0, 0x02, {'(', 'c', ')'}),
                               Meta(0, 0x03, {'N', 'a', 'm', 'e'})}),
                          Meta(0, 0x01, {'L', 'a', 't', 'e', 'r'})});
    EXPECT_EQ(ReadSmfTitle(file), "(c)");
}

TEST(SmfTitle, LongTextGivesFirst255Bytes) {
    Bytes text(300, 'b');
    text[0] = 'a';
    const std::string title = ReadSmfTitle(Smf(96, {Meta(0, 0x03, text)}));
    EXPECT_EQ(title.size(), 255u);
    EXPECT_EQ(title[0], 'a');
}

TEST(SmfTitle, ZeroByteEndsTheTitle) {
    EXPECT_EQ(ReadSmfTitle(Smf(96, {Meta(0, 0x03, {'A', 'B', 0, 'C'})})), "AB");
}

TEST(SmfTitle, BytesAreReturnedUnconverted) {
    const Bytes sjis = {0x83, 0x65, 0x83, 0x58, 0x83, 0x67};
    EXPECT_EQ(ReadSmfTitle(Smf(96, {Meta(0, 0x03, sjis)})), std::string(sjis.begin(), sjis.end()));
}

TEST(SmfTitle, TempoAndExclusiveAreSkippedAndTextAfterThemFound) {
    Bytes file = Smf(96, {Cat({Tempo(0, 500000), Ev(0, {0xF0, 0x02, 0x01, 0xF7}),
                               Ev(0, {0xC0, 1}), Meta(0, 0x7F, {1, 2}), Meta(0, 0x05, {'L'})})});
    EXPECT_EQ(ReadSmfTitle(file), "L");
}

TEST(SmfTitle, NoTextOrNoMidiGivesEmpty) {
    EXPECT_EQ(ReadSmfTitle(Smf(96, {Ev(0, {0x90, 1, 2})})), "");
    EXPECT_EQ(ReadSmfTitle(Bytes{}), "");
    EXPECT_EQ(ReadSmfTitle(Bytes{'M', 'T'}), "");
}

// Real files: every edge case loads without harm and keeps ticks in order; a few known shapes.
std::string CorpusPath(const std::string& name) { return std::string(TAMTARA_CORPUS_DIR) + "/" + name; }

TEST(SmfCorpus, EveryEdgeFileLoadsWithOrderedTicks) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusPath("edge"))) {
        const auto bytes = ReadFileBytes(entry.path().string());
        auto song = Parse(bytes);
        ReadSmfTitle(bytes);
        ++files;
        for (int t = 0; t < song->TrackCount; ++t)
            for (int i = 1; i < song->Tracks[t].Count(); ++i)
                ASSERT_LE(song->Tracks[t][i - 1].Tick, song->Tracks[t][i].Tick) << entry.path();
    }
    EXPECT_GE(files, 20);
}

TEST(SmfCorpus, NotAMidiFileAndEmptyFileHaveNoTracks) {
    for (const char* name : {"edge/jazz-not-a-midi-file.mid", "edge/jazz-empty-file.mid",
                             "edge/midly-Beethoven.rmi"}) {
        auto song = Parse(ReadFileBytes(CorpusPath(name)));
        EXPECT_EQ(song->TrackCount, 0) << name;
        EXPECT_EQ(song->Division, 0) << name;
    }
}

TEST(SmfCorpus, PercussionFileHasChannelTenNotes) {
    auto song = Parse(ReadFileBytes(CorpusPath("edge/jazz-all-gm-percussion.mid")));
    int drums = 0;
    for (int i = 0; i < song->Tracks[0].Count(); ++i)
        drums += song->Tracks[0][i].Event.Status == 0x99;
    EXPECT_GT(drums, 40);
}

TEST(SmfCorpus, SongsHaveTempoTracksAndDrums) {
    for (const auto& entry : std::filesystem::directory_iterator(CorpusPath("songs"))) {
        if (entry.path().filename().string().rfind("freedoom-d_dm0", 0) != 0)
            continue;
        auto song = Parse(ReadFileBytes(entry.path().string()));
        EXPECT_GT(song->TrackCount, 1) << entry.path();
        EXPECT_GT(song->Division, 0) << entry.path();
        int drums = 0;
        for (int t = 0; t < song->TrackCount; ++t)
            for (int i = 0; i < song->Tracks[t].Count(); ++i)
                drums += song->Tracks[t][i].Event.Status == 0x99;
        EXPECT_GT(drums, 0) << entry.path();
    }
}

} // namespace
} // namespace tamtara
