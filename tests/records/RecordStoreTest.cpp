// The records on real files: a play with its strikes read back, bests per song and per mode,
// the launcher's list and a song's history, a version 1 file brought up to date, the notices of
// a damaged and a newer file, and a writer killed at random moments.
#include "records/RecordStore.h"
#include "database/Database.h"

#include <gtest/gtest.h>
#include <signal.h>
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
    const auto same = [](const PlayRecord& a, const PlayRecord& b) {
        return std::tie(a.Id, a.SongKey, a.PlayedAt, a.PlayTime, a.Special, a.Speed, a.HideLower, a.HideUpper,
                        a.Level, a.AutoLanes, a.Input, a.OffsetMs, a.PracticeTempo, a.LoopFromBar,
                        a.LoopToBar, a.Score, a.Rank, a.Perfect, a.Great, a.Good, a.Miss, a.MaxCombo,
                        a.Cleared, a.Failed, a.Strikes) ==
               std::tie(b.Id, b.SongKey, b.PlayedAt, b.PlayTime, b.Special, b.Speed, b.HideLower, b.HideUpper,
                        b.Level, b.AutoLanes, b.Input, b.OffsetMs, b.PracticeTempo, b.LoopFromBar,
                        b.LoopToBar, b.Score, b.Rank, b.Perfect, b.Great, b.Good, b.Miss, b.MaxCombo,
                        b.Cleared, b.Failed, b.Strikes);
    };
    EXPECT_TRUE(same(*back, play));

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
    EXPECT_TRUE(same(*back, practice));
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
                store->RecordPlay(Song("k" + std::to_string(score % 5)),
                                  Play("k" + std::to_string(score % 5), score, score, 200 + score % 700));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 120));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);

        auto store = TRecordStore::Open(Path);
        ASSERT_EQ(store->State(), RecordsState::On) << store->Error();
        std::int32_t plays = 0;
        for (const auto& [key, best] : store->AllBests()) {
            plays += best.Plays;
            // The play's number is its score and its time: what was written can be rebuilt.
            const std::optional<PlayRecord> last = store->LastPlay(key);
            ASSERT_TRUE(last);
            const PlayRecord expected = Play(key, last->Score, last->Score, 200 + last->Score % 700);
            EXPECT_EQ(last->Strikes, expected.Strikes) << "play " << last->Score;
        }
        // Every play has its strikes, all of them.
        TDatabaseOpenResult raw = TDatabase::Open(Path, RecordsSchemaSteps());
        ASSERT_TRUE(raw.Database);
        TStatement rows = raw.Database->Prepare("SELECT p.score, p.played_at, length(st.packed) FROM plays p "
                                                "LEFT JOIN strikes st ON st.play_id = p.id");
        std::int32_t rowCount = 0;
        while (rows.Step()) {
            ++rowCount;
            EXPECT_EQ(rows.Int(1), rows.Int(0));
            EXPECT_EQ(rows.Int(2), 2 * (200 + rows.Int(0) % 700)) << "play " << rows.Int(0);
        }
        EXPECT_EQ(rowCount, plays);
        EXPECT_GE(plays, next) << "no play already there is lost";
        next = plays;
    }
    EXPECT_GT(next, 8) << "the writer got plays written between the kills";
}

} // namespace
} // namespace tamtara::testing
