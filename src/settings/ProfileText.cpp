// UTF-8 and UTF-16 ini files: what a hand-written settings file may have been saved as.
#include "settings/ProfileText.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace tamtara {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

void AppendUtf8(std::string& text, std::uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::string& bytes, std::uint32_t unit, bool littleEndian) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += littleEndian ? low : high;
    bytes += littleEndian ? high : low;
}

// The code points of UTF-8 text in order; false at the first byte that does not belong.
template <class Visit> bool ForEachCodePoint(const std::string& text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        visit(code);
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// Without a mark, UTF-16 shows in its ASCII characters' zero halves: on the odd bytes in
// little-endian order, on the even ones in big-endian order. An ini's keys, sections and numbers
// are ASCII, so at least half its characters put a zero on one side. A few stray NUL bytes in an
// 8-bit file are not that: such a file is read as bytes, as it always was.
std::optional<bool> Utf16WithoutMark(const std::string& bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::size_t evenZeros = 0, oddZeros = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0') ++(i % 2 == 0 ? evenZeros : oddZeros);
    const std::size_t units = bytes.size() / 2;
    if (std::max(evenZeros, oddZeros) * 2 < units) return std::nullopt;
    return oddZeros >= evenZeros;
}

std::optional<std::string> DecodeUtf16(const std::string& bytes, std::size_t start, bool littleEndian) {
    if ((bytes.size() - start) % 2 != 0) return std::nullopt;
    auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]),
                   second = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? std::uint32_t(first | second << 8) : std::uint32_t(second | first << 8);
    };
    std::string text;
    for (std::size_t i = start; i < bytes.size(); i += 2) {
        std::uint32_t code = unitAt(i);
        if (code >= 0xDC00 && code <= 0xDFFF) return std::nullopt;
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (i + 2 >= bytes.size()) return std::nullopt;
            const std::uint32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        AppendUtf8(text, code);
    }
    return text;
}

} // namespace

std::optional<std::string> DecodeProfileText(const std::string& bytes, ProfileTextForm& form) {
    form = ProfileTextForm{};
    if (bytes.starts_with(Utf8Mark)) {
        form.ByteOrderMark = true;
        return bytes.substr(Utf8Mark.size());
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        form.ByteOrderMark = true;
        form.Kind = bytes[0] == '\xFF' ? ProfileTextForm::Utf16LittleEndian : ProfileTextForm::Utf16BigEndian;
        return DecodeUtf16(bytes, 2, form.Kind == ProfileTextForm::Utf16LittleEndian);
    }
    const std::optional<bool> littleEndian = Utf16WithoutMark(bytes);
    if (!littleEndian) return bytes;
    form.Kind = *littleEndian ? ProfileTextForm::Utf16LittleEndian : ProfileTextForm::Utf16BigEndian;
    return DecodeUtf16(bytes, 0, *littleEndian);
}

std::optional<std::string> EncodeProfileText(const std::string& text, const ProfileTextForm& form) {
    if (form.Kind == ProfileTextForm::Utf8)
        return (form.ByteOrderMark ? std::string(Utf8Mark) : std::string()) + text;
    const bool littleEndian = form.Kind == ProfileTextForm::Utf16LittleEndian;
    std::string bytes;
    if (form.ByteOrderMark) AppendUtf16(bytes, 0xFEFF, littleEndian);
    const bool whole = ForEachCodePoint(text, [&](std::uint32_t code) {
        if (code < 0x10000) {
            AppendUtf16(bytes, code, littleEndian);
            return;
        }
        code -= 0x10000;
        AppendUtf16(bytes, 0xD800 + (code >> 10), littleEndian);
        AppendUtf16(bytes, 0xDC00 + (code & 0x3FF), littleEndian);
    });
    if (!whole) return std::nullopt;
    return bytes;
}

} // namespace tamtara
