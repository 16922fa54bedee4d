// The scan's steps in their fixed order; every list operation inside a loop is constant
// time, so the cost grows linearly with the number of songs and folders.
#include "library/LibraryScan.h"

#include "library/DirectoryListing.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <iostream>
#include <unordered_map>
#include <unordered_set>

namespace tamtara {

namespace {

// The directory part a song of folder has: the folder and one "/" (the root already ends
// with one).
std::string FolderPrefix(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

// Whether an entry can matter to the scan: a directory (or what may lead to one) for the walk,
// or a song by its name for the song search. Nothing else of a listing is kept.
class TScanWorth {
public:
    bool operator()(const TDirectoryEntry& entry) const {
        return entry.Kind != TEntryKind::File || Songs.Matches(entry.Name);
    }

private:
    TFileMask Songs{SongMask};
};

// Lends both components one listing cache for the scan: the tree is walked twice and each
// directory listed a third time for its songs, but read from the file system once, or not at
// all when the listing kept from an earlier scan still holds.
class TSharedListings {
public:
    TSharedListings(TSearchDir& searchDir, TSearchFile& searchFile, TKeptListings* kept)
        : Cache(TScanWorth(), kept), SearchDir(searchDir), SearchFile(searchFile) {
        SearchDir.Listings = &Cache;
        SearchFile.Listings = &Cache;
    }
    ~TSharedListings() {
        SearchDir.Listings = nullptr;
        SearchFile.Listings = nullptr;
        SearchFile.DirSearch.Listings = nullptr;
    }
    TSharedListings(const TSharedListings&) = delete;
    TSharedListings& operator=(const TSharedListings&) = delete;

private:
    TListingCache Cache;
    TSearchDir& SearchDir;
    TSearchFile& SearchFile;
};

void Report(const TScanProgress& onProgress, std::int32_t percent, const char* msg) {
    if (onProgress) onProgress(percent, msg);
}

// Whether a root can be walked: an existing directory this process may list.
bool RootReadable(const std::string& root) {
    const TEntryStat stat = StatEntry(root);
    return stat.Found && stat.IsDirectory && CanList(root);
}

// Keeps the first of every entry met twice (a root inside another lists its part again).
void DropRepeats(std::vector<std::string>& items) {
    std::unordered_set<std::string> seen;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!seen.insert(items[i]).second) continue;
        if (kept != i) items[kept] = std::move(items[i]);
        ++kept;
    }
    items.resize(kept);
}

// Fills Folders with every directory of the readable roots' trees and SongFiles with their
// songs, root after root.
void FindFoldersAndSongs(const TLibraryScanParts& parts, const std::vector<TScanRoot>& roots,
                         const TScanProgress& onProgress) {
    TSharedListings listings(parts.SearchDir, parts.SearchFile, parts.KeptListings);
    parts.Folders.clear();
    parts.DiscFiles.clear();
    parts.DiscTitles.clear();
    parts.DiscChecks.clear();
    Report(onProgress, 0, SearchingFoldersText);
    for (const TScanRoot& root : roots) {
        if (!root.Readable) continue;
        parts.SearchDir.BaseDir = root.Folder;
        parts.SearchDir.Search();
    }

    parts.SongFiles.clear();
    parts.SongTitles.clear();
    parts.SongChecks.clear();
    parts.SearchFile.Recursive = true;
    parts.SearchFile.SearchName = SongMask;
    Report(onProgress, 0, SearchingSongsText);
    for (const TScanRoot& root : roots) {
        if (!root.Readable) continue;
        parts.SearchFile.Directory = root.Folder;
        parts.SearchFile.Search();
    }
    if (roots.size() > 1) {
        DropRepeats(parts.Folders);
        DropRepeats(parts.SongFiles);
    }
}

std::vector<TScanRoot> CheckRoots(const std::vector<std::string>& folders) {
    std::vector<TScanRoot> roots;
    roots.reserve(folders.size());
    for (const std::string& folder : folders) {
        TScanRoot root{AbsoluteDirectory(folder), false, 0};
        root.Readable = RootReadable(root.Folder);
        if (!root.Readable)
            std::cerr << "tamtara: cannot read the song folder \"" << root.Folder << "\"; it is skipped"
                      << std::endl;
        roots.push_back(std::move(root));
    }
    return roots;
}

void CountRootSongs(std::vector<TScanRoot>& roots, const std::vector<std::string>& songFiles) {
    for (TScanRoot& root : roots) {
        if (!root.Readable) continue;
        const std::string prefix = FolderPrefix(root.Folder);
        root.SongCount = static_cast<std::int32_t>(
            std::count_if(songFiles.begin(), songFiles.end(), [&prefix](const std::string& song) {
                return song.compare(0, prefix.size(), prefix) == 0;
            }));
    }
}

void ReadTitles(const TLibraryScanParts& parts, const TSongReader& readSong,
                const TScanProgress& onProgress) {
    const std::size_t count = parts.SongFiles.size();
    parts.SongTitles.reserve(count);
    parts.SongChecks.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        ScannedSong song;
        try {
            song = readSong(parts.SongFiles[i]);
        } catch (const std::exception& error) {
            // One unreadable file must not lock the player out of a whole library.
            std::cerr << "tamtara: cannot read the title of \"" << parts.SongFiles[i]
                      << "\": " << error.what() << std::endl;
            song.Check = SongCheck{SongMark::Unplayable, error.what()};
        }
        parts.SongTitles.push_back(std::move(song.Title));
        parts.SongChecks.push_back(std::move(song.Check));
        Report(onProgress, static_cast<std::int32_t>((i + 1) * 100 / count), ReadingTitlesText);
    }
}

