// The song library scan: walks the game folder for folders and songs, reads every song's
// title and keeps only the folders that directly hold songs, reporting progress as it goes.
#pragma once

#include "library/SearchDir.h"
#include "library/SearchFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tamtara {

// The progress texts, in the order the scan reports them.
inline constexpr const char* SearchingFoldersText = "フォルダ検索中...";
inline constexpr const char* SearchingSongsText = "MIDIファイル検索中...";
inline constexpr const char* ReadingTitlesText = "MIDIファイル情報を調べています...";
inline constexpr const char* TidyingFoldersText = "フォルダ情報を整頓中...";

// Songs end in ".mid"; ".midi" too, which the reference platform matched through its short
// names and which must be asked for explicitly here.
inline constexpr const char* SongMask = "*.mid;*.midi";

// Returns the title bytes of a song; raises what opening or reading the file raises.
using TTitleReader = std::function<std::string(const std::string& path)>;
using TScanProgress = std::function<void(std::int32_t PercentDone, const std::string& Msg)>;

// What a scan works on. The owner has bound SearchDir.OnFind to a handler that calls
// AddScannedFolder on Folders and SearchFile.OnFind to one that calls AddScannedSong on
// SongFiles.
struct TLibraryScanParts {
    TSearchDir& SearchDir;
    TSearchFile& SearchFile;
    std::vector<std::string>& Folders;
    std::vector<std::string>& SongFiles;
    std::vector<std::string>& SongTitles;
    std::vector<std::string>& DiscFiles;
    std::vector<std::string>& DiscTitles;
};

// The bodies of the directory and file handlers: every directory is a candidate folder; an
// entry is a song unless its name begins with "_" (the game's jingles) or it is a directory.
void AddScannedFolder(std::vector<std::string>& folders, const std::string& name);
void AddScannedSong(std::vector<std::string>& songFiles, const std::string& name,
                    const TSearchFileData& data);

// Runs the whole scan from baseDir (the game folder). A song whose title cannot be read keeps
// an empty title, stays listed, and is named in one line on stderr; the scan goes on.
// Folders end sorted by FolderLess; songs keep the order they were found in.
void ScanSongLibrary(const TLibraryScanParts& parts, const std::string& baseDir,
                     const TTitleReader& readTitle, const TScanProgress& onProgress);

// The folder order: NameLess on the whole path (ASCII letter case ignored, ties by bytes).
bool FolderLess(const std::string& a, const std::string& b);

// The songs of folder (and their titles), in SongFiles order: those whose directory part is
// the folder itself, not a subfolder of it.
void CollectDiscs(const std::string& folder, const std::vector<std::string>& songFiles,
                  const std::vector<std::string>& songTitles, std::vector<std::string>& discFiles,
                  std::vector<std::string>& discTitles);

} // namespace tamtara
