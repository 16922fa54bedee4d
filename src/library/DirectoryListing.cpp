// Listings through opendir/readdir. Linux lists a directory in hash order; every listing is
// sorted here so the walk sees names in case-insensitive name order on every file system.
#include "library/DirectoryListing.h"

#include "library/KeptListings.h"

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

bool ReadDirectory(const std::string& directory, std::vector<TDirectoryEntry>& entries) {
    entries.clear();
    std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
    if (!dir) return false;
    while (const dirent* entry = readdir(dir.get())) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        entries.push_back({name, KindOf(entry->d_type)});
    }
    return true;
}

bool CanList(const std::string& directory) {
    return std::unique_ptr<DIR, DirCloser>(opendir(directory.c_str())) != nullptr;
}

void KeepOnly(std::vector<TDirectoryEntry>& entries, const TEntryFilter& keep) {
    if (keep) std::erase_if(entries, [&keep](const TDirectoryEntry& entry) { return !keep(entry); });
}

bool TListingCache::Read(const std::string& directory, const std::vector<TDirectoryEntry>*& entries) {
    auto [found, added] = Listings.try_emplace(directory);
    Listing& listing = found->second;
    if (added && Kept) {
        listing.Listed = Kept->Read(directory, Worth, listing.Entries);
    } else if (added) {
        listing.Listed = ReadDirectory(directory, listing.Entries);
        KeepOnly(listing.Entries, Worth);
    }
    entries = &listing.Entries;
    return found->second.Listed;
}

bool ListDirectory(const std::string& directory, std::vector<TDirectoryEntry>& entries,
                   const TEntryFilter& keep, TListingCache* cache) {
    std::vector<TDirectoryEntry> fresh;
    const std::vector<TDirectoryEntry>* listed = &fresh;
    const bool ok = cache ? cache->Read(directory, listed) : ReadDirectory(directory, fresh);
    entries.clear();
    for (const TDirectoryEntry& entry : *listed) {
        if (keep(entry)) entries.push_back(entry);
    }
    // Only what is kept is sorted: in a folder of many files, a walk keeps a few directories.
    std::sort(entries.begin(), entries.end(),
              [](const TDirectoryEntry& a, const TDirectoryEntry& b) { return NameLess(a.Name, b.Name); });
    return ok;
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
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
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
        Pattern pattern;
        pattern.Text = mask.substr(start, end - start);
        start = end + 1;
        // The reference wildcard rules let "*.*" match a name without a dot as well.
        if (pattern.Text == "*.*" || pattern.Text == "*") MatchesAll = true;
        if (pattern.Text.empty() || MatchesAll) continue;
        const std::string rest = pattern.Text.substr(1);
        pattern.IsSuffix = pattern.Text.front() == '*' && rest.find_first_of("*?[\\") == std::string::npos &&
                           std::all_of(rest.begin(), rest.end(), [](char c) { return (c & 0x80) == 0; });
        for (char c : rest)
            pattern.Suffix += static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
        Patterns.push_back(std::move(pattern));
    }
}

bool TFileMask::Matches(const std::string& name) const {
    if (MatchesAll) return true;
    return std::any_of(Patterns.begin(), Patterns.end(), [&](const Pattern& pattern) {
        // "*.mid" and its like are the common case; an ASCII suffix compared without letter
        // case is what fnmatch with FNM_CASEFOLD does for them, at a fraction of the cost.
        if (pattern.IsSuffix) {
            const std::string& suffix = pattern.Suffix;
            if (name.size() < suffix.size()) return false;
            const std::size_t offset = name.size() - suffix.size();
            for (std::size_t i = 0; i < suffix.size(); ++i) {
                if (FoldAscii(static_cast<unsigned char>(name[offset + i])) !=
                    static_cast<unsigned char>(suffix[i]))
                    return false;
            }
            return true;
        }
        return fnmatch(pattern.Text.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    });
}

} // namespace tamtara
