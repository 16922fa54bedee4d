// On-disk layout of package files (".pb"): a 12-byte magic, a signed 16-bit record count,
// fixed 264-byte directory records, then the entries' bytes. Shared by the reader and the writer.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tamtara {

// The magic is a length-prefixed string: the byte 11 followed by "PackageFile".
inline constexpr std::array<std::uint8_t, 12> PackageMagic = {0x0B, 'P', 'a', 'c', 'k', 'a',
                                                              'g',  'e', 'F', 'i', 'l', 'e'};
inline constexpr std::int64_t PackageHeaderSize = 14;
inline constexpr std::int64_t PackageRecordSize = 264;
inline constexpr std::size_t PackageNameFieldSize = 256;
inline constexpr std::size_t PackageMaxNameLength = 255;
inline constexpr int PackageMaxEntries = 32767;

// One directory record as stored; Offset counts from the start of the data area.
struct PackageEntry {
    std::string Name;
    std::int32_t Offset = 0;
    std::int32_t Size = 0;
};

} // namespace tamtara
