// Builds package files for the game's resources; the game itself only reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

struct PackageSource {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
};

// The whole package image: entries in the given order, data stored back to back in the same
// order, unused name bytes zero, so the same inputs always give the same bytes.
// Raises EPackageError for a name longer than 255 bytes, more than 32767 entries, or data
// that does not fit the format's signed 32-bit offsets.
std::vector<std::uint8_t> BuildPackage(const std::vector<PackageSource>& entries);

// Writes BuildPackage's image to path through a temporary file, so a failed run never leaves
// a half-written package behind for the build to pick up.
void WritePackage(const std::string& path, const std::vector<PackageSource>& entries);

} // namespace tamtara
