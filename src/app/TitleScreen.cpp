// The title screen: the title picture, the blinking sign, version and level; Enter leads to
// the folder screen, and with the demonstration switched on a random song plays by itself
// after about thirty seconds without a key.
#include "app/MainForm.h"

#include <algorithm>
#include <string>

namespace tamtara {

namespace {

constexpr TRect Sign{0, 0, 320, 48};
constexpr std::int32_t LeaveAfterFrames = 30;

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

} // namespace

void TMainForm::TitleScreen() {
    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& surfaces = Play->Surfaces;
    const std::int32_t f = ScreenFrame;
    // The timings are derived from the interval; a zero interval must not divide by zero.
    const std::int32_t interval = std::max<std::int32_t>(std::int32_t(Timer.Interval()), 1);
    // An empty library has nothing to demonstrate: the title then neither fades nor closes.
    const bool demonstrate = Demo && !SongFiles.empty();

    back.Draw(0, 0, TRect{0, 0, 640, 480}, *surfaces.BackSurface, false);
    if ((FrameCount / 8) % 2 == 0) back.Draw(320, 336, Sign, *surfaces.SpriteSurface, false);
    Play->Text.DrawText16(408, 400, UpperCase(VersionText), 1);
    if (f < 8)
        DrawCurtain((8 - f) * 240 / 8);
    else if (demonstrate && f >= 29000 / interval)
        DrawCurtain((f - 29000 / interval) * 240 / 8);
    Play->Text.DrawText16(40, 4, "LEVEL " + std::to_string(Level), 0);
    DXDraw.Flip();

    // The demonstration comes first: an Enter in its last frames does not stop it.
    if (demonstrate) {
        if (f == 25000 / interval) {
            MidiDrive->FadeOut(4500);
        } else if (f > 30000 / interval) {
            StartDemonstration();
            return;
        }
    }

    Play->PollKeys();
    if (LeaveFrame == 0 && Play->State.KeyHoldA[7] == 1) {
        StartEnterJingle();
        LeaveFrame = 1;
    }
    if (LeaveFrame <= LeaveAfterFrames) {
        if (LeaveFrame > 0) LeaveFrame += 1;
        ScreenFrame += 1;
        return;
    }
    // Every normal game starts with only the hi-hat automatic, even after a demonstration.
    PlayState& play = Play->State;
    play.DemoMode = false;
    play.AutoLane.fill(false);
    play.AutoLane[dpHiHat] = true;
    ChangeScreen(ssFolderSelect);
}

// A random song of the library with every part automatic, at normal speed, no special mode.
void TMainForm::StartDemonstration() {
    PlayState& play = Play->State;
    play.DemoMode = true;
    play.ScrollSpeed = 100;
    play.HideLowerNotes = false;
    play.HideUpperNotes = false;
    play.AutoLane.fill(true);
    play.AutoPlayMode = true;
    DiscIndex = std::uniform_int_distribution<std::int32_t>(0, std::int32_t(SongFiles.size()) - 1)(Random);
    SongFile = SongFiles[DiscIndex];
    SongTitle = std::size_t(DiscIndex) < SongTitles.size() ? SongTitles[DiscIndex] : SongFile;
    ChangeScreen(ssPlay);
}

} // namespace tamtara
