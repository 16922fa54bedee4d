// TSearchFile: reports the entries matching a file-name mask in one directory or, with
// Recursive set, in every directory of a tree (listed first by a TSearchDir of its own).
#pragma once

#include "library/SearchDir.h"
#include "library/SearchFileData.h"

#include <functional>
#include <string>
#include <vector>

namespace tamtara {

class TSearchFile;
class TFileMask;

// Sender, full path of the entry, its data, in/out Continue.
using TFindFileEvent = std::function<void(TSearchFile& Sender, const std::string& Name,
                                          const TSearchFileData& Data, bool& Continue)>;
// Sender, full path of the directory, its data, in/out Skip (false on entry), in/out
// IgnoreSubDir.
using TFindDirEvent = std::function<void(TSearchFile& Sender, const std::string& Name,
                                         const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir)>;

class TSearchFile {
public:
    TSearchFile();
    TSearchFile(const TSearchFile&) = delete;
    TSearchFile& operator=(const TSearchFile&) = delete;

    // True when the search ran to its end or had nothing to do; false when a handler stopped
    // it. Directories are searched in the walker's breadth-first order, entries in listing
    // order; every kind of entry matching the mask is reported, directories included.
    bool Search();

    std::string Directory;
    bool Recursive = false;
    // Wildcard patterns separated by ";" (see TFileMask); "*.*" when empty.
    std::string SearchName;
    TFindFileEvent OnFind;
    TFindDirEvent OnFindDir;
    // Where listings come from when set, for this search and its walk; null lists afresh.
    TListingCache* Listings = nullptr;

    // Lists the tree for a recursive search; its OnFind is this component's own.
    TSearchDir DirSearch;
    // The directories a recursive search will search, collected by the walk.
    std::vector<std::string> Directories;

private:
    void DirSearchFind(const std::string& name, const TSearchFileData& data, bool& ignoreSubDir);
    bool SearchDirectory(const std::string& directory, const TFileMask& mask, bool& cont);
};

} // namespace tamtara
