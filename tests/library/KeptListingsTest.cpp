// Listings kept in the library cache: a rescan lists only the directories whose times changed,
// sees every song added, removed or renamed at any depth, doubts a listing made within seconds
// of its directory's times, and lists again whatever the cache file cannot vouch for. Which
// directories a scan lists is seen through the cache's listing source, which counts them.
#include "library/KeptListingRecord.h"
#include "library/SongLibrary.h"

#include "ScanResult.h"
#include "TempTree.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

namespace tamtara {
namespace {

using testing::ExpectSame;
using testing::Result;
using testing::ScanResult;
using testing::TempTree;

constexpr std::int64_t Second = 1'000'000'000;

using Names = std::vector<std::string>;

// Runs sql on the cache file as it is, as a hand with a database tool would.
void EditCache(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : bytes)
        text += {digits[byte >> 4], digits[byte & 15]};
    return text;
}

class KeptListingsTest : public ::testing::Test {
protected:
    TempTree Songs{"-songs"};
    TempTree CacheFolder{"-cache"};
    std::string CacheFile = CacheFolder.Path("library.db");

    // The moment of the next scan; by default well after the tree was made, so that its
    // listings are trusted.
    const std::int64_t Moment = WallClockNs() + 10 * Second;
    std::function<std::int64_t()> Now = [this] { return Moment; };
    // The directories' times as the next scan sees them.
    std::function<bool(const std::string&, TDirectoryTimes&)> Times = ReadDirectoryTimes;
    // What the last scan listed, relative to the tree and sorted ("." the tree itself).
    Names Listed;
    std::int32_t Recalled = -1;
    std::int32_t Reads = -1;

    void SetUp() override {
        Songs.Song("rock/one.mid", "One");
        Songs.Song("rock/deep/two.mid", "Two");
        Songs.Song("jazz/three.mid", "Three");
        Songs.File("misc/notes.txt", {'x'});
    }

