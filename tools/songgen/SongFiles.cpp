// Writes the generated music and song pictures into the game folder.
#include "songgen/SongFiles.h"

#include "songgen/Catalogue.h"
#include "songgen/Picture.h"

#include <cstdio>
#include <filesystem>

namespace tamtara {

std::string SongPath(const TSong& song) {
    return song.Folder.empty() ? song.FileName + ".mid" : song.Folder + "/" + song.FileName + ".mid";
}

std::string WriteGameMusic(const std::string& gameDir) {
    namespace fs = std::filesystem;
    std::string report;
    auto write = [&](const TSong& song) {
        const TRenderedSong rendered = RenderSong(song);
        const fs::path path = fs::path(gameDir) / SongPath(song);
        fs::create_directories(path.parent_path());
        WriteBinaryFile(path.string(), rendered.Bytes);
        char line[160];
        std::snprintf(line, sizeof line, "%-32s %6.1f s %7zu bytes\n", SongPath(song).c_str(),
                      rendered.Seconds, rendered.Bytes.size());
        report += line;
    };
    for (const TSong& jingle : Jingles())
        write(jingle);
    for (const TSong& song : DemoSongs())
        write(song);

    // Pictures share the song's base name; one of each kind the game reads.
    const struct {
        TSong Song;
        const char* Extension;
        std::vector<std::uint8_t> Bytes;
    } pictures[] = {
        {SunsetRoad(), ".jpg", EncodeJpeg(DrawSunsetRoad(), 90)},
        {NeonHighway(), ".bmp", EncodeBmp(DrawNeonHighway())},
    };
    for (const auto& picture : pictures) {
        const fs::path path =
            (fs::path(gameDir) / SongPath(picture.Song)).replace_extension(picture.Extension);
        WriteBinaryFile(path.string(), picture.Bytes);
        report += path.lexically_relative(gameDir).string() + "\n";
    }
    return report;
}

} // namespace tamtara
