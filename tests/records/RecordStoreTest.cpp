// The records on real files: a play with its strikes read back, bests per song and per mode,
// the launcher's list and a song's history, a version 1 file brought up to date, the notices of
// a damaged, a newer and a read-only file, a file damaged past its first page, a write that
// fails, and a writer killed at random moments and at each step of a play's write.
#include "records/RecordStore.h"
#include "database/Database.h"
#include "records/SamePlay.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>

namespace tamtara::testing {
namespace {

namespace fs = std::filesystem;

class RecordsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        Folder =
            fs::temp_directory_path() / ("tamtara-records-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        Path = (Folder / RecordsFileName).string();
    }
    void TearDown() override { fs::remove_all(Folder); }

    fs::path Folder;
    std::string Path;
};

SongInfo Song(const std::string& key, const std::string& title = "曲") {
    return SongInfo{key, "/songs/" + title + ".mid", title, 95000, {10, 20, 30, 4, 5, 6, 7}};
}

// A play whose strikes and counts follow from its score, so a reader can tell a whole play.
PlayRecord Play(const std::string& key, std::int32_t score, std::int64_t at, int strikes = 120) {
    PlayRecord play;
    play.SongKey = key;
    play.PlayedAt = at;
    play.Score = score;
    play.Rank = score > 900000 ? "S" : "B";
    play.Perfect = strikes / 2;
    play.Great = strikes / 4;
    play.Good = strikes / 8;
    play.Miss = strikes - play.Perfect - play.Great - play.Good;
    for (int i = 0; i < strikes; ++i)
        play.Strikes.push_back(StrikeEntry{static_cast<std::uint8_t>(i % 7),
                                           static_cast<std::int16_t>((i * 37 + score) % 401 - 200),
                                           static_cast<std::uint8_t>(i % 4)});
    return play;
}

TEST_F(RecordsFolder, KeepsAPlayWithEveryChoiceAndStrike) {
    auto store = TRecordStore::Open(Path);
    ASSERT_TRUE(store->Enabled());
    EXPECT_EQ(store->State(), RecordsState::On);
    EXPECT_EQ(store->NoticeTitle(), "");

    PlayRecord play = Play("k1", 812345, 1700000000, 2000);
    play.PlayTime = 2;
    play.Special = 1;
    play.Speed = 150;
    play.HideLower = true;
    play.Level = 5;
    play.AutoLanes = 0b1000101;
    play.Input = InputKind::Kit;
    play.OffsetMs = -12;
    play.MaxCombo = 345;
    play.Cleared = true;
    play.Strikes.push_back(StrikeEntry{6, 2000, 0});  // kept as +1023
    play.Strikes.push_back(StrikeEntry{0, -1500, 0}); // kept as -1023
    const std::int64_t id = store->RecordPlay(Song("k1"), play);
    ASSERT_GT(id, 0);

    std::optional<PlayRecord> back = store->LastPlay("k1");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Id, id);
    play.Id = id;
    play.Strikes[2000].ErrorMs = 1023;
    play.Strikes[2001].ErrorMs = -1023;
    EXPECT_TRUE(SamePlay(*back, play));

    // A practice with a loop, read back in a new session.
    PlayRecord practice = Play("k1", 0, 1700000100, 3);
    practice.PracticeTempo = 75;
    practice.LoopFromBar = 4;
    practice.LoopToBar = 12;
    practice.Rank = "";
    practice.Failed = true;
    SongInfo moved = Song("k1", "新しい題");
    ASSERT_GT(store->RecordPlay(moved, practice), id);
    store.reset();
    store = TRecordStore::Open(Path);
    back = store->LastPlay("k1");
    ASSERT_TRUE(back);
    practice.Id = back->Id;
    EXPECT_TRUE(SamePlay(*back, practice));
    const std::vector<SongSummary> songs = store->Songs();
    ASSERT_EQ(songs.size(), 1u);
    EXPECT_EQ(songs[0].Song.Title, "新しい題");
    EXPECT_EQ(songs[0].Song.LastPath, moved.LastPath);
    EXPECT_EQ(songs[0].Song.LaneCounts, moved.LaneCounts);
    EXPECT_FALSE(store->LastPlay("unknown"));
}

