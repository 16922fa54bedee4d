// Value forms of profile (ini) files: how integers, booleans and strings are read from text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamtara {

// Longest string a profile read returns, as with a 1024-character buffer.
inline constexpr std::size_t ProfileMaxString = 1023;

// Decimal, or hexadecimal after "$" or "0x"/"0X"; anything else, an empty text or a number
// outside 32 bits gives fallback. Hexadecimal takes all 32 bits, so "$FFFFFFFF" is -1.
std::int32_t ParseProfileInt(std::string_view text, std::int32_t fallback);

bool ParseProfileBool(std::string_view text, bool fallback);

// The text as a profile read returns it: one pair of enclosing quotes removed, then cut to
// ProfileMaxString bytes without splitting a UTF-8 character.
std::string ProfileString(std::string_view text);

} // namespace tamtara
