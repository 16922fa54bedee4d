// Parsing of profile value forms.
#include "settings/ProfileValues.h"

#include <cstdint>

namespace tamtara {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::int32_t ParseProfileInt(std::string_view text, std::int32_t fallback) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (!text.empty() && text[0] == '$') {
        hex = true;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        text.remove_prefix(2);
    }
    if (text.empty()) return fallback;

    std::uint64_t limit = hex ? 0xFFFFFFFFull : negative ? 0x80000000ull : 0x7FFFFFFFull;
    std::uint64_t value = 0;
    for (char c : text) {
        int digit = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0) return fallback;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit) return fallback;
    }
    auto result = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(result)) : result;
}

bool ParseProfileBool(std::string_view text, bool fallback) {
    return ParseProfileInt(text, fallback ? 1 : 0) != 0;
}

std::string ProfileString(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    if (text.size() > ProfileMaxString) {
        std::size_t cut = ProfileMaxString;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text = text.substr(0, cut);
    }
    return std::string(text);
}

} // namespace tamtara
