// The game's records: a finished play captured with its errors in milliseconds along the tempo
// map, the records' thread writing plays and keeping the badge's cache, keeping a play it cannot
// write and writing it later, and through the headless window: demonstrations and automatic play
// left out, a player's play kept under the song as it was loaded, the notice of a play that could
// not be written, and the result screen's timing page on a scripted play.
#include "app/MainForm.h"
#include "app/PlayCapture.h"
#include "app/RecordKeeper.h"
#include "database/Database.h"
#include "harness/GameHarness.h"
#include "midi/SmfReader.h"
#include "play/SongWriter.h"
#include "records/LoadedSong.h"
#include "records/PendingPlaysFile.h"
#include "records/RecordStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

namespace tamtara::testing {

namespace {

class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Root = std::filesystem::temp_directory_path() /
               ("tamtara-records-" + std::to_string(getpid()) + "-" + info->name());
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    std::string Path(const std::string& name) const { return (Root / name).string(); }

private:
    std::filesystem::path Root;
};

StrikeRecord Graded(int lane, double position, std::int32_t noteTick, Grade grade) {
    StrikeRecord strike;
    strike.Lane = lane;
    strike.Position = position;
    strike.NoteTick = noteTick;
    strike.Result = grade;
    return strike;
}

PlayRecord Scored(std::int32_t score, std::int32_t perfect, std::int32_t miss,
                  std::vector<StrikeEntry> strikes) {
    static std::int64_t playedAt = 1700000000;
    PlayRecord play;
    play.PlayedAt = ++playedAt;
    play.Score = score;
    play.Perfect = perfect;
    play.Miss = miss;
    play.Rank = RankLetterOf(perfect, 0, 0, miss);
    play.Cleared = true;
    play.Strikes = std::move(strikes);
    return play;
}

// The song file as a play loads it.
SongInfo Loaded(const std::string& path, const std::string& title) {
    auto song = std::make_unique<TSongModel>();
    ParseSmf(ReadSongFile(path), *song);
    SongInfo info = DescribeLoadedSong(*song, LaneMap::Standard());
    info.Title = title;
    return info;
}

// Every play written into the records file fails while it lives (another connection's trigger).
class RefusedWrites {
public:
    explicit RefusedWrites(const std::string& db) : Db(db) {
        Run("CREATE TRIGGER refuse BEFORE INSERT ON plays BEGIN SELECT RAISE(ABORT, 'no room'); END");
    }
    ~RefusedWrites() { Run("DROP TRIGGER refuse"); }

private:
    void Run(const char* sql) {
        TDatabaseOpenResult opened = TDatabase::Open(Db, RecordsSchemaSteps());
        ASSERT_TRUE(opened.Database) << opened.Error;
        opened.Database->Execute(sql);
    }
    std::string Db;
};

} // namespace

