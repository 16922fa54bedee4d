// Labels of folders and song files, decoded for drawing.
#include "app/SelectionLabels.h"

#include "library/RootLabels.h"
#include "platform/text/SongText.h"

#include <filesystem>

namespace tamtara {

std::string GameFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

std::string FolderLabel(const std::string& folder, const TSongLibrary& library) {
    if (!library.Roots.empty()) return FileNameToUtf8(library.FolderLabel(folder));
    const std::vector<std::string> roots{GameFolder()};
    return FileNameToUtf8(FolderLabelBelowRoots(folder, roots, RootLabels(roots)));
}

std::string DiscFileName(const std::string& songFile) {
    const std::size_t slash = songFile.rfind('/');
    return FileNameToUtf8(slash == std::string::npos ? songFile : songFile.substr(slash + 1));
}

std::string SongPathLabel(const std::string& songFile) {
    const std::string folder = GameFolder();
    const std::string prefix = folder == "/" ? folder : folder + "/";
    if (!folder.empty() && songFile.compare(0, prefix.size(), prefix) == 0)
        return FileNameToUtf8(songFile.substr(prefix.size()));
    return FileNameToUtf8(songFile);
}

const char* SongMarkTag(SongMark mark) {
    switch (mark) {
    case SongMark::Unplayable:
        return UnplayableTag;
    case SongMark::NoDrumNotes:
        return NoDrumNotesTag;
    default:
        return nullptr;
    }
}

} // namespace tamtara