// Drops the folders that hold no song directly. The songs are counted per directory once,
// so each folder is a single look-up.
void TidyFolders(std::vector<std::string>& folders, const std::vector<std::string>& songFiles,
                 const TScanProgress& onProgress) {
    std::unordered_map<std::string, std::size_t> songsPerDirectory;
    for (const std::string& song : songFiles)
        songsPerDirectory[DirectoryPart(song)] += 1;
    std::size_t kept = 0;
    for (std::size_t k = 0; k < folders.size(); ++k) {
        Report(onProgress, 100, TidyingFoldersText);
        if (songsPerDirectory.count(FolderPrefix(folders[k])) == 0) continue;
        if (kept != k) folders[kept] = std::move(folders[k]);
        ++kept;
    }
    folders.resize(kept);
}

// A folder too long to list hides whatever songs it holds, a song too long to open cannot be
// read: both leave the lists, and the player is told rather than left to wonder.
void SetAsideTooLongPaths(const TLibraryScanParts& parts) {
    parts.TooLongPaths.clear();
    const auto setAside = [&parts](std::vector<std::string>& paths, const char* what) {
        std::erase_if(paths, [&parts, what](const std::string& path) {
            if (!PathTooLong(path)) return false;
            std::cerr << "tamtara: the path of the " << what << " \"" << path
                      << "\" is longer than the system allows; it is skipped" << std::endl;
            parts.TooLongPaths.push_back(path);
            return true;
        });
    };
    setAside(parts.Folders, "folder");
    setAside(parts.SongFiles, "song");
}

void RunScan(const TLibraryScanParts& parts, const std::vector<TScanRoot>& roots, const TSongReader& readSong,
             const TScanProgress& onProgress) {
    FindFoldersAndSongs(parts, roots, onProgress);
    SetAsideTooLongPaths(parts);
    ReadTitles(parts, readSong, onProgress);
    TidyFolders(parts.Folders, parts.SongFiles, onProgress);
    std::sort(parts.Folders.begin(), parts.Folders.end(), FolderLess);
}

} // namespace

void AddScannedFolder(std::vector<std::string>& folders, const std::string& name) {
    folders.push_back(name);
}

void AddScannedSong(std::vector<std::string>& songFiles, const std::string& name,
                    const TSearchFileData& data) {
    // A directory called "x.mid" matches the mask too, but is no song to open; nor is a pipe,
    // socket or device (opening a pipe would wait for a writer for ever).
    if (data.IsDirectory || data.IsSpecialFile) return;
    const std::string fileName = FileNamePart(name);
    if (!fileName.empty() && fileName.front() == '_') return;
    songFiles.push_back(name);
}

bool PathTooLong(const std::string& path) {
    return path.size() >= PATH_MAX;
}

std::string TimingProblem(std::int32_t division, std::int32_t trackCount) {
    if (division > 0) return {};
    return trackCount == 0 ? NoHeaderText : NoDivisionText;
}

bool FolderLess(const std::string& a, const std::string& b) {
    return NameLess(a, b);
}

std::vector<TScanRoot> ScanSongLibrary(const TLibraryScanParts& parts,
                                       const std::vector<std::string>& folders, const TSongReader& readSong,
                                       const TScanProgress& onProgress) {
    std::vector<TScanRoot> roots = CheckRoots(folders);
    RunScan(parts, roots, readSong, onProgress);
    CountRootSongs(roots, parts.SongFiles);
    return roots;
}

void ScanSongLibrary(const TLibraryScanParts& parts, const std::string& baseDir, const TSongReader& readSong,
                     const TScanProgress& onProgress) {
    // One base directory keeps its old quiet manner: a missing one simply holds no songs.
    RunScan(parts, {TScanRoot{baseDir, true, 0}}, readSong, onProgress);
}

void CollectDiscs(const std::string& folder, const std::vector<std::string>& songFiles,
                  const std::vector<std::string>& songTitles, std::vector<std::string>& discFiles,
                  std::vector<std::string>& discTitles) {
    std::vector<SongCheck> discChecks;
    CollectDiscs(folder, songFiles, songTitles, {}, discFiles, discTitles, discChecks);
}

void CollectDiscs(const std::string& folder, const std::vector<std::string>& songFiles,
                  const std::vector<std::string>& songTitles, const std::vector<SongCheck>& songChecks,
                  std::vector<std::string>& discFiles, std::vector<std::string>& discTitles,
                  std::vector<SongCheck>& discChecks) {
    discFiles.clear();
    discTitles.clear();
    discChecks.clear();
    const std::string prefix = FolderPrefix(folder);
    for (std::size_t i = 0; i < songFiles.size(); ++i) {
        if (DirectoryPart(songFiles[i]) != prefix) continue;
        discFiles.push_back(songFiles[i]);
        discTitles.push_back(i < songTitles.size() ? songTitles[i] : std::string());
        discChecks.push_back(i < songChecks.size() ? songChecks[i] : SongCheck{});
    }
}

} // namespace tamtara
