// A song library on its own, without a game window: the same components, handlers and scan
// the game window uses, for the tools, the benchmark and the tests.
#pragma once

#include "library/LibraryCache.h"
#include "library/LibraryScan.h"
#include "library/SongFacts.h"

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tamtara {

// A song file's title and check from one read of it, without touching any playback: marked
// unplayable when the sequencer could not time it, drum-less when no note would reach a lane of
// the map.
ScannedSong ReadScannedSong(const std::string& path, LaneMap lanes);

class TSongLibrary {
public:
    TSongLibrary();
    TSongLibrary(const TSongLibrary&) = delete;
    TSongLibrary& operator=(const TSongLibrary&) = delete;

    // Without a reader, each song is read by ReadScannedSong under Lanes.
    void Scan(const std::string& baseDir, const TScanProgress& onProgress = {},
              const TSongReader& readSong = {});
    // The scan over several song folders: Roots and RootNames describe them afterwards.
    void Scan(const std::vector<std::string>& roots, const TScanProgress& onProgress = {},
              const TSongReader& readSong = {});
    // A scan that learns only titles: every readable song counts as playable.
    void Scan(const std::string& baseDir, const TScanProgress& onProgress, const TTitleReader& readTitle);
    // Fills the disc lists with the songs of folder.
    void CollectDiscs(const std::string& folder);

    // The lanes the songs are marked and rated for (the map the plays will use).
    LaneMap Lanes = LaneMap::Standard();
    TSearchDir SearchDir;
    TSearchFile SearchFile;
    std::vector<std::string> Folders;
    std::vector<std::string> SongFiles;
    std::vector<std::string> SongTitles;
    // One per song, like SongTitles; a song beyond its end counts as playable.
    std::vector<SongCheck> SongChecks;
    std::vector<std::string> DiscFiles;
    std::vector<std::string> DiscTitles;
    std::vector<SongCheck> DiscChecks;
    // What the last scan left out because its path is too long (see TLibraryScanParts).
    std::vector<std::string> TooLongPaths;
    // The roots of the last scan, and the names that tell them apart (see RootLabels); one
    // root for a scan of one base directory.
    std::vector<TScanRoot> Roots;
    std::vector<std::string> RootNames;
    // A folder's label below the roots (see FolderLabelBelowRoots).
    std::string FolderLabel(const std::string& folder) const;
    // A song's difficulty (see SongDifficulty) once known: kept from an earlier request or found
    // in the cache. Else none for now: the song is read on a thread of its own, one song at a
    // time, and a later call has it (kept, and in the cache too). A large file so never holds up
    // the frame that asks. Call from one thread.
    std::optional<double> Difficulty(const std::string& songFile);
    // Waits for the song being read for its difficulty, if any, and keeps what it tells.
    void FinishDifficultyRead();
    std::unordered_map<std::string, double> Difficulties;

    // Keeps what the scans learn in the cache file at path from the next scan on (see
    // TLibraryCache); false, and no cache, when none can be kept there.
    bool UseCache(const std::string& path);
    std::unique_ptr<TLibraryCache> Cache;

private:
    // The reader a scan uses: readSong or the default, through the cache when there is one.
    TSongReader ScanReader(const TSongReader& readSong);
    // Keeps the facts of the song read in the background once they are there (or at once, with
    // wait); false while the read goes on.
    bool TakeFinishedRead(bool wait);

    std::string ReadingSong;
    std::future<SongFacts> Reading;
};

} // namespace tamtara
