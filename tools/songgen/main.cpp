// songgen GAME_DIR: writes the jingles, the demo songs and their pictures into the game folder.
#include "songgen/SongFiles.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: songgen GAME_DIR\n");
        return 2;
    }
    try {
        std::fputs(tamtara::WriteGameMusic(argv[1]).c_str(), stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "songgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