TEST(PlayCapture, ErrorsFollowTheTempoMapAndTheModeAndOutcomeAreKept) {
    // 480 ticks per quarter: 120 beats per minute to tick 1920 (1.0417 ms a tick), then 60
    // (2.0833 ms a tick).
    auto song = std::make_unique<TSongModel>();
    song->Division = 480;
    song->TempoMap[0] = {0, 120};
    song->TempoMap[1] = {1920, 60};
    song->TempoCount = 2;

    PlayState state;
    state.TwoMinutes = false;
    state.ScrollSpeed = 150;
    state.HideUpperNotes = true;
    state.AutoLane = {true, false, false, false, false, false, true};
    state.Level = 4;
    state.InputOffsetMs = 12;
    state.Score = 1234;
    state.PerfectCount = 8;
    state.GreatCount = 1;
    state.GoodCount = 0;
    state.MissCount = 1;
    state.MaxCombo = 7;

    StrikeRecord outside;
    outside.Lane = 2;
    outside.Position = 100.0; // an empty lane: no grade, not kept
    // A practice at half speed: 50 ms of song time took the player 100 ms.
    StrikeRecord halfSpeed = Graded(1, 960 + 48, 960, Perfect);
    halfSpeed.TempoScale = 0.5;
    const std::vector<StrikeRecord> strikes{
        Graded(1, 960 + 48, 960, Perfect), // 48 ticks late at 120: +50 ms
        Graded(2, 2400 - 24, 2400, Great), // 24 ticks early at 60: -50 ms
        Graded(1, 1940, 1900, Good),       // 20 ticks at 120 and 20 at 60: +62.5 ms
        Graded(3, -10 + 0.0, 0, Perfect),  // before tick 0 the first tempo runs back
        outside,
        halfSpeed,
    };
    PlayOutcomeFacts facts;
    facts.Failed = true;
    facts.Input = InputKind::Kit;
    facts.PlayedAt = 1765000000;
    const PlayRecord play = CapturePlay(state, strikes, *song, facts);

    ASSERT_EQ(play.Strikes.size(), 5u);
    EXPECT_EQ(play.Strikes[4].ErrorMs, 100);
    EXPECT_EQ(play.Strikes[0].ErrorMs, 50);
    EXPECT_EQ(play.Strikes[0].Lane, 1);
    EXPECT_EQ(play.Strikes[0].Grade, 3);
    EXPECT_EQ(play.Strikes[1].ErrorMs, -50);
    EXPECT_EQ(play.Strikes[1].Grade, 2);
    EXPECT_EQ(play.Strikes[2].ErrorMs, 63);
    EXPECT_EQ(play.Strikes[3].ErrorMs, -10); // 10 ticks at 120: -10.4 ms
    EXPECT_EQ(play.PlayTime, 1);
    EXPECT_EQ(play.Speed, 150);
    EXPECT_EQ(play.Special, 2);
    EXPECT_TRUE(play.HideUpper);
    EXPECT_FALSE(play.HideLower);
    EXPECT_EQ(play.AutoLanes, 0x41);
    EXPECT_EQ(play.Level, 4);
    EXPECT_EQ(play.OffsetMs, 12);
    EXPECT_EQ(play.Input, InputKind::Kit);
    EXPECT_EQ(play.PlayedAt, 1765000000);
    EXPECT_EQ(play.Score, 1234);
    EXPECT_EQ(play.Perfect, 8);
    EXPECT_EQ(play.Great, 1);
    EXPECT_EQ(play.Miss, 1);
    EXPECT_EQ(play.MaxCombo, 7);
    EXPECT_TRUE(play.Failed);
    EXPECT_FALSE(play.Cleared);
    EXPECT_EQ(play.PracticeTempo, 0);
    EXPECT_EQ(play.Rank, "B"); // 800 per mille Perfect but 100 Miss
}

