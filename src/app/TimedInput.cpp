// Strikes at their own moment: key-downs stamped as the window delivers them, struck at once in
// play and measured on the calibration screen, instead of waiting for the frame's poll.
#include "app/MainForm.h"

#include "platform/display/SurfaceCanvas.h"
#include "platform/input/GameBindings.h"

#include <iostream>

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

namespace {

// How often an open kit port is looked for, and how long a notice stays on screen.
constexpr std::uint32_t KitCheckInterval = 1000;
constexpr std::uint32_t NoticeMilliseconds = 6000;

TInputStates Only(InputState state) {
    TInputStates states;
    states.Include(state);
    return states;
}

} // namespace

void TMainForm::ProcessKit() {
    for (const KitHit& hit : Kit->TakeHits()) {
        if (hit.Lane < 0) {
            DXInput.Latch(Only(FirstKeyStates[7]));
            continue;
        }
        // The lane's first key is also its menu button (left, right, up, down).
        DXInput.Latch(Only(FirstKeyStates[static_cast<std::size_t>(hit.Lane)]));
        LaneStruck(hit.Lane, hit.Time, hit.Velocity);
    }
    const std::uint32_t now = Clock.Now();
    if (!Kit->IsOpen() || now - KitCheckTime < KitCheckInterval) return;
    KitCheckTime = now;
    if (!Kit->Connected()) {
        Kit->Close();
        ShowNotice("MIDI input \"" + MidiIn + "\" lost: playing on with the keyboard");
    }
}

void TMainForm::ShowNotice(const std::string& text) {
    std::cerr << "tamtara: " << text << std::endl;
    NoticeText = text;
    NoticeStart = Clock.Now();
}

void TMainForm::DrawNotice() {
    if (NoticeText.empty()) return;
    if (Clock.Now() - NoticeStart > NoticeMilliseconds) {
        NoticeText.clear();
        return;
    }
    TDirectDrawSurface& back = DXDraw.Surface();
    back.FillRect(TRect{0, 0, 640, 24}, back.ColorMatch(ColorRGB(128, 0, 0)));
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "Times New Roman";
    canvas.Font.Height = -16;
    canvas.Font.Style = TFontStyles{};
    canvas.Font.Color = clWhite;
    canvas.TextOut(320 - canvas.TextWidth(NoticeText) / 2, 3, NoticeText);
    back.ReleaseCanvas();
}

} // namespace tamtara