    // A fresh library over the cache file, as a new start of the game makes one.
    ScanResult Scan() {
        TSongLibrary library;
        EXPECT_TRUE(library.UseCache(CacheFile));
        TListingSource& source = library.Cache->Listings.Source;
        Listed.clear();
        source.List = [this](const std::string& directory, std::vector<TDirectoryEntry>& entries) {
            const std::string relative = directory.substr(Songs.Path().size());
            Listed.push_back(relative.empty() ? "." : relative.substr(1));
            return ReadDirectory(directory, entries);
        };
        source.NowNs = Now;
        source.Times = Times;
        library.Scan(Songs.Path());
        std::sort(Listed.begin(), Listed.end());
        Recalled = library.Cache->Listings.Recalled;
        Reads = library.Cache->Reads;
        // The scan's moment is set ahead of the real clock, so a change the test makes next must
        // still give its directory times that differ from those listed: the kernel stamps them
        // from a clock that moves in ticks of up to 10 ms.
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        return Result(library);
    }
    // The same scan without the cache, straight from the file system.
    ScanResult Uncached() {
        TSongLibrary library;
        library.Scan(Songs.Path());
        return Result(library);
    }
    void ExpectScanLists(const Names& listed) {
        ExpectSame(Scan(), Uncached());
        EXPECT_EQ(Listed, listed);
    }
    TDirectoryTimes TimesOf(const std::string& relative) {
        TDirectoryTimes times;
        EXPECT_TRUE(ReadDirectoryTimes(Songs.Path(relative), times));
        return times;
    }
    // The latest time of any directory of the tree.
    std::int64_t NewestTime() {
        std::int64_t newest = 0;
        for (const char* folder : {"", "rock", "rock/deep", "jazz", "misc"}) {
            const TDirectoryTimes times = TimesOf(folder);
            newest = std::max({newest, times.ModifiedNs, times.ChangedNs});
        }
        return newest;
    }
};

const Names Everything{".", "jazz", "misc", "rock", "rock/deep"};

TEST_F(KeptListingsTest, AnUnchangedTreeIsNotListedAgain) {
    ExpectScanLists(Everything);
    ExpectScanLists({});
    EXPECT_EQ(Recalled, 5);
    ExpectScanLists({});
}

TEST_F(KeptListingsTest, SongsAndFoldersAddedAtAnyDepthAreFound) {
    Scan();
    // Below a folder whose own times stay as they were.
    Songs.Song("rock/deep/added.mid", "Added");
    ExpectScanLists({"rock/deep"});
    EXPECT_EQ(Scan().SongTitles.size(), 4u);

    Songs.Song("jazz/new/five.mid", "Five");
    ExpectScanLists({"jazz", "jazz/new"});
    ExpectScanLists({});
}

TEST_F(KeptListingsTest, RemovedAndRenamedSongsAndFoldersAreSeen) {
    Scan();
    std::filesystem::remove(Songs.Path("rock/one.mid"));
    ExpectScanLists({"rock"});

    std::filesystem::rename(Songs.Path("jazz/three.mid"), Songs.Path("jazz/drei.mid"));
    ExpectScanLists({"jazz"});

    // The renamed folder is a directory never listed under its new name.
    std::filesystem::rename(Songs.Path("rock/deep"), Songs.Path("rock/tief"));
    ExpectScanLists({"rock", "rock/tief"});

    std::filesystem::remove_all(Songs.Path("misc"));
    ExpectScanLists({"."});
    ExpectScanLists({});
    EXPECT_EQ(Recalled, 4);
}

TEST_F(KeptListingsTest, TheChangeTimeTellsWhenTheModificationTimeIsPutBack) {
    Scan();
    const std::string rock = Songs.Path("rock");
    const TDirectoryTimes before = TimesOf("rock");
    Songs.Song("rock/added.mid", "Added");
    // As a copy that keeps times leaves a folder: only its change time moved.
    const timespec times[2] = {{0, UTIME_OMIT}, {before.ModifiedNs / Second, before.ModifiedNs % Second}};
    ASSERT_EQ(utimensat(AT_FDCWD, rock.c_str(), times, 0), 0);
    ASSERT_EQ(TimesOf("rock").ModifiedNs, before.ModifiedNs);
    ExpectScanLists({"rock"});
}

TEST_F(KeptListingsTest, AListingMadeWithinSecondsOfItsDirectorysTimesIsMadeAgainNextTime) {
    const std::int64_t newest = NewestTime();
    Now = [newest] { return newest + Second; };
    ExpectScanLists(Everything);
    Now = [newest] { return newest + 2 * Second + Second / 2; };
    ExpectScanLists(Everything);
    // A clock behind the file system's (a file server's times run ahead): doubted too.
    Now = [newest] { return newest - 60 * Second; };
    ExpectScanLists(Everything);
    Now = [newest] { return newest + 3 * Second + Second / 2; };
    ExpectScanLists(Everything);
    ExpectScanLists({});
}

// A file system that keeps times to 2 seconds (as FAT does) gives every change made within one
// 2-second step the same time. Such a file system cannot be mounted here without privileges, so
// its times are simulated through the listing source: every directory shows the step's time.
TEST_F(KeptListingsTest, ASongAddedInTheSameSecondOnACoarseFileSystemIsFound) {
    const std::int64_t step = NewestTime() / (2 * Second) * (2 * Second) + 20 * Second;
    std::int64_t shown = step;
    Times = [&shown](const std::string&, TDirectoryTimes& times) {
        times = {shown, shown};
        return true;
    };
    Now = [step] { return step + Second / 2; };
    ExpectScanLists(Everything);
    // Within the same second, the added song leaves the folder's time as it was.
    Songs.Song("rock/added.mid", "Added");
    Now = [step] { return step + Second; };
    ExpectScanLists(Everything);
    EXPECT_EQ(Scan().SongTitles.size(), 4u);

    Now = [step] { return step + 10 * Second; };
    ExpectScanLists(Everything);
    ExpectScanLists({});
    // The next step's time, once the change comes later.
    Songs.Song("rock/later.mid", "Later");
    shown = step + 10 * Second;
    Now = [step] { return step + 20 * Second; };
    ExpectScanLists(Everything);
    EXPECT_EQ(Scan().SongTitles.size(), 5u);
}

TEST_F(KeptListingsTest, ARowChangedByHandOrACacheFromBeforeListsAgain) {
    Scan();
    Songs.Song("rock/added.mid", "Added");
    // The folder's new times written over the old, as if it had not changed since.
    const TDirectoryTimes rock = TimesOf("rock");
    EditCache(CacheFile, "UPDATE folders SET mtime_ns = " + std::to_string(rock.ModifiedNs) +
                             ", ctime_ns = " + std::to_string(rock.ChangedNs) + " WHERE path = '" +
                             Songs.Path("rock") + "'");
    // Entries no listing gives, under a check that matches them.
    const std::vector<std::uint8_t> garbage{0, 2, 0, '.', '.', 7, 1};
    const std::int64_t check = ListingCheck(Songs.Path("jazz"), {TimesOf("jazz"), Moment, {}}, garbage);
    EditCache(CacheFile, "UPDATE folders SET entries = X'" + Hex(garbage) + "', row_check = " +
                             std::to_string(check) + " WHERE path = '" + Songs.Path("jazz") + "'");
    ExpectScanLists({"jazz", "rock"});
    ExpectScanLists({});

    // A cache from before listings were kept: its songs stay, every directory is listed once.
    EditCache(CacheFile, "DROP TABLE folders; PRAGMA user_version = 2");
    ExpectScanLists(Everything);
    EXPECT_EQ(Reads, 0);
    ExpectScanLists({});
}

} // namespace
} // namespace tamtara
