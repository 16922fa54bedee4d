// Everything the game window owns for play, assembled once: the play state, the fourteen
// surfaces, bitmap text, drum note capture, judgement and the play screen.
#pragma once

#include "app/play/BitmapText.h"
#include "app/play/Judge.h"
#include "app/play/NoteCapture.h"
#include "app/play/PlayScreen.h"
#include "app/play/PlayState.h"
#include "app/play/ScreenSurfaces.h"

#include <functional>
#include <string>
#include <vector>

namespace tamtara {

struct GamePlayParts {
    TDXDraw& Display;
    TMidiDrive& Drive;
    IClock& Clock;
    const TDXTimer& Timer;
    const std::vector<std::string>& InstrumentNames;
    // Polls the keyboard once (DXInput.Update).
    std::function<void()> UpdateInput;
    // Whether an input state (inButton1 is 4) is on after the last update.
    std::function<bool(int inputState)> InputOn;
};

class GamePlay {
public:
    explicit GamePlay(GamePlayParts parts);

    // PollKeys: one keyboard poll into KeyHoldA / KeyHoldB; every screen calls it once a frame.
    void PollKeys();
    // Tells the capture, on the sequencer thread, whether play is the current screen.
    void SetOnPlayScreen(bool onPlayScreen) { OnPlayScreen.store(onPlayScreen); }

    PlayState State;
    ScreenSurfaces Surfaces;
    BitmapText Text;
    NoteCapture Capture;
    Judge Judgement;
    PlayScreen Screen;

private:
    std::function<void()> UpdateInput;
    std::function<bool(int)> InputOn;
    std::atomic<bool> OnPlayScreen{false};
};

} // namespace tamtara
