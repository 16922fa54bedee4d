// Directory listings in the order the walkers report them, path joining and mask matching.
#pragma once

#include <string>
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

// The entries of directory, "." and ".." left out, sorted by NameLess. False (and no entries)
// when the directory cannot be listed.
bool ListDirectory(const std::string& directory, std::vector<TDirectoryEntry>& entries);

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
    std::vector<std::string> Patterns;
    bool MatchesAll = false;
};

} // namespace tamtara
