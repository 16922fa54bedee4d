// Disc lists by exact directory match, and the labels of folders and files.
#include "app/DiscList.h"

#include "platform/text/SongText.h"

namespace tamtara {

bool SongLiesIn(const std::string& song, const std::string& folder) {
    const std::size_t slash = song.rfind('/');
    if (slash == std::string::npos) return false;
    return slash == folder.size() && song.compare(0, slash, folder) == 0;
}

void BuildDiscList(const std::string& folder, const std::vector<std::string>& songFiles,
                   const std::vector<std::string>& songTitles, std::vector<std::string>& discFiles,
                   std::vector<std::string>& discTitles) {
    discFiles.clear();
    discTitles.clear();
    for (std::size_t i = 0; i < songFiles.size(); ++i) {
        if (!SongLiesIn(songFiles[i], folder)) continue;
        discFiles.push_back(songFiles[i]);
        discTitles.push_back(i < songTitles.size() ? songTitles[i] : std::string());
    }
}

std::string FolderLabel(const std::string& folder, const std::string& programFolder) {
    if (folder == programFolder) {
        const std::size_t slash = folder.rfind('/');
        return FileNameToUtf8("../" + (slash == std::string::npos ? folder : folder.substr(slash + 1)));
    }
    const std::string prefix = programFolder == "/" ? programFolder : programFolder + "/";
    if (folder.compare(0, prefix.size(), prefix) == 0) return FileNameToUtf8(folder.substr(prefix.size()));
    return FileNameToUtf8(folder);
}

std::string DiscFileName(const std::string& songFile) {
    const std::size_t slash = songFile.rfind('/');
    return FileNameToUtf8(slash == std::string::npos ? songFile : songFile.substr(slash + 1));
}

} // namespace tamtara
