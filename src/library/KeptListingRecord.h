// A kept listing as the cache file holds it: its entries packed into one blob, and a check over
// the directory's path, its times, the listing's moment and the packed entries, so that a row
// changed by hand or spoilt on the disk is never believed: the directory is listed again.
#pragma once

#include "library/KeptListings.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tamtara {

// Each entry as its kind (one byte), its name's length (two bytes, low first) and its name.
std::vector<std::uint8_t> PackEntries(const std::vector<TDirectoryEntry>& entries);
// False when bytes are not entries as PackEntries writes them, or name something no listing
// gives (an empty or overlong name, one with "/" or a zero byte, "." or "..").
bool UnpackEntries(std::span<const std::uint8_t> bytes, std::vector<TDirectoryEntry>& entries);
// The check of a row: 64-bit FNV-1a over everything the row says.
std::int64_t ListingCheck(const std::string& directory, const TKeptListing& listing,
                          std::span<const std::uint8_t> packedEntries);

} // namespace tamtara
