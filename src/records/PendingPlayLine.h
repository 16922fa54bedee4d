// A play waiting to be written into the records, with its song, as one line of the pending-plays
// file.
#pragma once

#include "records/PlayRecord.h"

#include <string>
#include <string_view>

namespace tamtara {

struct PendingPlay {
    SongInfo Song;
    PlayRecord Play;
};

// The line (without its line end) and back; false for a line that is not whole: a field missing
// or left over, a number out of its range, or bytes changed since the line was written.
std::string EncodePendingPlay(const PendingPlay& play);
bool DecodePendingPlay(std::string_view line, PendingPlay& play);

} // namespace tamtara
