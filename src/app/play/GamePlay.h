// Everything the game window owns for play, assembled once: the play state, drum note capture,
// judgement and the play screen (drawing with the window's surfaces and bitmap text).
#pragma once

#include "app/graphics/ScreenArt.h"
#include "app/input/KeyHolds.h"
#include "app/play/Judge.h"
#include "app/play/NoteCapture.h"
#include "app/play/PlayScreen.h"
#include "app/play/PlayState.h"
#include "app/play/PracticeControl.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace tamtara {

struct GamePlayParts {
    TDXDraw& Display;
    ScreenArt& Art;
    TMidiDrive& Drive;
    IClock& Clock;
    const TDXTimer& Timer;
    const std::vector<std::string>& InstrumentNames;
    // One keyboard poll into Holds (the window's input part).
    std::function<void()> PollKeys;
    const KeyHolds& Holds;
};

class GamePlay {
public:
    explicit GamePlay(GamePlayParts parts);

    // Tells the capture, on the sequencer thread, whether play is the current screen.
    void SetOnPlayScreen(bool onPlayScreen) { OnPlayScreen.store(onPlayScreen); }

    PlayState State;
    NoteCapture Capture;
    Judge Judgement;
    PracticeControl Practice;
    PlayScreen Screen;

private:
    std::atomic<bool> OnPlayScreen{false};
};

} // namespace tamtara
