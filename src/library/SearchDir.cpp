// The breadth-first directory walk. Symbolic links to directories are followed; loops end at
// the first directory seen twice. A directory that cannot be listed is still reported.
#include "library/SearchDir.h"

#include "library/DirectoryListing.h"

#include <vector>

namespace tamtara {

bool TSearchDir::Search() {
    if (!OnFind) return true;
    const std::string base = AbsoluteDirectory(BaseDir);
    const TEntryStat baseStat = StatEntry(base);
    if (!baseStat.Found || !baseStat.IsDirectory) return true;

    Pending.clear();
    Visited.clear();
    bool Continue = true;
    bool IgnoreSubDir = false;
    // The root has no entry in a parent listing: its data stays empty.
    const TSearchFileData baseData =
        base == "/" ? TSearchFileData{} : MakeSearchFileData(FileNamePart(base), baseStat);
    Visited.insert({baseStat.Device, baseStat.Inode});
    OnFind(*this, base, baseData, IgnoreSubDir, Continue);
    if (!Continue) return false;
    if (!IgnoreSubDir) Pending.push_back(base);

    std::vector<TDirectoryEntry> entries;
    while (!Pending.empty()) {
        const std::string directory = std::move(Pending.front());
        Pending.pop_front();
        // Plain files are known from the listing alone; links and unknown kinds need a stat.
        ListDirectory(
            directory, entries, [](const TDirectoryEntry& entry) { return entry.Kind != TEntryKind::File; },
            Listings);
        if (entries.empty()) continue;
        const TOpenDirectory opened(directory);
        for (const TDirectoryEntry& entry : entries) {
            const std::string path = JoinPath(directory, entry.Name);
            const TEntryStat stat = opened.Stat(entry.Name);
            if (!stat.IsDirectory) continue;
            if (!Visited.insert({stat.Device, stat.Inode}).second) continue;
            IgnoreSubDir = false;
            OnFind(*this, path, MakeSearchFileData(entry.Name, stat), IgnoreSubDir, Continue);
            if (!Continue) return false;
            if (!IgnoreSubDir) Pending.push_back(path);
        }
    }
    return true;
}

} // namespace tamtara
