// Directory listings kept from one scan to the next. Adding, removing or renaming an entry
// changes its directory's modification time, and any change to the directory its change time,
// which no program can set back: a directory whose two times are still those it had when it was
// listed holds what it held then, and is not listed again. Its subdirectories are still visited
// and judged by their own times, since what happens inside a subdirectory leaves its parent's
// times alone.
#pragma once

#include "library/DirectoryListing.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tamtara {

// A directory's modification and change times (st_mtim and st_ctim), in nanoseconds since 1970.
struct TDirectoryTimes {
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;
    bool operator==(const TDirectoryTimes&) const = default;
};

// How long before the moment of its listing a directory's times must lie for the listing to be
// believed later. A file system that keeps times to 2 seconds gives a change made just after the
// listing the very time the directory already had, and a file server's clock may run a little
// apart from ours; such a listing counts as unknown and the directory is listed again next time.
inline constexpr std::int64_t ListingDoubtNs = 3'000'000'000;

// Whether a listing made at listedAtNs of a directory with these times can be believed once the
// times are found unchanged: both times lie more than ListingDoubtNs before the listing (a time
// after it, from a clock running ahead, is doubted too).
bool ListingTrusted(const TDirectoryTimes& times, std::int64_t listedAtNs);

// The times of directory (symbolic links followed); false when it cannot be looked at.
bool ReadDirectoryTimes(const std::string& directory, TDirectoryTimes& times);
// Nanoseconds since 1970 on the system's wall clock, the clock directory times are kept in.
std::int64_t WallClockNs();

// Where listings, directory times and the present moment come from: the file system and the
// wall clock, or a test's stand-ins.
struct TListingSource {
    std::function<bool(const std::string&, TDirectoryTimes&)> Times = ReadDirectoryTimes;
    std::function<bool(const std::string&, std::vector<TDirectoryEntry>&)> List = ReadDirectory;
    std::function<std::int64_t()> NowNs = WallClockNs;
};

// One directory's listing as kept: its times before it was listed, the moment the listing ended
// and the entries worth keeping.
struct TKeptListing {
    TDirectoryTimes Times;
    std::int64_t ListedAtNs = 0;
    std::vector<TDirectoryEntry> Entries;
};

class TKeptListings {
public:
    // The entries of directory that worth accepts (all when worth is empty), in listing order:
    // those kept when the directory's times are unchanged and the kept listing is trusted, else
    // listed now and kept when trusted. False, and no entries, when it cannot be listed.
    bool Read(const std::string& directory, const TEntryFilter& worth, std::vector<TDirectoryEntry>& entries);

    // A listing from the cache file; it counts as unchanged since.
    void Restore(const std::string& directory, TKeptListing listing);
    // Starts a scan: no kept listing is in use yet.
    void BeginScan();
    // Ends a scan: put receives every listing made during it, drop every directory whose kept
    // listing it did not use (gone, changed past trust or no longer searched), which is
    // forgotten.
    void FinishScan(const std::function<void(const std::string&, const TKeptListing&)>& put,
                    const std::function<void(const std::string&)>& drop);

    TListingSource Source;
    // Directories of the scan under way or last ended: answered from kept listings, and listed.
    std::int32_t Recalled = 0;
    std::int32_t Listed = 0;

private:
    struct Slot {
        TKeptListing Listing;
        bool Used = false;  // answered or listed in the scan under way
        bool Fresh = false; // listed in the scan under way, to be written
    };
    std::unordered_map<std::string, Slot> Slots;
};

} // namespace tamtara
