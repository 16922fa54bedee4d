// The pending-plays file: every field of a play comes back, a damaged line costs only itself, a
// file that is no file never blocks; and plays kept while the records could not be written get
// into them once they can, once each.
#include "records/PendingPlays.h"
#include "database/Database.h"
#include "records/SamePlay.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tamtara::testing {
namespace {

namespace fs = std::filesystem;

class PendingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        Folder =
            fs::temp_directory_path() / ("tamtara-pending-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        DbPath = (Folder / RecordsFileName).string();
        Path = PendingPlaysPath(DbPath);
    }
    void TearDown() override { fs::remove_all(Folder); }
    std::string Text() const {
        std::ifstream in(Path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Put(const std::string& text) const { std::ofstream(Path, std::ios::binary) << text; }

    fs::path Folder;
    std::string DbPath, Path;
};

PendingPlay Kept(std::int32_t score, const std::string& title = "曲") {
    PendingPlay kept;
    kept.Song = SongInfo{
        "key" + std::to_string(score % 3), "/songs/" + title + ".mid", title, 91000, {1, 2, 3, 4, 5, 6, 7}};
    PlayRecord& play = kept.Play;
    play.SongKey = kept.Song.Key;
    play.PlayedAt = 1765000000 + score;
    play.Score = score;
    play.Rank = "A";
    play.Perfect = score % 50;
    play.Miss = 2;
    play.Strikes = {{1, -20, 3}, {6, 1023, 0}, {0, -1023, 1}};
    return kept;
}

TEST_F(PendingFolder, EveryFieldOfAPlayComesBackThroughTheFile) {
    PendingPlay odd = Kept(7, "タブ\tと\n改行と\\と\rの題");
    PlayRecord& play = odd.Play;
    play.PlayTime = 2;
    play.Special = 1;
    play.Speed = 150;
    play.HideLower = true;
    play.HideUpper = true;
    play.Level = 5;
    play.AutoLanes = 0x7F;
    play.Input = InputKind::Kit;
    play.OffsetMs = -35;
    play.PracticeTempo = 65;
    play.LoopFromBar = 3;
    play.LoopToBar = 9;
    play.Great = 11;
    play.Good = 4;
    play.MaxCombo = 40;
    play.Cleared = true;
    play.Failed = true;
    odd.Song.LengthMs = 2000000000;
    const std::vector<PendingPlay> plays{odd, Kept(8)};
    ASSERT_EQ(WritePendingPlays(Path, plays), "");
    const std::string text = Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "a heading and one line a play";

    const PendingRead read = ReadPendingPlays(Path);
    EXPECT_EQ(read.Unreadable, 0);
    ASSERT_EQ(read.Plays.size(), 2u);
    const auto song = [](const SongInfo& s) {
        return std::tie(s.Key, s.LastPath, s.Title, s.LengthMs, s.LaneCounts);
    };
    EXPECT_EQ(song(read.Plays[0].Song), song(odd.Song));
    EXPECT_EQ(read.Plays[0].Song.Title, "タブ\tと\n改行と\\と\rの題");
    EXPECT_TRUE(SamePlay(read.Plays[0].Play, odd.Play));
    EXPECT_TRUE(SamePlay(read.Plays[1].Play, Kept(8).Play));

    // No plays: no file, and no temporary left beside it.
    ASSERT_EQ(WritePendingPlays(Path, {}), "");
    EXPECT_FALSE(fs::exists(Path));
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 0);
}

TEST_F(PendingFolder, ADamagedLineCostsOnlyItselfAndNothingBlocks) {
    const std::vector<PendingPlay> plays{Kept(1), Kept(2), Kept(3), Kept(4)};
    ASSERT_EQ(WritePendingPlays(Path, plays), "");
    std::string text = Text();
    // The second play's score changed by one digit, the third line's check torn, the last line
    // cut short, and a line of noise.
    const std::size_t second = text.find('\n', text.find('\n') + 1) + 1;
    const std::size_t third = text.find('\n', second) + 1;
    text[text.find("\t2\t", second) + 1] = '5';
    text[third] = 'z';
    text.resize(text.size() - 6);
    text.insert(third, "\x01\xff garbage without any fields\n");
    Put(text);
    PendingRead read = ReadPendingPlays(Path);
    ASSERT_EQ(read.Plays.size(), 1u);
    EXPECT_EQ(read.Plays[0].Play.Score, 1);
    EXPECT_EQ(read.Unreadable, 4);

    // A file that is no file: a pipe with no writer would hold a plain open for ever.
    fs::remove(Path);
    ASSERT_EQ(mkfifo(Path.c_str(), 0600), 0);
    read = ReadPendingPlays(Path);
    EXPECT_TRUE(read.Plays.empty());
    EXPECT_EQ(read.Unreadable, 1);
    fs::remove(Path);
    read = ReadPendingPlays(Path);
    EXPECT_EQ(read.Unreadable, 0) << "no file is no damage";
}

TEST_F(PendingFolder, KeptPlaysGetIntoTheRecordsOnceEachAndADamagedFileIsSetAside) {
    const auto Open = [this] { return TRecordStore::Open(DbPath); };
    TPendingPlays pending(DbPath);
    ASSERT_TRUE(pending.Keep(Kept(10)).InFile);
    ASSERT_TRUE(pending.Keep(Kept(11)).InFile);
    EXPECT_EQ(ReadPendingPlays(Path).Plays.size(), 2u);
    // Records that cannot be written keep both waiting, in order.
    fs::create_directories(Folder / "newer");
    const std::string newer = (Folder / "newer" / RecordsFileName).string();
    TRecordStore::Open(newer).reset();
    {
        TDatabaseOpenResult bump = TDatabase::Open(newer, RecordsSchemaSteps());
        bump.Database->Execute("PRAGMA user_version = 99");
    }
    const TPendingPlays::FlushResult refused = pending.Flush(*TRecordStore::Open(newer));
    EXPECT_EQ(refused.Written, 0);
    EXPECT_EQ(refused.Remaining, 2);
    EXPECT_EQ(refused.Error.Problem, WriteProblem::RecordsOff);
    EXPECT_TRUE(pending.Waiting());
    ASSERT_EQ(ReadPendingPlays(Path).Plays.size(), 2u);
    EXPECT_EQ(ReadPendingPlays(Path).Plays[1].Play.Score, 11);

    // Killed after the first was written into the records but before the file was rewritten:
    // the next session finds it in both and writes it once.
    {
        auto store = Open();
        ASSERT_GT(store->RecordPlay(Kept(10).Song, Kept(10).Play), 0);
    }
    {
        auto store = Open();
        TPendingPlays next(DbPath);
        EXPECT_TRUE(next.Waiting());
        const TPendingPlays::FlushResult flushed = next.Flush(*store);
        EXPECT_EQ(flushed.Written, 2);
        EXPECT_EQ(flushed.Remaining, 0);
        EXPECT_FALSE(next.Waiting());
        EXPECT_FALSE(fs::exists(Path));
        const auto bests = store->AllBests();
        EXPECT_EQ(bests.at("key1").Plays + bests.at("key2").Plays, 2) << "each play once";
    }

    // A file with a damaged line: the readable play is written, the file kept aside whole.
    ASSERT_EQ(WritePendingPlays(Path, std::vector<PendingPlay>{Kept(12)}), "");
    std::ofstream(Path, std::ios::app) << "0badf00d not a play\n";
    const std::string damaged = Text();
    auto store = Open();
    TPendingPlays next(DbPath);
    const TPendingPlays::FlushResult flushed = next.Flush(*store);
    EXPECT_EQ(flushed.Written, 1);
    EXPECT_EQ(flushed.Unreadable, 1);
    ASSERT_FALSE(flushed.DamagedMovedTo.empty());
    std::ifstream aside(flushed.DamagedMovedTo, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), damaged);
    EXPECT_EQ(store->AllBests().at("key0").Plays, 1);
}

} // namespace
} // namespace tamtara::testing
