// The cache is one table keyed by path, read whole when opened: a scan then answers an unchanged
// song with one stat and a look-up in memory, and writes only what changed, in one transaction.
#include "library/LibraryCache.h"

#include "database/Database.h"
#include "library/KeptListingRecord.h"
#include "midi/DrumMap.h"

#include <sys/stat.h>

#include <cstdio>
#include <iostream>

namespace tamtara {

namespace {

// The schema; a file of any other version is made again rather than migrated.
constexpr const char* CacheSteps[] = {
    "CREATE TABLE songs ("
    " path TEXT PRIMARY KEY, size INTEGER NOT NULL, mtime_ns INTEGER NOT NULL,"
    " title BLOB NOT NULL, mark INTEGER NOT NULL, problem TEXT NOT NULL,"
    " facts_map INTEGER, lane_counts BLOB, length_ms INTEGER, difficulty_tenths INTEGER, drum_key TEXT"
    ") WITHOUT ROWID;",
    // The lane map the mark was taken under: a song of ride cymbals alone has no drum notes for
    // the game's own table but plays with the extended map. The rows before it cannot tell.
    "ALTER TABLE songs ADD COLUMN mark_map INTEGER NOT NULL DEFAULT 0; DELETE FROM songs;",
    // Each directory's listing with its times (see TKeptListings, KeptListingRecord). A cache
    // from before has none: every directory is listed once more.
    "CREATE TABLE folders ("
    " path TEXT PRIMARY KEY, mtime_ns INTEGER NOT NULL, ctime_ns INTEGER NOT NULL,"
    " listed_ns INTEGER NOT NULL, entries BLOB NOT NULL, row_check INTEGER NOT NULL"
    ") WITHOUT ROWID;"};

constexpr const char* PutSql =
    "INSERT OR REPLACE INTO songs (path, size, mtime_ns, title, mark, problem, facts_map, lane_counts,"
    " length_ms, difficulty_tenths, drum_key, mark_map) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

struct FileStamp {
    bool Found = false;
    std::int64_t Size = 0;
    std::int64_t TimeNs = 0;
};

FileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::vector<std::uint8_t> PackCounts(const std::array<std::int32_t, 7>& counts) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t count : counts)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> shift));
    return bytes;
}

std::array<std::int32_t, 7> UnpackCounts(std::span<const std::uint8_t> bytes) {
    std::array<std::int32_t, 7> counts{};
    if (bytes.size() != counts.size() * 4) return counts;
    for (std::size_t lane = 0; lane < counts.size(); ++lane) {
        std::uint32_t value = 0;
        for (int b = 3; b >= 0; --b)
            value = value << 8 | bytes[lane * 4 + static_cast<std::size_t>(b)];
        counts[lane] = static_cast<std::int32_t>(value);
    }
    return counts;
}

// A damaged or foreign cache file, and what SQLite keeps beside it, goes without a trace.
void RemoveCacheFiles(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm"})
        std::remove((path + suffix).c_str());
}

} // namespace

struct TLibraryCache::Entry {
    std::int64_t Size = 0;
    std::int64_t TimeNs = 0;
    ScannedSong Song;
    std::optional<SongFacts> Facts;
    bool Seen = false;  // found by the scan under way
    bool Dirty = false; // to be written
    // The song was checked under the extended lane map.
    bool MarkExtended = false;
};

namespace {

// Whether a song's mark, taken under one lane map, holds under the map now in force. The
// extended map only adds notes: drums under the table are drums under it, and no drums under
// it are none under the table. Timing problems do not depend on the map.
bool MarkHolds(const ScannedSong& song, bool markExtended, bool extendedNow) {
    if (markExtended == extendedNow || song.Check.Mark == SongMark::Unplayable) return true;
    return extendedNow ? song.Check.Mark != SongMark::NoDrumNotes : song.Check.Mark != SongMark::Playable;
}

} // namespace

