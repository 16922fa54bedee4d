// The mask search over one directory or a whole tree; the tree is walked completely first and
// its directories searched afterwards.
#include "library/SearchFile.h"

#include "library/DirectoryListing.h"

namespace tamtara {

TSearchFile::TSearchFile() {
    DirSearch.OnFind = [this](TSearchDir&, const std::string& name, const TSearchFileData& data,
                              bool& ignoreSubDir, bool&) { DirSearchFind(name, data, ignoreSubDir); };
}

void TSearchFile::DirSearchFind(const std::string& name, const TSearchFileData& data, bool& ignoreSubDir) {
    bool skip = false;
    if (OnFindDir) OnFindDir(*this, name, data, skip, ignoreSubDir);
    if (!skip) Directories.push_back(name);
}

bool TSearchFile::Search() {
    if (!OnFind) return true;
    Directories.clear();
    bool Continue = true;
    const TFileMask mask(SearchName);
    if (Recursive) {
        DirSearch.BaseDir = Directory;
        DirSearch.Listings = Listings;
        DirSearch.Search();
        for (const std::string& directory : Directories) {
            if (!SearchDirectory(directory, mask, Continue)) return false;
        }
        return true;
    }
    return SearchDirectory(AbsoluteDirectory(Directory), mask, Continue);
}

bool TSearchFile::SearchDirectory(const std::string& directory, const TFileMask& mask, bool& cont) {
    std::vector<TDirectoryEntry> entries;
    ListDirectory(
        directory, entries, [&mask](const TDirectoryEntry& entry) { return mask.Matches(entry.Name); },
        Listings);
    if (entries.empty()) return true;
    const TOpenDirectory opened(directory);
    for (const TDirectoryEntry& entry : entries) {
        const std::string path = JoinPath(directory, entry.Name);
        OnFind(*this, path, MakeSearchFileData(entry.Name, opened.Stat(entry.Name)), cont);
        if (!cont) return false;
    }
    return true;
}

} // namespace tamtara
