// The bytes of an ini file as the UTF-8 text its editor works on, and back in the same form: a
// UTF-8 byte order mark is set aside and put back, UTF-16 (either byte order, with or without
// its mark, as Windows editors write it) is converted both ways.
#pragma once

#include <optional>
#include <string>

namespace tamtara {

struct ProfileTextForm {
    enum Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian } Kind = Utf8;
    bool ByteOrderMark = false;
};

// The file's text in UTF-8 and its form; nothing when the bytes are UTF-16 that do not decode
// (an odd length, a lone surrogate), which no save may then replace.
std::optional<std::string> DecodeProfileText(const std::string& bytes, ProfileTextForm& form);

// The text in the file's form; nothing when UTF-16 cannot hold it (bytes that are not UTF-8).
std::optional<std::string> EncodeProfileText(const std::string& text, const ProfileTextForm& form);

} // namespace tamtara
