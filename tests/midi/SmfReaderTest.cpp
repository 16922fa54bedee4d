// The MIDI file reader: running status rules, tempo map, clamps, titles and damaged data.
#include "midi/SmfReader.h"
#include "midi/SmfBuilder.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

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
    EXPECT_TRUE(track.Empty());
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
    EXPECT_TRUE(track.Empty());
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
    auto song = Parse(Smf(96, {Cat({Ev(0, {0x91, 60, 100}), Meta(0, 0x01, {'x'}), Ev(10, {62, 90})})}));
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
    auto song = Parse(Smf(96, {Cat({Ev(0, {0xD3, 20}), Ev(0, {0xF1, 7}), Ev(0, {0xF8}), Ev(0, {0xE0, 1, 2}),
                                    Ev(0, {0xF2, 3, 4}), Ev(0, {0xF3, 9})})}));
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
    EXPECT_TRUE(std::equal(expected, expected + 6, e.ExclusiveData));
}

TEST(SmfTempo, MicrosecondsBecomeTruncatedBeatsPerMinute) {
    auto song =
        Parse(Smf(96, {Cat({Tempo(0, 500000), Tempo(10, 400000), Tempo(10, 600000), Tempo(10, 416667)})}));
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
    auto song = Parse(Smf(96, {Cat({Tempo(0, 0),
                                    emptyTempo,
                                    longTempo,
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

// Where a track is expected but the bytes are not a track chunk, the next track chunk further
// on is read as that track: unknown chunks are skipped, and a chunk length that is off no longer
// loses every later track.
TEST(SmfWildFiles, UnknownChunkBetweenTracksIsSkipped) {
    Bytes junk = {'J', 'u', 'n', 'k', 0, 0, 0, 3, 'M', 'T', 'x'};
    Bytes file = Cat({Header(1, 2, 96), TrackChunk(Ev(0, {0x90, 1, 2})), junk,
                      TrackChunk(Cat({Ev(0, {0x91, 3, 4}), Ev(5, {0x81, 3, 0})}))});
    auto song = Parse(file);
    ASSERT_EQ(song->Tracks[0].Count(), 1);
    ASSERT_EQ(song->Tracks[1].Count(), 2);
    ExpectShort(song->Tracks[1][1], 5, 0x81, 3, 0);
}

TEST(SmfWildFiles, ChunkLengthOffByOneStillFindsTheNextTrack) {
    Bytes first = TrackChunk(Cat({Ev(0, {0x90, 1, 2}), Ev(4, {0x80, 1, 0}), EndOfTrack()}));
    first[7] -= 1; // declares one byte less than it holds
    Bytes file =
        Cat({Header(1, 3, 96), first, TrackChunk(Ev(7, {0x92, 5, 6})), TrackChunk(Ev(9, {0x93, 7, 8}))});
    auto song = Parse(file);
    EXPECT_EQ(song->Tracks[0].Count(), 2);
    ASSERT_EQ(song->Tracks[1].Count(), 1);
    ExpectShort(song->Tracks[1][0], 7, 0x92, 5, 6);
    ASSERT_EQ(song->Tracks[2].Count(), 1);
    ExpectShort(song->Tracks[2][0], 9, 0x93, 7, 8);
    EXPECT_EQ(ReadSmfTitle(Cat({Header(1, 2, 96), first, TrackChunk(Meta(0, 3, {'T'}))})), "T");
}

TEST(SmfWildFiles, ForeignBytesWithoutAFollowingTrackLeaveTheRestEmpty) {
    Bytes file = Cat({Header(1, 3, 96), TrackChunk(Ev(0, {0x90, 1, 2})), Bytes{'X', 'Y', 'Z', 'W', 0, 0}});
    auto song = Parse(file);
    EXPECT_EQ(song->TrackCount, 3);
    EXPECT_EQ(song->Tracks[0].Count(), 1);
    EXPECT_EQ(song->Tracks[1].Count(), 0);
    EXPECT_EQ(song->Tracks[2].Count(), 0);
}

Bytes RiffChunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(body.size() >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
    return out;
}

TEST(SmfWildFiles, RmidFileIsReadFromItsDataChunk) {
    const Bytes smf = Smf(120, {Cat({Meta(0, 3, {'R', 'M'}), Ev(3, {0x99, 36, 100})})});
    // A chunk before "data" must be stepped over; one after it must not be read as MIDI data.
    Bytes riff = Cat({Bytes{'R', 'M', 'I', 'D'}, RiffChunk("LIST", {'a', 'b', 'c'}), RiffChunk("data", smf),
                      RiffChunk("MTrk", {0, 0, 0, 4, 0, 0x90, 1, 2})});
    Bytes file = RiffChunk("RIFF", riff);
    file.pop_back(); // RIFF body has even length here; keep the file as writers produce it
    auto song = Parse(file);
    EXPECT_EQ(song->Division, 120);
    EXPECT_EQ(song->TrackCount, 1);
    ASSERT_EQ(song->Tracks[0].Count(), 1);
    ExpectShort(song->Tracks[0][0], 3, 0x99, 36, 100);
    EXPECT_EQ(ReadSmfTitle(file), "RM");
}

TEST(SmfWildFiles, LeadingBytesBeforeTheHeaderArePassedOver) {
    const Bytes smf = Smf(96, {Ev(2, {0x90, 1, 2})});
    auto wrapped = Parse(Cat({Bytes(128, 0), smf}));
    EXPECT_EQ(wrapped->Division, 96);
    ASSERT_EQ(wrapped->Tracks[0].Count(), 1);
    EXPECT_EQ(wrapped->Tracks[0][0].Tick, 2);
    // Only the first 1024 bytes are searched.
    auto tooFar = Parse(Cat({Bytes(1021, 0), smf}));
    EXPECT_EQ(tooFar->TrackCount, 0);
    EXPECT_EQ(Parse(Cat({Bytes(1020, 0), smf}))->TrackCount, 1);
}

TEST(SmfReader, HeaderLengthIsNotHonoured) {
    Bytes file = Smf(96, {Ev(0, {0x90, 1, 2})});
    file[7] = 8; // claims a longer header; the track still follows the 14 bytes
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
    file[21] = 0xFF; // track length now claims far more than is there
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
    Bytes file = Smf(
        96, {Cat({Ev(0, {0x90, 1, 2}), Meta(0, 0x02, {'(', 'c', ')'}), Meta(0, 0x03, {'N', 'a', 'm', 'e'})}),
             Meta(0, 0x01, {'L', 'a', 't', 'e', 'r'})});
    EXPECT_EQ(ReadSmfTitle(file), "(c)");
}

TEST(SmfSummary, TitleAsTheTitleReaderGivesItAndWhetherALaneNoteIsThere) {
    const Bytes drum = Ev(0, {0x99, 38, 90});
    struct Case {
        Bytes File;
        bool HasDrumNotes;
    };
    const std::vector<Case> cases = {
        // The drum note before any text, in an earlier track: the title is still the first text.
        {Smf(96, {Cat({drum, Ev(0, {0x99, 36, 0})}), Cat({Meta(0, 0x01, {'A'}), Meta(0, 0x03, {'B'})})}),
         true},
        {Smf(96, {Cat({Meta(0, 0x03, {'T'}), Ev(0, {0x99, 39, 90}), Ev(0, {0x98, 38, 90})})}), false},
        {Smf(96, {Cat({Ev(0, {0x99, 42, 1}), Meta(0, 0x03, {'T'})})}), true},
        {Smf(96, {Cat({Ev(0, {0x99, 49, 0})})}), false},
        {Bytes{'R', 'I', 'F', 'F'}, false},
    };
    for (const Case& c : cases) {
        const TSmfSummary summary = ReadSmfSummary(c.File, LaneMap::Standard());
        EXPECT_EQ(summary.Title, ReadSmfTitle(c.File));
        EXPECT_EQ(summary.HasDrumNotes, c.HasDrumNotes) << summary.Title;
    }
    const TSmfSummary summary = ReadSmfSummary(cases[0].File, LaneMap::Standard());
    EXPECT_EQ(summary.Title, "A");
    EXPECT_EQ(summary.Division, 96);
    EXPECT_EQ(summary.TrackCount, 2);
    EXPECT_EQ(ReadSmfSummary(cases.back().File, LaneMap::Standard()).Division, 0);
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
    Bytes file = Smf(96, {Cat({Tempo(0, 500000), Ev(0, {0xF0, 0x02, 0x01, 0xF7}), Ev(0, {0xC0, 1}),
                               Meta(0, 0x7F, {1, 2}), Meta(0, 0x05, {'L'})})});
    EXPECT_EQ(ReadSmfTitle(file), "L");
}

TEST(SmfTitle, TextCutByTheEndOfTheDataGivesNoTitle) {
    Bytes file = Smf(96, {Meta(0, 0x03, {'T', 'i', 't', 'l', 'e'})});
    file.pop_back();
    EXPECT_EQ(ReadSmfTitle(file), "");
}

TEST(SmfTitle, NoTextOrNoMidiGivesEmpty) {
    EXPECT_EQ(ReadSmfTitle(Smf(96, {Ev(0, {0x90, 1, 2})})), "");
    EXPECT_EQ(ReadSmfTitle(Bytes{}), "");
    EXPECT_EQ(ReadSmfTitle(Bytes{'M', 'T'}), "");
}

// A file may hold one event per byte (delta 0 and a data byte under a running status that takes
// none), so what an event costs decides what a large file costs: the arrays are sized once, from
// a counting pass, at 8 bytes a slot.
Bytes OneByteEventSong(std::size_t events, std::uint8_t status) {
    Bytes body{0x00, status};
    body.resize(events + 2, 0x00);
    return Smf(96, {body});
}

std::size_t SongStorage(const TSongModel& song) {
    std::size_t bytes = 0;
    for (const TMidiTrack& track : song.Tracks)
        bytes += track.StorageBytes();
    return bytes;
}

TEST(SongMemory, OneByteEventsAreStoredInEightBytesEachWithoutSlack) {
    const Bytes file = OneByteEventSong(200000, 0xFE);
    auto song = Parse(file);
    ASSERT_EQ(song->Tracks[0].Count(), 200000);
    EXPECT_EQ(song->Tracks[0][199999].Event.Status, 0xFE);
    EXPECT_EQ(SongStorage(*song), 200000u * 8);
}

TEST(SongMemory, EmptyExclusiveEventsCostUnderNineBytesPerFileByte) {
    const Bytes file = OneByteEventSong(200000, 0xF0); // "00 00": delta 0, an empty block
    auto song = Parse(file);
    const TMidiTrack& track = song->Tracks[0];
    ASSERT_EQ(track.Count(), 100000);
    const SequencerEvent last = track[track.Count() - 1];
    ASSERT_TRUE(last.Event.IsExclusive());
    EXPECT_EQ(last.Event.ExclusiveLength, 1);
    EXPECT_EQ(last.Event.ExclusiveData[0], 0xF0);
    EXPECT_LE(SongStorage(*song), 9 * file.size());
}

TEST(SongMemory, FileOverTheLimitIsRefusedBeforeItIsRead) {
    const auto path =
        std::filesystem::temp_directory_path() / ("tamtara-big-song-" + std::to_string(::getpid()) + ".mid");
    { TFileStream create(path.string(), FileMode::Create); }
    std::filesystem::resize_file(path, MaxSongFileBytes + 1); // sparse: nothing is written
    try {
        ReadSongFile(path.string());
        ADD_FAILURE() << "a file over the limit was read";
    } catch (const ESongFileError& error) {
        EXPECT_NE(std::string(error.what()).find("64 MB"), std::string::npos) << error.what();
    }
    std::filesystem::remove(path);
    EXPECT_NO_THROW(CheckSongFileSize(MaxSongFileBytes, "limit"));
}

// Real files: every edge case loads without harm and keeps ticks in order; a few known shapes.
std::string CorpusPath(const std::string& name) {
    return std::string(TAMTARA_CORPUS_DIR) + "/" + name;
}

// The corpus lives beside the project, not in it: a lone clone has none.
class SmfCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(TAMTARA_CORPUS_DIR))
            GTEST_SKIP() << "no MIDI corpus at " << TAMTARA_CORPUS_DIR;
    }
};

TEST_F(SmfCorpus, EveryEdgeFileLoadsWithOrderedTicks) {
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

TEST_F(SmfCorpus, NotAMidiFileAndEmptyFileHaveNoTracks) {
    for (const char* name : {"edge/jazz-not-a-midi-file.mid", "edge/jazz-empty-file.mid"}) {
        auto song = Parse(ReadFileBytes(CorpusPath(name)));
        EXPECT_EQ(song->TrackCount, 0) << name;
        EXPECT_EQ(song->Division, 0) << name;
    }
}

TEST_F(SmfCorpus, WrappedAndJunkChunkFilesLoadTheirTracks) {
    auto rmid = Parse(ReadFileBytes(CorpusPath("edge/midly-Beethoven.rmi")));
    EXPECT_EQ(rmid->TrackCount, 15);
    EXPECT_EQ(rmid->Division, 240);
    EXPECT_GT(rmid->TempoCount, 0);
    for (int t = 1; t < rmid->TrackCount; ++t)
        EXPECT_GT(rmid->Tracks[t].Count(), 0) << t;
    const auto junk = ReadFileBytes(CorpusPath("edge/jazz-non-midi-track.mid"));
    EXPECT_EQ(Parse(junk)->Tracks[0].Count(), 16);
    EXPECT_EQ(ReadSmfTitle(junk), "Non-MIDI Track Test");
}

TEST_F(SmfCorpus, PercussionFileHasChannelTenNotes) {
    auto song = Parse(ReadFileBytes(CorpusPath("edge/jazz-all-gm-percussion.mid")));
    int drums = 0;
    for (int i = 0; i < song->Tracks[0].Count(); ++i)
        drums += song->Tracks[0][i].Event.Status == 0x99;
    EXPECT_GT(drums, 40);
}

TEST_F(SmfCorpus, SongsHaveTempoTracksAndDrums) {
    for (const auto& entry : std::filesystem::directory_iterator(CorpusPath("songs"))) {
        if (entry.path().filename().string().rfind("freedoom-d_dm0", 0) != 0) continue;
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