std::unique_ptr<TLibraryCache> TLibraryCache::Open(const std::string& path) {
    TDatabaseOptions options;
    options.BusyMs = 200;
    options.CacheKiB = 4096;
    TDatabaseOpenResult opened = TDatabase::Open(path, CacheSteps, options);
    if (opened.Outcome == DatabaseOpen::Corrupt) {
        RemoveCacheFiles(opened.MovedTo);
    } else if (opened.Outcome == DatabaseOpen::NewerVersion) {
        RemoveCacheFiles(path);
        opened = TDatabase::Open(path, CacheSteps, options);
    }
    if (!opened.Database) return nullptr;
    std::unique_ptr<TLibraryCache> cache(new TLibraryCache(std::move(opened.Database)));
    try {
        cache->Load();
    } catch (const EDatabaseError&) {
        // Readable as a database but not as ours: start again.
        cache.reset();
        RemoveCacheFiles(path);
        opened = TDatabase::Open(path, CacheSteps, options);
        if (!opened.Database) return nullptr;
        cache.reset(new TLibraryCache(std::move(opened.Database)));
    }
    return cache;
}

TLibraryCache::TLibraryCache(std::unique_ptr<TDatabase> database) : Database(std::move(database)) {}

TLibraryCache::~TLibraryCache() = default;

void TLibraryCache::Load() {
    TStatement rows = Database->Prepare("SELECT path, size, mtime_ns, title, mark, problem, facts_map, "
                                        "lane_counts, length_ms, difficulty_tenths,"
                                        " drum_key, mark_map FROM songs");
    while (rows.Step()) {
        Entry entry;
        entry.Size = rows.Int(1);
        entry.TimeNs = rows.Int(2);
        const std::span<const std::uint8_t> title = rows.Blob(3);
        entry.Song.Title.assign(title.begin(), title.end());
        const std::int64_t mark = rows.Int(4);
        if (mark < 0 || mark > static_cast<std::int64_t>(SongMark::NoDrumNotes)) continue;
        entry.Song.Check = SongCheck{static_cast<SongMark>(mark), rows.Text(5)};
        entry.MarkExtended = rows.Int(11) != 0;
        if (!rows.IsNull(6)) {
            SongFacts facts;
            facts.ExtendedMap = rows.Int(6) != 0;
            facts.LaneCounts = UnpackCounts(rows.Blob(7));
            facts.LengthMs = static_cast<std::int32_t>(rows.Int(8));
            facts.DifficultyTenths = static_cast<std::int32_t>(rows.Int(9));
            facts.DrumKey = rows.Text(10);
            entry.Facts = std::move(facts);
        }
        Entries.emplace(rows.Text(0), std::move(entry));
    }
    LoadListings();
}

// A row that does not check is left out: its directory is listed again and the row replaced.
void TLibraryCache::LoadListings() {
    TStatement rows =
        Database->Prepare("SELECT path, mtime_ns, ctime_ns, listed_ns, entries, row_check FROM folders");
    while (rows.Step()) {
        const std::string directory = rows.Text(0);
        TKeptListing listing{{rows.Int(1), rows.Int(2)}, rows.Int(3), {}};
        const std::span<const std::uint8_t> packed = rows.Blob(4);
        if (ListingCheck(directory, listing, packed) != rows.Int(5)) continue;
        if (!UnpackEntries(packed, listing.Entries)) continue;
        Listings.Restore(directory, std::move(listing));
    }
}

TSongReader TLibraryCache::Reader(TSongReader readSong, bool extendedMap) {
    Hits = 0;
    Reads = 0;
    Stamps.clear();
    for (auto& [path, entry] : Entries)
        entry.Seen = false;
    Listings.BeginScan();
    InScan = true;
    return [this, readSong = std::move(readSong), extendedMap](const std::string& path) {
        const auto noted = Stamps.find(path);
        const FileStamp stamp = noted != Stamps.end()
                                    ? FileStamp{true, noted->second.first, noted->second.second}
                                    : StampOf(path);
        const auto known = Entries.find(path);
        if (stamp.Found && known != Entries.end() && known->second.Size == stamp.Size &&
            known->second.TimeNs == stamp.TimeNs &&
            MarkHolds(known->second.Song, known->second.MarkExtended, extendedMap)) {
            ++Hits;
            known->second.Seen = true;
            return known->second.Song;
        }
        ++Reads;
        // Not kept until the read has answered: a song that raises is read again next time.
        if (known != Entries.end()) known->second.Seen = false;
        ScannedSong song = readSong(path);
        if (stamp.Found) {
            Entry& entry = Entries[path];
            entry = Entry{stamp.Size, stamp.TimeNs, song, std::nullopt, true, true, extendedMap};
        }
        return song;
    };
}

