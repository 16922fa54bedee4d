// The library cache: a cached scan answers exactly what an uncached one does as the tree changes,
// reads only what changed, forgets what vanished, and starts again from a file it cannot use.
#include "database/Database.h"
#include "library/SongLibrary.h"
#include "midi/DrumMap.h"

#include "ScanResult.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tamtara {
namespace {

using testing::ExpectSame;
using testing::Result;
using testing::ScanResult;
using testing::TempTree;

// A modification time that differs from the file's present one whatever the clock's grain.
void Touch(const std::string& path) {
    const auto time = std::filesystem::last_write_time(path);
    std::filesystem::last_write_time(path, time + std::chrono::seconds(5));
}

class LibraryCacheTest : public ::testing::Test {
protected:
    TempTree Songs{"-songs"};
    TempTree CacheFolder{"-cache"};
    std::string CacheFile = CacheFolder.Path("library.db");

    // A fresh library over the cache file, as a new start of the game makes one.
    // The map the scans mark the songs for.
    LaneMap Lanes = LaneMap::Standard();

    ScanResult CachedScan(std::int32_t* reads = nullptr) {
        TSongLibrary library;
        library.Lanes = Lanes;
        EXPECT_TRUE(library.UseCache(CacheFile));
        library.Scan(std::vector<std::string>{Songs.Path("a"), Songs.Path("b")});
        if (reads) *reads = library.Cache->Reads;
        return Result(library);
    }
    ScanResult UncachedScan() {
        TSongLibrary library;
        library.Lanes = Lanes;
        library.Scan(std::vector<std::string>{Songs.Path("a"), Songs.Path("b")});
        return Result(library);
    }
};

TEST_F(LibraryCacheTest, CachedScanEqualsUncachedThroughTouchAddRemoveAndRename) {
    Songs.Song("a/rock/one.mid", "One");
    Songs.Song("a/rock/two.mid", "Two");
    Songs.Song("a/jazz/three.mid", "Three");
    Songs.Song("b/rock/four.mid", "Four"); // same subfolder name in another root
    Songs.File("a/rock/broken.mid", {'n', 'o', 'p', 'e'});
    Songs.File("b/empty.mid", {});
    std::int32_t reads = -1;

    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 6);
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 0);

    // Rewritten with another title of the same length: only the time tells.
    Songs.Song("a/rock/two.mid", "Owt");
    Touch(Songs.Path("a/rock/two.mid"));
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(CachedScan().SongTitles, UncachedScan().SongTitles);

    // Rewritten with a longer title and its time put back, as a copy that keeps times or a
    // file system with coarse times leaves it: only the size tells.
    const std::string two = Songs.Path("a/rock/two.mid");
    const auto twoTime = std::filesystem::last_write_time(two);
    Songs.Song("a/rock/two.mid", "Owt, longer");
    std::filesystem::last_write_time(two, twoTime);
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 1);

    const std::string three = Songs.Path("a/jazz/three.mid");
    const auto threeTime = std::filesystem::last_write_time(three);
    Songs.Song("b/new/five.mid", "Five");
    std::filesystem::remove(three);
    std::filesystem::rename(Songs.Path("a/rock/one.mid"), Songs.Path("b/rock/uno.mid"));
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 2); // five and uno

    // A removed song leaves no entry behind: put back with the same size and time, it is read.
    Songs.Song("a/jazz/three.mid", "Three");
    std::filesystem::last_write_time(three, threeTime);
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 1);
}

TEST_F(LibraryCacheTest, AFailedReadIsNotKeptAndIsReadAgain) {
    Songs.Song("a/x.mid", "X");
    Songs.Dir("b");
    int calls = 0;
    const TSongReader failing = [&calls](const std::string&) -> ScannedSong {
        ++calls;
        throw std::runtime_error("device busy");
    };
    for (int run = 0; run < 2; ++run) {
        TSongLibrary library;
        ASSERT_TRUE(library.UseCache(CacheFile));
        library.Scan(std::vector<std::string>{Songs.Path("a"), Songs.Path("b")}, {}, failing);
        ASSERT_EQ(library.SongChecks.size(), 1u);
        EXPECT_EQ(library.SongChecks[0].Problem, "device busy");
    }
    EXPECT_EQ(calls, 2);
    std::int32_t reads = -1;
    EXPECT_EQ(CachedScan(&reads).SongTitles, std::vector<std::string>{"X"});
    EXPECT_EQ(reads, 1);
}

