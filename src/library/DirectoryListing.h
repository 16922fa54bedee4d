// Directory listings in the order the walkers report them, path joining and mask matching.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tamtara {

enum class TEntryKind { Directory, File, Unknown };

struct TDirectoryEntry {
    // The name's bytes as the file system keeps them (not necessarily UTF-8).
    std::string Name;
    // From the listing alone; Unknown (symbolic links among them) needs a stat.
    TEntryKind Kind = TEntryKind::Unknown;
};

// The order names are listed in: bytes compared with ASCII A-Z taken as a-z, ties broken by
// the raw bytes, so "Abc" < "abc" < "abd" < "B".
bool NameLess(const std::string& a, const std::string& b);

using TEntryFilter = std::function<bool(const TDirectoryEntry&)>;

class TKeptListings;

// The raw listing of directory in the file system's own order, "." and ".." left out; false
// (and no entries) when it cannot be listed.
bool ReadDirectory(const std::string& directory, std::vector<TDirectoryEntry>& entries);
// Whether directory can be listed at all (it is opened and closed, nothing read).
bool CanList(const std::string& directory);
// Drops the entries keep does not accept; an empty filter keeps every one.
void KeepOnly(std::vector<TDirectoryEntry>& entries, const TEntryFilter& keep);

// Each directory's listing as first read, kept for the life of the cache: one library scan
// walks the tree more than once, and the kernel's listing of a large directory costs more
// than everything the walkers do with it.
class TListingCache {
public:
    TListingCache() = default;
    // Keeps only the entries worth accepts (every one when empty), and takes listings from kept
    // and leaves new ones there when it is set (see TKeptListings).
    TListingCache(TEntryFilter worth, TKeptListings* kept) : Worth(std::move(worth)), Kept(kept) {}
    // Lists directory on the first request, answers later ones from memory.
    bool Read(const std::string& directory, const std::vector<TDirectoryEntry>*& entries);

private:
    struct Listing {
        bool Listed = false;
        std::vector<TDirectoryEntry> Entries;
    };
    std::unordered_map<std::string, Listing> Listings;
    TEntryFilter Worth;
    TKeptListings* Kept = nullptr;
};

// The entries of directory that keep accepts, "." and ".." left out, sorted by NameLess. False
// (and no entries) when the directory cannot be listed. With a cache, a directory is read from
// the file system only once.
bool ListDirectory(const std::string& directory, std::vector<TDirectoryEntry>& entries,
                   const TEntryFilter& keep, TListingCache* cache = nullptr);

// directory + "/" + name, without doubling a trailing "/".
std::string JoinPath(const std::string& directory, const std::string& name);
// The path made absolute against the current directory and normalised, without a trailing
// "/" (the root keeps its "/"). An empty path is the current directory.
std::string AbsoluteDirectory(const std::string& path);
// The text after the last "/".
std::string FileNamePart(const std::string& path);
// The path up to and including its last "/"; empty when it has none.
std::string DirectoryPart(const std::string& path);

// A file-name mask: one or more wildcard patterns separated by ";", each matched without
// regard to letter case. An empty mask and "*.*" match every name, dotless ones included.
class TFileMask {
public:
    explicit TFileMask(const std::string& mask);
    bool Matches(const std::string& name) const;

private:
    struct Pattern {
        std::string Text;
        // For "*" followed by plain text: the text in lower case, matched as a suffix.
        std::string Suffix;
        bool IsSuffix = false;
    };
    std::vector<Pattern> Patterns;
    bool MatchesAll = false;
};

} // namespace tamtara
