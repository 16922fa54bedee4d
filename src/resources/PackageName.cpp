// Encoding-aware ASCII upper-casing for entry names.
#include "resources/PackageName.h"

#include <cstdint>

namespace tamtara {

namespace {

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || (length == 2 && lead < 0xC2) || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<std::uint8_t>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

bool IsShiftJisLead(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string UpperCasePackageName(std::string_view name) {
    std::string upper(name);
    bool shiftJis = !IsValidUtf8(name);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        if (shiftJis && IsShiftJisLead(static_cast<std::uint8_t>(upper[i]))) {
            ++i; // the trail byte belongs to a double-byte character
            continue;
        }
        upper[i] = UpperAscii(upper[i]);
    }
    return upper;
}

} // namespace tamtara
