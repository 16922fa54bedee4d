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

std::string TooLongPathsLabel(const std::vector<std::string>& paths) {
    if (paths.empty()) return {};
    // A path that long fills any panel; its end is what the player can find it by.
    constexpr std::size_t ShownBytes = 80;
    const std::string& path = paths.front();
    std::string label = FileNameToUtf8(path);
    if (path.size() > ShownBytes) {
        std::size_t from = path.find('/', path.size() - ShownBytes);
        if (from == std::string::npos) from = path.rfind('/');
        if (from != std::string::npos) label = "…" + FileNameToUtf8(path.substr(from));
    }
    if (paths.size() > 1) label += "（ほかに " + std::to_string(paths.size() - 1) + " 件）";
    return label;
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