TEST_F(LibraryCacheTest, FactsAreKeptPerMapAndForgottenWhenTheSongChanges) {
    Songs.Song("a/x.mid", "X");
    Songs.Dir("b");
    const std::string song = Songs.Path("a/x.mid");
    double rated = -1;
    {
        TSongLibrary library;
        ASSERT_TRUE(library.UseCache(CacheFile));
        library.Scan(std::vector<std::string>{Songs.Path("a"), Songs.Path("b")});
        // Read on a thread of its own: nothing yet, then the rating once the read is over.
        EXPECT_FALSE(library.Difficulty(song).has_value());
        library.FinishDifficultyRead();
        rated = library.Difficulty(song).value_or(-1);
        EXPECT_GT(rated, 0.0);
    }
    TSongLibrary library;
    ASSERT_TRUE(library.UseCache(CacheFile));
    library.Scan(std::vector<std::string>{Songs.Path("a"), Songs.Path("b")});
    const std::optional<SongFacts> kept = library.Cache->Facts(song, false);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->DifficultyTenths / 10.0, rated);
    // Known from the cache at once, without a read.
    EXPECT_EQ(library.Difficulty(song), rated);
    EXPECT_EQ(kept->LaneCounts[2], 1); // the one kick
    EXPECT_EQ(kept->DrumKey.size(), 64u);
    EXPECT_EQ(kept->LengthMs, 500); // 96 ticks at 120 bpm, 96 per quarter
    EXPECT_FALSE(library.Cache->Facts(song, true).has_value());

    Touch(song);
    library.Scan(std::vector<std::string>{Songs.Path("a"), Songs.Path("b")});
    EXPECT_FALSE(library.Cache->Facts(song, false).has_value());
}

TEST_F(LibraryCacheTest, ADamagedOrForeignCacheIsMadeAgainWithoutATrace) {
    Songs.Song("a/x.mid", "X");
    Songs.Dir("b");
    {
        std::ofstream out(CacheFile, std::ios::binary);
        out << std::string(8192, 'z');
    }
    std::int32_t reads = -1;
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 1);
    CachedScan(&reads);
    EXPECT_EQ(reads, 0);

    // A database left by a later version of the game.
    const char* const oneStep[] = {"SELECT 1"};
    std::filesystem::remove(CacheFile);
    {
        TDatabaseOpenResult opened = TDatabase::Open(CacheFile, oneStep);
        ASSERT_TRUE(opened.Database);
        opened.Database->Execute("PRAGMA user_version = 99");
    }
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 1);

    // A database of version 1 with another table of the same name.
    std::filesystem::remove(CacheFile);
    {
        TDatabaseOpenResult opened = TDatabase::Open(CacheFile, oneStep);
        ASSERT_TRUE(opened.Database);
        opened.Database->Execute("CREATE TABLE songs (x)");
    }
    ExpectSame(CachedScan(&reads), UncachedScan());
    EXPECT_EQ(reads, 1);

    for (const auto& entry : std::filesystem::directory_iterator(CacheFolder.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind("library.db", 0), 0u) << entry.path();
    for (const auto& entry : std::filesystem::directory_iterator(CacheFolder.Path()))
        EXPECT_EQ(entry.path().filename().string().find("corrupt"), std::string::npos) << entry.path();
}

TEST_F(LibraryCacheTest, ASongsMarkFollowsTheLaneMapOfTheScan) {
    Songs.Song("a/kick.mid", "Kick");
    Songs.Song("a/ride.mid", "Ride", 51); // a lane's note under the extended map only
    Songs.Dir("b");
    std::int32_t reads = -1;
    const auto scanUnder = [&](bool extended) {
        Lanes = LaneMap::Chosen(extended);
        const ScanResult cached = CachedScan(&reads);
        ExpectSame(cached, UncachedScan());
        return cached.Marks;
    };
    const std::vector<std::string> standard = scanUnder(false);
    EXPECT_EQ(reads, 2);
    EXPECT_NE(standard[0], standard[1]);
    // Only the song whose mark may differ is read again, each way.
    EXPECT_EQ(scanUnder(true), (std::vector<std::string>{standard[0], standard[0]}));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(scanUnder(false), standard);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(scanUnder(false), standard);
    EXPECT_EQ(reads, 0);
}

TEST_F(LibraryCacheTest, NoCacheWhereNoneCanBeWritten) {
    TSongLibrary library;
    EXPECT_FALSE(library.UseCache(CacheFolder.Path("missing/folder/library.db")));
    Songs.Song("a/x.mid", "X");
    Songs.Dir("b");
    library.Scan(std::vector<std::string>{Songs.Path("a"), Songs.Path("b")});
    EXPECT_EQ(library.SongTitles, std::vector<std::string>{"X"});
}

} // namespace
} // namespace tamtara
