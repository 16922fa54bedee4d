// Listings through opendir/readdir. Linux lists a directory in hash order; every listing is
// sorted here so the walk sees names in case-insensitive name order on every file system.
#include "library/DirectoryListing.h"

#include <dirent.h>
#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace tamtara {

namespace {

unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

TEntryKind KindOf(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return TEntryKind::Directory;
    case DT_LNK:
    case DT_UNKNOWN:
        return TEntryKind::Unknown;
    default:
        return TEntryKind::File;
    }
}

} // namespace

bool NameLess(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = FoldAscii(static_cast<unsigned char>(a[i]));
        const unsigned char y = FoldAscii(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

bool ListDirectory(const std::string& directory, std::vector<TDirectoryEntry>& entries) {
    entries.clear();
    std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
    if (!dir) return false;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        entries.push_back({name, KindOf(entry->d_type)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const TDirectoryEntry& a, const TDirectoryEntry& b) { return NameLess(a.Name, b.Name); });
    return true;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

std::string AbsoluteDirectory(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path absolute = fs::absolute(path.empty() ? fs::path(".") : fs::path(path), error);
    if (error) absolute = fs::path(path);
    std::string text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirectoryPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

TFileMask::TFileMask(const std::string& mask) : MatchesAll(mask.empty()) {
    std::size_t start = 0;
    while (start <= mask.size()) {
        const std::size_t end = std::min(mask.find(';', start), mask.size());
        const std::string pattern = mask.substr(start, end - start);
        // The reference wildcard rules let "*.*" match a name without a dot as well.
        if (pattern == "*.*" || pattern == "*") MatchesAll = true;
        else if (!pattern.empty()) Patterns.push_back(pattern);
        start = end + 1;
    }
}

bool TFileMask::Matches(const std::string& name) const {
    if (MatchesAll) return true;
    return std::any_of(Patterns.begin(), Patterns.end(), [&](const std::string& pattern) {
        return fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    });
}

} // namespace tamtara