TEST(RecordKeeperThread, WritesPlaysAndKeepsTheBadgeCacheAndTheComparison) {
    TempFolder folder;
    const std::string songPath = folder.Path("song.mid");
    WriteSong(songPath, {{480, 38}, {960, 36}, {1440, 42}});
    const std::string other = folder.Path("other.mid");
    WriteSong(other, {{480, 38}, {960, 38}});
    const std::string db = folder.Path(RecordsFileName);
    std::uint64_t second = 0;
    {
        RecordKeeper keeper(db);
        keeper.LookUp(songPath);
        keeper.WaitIdle();
        ASSERT_TRUE(keeper.BestOf(songPath).has_value());
        EXPECT_EQ(keeper.BestOf(songPath)->Plays, 0);
        EXPECT_FALSE(keeper.BestOf(other).has_value()); // not asked for: unknown, not looked up per frame
        EXPECT_FALSE(keeper.TakeNotice().has_value());

        const std::uint64_t first =
            keeper.Record(songPath, Loaded(songPath, "曲"), Scored(700, 7, 0, {{1, -20, 3}, {2, 15, 2}}));
        second = keeper.Record(songPath, Loaded(songPath, "曲"), Scored(400, 4, 3, {{1, 5, 3}}));
        keeper.WaitIdle();
        const std::optional<SongBest> best = keeper.BestOf(songPath);
        ASSERT_TRUE(best.has_value());
        EXPECT_EQ(best->Plays, 2);
        EXPECT_EQ(best->BestScore, 700);
        EXPECT_EQ(best->BestRank, "S");
        ASSERT_TRUE(keeper.ComparisonFor(first).has_value());
        EXPECT_TRUE(keeper.ComparisonFor(first)->Recorded);
        EXPECT_FALSE(keeper.ComparisonFor(first)->Best.has_value());
        ASSERT_TRUE(keeper.ComparisonFor(second)->Best.has_value());
        EXPECT_EQ(keeper.ComparisonFor(second)->Best->Score, 700);
        EXPECT_EQ(keeper.KeyOf(songPath).size(), 64u);
    }
    // What the thread wrote is in the file, keyed by the drum part; a new keeper's cache starts
    // from it.
    const std::unique_ptr<TRecordStore> store = TRecordStore::Open(db);
    ASSERT_TRUE(store->Enabled());
    const std::vector<SongSummary> songs = store->Songs();
    ASSERT_EQ(songs.size(), 1u);
    EXPECT_EQ(songs[0].Song.Title, "曲");
    EXPECT_EQ(songs[0].Song.LaneCounts[1] + songs[0].Song.LaneCounts[2] + songs[0].Song.LaneCounts[0], 3);
    const std::optional<PlayRecord> last = store->LastPlay(songs[0].Song.Key);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->Score, 400);
    ASSERT_EQ(last->Strikes.size(), 1u);
    EXPECT_EQ(last->Strikes[0].ErrorMs, 5);

    RecordKeeper again(db);
    again.LookUp(songPath);
    again.WaitIdle();
    ASSERT_TRUE(again.BestOf(songPath).has_value());
    EXPECT_EQ(again.BestOf(songPath)->Plays, 2);
}

TEST(RecordKeeperThread, ADamagedFileIsSaidOnceAndRecordsGoOn) {
    TempFolder folder;
    const std::string db = folder.Path(RecordsFileName);
    {
        std::ofstream out(db, std::ios::binary);
        out << std::string(8192, 'x');
    }
    RecordKeeper keeper(db);
    keeper.WaitIdle();
    const std::optional<RecordsNotice> notice = keeper.TakeNotice();
    ASSERT_TRUE(notice.has_value());
    EXPECT_FALSE(notice->Title.empty());
    EXPECT_FALSE(keeper.TakeNotice().has_value());
    const std::string song = folder.Path("song.mid");
    WriteSong(song, {{480, 38}});
    keeper.Record(song, Loaded(song, "t"), Scored(100, 1, 0, {}));
    keeper.WaitIdle();
    EXPECT_EQ(keeper.BestOf(song)->Plays, 1);
}

TEST(RecordKeeperThread, APlayThatCannotBeWrittenIsSaidKeptAndWrittenOnceWritingWorks) {
    TempFolder folder;
    const std::string db = folder.Path(RecordsFileName);
    const std::string pending = PendingPlaysPath(db);
    const std::string song = folder.Path("song.mid");
    WriteSong(song, {{480, 38}, {960, 36}});
    std::optional<RefusedWrites> toTheEnd;
    {
        RecordKeeper keeper(db);
        keeper.WaitIdle();
        std::uint64_t ticket = 0;
        {
            RefusedWrites refused(db);
            ticket = keeper.Record(song, Loaded(song, "曲"), Scored(500, 5, 0, {{1, 3, 3}}));
            keeper.WaitIdle();
        }
        std::optional<RecordsNotice> notice = keeper.TakeNotice();
        ASSERT_TRUE(notice.has_value());
        EXPECT_EQ(notice->Title, "プレイを記録できませんでした");
        EXPECT_NE(notice->Detail.find("no room"), std::string::npos) << notice->Detail;
        EXPECT_NE(notice->Detail.find(pending), std::string::npos) << notice->Detail;
        EXPECT_FALSE(keeper.ComparisonFor(ticket)->Recorded);
        ASSERT_EQ(ReadPendingPlays(pending).Plays.size(), 1u);
        EXPECT_EQ(keeper.BestOf(song)->Plays, 0);

        // Writing works again: the next play brings the kept one in before itself.
        keeper.Record(song, Loaded(song, "曲"), Scored(600, 6, 0, {}));
        keeper.WaitIdle();
        notice = keeper.TakeNotice();
        ASSERT_TRUE(notice.has_value());
        EXPECT_EQ(notice->Title, "記録できなかったプレイを記録しました");
        EXPECT_EQ(keeper.BestOf(song)->Plays, 2);
        EXPECT_EQ(keeper.BestOf(song)->BestScore, 600);
        EXPECT_FALSE(std::filesystem::exists(pending));

        // Refused to the end of the session: the play waits in the file.
        toTheEnd.emplace(db);
        keeper.Record(song, Loaded(song, "曲"), Scored(700, 7, 0, {{2, -4, 3}}));
    }
    ASSERT_EQ(ReadPendingPlays(pending).Plays.size(), 1u);
    toTheEnd.reset();
    // The next start writes it, and the badge counts it.
    RecordKeeper next(db);
    next.LookUp(song);
    next.WaitIdle();
    const std::optional<RecordsNotice> notice = next.TakeNotice();
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->Title, "記録できなかったプレイを記録しました");
    EXPECT_EQ(next.BestOf(song)->Plays, 3);
    EXPECT_EQ(next.BestOf(song)->BestScore, 700);
    EXPECT_FALSE(std::filesystem::exists(pending));
}