TEST_F(RecordsFolder, FindsTheBestPerSongAndPerModeAndEachSongsHistory) {
    auto store = TRecordStore::Open(Path);
    std::vector<PlayRecord> written;
    auto record = [&](const std::string& key, std::int32_t score, std::int64_t at, std::int32_t speed = 100,
                      std::int32_t practice = 0) {
        PlayRecord play = Play(key, score, at);
        play.Speed = speed;
        play.PracticeTempo = practice;
        if (practice) play.Rank = "";
        written.push_back(play);
        return store->RecordPlay(Song(key), play);
    };
    record("a", 500000, 10);
    const std::int64_t bestA = record("a", 950000, 20);
    record("a", 990000, 30, 150);     // another mode
    record("a", 999999, 40, 100, 50); // a practice: never a best
    const std::int64_t tie = record("b", 700000, 15);
    record("b", 700000, 16);
    record("b", 100000, 50);
    record("c", 800000, 5, 100, 65); // only practised
    record("c", 900000, 6, 100, 80);

    std::optional<PlayRecord> best = store->BestPlay("a", 0, 0, 100);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->Id, bestA);
    EXPECT_EQ(best->Strikes.size(), 120u);
    EXPECT_EQ(store->BestPlay("a", 0, 0, 150)->Score, 990000);
    EXPECT_FALSE(store->BestPlay("a", 1, 0, 100));
    EXPECT_EQ(store->BestPlay("b", 0, 0, 100)->Id, tie) << "the earlier of two equal scores";

    // Practices are counted apart from plays, and never make a best.
    const auto bests = store->AllBests();
    ASSERT_EQ(bests.size(), 3u);
    EXPECT_EQ(bests.at("a").Plays, 3);
    EXPECT_EQ(bests.at("a").PracticePlays, 1);
    EXPECT_EQ(bests.at("a").BestScore, 990000);
    EXPECT_EQ(bests.at("a").BestRank, "S");
    EXPECT_EQ(bests.at("a").LastPlayedAt, 40);
    EXPECT_EQ(bests.at("b").Plays, 3);
    EXPECT_EQ(bests.at("b").PracticePlays, 0);
    EXPECT_EQ(bests.at("b").BestScore, 700000);
    EXPECT_EQ(bests.at("b").BestRank, "B");
    EXPECT_EQ(bests.at("c").Plays, 0);
    EXPECT_EQ(bests.at("c").PracticePlays, 2);
    EXPECT_EQ(bests.at("c").BestRank, "");

    // The game's cache, counting one play at a time, comes to what the file says.
    std::map<std::string, SongBest> counted;
    for (const PlayRecord& play : written)
        CountPlayIn(counted[play.SongKey], play);
    ASSERT_EQ(counted.size(), bests.size());
    for (const auto& [key, best] : counted) {
        EXPECT_EQ(best.Plays, bests.at(key).Plays) << key;
        EXPECT_EQ(best.PracticePlays, bests.at(key).PracticePlays) << key;
        EXPECT_EQ(best.BestScore, bests.at(key).BestScore) << key;
        EXPECT_EQ(best.BestRank, bests.at(key).BestRank) << key;
        EXPECT_EQ(best.LastPlayedAt, bests.at(key).LastPlayedAt) << key;
    }

    const std::vector<SongSummary> songs = store->Songs();
    ASSERT_EQ(songs.size(), 3u);
    EXPECT_EQ(songs[0].Song.Key, "b") << "latest played first";
    EXPECT_EQ(songs[0].Best.Plays, 3);
    EXPECT_EQ(songs[1].Best.BestScore, 990000);
    EXPECT_EQ(songs[1].Best.PracticePlays, 1);

    const std::vector<PlayPoint> history = store->History("a");
    ASSERT_EQ(history.size(), 3u) << "the practice is not progress";
    EXPECT_EQ(history[0].PlayedAt, 10);
    EXPECT_EQ(history[2].Score, 990000);
    // 60 Perfect, 30 Great, 15 Good, 15 Miss of 120.
    EXPECT_DOUBLE_EQ(history[0].Accuracy, (3.0 * 60 + 2.0 * 30 + 15) / 360);
}

