// Strikes at their own moment: key-downs stamped as the window delivers them and the kit's
// pad hits go into the input's one queue, and from there at once to the screen that takes
// them (play grades them, the calibration measures them), instead of waiting for the frame's
// poll. In the player's play a pad sounds on the kit's own input thread, and a key on the key
// thread where one runs, without waiting for the window at all, and only its grade comes here.
#include "app/MainForm.h"

namespace tamtara {

namespace {

// How often an open kit port is looked for.
constexpr std::uint32_t KitCheckInterval = 1000;

} // namespace

void TMainForm::TimedKeyDown(const TDisplayEvent& key, std::uint32_t time) {
    if (!Settings.PreciseInput) return;
    if (key.Repeat) return;
    Input.KeyDown(key.Scancode, time);
    DeliverStrikes();
}

void TMainForm::ProcessKit() {
    Input.TakeKitHits();
    DeliverStrikes();
    KitInput& kit = *Input.Kit;
    const std::uint32_t now = Clock.Now();
    if (!kit.IsOpen() || now - KitCheckTime < KitCheckInterval) return;
    KitCheckTime = now;
    if (!kit.Connected()) {
        kit.Close();
        ShowNotice("MIDI入力が切断されました",
                   "「" + Settings.MidiIn + "」が見つかりません。キーボードで演奏を続けます");
    }
}

void TMainForm::ProcessKeyThread() {
    KeyStrikeInput& keys = *Input.KeyThread;
    keys.SetFocus(Input.KeySource->HasFocus());
    keys.CheckLost(KeyPathLog);
    Play->Judgement.KeysStruckElsewhere = keys.InUse();
    Input.TakeKeyStrikes();
    DeliverStrikes();
}

void TMainForm::DeliverStrikes() {
    // The pads struck on the kit's input thread are graded first: they came before the rest.
    if (Screen.ScreenState == ssPlay) Play->Judgement.GradeSounded();
    Input.Strikes.Drain([this](const Strike& strike) {
        if (strike.ByKeyThread) return;
        if (Screen.ScreenState == ssPlay && !Play->State.DemoMode)
            Play->Judgement.StrikeAt(strike.Lane, strike.Time, strike.Velocity);
        if (Screen.ScreenState == ssCalibration) CalibrationStrike(strike.Time);
    });
}

} // namespace tamtara
