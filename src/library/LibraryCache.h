// What the library knows of every song, kept between runs: a song whose size and modification
// time are unchanged is answered from the cache instead of being read again, and a directory
// whose times are unchanged is not listed again (see TKeptListings). A cache that cannot be used
// is thrown away and started again; losing it only costs a slower scan.
#pragma once

#include "library/KeptListings.h"
#include "library/LibraryScan.h"
#include "library/SongFacts.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tamtara {

class TDatabase;
class TStatement;

// The name of the cache file in the cache folder.
inline constexpr const char* LibraryCacheFileName = "library.db";

class TLibraryCache {
public:
    // Opens the cache at path, making it when missing and remaking it when it is damaged or of
    // another version. Null when no cache can be kept there (the folder cannot be written).
    static std::unique_ptr<TLibraryCache> Open(const std::string& path);
    ~TLibraryCache();
    TLibraryCache(const TLibraryCache&) = delete;
    TLibraryCache& operator=(const TLibraryCache&) = delete;

    // Begins a scan and returns its reader over readSong: a song whose size and time match its entry is
    // answered from the cache; any other is read by readSong and its answer kept. What readSong raises passes
    // through, and the song's entry is dropped. extendedMap: the map readSong marks for.
    TSongReader Reader(TSongReader readSong, bool extendedMap);
    // The size and write time the scan's walk found for a song: the reader then need not ask
    // the file system again.
    void NoteStamp(const std::string& path, std::int64_t size, std::int64_t timeNs);
    // Ends a scan: drops the entries of songs it did not find and the listings it did not use,
    // and writes what changed.
    void FinishScan();

    // A song's facts when known for its current file under the given map.
    std::optional<SongFacts> Facts(const std::string& path, bool extendedMap) const;
    void StoreFacts(const std::string& path, const SongFacts& facts);

    // What the last scan did: songs answered from the cache, songs read.
    std::int32_t Hits = 0;
    std::int32_t Reads = 0;
    // The directories' listings, for the scan to use (see TLibraryScanParts).
    TKeptListings Listings;

private:
    struct Entry;
    explicit TLibraryCache(std::unique_ptr<TDatabase> database);
    void Load();
    void LoadListings();
    void WriteListings();
    void Write(TStatement& put, const std::string& path, const Entry& entry);

    std::unique_ptr<TDatabase> Database;
    std::unordered_map<std::string, Entry> Entries;
    std::unordered_map<std::string, std::pair<std::int64_t, std::int64_t>> Stamps;
    bool InScan = false;
};

} // namespace tamtara
