// hostilegen: writes hostile files for checking the game's limits by hand: a one-byte-event song
// of the given size and the JPEG picture bomb as its picture.
#include "HostileFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr,
                     "usage: hostilegen FOLDER [SONG_MEGABYTES]\n"
                     "writes FOLDER/big.mid (default 50 MB) and FOLDER/big.jpg (16384 x 4096 bomb)\n");
        return 2;
    }
    const std::string folder = argv[1];
    const long megabytes = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 50;
    if (megabytes < 1) {
        std::fprintf(stderr, "hostilegen: size must be at least 1 MB\n");
        return 2;
    }
    using namespace tamtara::hostile;
    if (!Write(folder + "/big.mid", OneByteEventSong(static_cast<std::size_t>(megabytes) * 1024 * 1024)) ||
        !Write(folder + "/big.jpg", JpegBomb(16384, 4096))) {
        std::fprintf(stderr, "hostilegen: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
