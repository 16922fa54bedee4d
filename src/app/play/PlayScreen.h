// The play screen's frame: background, meters, HUD, scrolling notes, effects, judgement at its
// fixed points, and the end of play.
#pragma once

#include "app/input/KeyHolds.h"
#include "app/play/PlayState.h"

#include <functional>
#include <string>
#include <vector>

namespace tamtara {

class BitmapText;
class IClock;
class Judge;
class PracticeControl;
class TDXDraw;
class TDXTimer;
class TDirectDrawSurface;
class TMidiDrive;
struct ScreenSurfaces;

// The window key that pauses and resumes play, as the pause screen names it.
inline constexpr const char* PauseKeyName = "F1";

// What the frame asks the window to do once it has flipped. OutputStopped: an output error
// stopped the song; the play is neither cleared nor failed.
enum class PlayOutcome { Continue, Cleared, DemoEnded, Failed, OutputStopped };

struct PlayScreenParts {
    TDXDraw& Display;
    const ScreenSurfaces& Surfaces;
    BitmapText& Text;
    PlayState& State;
    Judge& Judgement;
    PracticeControl& Practice;
    TMidiDrive& Drive;
    IClock& Clock;
    const TDXTimer& Timer;
    const std::vector<std::string>& InstrumentNames;
    // One poll of the keyboard into Holds.
    std::function<void()> PollKeys;
    const KeyHolds& Holds;
};

class PlayScreen {
public:
    explicit PlayScreen(PlayScreenParts parts);

    // One frame; frameCount is the window's FrameCount, screenFrame its ScreenFrame (before
    // this frame adds 1).
    PlayOutcome DrawPlayScreen(std::int32_t frameCount, std::int32_t screenFrame);

    // The pause key: pauses a playing song, or resumes a paused one with its count-in.
    // Demonstrations are not paused.
    void TogglePause();

private:
    // HUD pieces (PlayHud.cpp).
    void DrawMeters();
    void DrawFrameTexts();
    void DrawTitleStrip(std::int32_t frameCount);
    void DrawTempoAndCounters(std::int32_t now, std::int32_t division, std::int32_t elapsed);
    void DrawGauge();
    void DrawDemoTexts(std::int32_t frameCount);
    // A practice's tempo, loop and trainer, left of the lanes (PlayPractice.cpp).
    void DrawPracticeStrip();
    void CheckLengthOfPlay(std::int32_t elapsed);
    // The dimmed screen with "PAUSE" and its keys (PlayPause.cpp).
    void DrawPause();
    // Lanes (PlayLanes.cpp).
    void DrawBeatLines(std::int32_t now, std::int32_t division);
    void DrawNotesAndSweep(std::int32_t now, std::int32_t division);
    void DrawAutoLanes(std::int32_t frameCount);
    void DrawPads();
    void DrawGrades(std::int32_t frameCount);
    void DrawCombo();
    void DrawExplosions();

    PlayOutcome EndOfPlay(std::int32_t screenFrame);

    TDirectDrawSurface& Back();

    PlayScreenParts Parts;
};

} // namespace tamtara
