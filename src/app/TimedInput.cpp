// Strikes at their own moment: key-downs stamped as the window delivers them, struck at once in
// play and measured on the calibration screen, instead of waiting for the frame's poll.
#include "app/MainForm.h"

#include "platform/input/GameBindings.h"

namespace tamtara {

void TMainForm::TimedKeyDown(const TDisplayEvent& key, std::uint32_t time) {
    if (!PreciseInput || key.Repeat) return;
    const TInputStates states = DXInput.StatesOfKey(key.Scancode);
    if (states.Empty()) return;
    // The poll must still see a tap that is over before the next frame.
    DXInput.Latch(states);
    for (int lane = 0; lane < LaneCount; ++lane) {
        if (states.Contains(FirstKeyStates[lane]) || states.Contains(SecondKeyStates[lane]))
            LaneStruck(lane, time, 0);
    }
}

void TMainForm::LaneStruck(int lane, std::uint32_t time, std::uint8_t velocity) {
    if (ScreenState == ssPlay && !Play->State.DemoMode) Play->Judgement.StrikeAt(lane, time, velocity);
    if (ScreenState == ssCalibration) CalibrationStrike(time);
}

} // namespace tamtara
