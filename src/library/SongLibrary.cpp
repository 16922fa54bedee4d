// The stand-alone library binds its components the way the game window binds its own.
#include "library/SongLibrary.h"

#include "base/Stream.h"
#include "midi/SmfReader.h"

namespace tamtara {

std::string ReadSongTitle(const std::string& path) {
    return ReadSmfTitle(ReadSongFile(path));
}

TSongLibrary::TSongLibrary() {
    SearchDir.OnFind = [this](TSearchDir&, const std::string& name, const TSearchFileData&, bool&, bool&) {
        AddScannedFolder(Folders, name);
    };
    SearchFile.OnFind = [this](TSearchFile&, const std::string& name, const TSearchFileData& data, bool&) {
        AddScannedSong(SongFiles, name, data);
    };
}

void TSongLibrary::Scan(const std::string& baseDir, const TScanProgress& onProgress,
                        const TTitleReader& readTitle) {
    ScanSongLibrary({SearchDir, SearchFile, Folders, SongFiles, SongTitles, DiscFiles, DiscTitles}, baseDir,
                    readTitle, onProgress);
}

} // namespace tamtara