TEST(RecordKeeperThread, PracticesAreCountedApartFromPlaysAndNeverMakeTheBest) {
    TempFolder folder;
    const std::string songPath = folder.Path("song.mid");
    WriteSong(songPath, {{480, 38}, {960, 36}});
    RecordKeeper keeper(folder.Path(RecordsFileName));
    keeper.Record(songPath, Loaded(songPath, "曲"), Scored(300, 3, 2, {}));
    for (std::int32_t tempo : {65, 80}) {
        PlayRecord practice = Scored(5000, 50, 0, {});
        practice.PracticeTempo = tempo;
        practice.Rank.clear();
        keeper.Record(songPath, Loaded(songPath, "曲"), practice);
    }
    keeper.WaitIdle();
    const std::optional<SongBest> best = keeper.BestOf(songPath);
    ASSERT_TRUE(best.has_value());
    EXPECT_EQ(best->Plays, 1);
    EXPECT_EQ(best->PracticePlays, 2);
    EXPECT_EQ(best->BestScore, 300);
}

class RecordsInGame : public ::testing::Test {
protected:
    static constexpr std::int32_t SnareKey = 83;
    static constexpr double TicksPerMs = 0.96; // 480 ticks a quarter at 120

    RecordsInGame() {
        SongPath = (Folder.Path() / "Songs" / "beat.mid").string();
        std::vector<SongNote> notes;
        for (std::int32_t beat = 4; beat < 12; ++beat)
            notes.push_back({480 * beat, 38});
        notes.push_back({480 * 14, 60, 0});
        WriteSong(SongPath, notes);
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.PreciseInput = true;
        options.Settings.KeyA = {65, SnareKey, 68, 70, 71, 72, 74};
        options.SettingsFile = (Folder.Path() / "tamtara.ini").string();
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
    }

    PlayState& Play() { return Game->Form().Play->State; }

    // A play of the song: the snare struck at each note moved by the errors (ms), the others
    // left to be missed; ends on the result screen.
    void PlayStriking(const std::vector<std::int32_t>& errors) {
        Play().AutoLane.fill(false);
        Play().DemoMode = false;
        Play().AutoPlayMode = false;
        Game->EnterPlay(SongPath);
        const std::uint32_t start = Game->Form().MidiDrive->SongStartTime();
        for (std::size_t i = 0; i < errors.size(); ++i) {
            const std::uint32_t time =
                start + std::uint32_t(480 * (4 + std::int32_t(i)) / TicksPerMs) + errors[i];
            while (Game->Clock().Now() + 33 <= time)
                Game->Step();
            Game->KeyDownAt(time - Game->Clock().Now(), SnareKey);
            Game->Step();
            Game->ReleaseKey(SnareKey);
        }
        ASSERT_TRUE(Game->StepUntil(ssResult, 2000));
        Game->Form().Records->WaitIdle();
        Game->Step();
    }