TEST_F(RecordsFolder, BringsAVersionOneFileUpToDate) {
    {
        TDatabaseOpenResult v1 = TDatabase::Open(Path, RecordsSchemaSteps().first(1));
        ASSERT_EQ(v1.Outcome, DatabaseOpen::Opened) << v1.Error;
        v1.Database->Execute("INSERT INTO songs VALUES(1, 'old', '/a.mid', 'Old', 1000, 1, 2, 3, 4, 5, 6, 7);"
                             "INSERT INTO plays VALUES(1, 1, 99, 0, 0, 100, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4321, "
                             "'C', 1, 2, 3, 4, 5, "
                             "0, 0);"
                             "INSERT INTO strikes VALUES(1, x'0a00');");
    }
    auto store = TRecordStore::Open(Path);
    ASSERT_EQ(store->State(), RecordsState::On) << store->Error();
    std::optional<PlayRecord> best = store->BestPlay("old", 0, 0, 100);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->Score, 4321);
    ASSERT_EQ(best->Strikes.size(), 1u);
    EXPECT_EQ(best->Strikes[0], (StrikeEntry{2, 0, 1}));
    TDatabaseOpenResult now = TDatabase::Open(Path, RecordsSchemaSteps());
    ASSERT_TRUE(now.Database);
    EXPECT_EQ(now.Database->UserVersion(), static_cast<std::int32_t>(RecordsSchemaSteps().size()));
    TStatement plan = now.Database->Prepare("EXPLAIN QUERY PLAN SELECT score FROM plays WHERE song_id = 1 "
                                            "AND practice_tempo = 0 AND play_time = 0 "
                                            "AND special = 0 AND speed = 100 ORDER BY score DESC LIMIT 1");
    std::string steps;
    while (plan.Step())
        steps += plan.Text(3) + "\n";
    EXPECT_NE(steps.find("plays_by_mode"), std::string::npos) << steps;
}

TEST_F(RecordsFolder, TellsThePlayerAboutADamagedOrNewerFileAndStaysOffForANewerOne) {
    { std::ofstream(Path) << std::string(2048, '?'); }
    auto store = TRecordStore::Open(Path);
    EXPECT_EQ(store->State(), RecordsState::Corrupt);
    EXPECT_TRUE(store->Enabled());
    EXPECT_EQ(store->NoticeTitle(), "記録ファイルを作り直しました");
    EXPECT_NE(store->NoticeDetail().find(store->MovedTo()), std::string::npos) << store->NoticeDetail();
    EXPECT_NE(store->NoticeDetail().find(Path + " "), std::string::npos) << store->NoticeDetail();
    EXPECT_GT(store->RecordPlay(Song("k"), Play("k", 1, 1)), 0);
    store.reset();

    {
        TDatabaseOpenResult opened = TDatabase::Open(Path, RecordsSchemaSteps());
        opened.Database->Execute("PRAGMA user_version = 99");
    }
    store = TRecordStore::Open(Path);
    EXPECT_EQ(store->State(), RecordsState::NewerVersion);
    EXPECT_FALSE(store->Enabled());
    EXPECT_EQ(store->NoticeTitle(), "記録を保存できません");
    EXPECT_NE(store->NoticeDetail().find(Path), std::string::npos);
    EXPECT_EQ(store->RecordPlay(Song("k"), Play("k", 1, 2)), 0);
    EXPECT_TRUE(store->AllBests().empty());
    EXPECT_TRUE(store->Songs().empty());
}

// Every play in the file is whole: its counts and every strike as written by WritePlays (its
// number is its score and its time). Returns how many plays the file holds.
std::int32_t WholePlays(const std::string& path) {
    auto store = TRecordStore::Open(path);
    EXPECT_EQ(store->State(), RecordsState::On) << store->Error();
    std::int32_t plays = 0;
    for (const auto& [key, best] : store->AllBests()) {
        plays += best.Plays;
        const std::optional<PlayRecord> last = store->LastPlay(key);
        EXPECT_TRUE(last);
        if (!last) continue;
        const PlayRecord expected = Play(key, last->Score, last->Score, 200 + last->Score % 700);
        EXPECT_EQ(last->Strikes, expected.Strikes) << "play " << last->Score;
    }
    // Every play has its strikes, all of them.
    TDatabaseOpenResult raw = TDatabase::Open(path, RecordsSchemaSteps());
    EXPECT_TRUE(raw.Database);
    if (!raw.Database) return plays;
    TStatement rows = raw.Database->Prepare("SELECT p.score, p.played_at, length(st.packed) FROM plays p "
                                            "LEFT JOIN strikes st ON st.play_id = p.id");
    std::int32_t rowCount = 0;
    while (rows.Step()) {
        ++rowCount;
        EXPECT_EQ(rows.Int(1), rows.Int(0));
        EXPECT_EQ(rows.Int(2), 2 * (200 + rows.Int(0) % 700)) << "play " << rows.Int(0);
    }
    EXPECT_EQ(rowCount, plays);
    return plays;
}