void TLibraryCache::NoteStamp(const std::string& path, std::int64_t size, std::int64_t timeNs) {
    Stamps.insert_or_assign(path, std::make_pair(size, timeNs));
}

void TLibraryCache::FinishScan() {
    if (!InScan) return;
    InScan = false;
    Stamps.clear();
    try {
        TTransaction transaction(*Database);
        TStatement drop = Database->Prepare("DELETE FROM songs WHERE path = ?");
        TStatement put = Database->Prepare(PutSql);
        for (auto it = Entries.begin(); it != Entries.end();) {
            if (it->second.Seen) {
                if (it->second.Dirty) Write(put, it->first, it->second);
                it->second.Dirty = false;
                ++it;
                continue;
            }
            drop.Bind(1, it->first).Run();
            drop.Reset();
            it = Entries.erase(it);
        }
        WriteListings();
        transaction.Commit();
    } catch (const EDatabaseError& error) {
        // The scan's answers stand; only the next scan is slower.
        std::cerr << "tamtara: cannot write the song library cache: " << error.what() << std::endl;
    }
}

void TLibraryCache::WriteListings() {
    TStatement drop = Database->Prepare("DELETE FROM folders WHERE path = ?");
    TStatement put = Database->Prepare("INSERT OR REPLACE INTO folders (path, mtime_ns, ctime_ns, listed_ns,"
                                       " entries, row_check) VALUES (?, ?, ?, ?, ?, ?)");
    Listings.FinishScan(
        [&put](const std::string& directory, const TKeptListing& listing) {
            const std::vector<std::uint8_t> packed = PackEntries(listing.Entries);
            put.Bind(1, directory).Bind(2, listing.Times.ModifiedNs).Bind(3, listing.Times.ChangedNs);
            put.Bind(4, listing.ListedAtNs)
                .BindBlob(5, packed)
                .Bind(6, ListingCheck(directory, listing, packed));
            put.Run();
            put.Reset();
        },
        [&drop](const std::string& directory) {
            drop.Bind(1, directory).Run();
            drop.Reset();
        });
}

void TLibraryCache::Write(TStatement& put, const std::string& path, const Entry& entry) {
    put.Bind(1, path).Bind(2, entry.Size).Bind(3, entry.TimeNs);
    put.BindBlob(4, std::span(reinterpret_cast<const std::uint8_t*>(entry.Song.Title.data()),
                              entry.Song.Title.size()));
    put.Bind(5, static_cast<std::int64_t>(entry.Song.Check.Mark)).Bind(6, entry.Song.Check.Problem);
    put.Bind(12, static_cast<std::int64_t>(entry.MarkExtended ? 1 : 0));
    if (entry.Facts) {
        const std::vector<std::uint8_t> counts = PackCounts(entry.Facts->LaneCounts);
        put.Bind(7, static_cast<std::int64_t>(entry.Facts->ExtendedMap ? 1 : 0)).BindBlob(8, counts);
        put.Bind(9, static_cast<std::int64_t>(entry.Facts->LengthMs))
            .Bind(10, static_cast<std::int64_t>(entry.Facts->DifficultyTenths))
            .Bind(11, entry.Facts->DrumKey);
    }
    put.Run();
    put.Reset();
}

std::optional<SongFacts> TLibraryCache::Facts(const std::string& path, bool extendedMap) const {
    const auto known = Entries.find(path);
    if (known == Entries.end() || !known->second.Facts || known->second.Facts->ExtendedMap != extendedMap)
        return std::nullopt;
    return known->second.Facts;
}

void TLibraryCache::StoreFacts(const std::string& path, const SongFacts& facts) {
    const auto known = Entries.find(path);
    if (known == Entries.end()) return;
    known->second.Facts = facts;
    if (InScan) {
        known->second.Dirty = true;
        return;
    }
    try {
        TStatement put = Database->Prepare(PutSql);
        Write(put, known->first, known->second);
    } catch (const EDatabaseError& error) {
        std::cerr << "tamtara: cannot write the song library cache: " << error.what() << std::endl;
    }
}

} // namespace tamtara