    // A play with every lane automatic (a player's play all the same), to its result; between
    // its start and its end, meanwhile runs.
    void PlayAutomatic(const std::function<void()>& meanwhile = [] {}) {
        Play().AutoLane.fill(true);
        Play().DemoMode = false;
        Play().AutoPlayMode = false;
        Game->EnterPlay(SongPath);
        meanwhile();
        ASSERT_TRUE(Game->StepUntil(ssResult, 2000));
        Game->Form().Records->WaitIdle();
        Game->Step();
    }

    std::vector<SongSummary> StoredSongs() {
        Game->Form().Records->WaitIdle();
        return TRecordStore::Open((Folder.Path() / RecordsFileName).string())->Songs();
    }

    TestGameFolder Folder{"Records"};
    std::string SongPath;
    std::unique_ptr<GameHarness> Game;
};

TEST_F(RecordsInGame, DemonstrationsAndAutomaticPlayAreNotRecordedAPlayersPlayIs) {
    Play().AutoLane.fill(true);
    Play().AutoPlayMode = true;
    Play().DemoMode = true;
    Game->EnterPlay(SongPath);
    ASSERT_TRUE(Game->StepUntil(ssOpening, 2000));
    EXPECT_TRUE(StoredSongs().empty());

    Play().DemoMode = false;
    Game->EnterPlay(SongPath);
    ASSERT_TRUE(Game->StepUntil(ssResult, 2000));
    EXPECT_TRUE(StoredSongs().empty());

    PlayStriking({-20, 10, 30});
    const std::vector<SongSummary> songs = StoredSongs();
    ASSERT_EQ(songs.size(), 1u);
    EXPECT_EQ(songs[0].Best.Plays, 1);
    const std::optional<PlayRecord> last =
        TRecordStore::Open((Folder.Path() / RecordsFileName).string())->LastPlay(songs[0].Song.Key);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->Miss, 5);
    ASSERT_EQ(last->Strikes.size(), 3u);
    // Stamped key-downs: the errors come back to within the sequencer's 2 ms pass.
    EXPECT_NEAR(last->Strikes[0].ErrorMs, -20, 2);
    EXPECT_NEAR(last->Strikes[1].ErrorMs, 10, 2);
    EXPECT_NEAR(last->Strikes[2].ErrorMs, 30, 2);
}

TEST_F(RecordsInGame, APlayIsKeptUnderTheSongAsItWasLoadedThoughItsFileChangesOrGoes) {
    const std::string copy = (Folder.Path() / "copy.mid").string();
    std::filesystem::copy_file(SongPath, copy);
    // Rewritten during the play with another song: two kicks.
    PlayAutomatic([&] { WriteSong(SongPath, {{480, 36}, {960, 36}}); });
    RecordKeeper& records = *Game->Form().Records;
    records.LookUp(copy);
    records.WaitIdle();
    std::vector<SongSummary> songs = StoredSongs();
    ASSERT_EQ(songs.size(), 1u);
    EXPECT_EQ(songs[0].Song.Key, records.KeyOf(copy)) << "the song that was played";
    EXPECT_EQ(songs[0].Song.LaneCounts[1], 8) << "its eight snare notes";
    EXPECT_EQ(songs[0].Song.LaneCounts[2], 0);

    // Deleted during the play.
    std::filesystem::copy_file(copy, SongPath, std::filesystem::copy_options::overwrite_existing);
    PlayAutomatic([&] { std::filesystem::remove(SongPath); });
    songs = StoredSongs();
    ASSERT_EQ(songs.size(), 1u);
    EXPECT_EQ(songs[0].Best.Plays, 2);
}

TEST_F(RecordsInGame, APlayThatCannotBeWrittenIsToldInTheWindow) {
    Game->Form().Records->WaitIdle();
    RefusedWrites refused((Folder.Path() / RecordsFileName).string());
    PlayAutomatic();
    Game->Step();
    EXPECT_EQ(Game->Form().Notice(), "プレイを記録できませんでした");
}

