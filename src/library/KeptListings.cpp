// The kept listings in memory; the cache file reads and writes them through Restore and
// FinishScan (see LibraryCache).
#include "library/KeptListings.h"

#include <sys/stat.h>

#include <ctime>

namespace tamtara {

namespace {

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// Whether time lies more than the doubt before moment; computed without overflow, as a moment
// read from the cache file may be anything.
bool WellBefore(std::int64_t time, std::int64_t moment) {
    return time<moment&& static_cast<std::uint64_t>(moment) -
                static_cast<std::uint64_t>(time)> static_cast<std::uint64_t>(ListingDoubtNs);
}

} // namespace

bool ListingTrusted(const TDirectoryTimes& times, std::int64_t listedAtNs) {
    return WellBefore(times.ModifiedNs, listedAtNs) && WellBefore(times.ChangedNs, listedAtNs);
}

bool ReadDirectoryTimes(const std::string& directory, TDirectoryTimes& times) {
    struct stat status {};
    if (::stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
    times = {Nanoseconds(status.st_mtim), Nanoseconds(status.st_ctim)};
    return true;
}

std::int64_t WallClockNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

bool TKeptListings::Read(const std::string& directory, const TEntryFilter& worth,
                         std::vector<TDirectoryEntry>& entries) {
    // The times are taken before the listing: a change made while it is read then shows as a
    // change next time.
    TDirectoryTimes times;
    const bool timed = Source.Times(directory, times);
    const auto kept = Slots.find(directory);
    if (timed && kept != Slots.end() && kept->second.Listing.Times == times &&
        ListingTrusted(times, kept->second.Listing.ListedAtNs)) {
        kept->second.Used = true;
        ++Recalled;
        entries = kept->second.Listing.Entries;
        KeepOnly(entries, worth);
        return true;
    }
    ++Listed;
    if (!Source.List(directory, entries)) return false;
    KeepOnly(entries, worth);
    const std::int64_t listedAt = Source.NowNs();
    if (timed && ListingTrusted(times, listedAt))
        Slots.insert_or_assign(directory, Slot{TKeptListing{times, listedAt, entries}, true, true});
    return true;
}

void TKeptListings::Restore(const std::string& directory, TKeptListing listing) {
    Slots.insert_or_assign(directory, Slot{std::move(listing), false, false});
}

void TKeptListings::BeginScan() {
    Recalled = 0;
    Listed = 0;
    for (auto& [directory, slot] : Slots) {
        slot.Used = false;
        slot.Fresh = false;
    }
}

void TKeptListings::FinishScan(const std::function<void(const std::string&, const TKeptListing&)>& put,
                               const std::function<void(const std::string&)>& drop) {
    for (auto it = Slots.begin(); it != Slots.end();) {
        if (!it->second.Used) {
            drop(it->first);
            it = Slots.erase(it);
            continue;
        }
        if (it->second.Fresh) put(it->first, it->second.Listing);
        it->second.Fresh = false;
        ++it;
    }
}

} // namespace tamtara
