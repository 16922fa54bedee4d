// Song and file-name text decoding through iconv (Shift_JIS) and our own UTF-8 checks.
#include "platform/text/SongText.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace tamtara {

namespace {

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text.substr(i));
        if (length == 0) return false;
        i += length;
    }
    return true;
}

// Decodes the whole of bytes from code page 932; false when any byte sequence is not CP932.
bool DecodeCp932(std::string_view bytes, std::string& out) {
    const iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string result(bytes.size() * 3 + 4, '\0');
    char* outPtr = result.data();
    std::size_t outLeft = result.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            ok = false; // EILSEQ or EINVAL: not Shift_JIS (output room never runs out at 3x)
            break;
        }
    }
    iconv_close(converter);
    if (!ok) return false;
    result.resize(result.size() - outLeft);
    out = std::move(result);
    return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;  // overlong
        if (lead == 0xED) high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;  // overlong
        if (lead == 0xF4) high = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    if (at(1) < low || at(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((at(k) & 0xC0) != 0x80) return 0;
    return length;
}

std::string SongTextToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string decoded;
    if (DecodeCp932(bytes, decoded)) return decoded;
    return Latin1ToUtf8(bytes);
}

std::string FileNameToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes.substr(i));
        if (length == 0) {
            out += '?';
            i += 1;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string SongLabel(std::string_view titleBytes, std::string_view songFile) {
    for (const char c : titleBytes)
        if (static_cast<std::uint8_t>(c) > 0x20) return SongTextToUtf8(titleBytes);
    const std::size_t slash = songFile.rfind('/');
    std::string_view name = slash == std::string_view::npos ? songFile : songFile.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return FileNameToUtf8(name);
}

} // namespace tamtara
