// songcheck PATH...: for every song in the given files and under the given folders, one line
// saying whether the game can play it, its title, length, drum notes per lane and picture, and
// for a playable song a line "key HEX" with the drum-part key its records are kept under.
// Exits 1 when any song cannot be played.
#include "SongCheck.h"

#include "library/DirectoryListing.h"
#include "library/SongLibrary.h"
#include "midi/SongModel.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// The songs the game's library scan finds under folder, titles left unread (songcheck reads
// each song whole anyway).
std::vector<std::string> SongsUnder(const std::string& folder) {
    tamtara::TSongLibrary library;
    library.Scan(tamtara::AbsoluteDirectory(folder), {}, [](const std::string&) { return std::string(); });
    return library.SongFiles;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: songcheck PATH...\n"
                             "  one line per song: path, ok or why it cannot be played, title,\n"
                             "  length, drum notes per lane (HH SD BD HT MT LT CY), picture;\n"
                             "  then \"key <64 hex>\" for a playable song (its drum-part key)\n");
        return 2;
    }
    auto song = std::make_unique<tamtara::TSongModel>();
    bool allPlayable = true;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        std::vector<std::string> songs;
        if (std::filesystem::is_directory(argv[i], error))
            songs = SongsUnder(argv[i]);
        else
            songs.push_back(argv[i]);
        for (const std::string& path : songs) {
            const tamtara::TSongReport report = tamtara::CheckSong(path, *song);
            allPlayable = allPlayable && report.Playable;
            std::printf("%s\n", tamtara::FormatReport(report).c_str());
            if (!report.Key.empty()) std::printf("key %s\n", report.Key.c_str());
            std::fflush(stdout);
        }
    }
    return allPlayable ? 0 : 1;
}
