// The play screen as the window runs it: entering play with the chosen options, the frame and
// its outcome, and the way back when the song cannot be played: the player is told which file
// and why, and returns to the disc screen on that song instead of sitting in a play that never
// started (which used to end as a clear with an empty result).
#include "app/MainForm.h"
#include "app/SelectionLabels.h"

#include "app/play/PreRoll.h"

namespace tamtara {

void TMainForm::EnterPlay() {
    Screen.FrameCount = 0;
    // A play entered from play: the kit's thread must not strike into the state being reset.
    Play->Judgement.OpenStrikes(false);
    // Resets for a new play (gauge, score, counts, lanes).
    PlayState& play = Play->State;
    play.ResetForPlay();
    play.Level = Settings.Level;
    play.Lanes = LaneMap::Chosen(Settings.ExtendedDrumMap);
    play.MissPenalty = Settings.MissPenalty;
    play.Combo = Settings.Combo;
    play.InputOffsetMs = Settings.InputOffsetMs;
    Play->Judgement.BeginPlay();
    Play->Judgement.OpenStrikes(!play.DemoMode);
    play.SequencerErrorsAtStart = MidiDrive->ErrorCount();
    if (!StartChosenSong()) return;
    // The play clock starts with the song's first tick, after the pre-roll.
    play.PlayStartTime = MidiDrive->SongStartTime();
}

void TMainForm::PlayScreen() {
    const PlayOutcome outcome = Play->Screen.DrawPlayScreen(Screen.FrameCount, Screen.ScreenFrame);
    if (outcome == PlayOutcome::Cleared || outcome == PlayOutcome::Failed)
        RecordPlay(outcome == PlayOutcome::Failed);
    // A practice is not cleared: its end leads straight to its result.
    if (outcome == PlayOutcome::Cleared) ChangeScreen(IsPracticePlay() ? ssResult : ssCleared);
    if (outcome == PlayOutcome::DemoEnded) ChangeScreen(ssOpening);
    if (outcome == PlayOutcome::Failed) ChangeScreen(ssFailed);
    if (outcome == PlayOutcome::OutputStopped) {
        // Not a clear: the player is told what stopped the song, and nothing is recorded.
        ShowNotice(OutputStoppedPlayText, SongPathLabel(Selection.SongFile) + "：" + MidiDrive->LastError() +
                                              "（" + NotRecordedText + "）");
        LeaveUnplayableSong();
    }
    Screen.ScreenFrame += 1;
}

bool TMainForm::StartChosenSong() {
    std::string reason;
    try {
        MidiDrive->LoadFromFile(Selection.SongFile);
        DescribePlayedSong();
        PlaySetup options;
        options.Style = PlayStyle{.GMReset = true, .GSReset = true, .AnnounceNotes = true};
        options.Lanes = Play->State.Lanes;
        options.PreRollTicks = SongPreRoll(MidiDrive->Song(), Play->State.Lanes, Play->State.ScrollSpeed,
                                           static_cast<std::int32_t>(Timer.Interval()));
        Play->Practice.Prepare(options);
        {
            auto lock = MidiDrive->ScopedLock();
            SongStartLine = "song start " + Selection.SongFile;
        }
        MidiDrive->Play(options);
        if (MidiDrive->IsPlaying()) return true;
        reason = TimingProblem(MidiDrive->Division(), MidiDrive->Song().TrackCount);
        if (reason.empty()) reason = "曲が始まりませんでした";
    } catch (const std::exception& error) {
        reason = error.what();
    }
    ShowNotice(UnplayableSongText, SongPathLabel(Selection.SongFile) + "：" + reason);
    LeaveUnplayableSong();
    return false;
}

void TMainForm::LeaveUnplayableSong() {
    // A demonstration has no disc screen to go back to.
    if (Play->State.DemoMode || Library.DiscFiles.empty()) {
        ChangeScreen(Play->State.DemoMode ? ssOpening : ssFolderSelect);
        return;
    }
    BackToChosenDisc();
}

} // namespace tamtara
