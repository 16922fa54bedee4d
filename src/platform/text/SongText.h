// The game's one decoding of foreign text into UTF-8: song texts (titles read from the files)
// and file names as the file system gives them.
#pragma once

#include <string>
#include <string_view>

namespace tamtara {

// Song bytes as UTF-8: valid UTF-8 as it is, else Shift_JIS (code page 932), else Latin-1,
// which decodes any byte string.
std::string SongTextToUtf8(std::string_view bytes);

// A file name as UTF-8: valid sequences kept, every byte that is not part of one shown as "?".
std::string FileNameToUtf8(std::string_view bytes);

// The name a song is shown by, as UTF-8: its title decoded, or, when the title is empty or only
// blanks and control characters, the song file's name without its folder and extension.
std::string SongLabel(std::string_view titleBytes, std::string_view songFile);

// Length of the valid UTF-8 sequence at the start of text (no overlong forms, no surrogates,
// nothing above U+10FFFF); 0 when text does not start with one.
std::size_t Utf8SequenceLength(std::string_view text);

} // namespace tamtara
