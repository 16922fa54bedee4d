// The title screen: the title picture, the blinking sign, version and level; Enter leads to
// the folder screen, and with the demonstration switched on a random song plays by itself
// after about thirty seconds without a key.
#include "app/MainForm.h"
#include "app/MenuText.h"

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
    const ScreenSurfaces& surfaces = Art.Surfaces;
    const std::int32_t f = Screen.ScreenFrame;
    // The timings are derived from the interval; a zero interval must not divide by zero.
    const std::int32_t interval = std::max<std::int32_t>(std::int32_t(Timer.Interval()), 1);
    // A library without a playable song has nothing to demonstrate: the title then neither
    // fades nor closes.
    bool demonstrable = false;
    for (std::size_t k = 0; k < Library.SongFiles.size() && !demonstrable; ++k)
        demonstrable = IsDemonstrable(k);
    const bool demonstrate = Settings.Demo && demonstrable;

    back.Draw(0, 0, TRect{0, 0, 640, 480}, *surfaces.BackSurface, false);
    if ((Screen.FrameCount / 8) % 2 == 0) back.Draw(320, 336, Sign, *surfaces.SpriteSurface, false);
    Art.Text.DrawText16(408, 400, UpperCase(VersionText), 1);
    DrawHelpLine(back, "F3: タイミング調整 (キャリブレーション)");
    if (f < 8)
        DrawCurtain((8 - f) * 240 / 8);
    else if (demonstrate && f >= 29000 / interval)
        DrawCurtain((f - 29000 / interval) * 240 / 8);
    Art.Text.DrawText16(40, 4, "LEVEL " + std::to_string(Settings.Level), 0);
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

    Input.PollKeys();
    if (Screen.LeaveFrame == 0 && Input.Holds.KeyHoldA[7] == 1) {
        StartEnterJingle();
        Screen.LeaveFrame = 1;
    }
    if (Screen.LeaveFrame <= LeaveAfterFrames) {
        if (Screen.LeaveFrame > 0) Screen.LeaveFrame += 1;
        Screen.ScreenFrame += 1;
        return;
    }
    // Every normal game starts with only the hi-hat automatic, even after a demonstration.
    PlayState& play = Play->State;
    play.DemoMode = false;
    play.AutoLane.fill(false);
    play.AutoLane[dpHiHat] = true;
    ChangeScreen(ssFolderSelect);
}

// Whether the library's song k can be played and has drum notes; the scan marked the others.
bool TMainForm::IsDemonstrable(std::size_t k) const {
    return k >= Library.SongChecks.size() || Library.SongChecks[k].Mark == SongMark::Playable;
}

// A random playable song of the library with every part automatic, at normal speed, no special
// mode.
void TMainForm::StartDemonstration() {
    std::vector<std::int32_t> songs;
    for (std::size_t k = 0; k < Library.SongFiles.size(); ++k)
        if (IsDemonstrable(k)) songs.push_back(static_cast<std::int32_t>(k));
    if (songs.empty()) return;
    PlayState& play = Play->State;
    play.DemoMode = true;
    play.ScrollSpeed = 100;
    play.HideLowerNotes = false;
    play.HideUpperNotes = false;
    play.AutoLane.fill(true);
    play.AutoPlayMode = true;
    Selection.DiscIndex = songs[std::uniform_int_distribution<std::size_t>(0, songs.size() - 1)(Random)];
    Selection.SongFile = Library.SongFiles[Selection.DiscIndex];
    Selection.SongTitle = std::size_t(Selection.DiscIndex) < Library.SongTitles.size()
                              ? Library.SongTitles[Selection.DiscIndex]
                              : Selection.SongFile;
    ChangeScreen(ssPlay);
}

void TMainForm::EnterTitle() {
    MidiDrive->Stop();
    NoticeSilentOutput();
}

void TMainForm::NoticeSilentOutput() {
    if (SilenceNoticed) return;
    SilenceNoticed = true;
    std::string reason;
    {
        const auto lock = MidiDrive->ScopedLock();
        if (const TMidiOutput* output = MidiDrive->Output()) reason = output->SilenceReason();
    }
    // The system's reason is English: the player reads what it means, the details keep it.
    if (!reason.empty()) ShowNotice("音が出ません: 音声出力装置か音色 (SoundFont) を使えません", reason);
}

} // namespace tamtara
