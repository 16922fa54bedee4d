// The current screen and the frame counters every screen reads: frames since the window's
// first frame, frames on this screen, and the frames counted after a confirmation.
#pragma once

#include "app/ScreenState.h"

#include <cstdint>

namespace tamtara {

struct ScreenCounters {
    tamtara::ScreenState ScreenState = ssOpening;
    std::int32_t FrameCount = 0;
    std::int32_t ScreenFrame = 0;
    std::int32_t LeaveFrame = 0;

    // A new screen starts counting its own frames from 0; FrameCount runs on.
    void Enter(tamtara::ScreenState state) {
        ScreenFrame = 0;
        LeaveFrame = 0;
        ScreenState = state;
    }
};

} // namespace tamtara
