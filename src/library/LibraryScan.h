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

class TKeptListings;

// The progress texts, in the order the scan reports them.
inline constexpr const char* SearchingFoldersText = "フォルダ検索中...";
inline constexpr const char* SearchingSongsText = "MIDIファイル検索中...";
inline constexpr const char* ReadingTitlesText = "MIDIファイル情報を調べています...";
inline constexpr const char* TidyingFoldersText = "フォルダ情報を整頓中...";

// Songs end in ".mid"; ".midi" too, which the reference platform matched through its short
// names and which must be asked for explicitly here.
inline constexpr const char* SongMask = "*.mid;*.midi";

// Why a song is marked, as the disc screen and the refusal to play it say.
inline constexpr const char* NoHeaderText = "MIDIファイルではありません（MThd ヘッダがありません）";
inline constexpr const char* NoDivisionText = "四分音符の分解能が 0 で、時間を計れません";
inline constexpr const char* NoDrumNotesText = "どのレーンにもドラムの音符（チャンネル10）がありません";

// What the scan learnt of a song besides its title, from the same read of the file.
enum class SongMark : std::uint8_t {
    Playable,    // nothing known against it
    Unplayable,  // cannot be read or timed: play would refuse it
    NoDrumNotes, // plays, but no drum note falls in any lane: nothing to strike
};

struct SongCheck {
    SongMark Mark = SongMark::Playable;
    std::string Problem; // why it is marked; empty for a playable song
};

// One song as its reader found it.
struct ScannedSong {
    std::string Title;
    SongCheck Check;
};

// Why a song with this header cannot be timed by the sequencer; empty when it can.
std::string TimingProblem(std::int32_t division, std::int32_t trackCount);

// Returns the title bytes of a song; raises what opening or reading the file raises.
using TTitleReader = std::function<std::string(const std::string& path)>;
// The title and check of a song; raises what opening or reading the file raises.
using TSongReader = std::function<ScannedSong(const std::string& path)>;
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
    std::vector<SongCheck>& SongChecks;
    std::vector<std::string>& DiscFiles;
    std::vector<std::string>& DiscTitles;
    std::vector<SongCheck>& DiscChecks;
    // The folders and songs whose paths are longer than the system allows, in the order found:
    // such a folder cannot be listed, such a song cannot be opened; they are left out.
    std::vector<std::string>& TooLongPaths;
    // Listings kept from earlier scans, used and brought up to date (see TKeptListings); null
    // lists every directory.
    TKeptListings* KeptListings = nullptr;
};

// Whether the system refuses path as too long to open or list (PATH_MAX with its end byte).
bool PathTooLong(const std::string& path);

// The bodies of the directory and file handlers: every directory is a candidate folder; an
// entry is a song unless its name begins with "_" (the game's jingles) or it is a directory.
void AddScannedFolder(std::vector<std::string>& folders, const std::string& name);
void AddScannedSong(std::vector<std::string>& songFiles, const std::string& name,
                    const TSearchFileData& data);

// One root of a scan as the scan found it.
struct TScanRoot {
    // Absolute and normalised.
    std::string Folder;
    // False: missing, not a folder or not readable; it was skipped.
    bool Readable = false;
    // The songs at or below it (those of a root inside another counted for both).
    std::int32_t SongCount = 0;
};

// The scan over several roots in their order: the songs of each root follow those of the roots
// before it; a root already covered by an earlier one adds nothing twice. A root that cannot be
// listed is named in one line on stderr and skipped.
std::vector<TScanRoot> ScanSongLibrary(const TLibraryScanParts& parts, const std::vector<std::string>& roots,
                                       const TSongReader& readSong, const TScanProgress& onProgress);

// Runs the whole scan from baseDir (the game folder). A song that cannot be read keeps an empty
// title, stays listed, is marked unplayable with the error as its problem, and is named in one
// line on stderr; the scan goes on. A folder or song whose path is too long (PathTooLong) is
// left out of the lists, named in one line on stderr and kept in TooLongPaths. Folders end sorted by
// FolderLess; songs keep the order they were found in; SongChecks has one entry per song.
void ScanSongLibrary(const TLibraryScanParts& parts, const std::string& baseDir, const TSongReader& readSong,
                     const TScanProgress& onProgress);

// The folder order: NameLess on the whole path (ASCII letter case ignored, ties by bytes).
bool FolderLess(const std::string& a, const std::string& b);

// The songs of folder (and their titles), in SongFiles order: those whose directory part is
// the folder itself, not a subfolder of it.
void CollectDiscs(const std::string& folder, const std::vector<std::string>& songFiles,
                  const std::vector<std::string>& songTitles, std::vector<std::string>& discFiles,
                  std::vector<std::string>& discTitles);
// The same, with the songs' checks (a song beyond the end of songChecks counts as playable).
void CollectDiscs(const std::string& folder, const std::vector<std::string>& songFiles,
                  const std::vector<std::string>& songTitles, const std::vector<SongCheck>& songChecks,
                  std::vector<std::string>& discFiles, std::vector<std::string>& discTitles,
                  std::vector<SongCheck>& discChecks);

} // namespace tamtara
