// The texts that name folders and songs on the selection screens and in the notices about them,
// and the tags of songs the game cannot play.
#pragma once

#include "library/LibraryScan.h"
#include "library/SongLibrary.h"

#include <string>
#include <vector>

namespace tamtara {

// The notice titles of a song that is not started, and the tags of marked discs.
inline constexpr const char* UnplayableSongText = "この曲は再生できません";
// An output error stopped the song during play.
inline constexpr const char* OutputStoppedPlayText = "MIDI出力のエラーで演奏が止まりました";
inline constexpr const char* NotRecordedText = "この演奏は記録しません";
inline constexpr const char* NoDrumNotesSongText = "ドラムの音符がありません";
inline constexpr const char* UnplayableTag = "再生不可";
inline constexpr const char* NoDrumNotesTag = "ドラムなし";
// The notice title of a song folder the scan could not read.
inline constexpr const char* UnreadableSongFolderText = "曲フォルダを読めません";
// The notice title of the folders and songs the scan left out because their paths are too long.
inline constexpr const char* TooLongPathText = "パスが長すぎて読めません";

// The game folder: the current directory (the program entry made it so); empty when unknown.
std::string GameFolder();

// A folder's label: the name of the song folder (root) holding it, then its path below that root
// joined with "/"; a root alone is its name. Before any scan the game folder is the one root.
// UTF-8 for drawing.
std::string FolderLabel(const std::string& folder, const TSongLibrary& library);

// The file name of a song path without its folder, as UTF-8 for drawing.
std::string DiscFileName(const std::string& songFile);

// A song's path below the game folder, or its whole path when it lies elsewhere, as UTF-8.
std::string SongPathLabel(const std::string& songFile);

// The notice's detail for paths too long to read: the end of the first (its last folders and
// its name, which tell where it lies), and how many more there are; UTF-8.
std::string TooLongPathsLabel(const std::vector<std::string>& paths);

// The tag a disc carries for its mark; null for a playable song.
const char* SongMarkTag(SongMark mark);

} // namespace tamtara