void WritePlay(TRecordStore& store, std::int32_t number) {
    const std::string key = "k" + std::to_string(number % 5);
    store.RecordPlay(Song(key), Play(key, number, number, 200 + number % 700));
}

// A child records plays as fast as it can and is killed with SIGKILL at random moments; after
// every kill each play in the file is whole: its counts and every strike as written.
TEST_F(RecordsFolder, AKilledWriterLeavesOnlyWholePlays) {
    std::mt19937 random(12345);
    std::int32_t next = 0;
    for (int round = 0; round < 8; ++round) {
        const pid_t writer = fork();
        if (writer == 0) {
            auto store = TRecordStore::Open(Path);
            for (std::int32_t score = next;; ++score)
                WritePlay(*store, score);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 120));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);

        const std::int32_t plays = WholePlays(Path);
        EXPECT_GE(plays, next) << "no play already there is lost";
        next = plays;
    }
    EXPECT_GT(next, 8) << "the writer got plays written between the kills";
}

// Where a child writing a play kills itself: after the song's row, the play's row, the strikes,
// or in the commit. Registered on every connection of the process; only a child sets the point.
std::string KillPoint;

void ReachPoint(sqlite3_context* context, int, sqlite3_value** values) {
    const auto* point = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
    if (point && KillPoint == point) raise(SIGKILL);
    sqlite3_result_null(context);
}

int ReachCommit(void*) {
    if (KillPoint == "commit") raise(SIGKILL);
    return 0;
}

int AddKillPoints(sqlite3* db, char**, const sqlite3_api_routines*) {
    sqlite3_create_function(db, "reach_point", 1, SQLITE_UTF8, nullptr, ReachPoint, nullptr, nullptr);
    sqlite3_commit_hook(db, ReachCommit, nullptr);
    return SQLITE_OK;
}

// A child writes a play and is killed at each step of the write in turn: afterwards the file
// holds every play before it, whole, and nothing of the one killed; one transaction or none.
TEST_F(RecordsFolder, AWriterKilledAtEachStepOfAPlayLeavesItWholeOrAbsent) {
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(AddKillPoints));
    {
        auto store = TRecordStore::Open(Path);
        WritePlay(*store, 0);
        WritePlay(*store, 1); // song k1 exists: its row is updated, not inserted
    }
    {
        TDatabaseOpenResult raw = TDatabase::Open(Path, RecordsSchemaSteps());
        ASSERT_TRUE(raw.Database);
        raw.Database->Execute(
            "CREATE TRIGGER song_added AFTER INSERT ON songs BEGIN SELECT reach_point('song'); END;"
            "CREATE TRIGGER song_updated AFTER UPDATE ON songs BEGIN SELECT reach_point('song'); END;"
            "CREATE TRIGGER play_added AFTER INSERT ON plays BEGIN SELECT reach_point('play'); END;"
            "CREATE TRIGGER strikes_added AFTER INSERT ON strikes BEGIN SELECT reach_point('strikes'); END;");
    }
    std::int32_t kept = 2;
    for (const char* point : {"song", "play", "strikes", "commit"}) {
        for (const std::int32_t number : {5, 6}) { // a new song, then one with its row already there
            const pid_t writer = fork();
            if (writer == 0) {
                KillPoint = point;
                auto store = TRecordStore::Open(Path);
                const std::string key = number == 5 ? "new" : "k1";
                store->RecordPlay(Song(key), Play(key, number, number, 200 + number % 700));
                _exit(0);
            }
            int status = 0;
            waitpid(writer, &status, 0);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                << point << ": the write never got there";
            EXPECT_EQ(WholePlays(Path), kept) << "killed at " << point;
        }
        {
            auto store = TRecordStore::Open(Path);
            WritePlay(*store, kept);
        }
        ++kept;
        EXPECT_EQ(WholePlays(Path), kept) << "written after a kill at " << point;
    }
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(AddKillPoints));
}

