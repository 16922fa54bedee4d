// A song library on its own, without a game window: the same components, handlers and scan
// the game window uses, for the tools, the benchmark and the tests.
#pragma once

#include "library/LibraryScan.h"

#include <string>
#include <vector>

namespace tamtara {

// The title of a song file as the sequencer reads it, without touching any playback.
std::string ReadSongTitle(const std::string& path);

class TSongLibrary {
public:
    TSongLibrary();
    TSongLibrary(const TSongLibrary&) = delete;
    TSongLibrary& operator=(const TSongLibrary&) = delete;

    void Scan(const std::string& baseDir, const TScanProgress& onProgress = {},
              const TTitleReader& readTitle = ReadSongTitle);

    TSearchDir SearchDir;
    TSearchFile SearchFile;
    std::vector<std::string> Folders;
    std::vector<std::string> SongFiles;
    std::vector<std::string> SongTitles;
    std::vector<std::string> DiscFiles;
    std::vector<std::string> DiscTitles;
};

} // namespace tamtara
