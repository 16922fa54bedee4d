// The player's way to a song: the folder and disc chosen, the turning wheels of the selection
// screens, the disc screen's preview countdown, and the song that play loads.
#pragma once

#include <cstdint>
#include <string>

namespace tamtara {

struct SongSelection {
    std::int32_t FolderIndex = 0;
    std::int32_t DiscIndex = 0;
    std::int32_t WheelAngle = 0;
    std::int32_t WheelTarget = 0;
    // Frames the highlighted disc has rested; the preview starts at 30.
    std::int32_t PreviewDelay = 0;
    std::string SongFile;
    // The song's own title bytes (decoded only for drawing).
    std::string SongTitle;

    // One step of a wheel towards its target.
    void TurnWheel() {
        if (WheelAngle < WheelTarget)
            WheelAngle += 4;
        else if (WheelAngle > WheelTarget)
            WheelAngle -= 4;
    }
};

} // namespace tamtara