TEST_F(RecordsFolder, DamagePastTheFirstPageIsFoundWhenTheFileIsOpenedAndTheFileMovedAside) {
    struct Damage {
        const char* Where;
        char Byte;
    };
    for (const Damage damage : {Damage{"second", 0}, Damage{"last", 0}, Damage{"middle", '\xA5'}}) {
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        {
            auto store = TRecordStore::Open(Path);
            for (std::int32_t number = 0; number < 300; ++number)
                WritePlay(*store, number);
        }
        const std::string where = damage.Where;
        const std::uintmax_t pages = fs::file_size(Path) / 4096;
        ASSERT_GT(pages, 10u);
        const std::uintmax_t page = where == "second" ? 1 : where == "last" ? pages - 1 : pages / 2;
        {
            std::fstream file(Path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(static_cast<std::streamoff>(page * 4096));
            file << std::string(4096, damage.Byte);
        }
        std::ifstream before(Path, std::ios::binary);
        const std::string damagedBytes{std::istreambuf_iterator<char>(before), {}};

        auto store = TRecordStore::Open(Path);
        EXPECT_EQ(store->State(), RecordsState::Corrupt) << where << " page";
        EXPECT_EQ(store->NoticeTitle(), "記録ファイルを作り直しました");
        std::ifstream aside(store->MovedTo(), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), damagedBytes)
            << "the damaged file is kept as it was";
        EXPECT_GT(store->RecordPlay(Song("k"), Play("k", 1, 1)), 0) << where << " page";
    }
}

// Fills the file's disk for every connection opened while it lives: no page can be added.
class FullDisk {
public:
    FullDisk() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(Limit)); }
    ~FullDisk() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(Limit)); }

private:
    static int Limit(sqlite3* db, char**, const sqlite3_api_routines*) {
        // Never below the file's size: the limit becomes the pages it has.
        sqlite3_exec(db, "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
        return SQLITE_OK;
    }
};

TEST_F(RecordsFolder, AWriteThatFailsLeavesNothingAndSaysWhy) {
    { WritePlay(*TRecordStore::Open(Path), 0); }
    {
        FullDisk full;
        auto store = TRecordStore::Open(Path);
        ASSERT_EQ(store->State(), RecordsState::On) << store->Error();
        RecordWriteError error;
        EXPECT_EQ(store->RecordPlay(Song("new"), Play("new", 5, 5, 4000), &error), 0);
        EXPECT_EQ(error.Problem, WriteProblem::DiskFull) << error.Text;
        EXPECT_EQ(WriteProblemText(error), "ディスクがいっぱいです");
        EXPECT_EQ(store->RecordKeptPlay(Song("new"), Play("new", 5, 5, 4000), &error), 0);
        EXPECT_EQ(error.Problem, WriteProblem::DiskFull);
    }
    EXPECT_EQ(WholePlays(Path), 1);
    auto store = TRecordStore::Open(Path);
    EXPECT_FALSE(store->LastPlay("new")) << "not even the song's row";
    // A kept play already in the file is not written twice.
    const std::int64_t id = store->RecordPlay(Song("new"), Play("new", 5, 5, 400));
    ASSERT_GT(id, 0);
    EXPECT_EQ(store->RecordKeptPlay(Song("new"), Play("new", 5, 5, 400)), id);
    EXPECT_EQ(store->AllBests().at("new").Plays, 1);
}

TEST_F(RecordsFolder, AReadOnlyFileInAWritableFolderIsSaidToBeTheFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files; the refusal cannot be seen";
    { WritePlay(*TRecordStore::Open(Path), 0); }
    fs::permissions(Path, fs::perms::owner_read);
    auto store = TRecordStore::Open(Path);
    EXPECT_EQ(store->State(), RecordsState::ReadOnly);
    EXPECT_NE(store->NoticeDetail().find("ファイルが読み取り専用です"), std::string::npos)
        << store->NoticeDetail();
    EXPECT_EQ(store->NoticeDetail().find("フォルダ"), std::string::npos) << store->NoticeDetail();
}

} // namespace
} // namespace tamtara::testing
