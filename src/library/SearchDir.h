// TSearchDir: walks a directory tree breadth-first from a base directory and reports every
// directory, the base included, so the handler decides what to prune and when to stop.
#pragma once

#include "library/SearchFileData.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>

namespace tamtara {

class TSearchDir;
class TListingCache;

// Sender, full path of the directory, its data, in/out IgnoreSubDir (false on entry), in/out
// Continue.
using TSearchDirEvent = std::function<void(TSearchDir& Sender, const std::string& Name,
                                           const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue)>;

class TSearchDir {
public:
    TSearchDir() = default;
    TSearchDir(const TSearchDir&) = delete;
    TSearchDir& operator=(const TSearchDir&) = delete;

    // True when the walk ran to its end or had nothing to do (no handler, a base that is not
    // an existing directory); false when a handler stopped it.
    bool Search();

    std::string BaseDir;
    TSearchDirEvent OnFind;
    // Where listings come from when set (see TListingCache); null lists the file system afresh.
    TListingCache* Listings = nullptr;

    // The directories still to be listed (first in, first out).
    std::deque<std::string> Pending;

private:
    // Device and inode of every directory reported in this walk: one reached again through a
    // symbolic link or a bind mount is neither reported nor walked a second time.
    std::set<std::pair<std::uint64_t, std::uint64_t>> Visited;
};

} // namespace tamtara
