// Packing and checking the kept listings' rows.
#include "library/KeptListingRecord.h"

#include <climits>

namespace tamtara {

namespace {

constexpr std::uint8_t KindByte(TEntryKind kind) {
    switch (kind) {
    case TEntryKind::Directory:
        return 0;
    case TEntryKind::File:
        return 1;
    case TEntryKind::Unknown:
        break;
    }
    return 2;
}

bool ValidName(const std::string& name) {
    return !name.empty() && name.size() <= NAME_MAX && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

class TFnv1a {
public:
    void Add(std::span<const std::uint8_t> bytes) {
        for (std::uint8_t byte : bytes)
            Hash = (Hash ^ byte) * 0x100000001b3ULL;
    }
    void Add(std::int64_t value) {
        std::uint8_t bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
        Add(bytes);
    }
    std::uint64_t Hash = 0xcbf29ce484222325ULL;
};

} // namespace

std::vector<std::uint8_t> PackEntries(const std::vector<TDirectoryEntry>& entries) {
    std::vector<std::uint8_t> bytes;
    for (const TDirectoryEntry& entry : entries) {
        bytes.push_back(KindByte(entry.Kind));
        bytes.push_back(static_cast<std::uint8_t>(entry.Name.size() & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(entry.Name.size() >> 8));
        bytes.insert(bytes.end(), entry.Name.begin(), entry.Name.end());
    }
    return bytes;
}

bool UnpackEntries(std::span<const std::uint8_t> bytes, std::vector<TDirectoryEntry>& entries) {
    static constexpr TEntryKind Kinds[] = {TEntryKind::Directory, TEntryKind::File, TEntryKind::Unknown};
    entries.clear();
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 3 || bytes[at] > 2) return false;
        const std::size_t length = bytes[at + 1] | static_cast<std::size_t>(bytes[at + 2]) << 8;
        if (bytes.size() - at - 3 < length) return false;
        TDirectoryEntry entry{std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at + 3),
                                          bytes.begin() + static_cast<std::ptrdiff_t>(at + 3 + length)),
                              Kinds[bytes[at]]};
        if (!ValidName(entry.Name)) return false;
        entries.push_back(std::move(entry));
        at += 3 + length;
    }
    return true;
}

std::int64_t ListingCheck(const std::string& directory, const TKeptListing& listing,
                          std::span<const std::uint8_t> packedEntries) {
    TFnv1a check;
    check.Add(static_cast<std::int64_t>(directory.size()));
    check.Add(std::span(reinterpret_cast<const std::uint8_t*>(directory.data()), directory.size()));
    check.Add(listing.Times.ModifiedNs);
    check.Add(listing.Times.ChangedNs);
    check.Add(listing.ListedAtNs);
    check.Add(packedEntries);
    return static_cast<std::int64_t>(check.Hash);
}

} // namespace tamtara