TEST_F(RecordsInGame, APracticesTimingPageIsNotWeighedAgainstTheBest) {
    TimingPageData practice;
    practice.Play = Scored(650, 5, 0, {});
    practice.Play.PracticeTempo = 65;
    practice.Play.Rank.clear();
    TimingPageData withBest = practice;
    withBest.BestState = BestLookup::Found;
    withBest.Best = Scored(900, 8, 0, {});
    TimingPageData firstTime = practice;
    firstTime.BestState = BestLookup::None;
    TimingPageData normal = withBest;
    normal.Play.PracticeTempo = 0;
    const auto page = [&](const TimingPageData& data) {
        TDirectDrawSurface& back = Game->Form().DXDraw.Surface();
        back.FillRect(TRect{0, 0, 640, 480}, 0);
        DrawTimingPage(back, data);
        std::vector<std::uint32_t> pixels;
        for (int y = 266; y < 426; ++y)
            for (int x = 424; x < 624; ++x)
                pixels.push_back(Game->Pixel(x, y));
        return pixels;
    };
    // Whatever best the records hold, a practice's panel is its own; a normal play's is not.
    EXPECT_TRUE(page(withBest) == page(firstTime));
    EXPECT_FALSE(page(normal) == page(withBest));
    if (const char* dir = std::getenv("TAMTARA_SHOTS")) {
        page(withBest);
        Game->SavePng(std::string(dir) + "/timing_page_practice.png");
    }
}

TEST_F(RecordsInGame, TheTimingPageShowsTheScriptedPlayAndTheBestBeforeIt) {
    // Five Perfect and three Great, then one Great and seven Perfect.
    PlayStriking({-30, -10, 0, 10, 20, 40, 40, 40});
    const std::int32_t firstScore = Game->Form().LastPlay.Play.Score;
    EXPECT_EQ(firstScore, 650);
    PlayStriking({-40, -20, 20, 20, 20, 20, 20, 20});

    const TimingPageData& page = Game->Form().LastPlay;
    EXPECT_EQ(page.Timing.Graded, 8);
    EXPECT_EQ(page.Timing.Early, 2);
    EXPECT_EQ(page.Timing.Late, 6);
    if (const char* dir = std::getenv("TAMTARA_SHOTS")) {
        Game->TapKey(39);
        Game->Step();
        Game->SavePng(std::string(dir) + "/timing_page.png");
        Game->TapKey(37);
        Game->Step();
    }
    EXPECT_NEAR(page.Timing.MeanMs, 7.5, 2.0);
    EXPECT_NEAR(page.Timing.Lanes[1].MeanMs, 7.5, 2.0);
    EXPECT_EQ(page.Timing.Lanes[1].Graded, 8);
    std::int32_t late = 0, all = 0;
    for (std::size_t bar = 0; bar < page.Timing.Histogram.Counts.size(); ++bar) {
        all += page.Timing.Histogram.Counts[bar];
        if (bar >= page.Timing.Histogram.Counts.size() / 2) late += page.Timing.Histogram.Counts[bar];
    }
    EXPECT_EQ(all, 8);
    EXPECT_EQ(late, 6);
    EXPECT_FALSE(SuggestedOffset(page).has_value()); // fewer than 50 graded strikes

    // Right turns to the timing page, which by then knows the earlier play as the best.
    const std::uint32_t before = Game->Pixel(200, 120);
    Game->TapKey(39);
    Game->Step();
    EXPECT_EQ(Game->State(), ssResult);
    EXPECT_EQ(Game->Form().LastPlay.BestState, BestLookup::Found);
    ASSERT_TRUE(Game->Form().LastPlay.Best.has_value());
    EXPECT_EQ(Game->Form().LastPlay.Best->Score, firstScore);
    EXPECT_EQ(Game->Form().LastPlay.Play.Score, 750);
    EXPECT_NE(Game->Pixel(200, 120), before);
    // Left turns back; Enter still leads on.
    Game->TapKey(37);
    Game->Step();
    EXPECT_EQ(Game->Pixel(200, 120), before);
    Game->TapKey(13);
    EXPECT_TRUE(Game->StepUntil(ssFolderSelect, 60));
}

} // namespace tamtara::testing
