// TMainForm, the game window: a few owned parts (settings, library, selection, play options,
// screen counters, input, packages, play) and the handlers that run the current screen on them.
// Each screen's frame and entry live in the screen's own file; ChangeScreen only goes between
// them.
#pragma once

#include "app/Calibration.h"
#include "app/GameMessages.h"
#include "app/GamePackages.h"
#include "app/GameServices.h"
#include "app/GameStartError.h"
#include "app/MessagePanel.h"
#include "app/PlayOptions.h"
#include "app/PracticeSetup.h"
#include "app/RecordKeeper.h"
#include "app/ScreenCounters.h"
#include "app/ScreenState.h"
#include "app/SongSelection.h"
#include "app/TimingPage.h"
#include "app/graphics/ScreenArt.h"
#include "app/input/GameInput.h"
#include "app/play/GamePlay.h"
#include "library/SongLibrary.h"
#include "midi/MidiDrive.h"
#include "platform/display/DXDraw.h"
#include "platform/display/DXTimer.h"
#include "settings/Settings.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tamtara {

class TMainForm {
public:
    static constexpr const char* ResourceCaption = "Tamtara ";
    static constexpr const char* VersionText = "Version 1.82";

    // FormCreate. Relative names resolve against the current directory, the game folder.
    // Raises EGameStartError naming the package file or entry that is missing.
    explicit TMainForm(GameServices services);
    // FormClose (if it has not run) and FormDestroy.
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // The launcher's settings, applied in the order the window expects them: the copies first,
    // then the display mode, the keyboard's reading mode and the player's keys.
    void HandOver(const GameSettings& settings);

    // Handlers of the window.
    void FormShow();
    void FormClose();
    void TimerTimer();
    void FormKeyDown(std::int32_t key);
    void FormCloseQuery(bool& canClose);
    // A key-down as the window delivered it, stamped time on the sequencer's clock: in precise
    // mode it strikes its lanes at once and is latched for the next poll.
    void TimedKeyDown(const TDisplayEvent& key, std::uint32_t time);

    // The only way between screens: resets the per-screen counters, loads the screen's
    // bitmaps and runs the new screen's entry action.
    void ChangeScreen(tamtara::ScreenState state);
    void ToggleFullScreen();
    // Loads the bitmaps of the current screen. When they cannot be loaded, reports the error and
    // returns false (the screen must not be entered); on the opening screen it raises it.
    bool ScreenGraphics();

    // Song library scan: fills the library's folders, songs and titles from SongFolders (the
    // game folder, the current directory, when there are none) and empties its disc lists; a
    // song folder that cannot be read is told in a notice. Either callback may be empty.
    void ScanLibrary(const std::function<void(TMainForm& Sender)>& OnComplete,
                     const std::function<void(TMainForm& Sender, std::int32_t PercentDone,
                                              const std::string& Msg)>& OnProgress);

    // The message loop: window events, MIDI completions and frame ticks until the window
    // has closed. Errors end the handler that met them and are reported.
    void Run();
    // One pass over the pending window events, finished MIDI messages and the kit's hits.
    void ProcessMessages();
    bool Closed() const { return DXDraw.CloseRequested(); }
    // Runs handler; an error it raises is reported (once while it repeats) and swallowed, so
    // the next frame runs normally.
    void RunHandler(const std::function<void()>& handler);
    // The text of the last error a handler raised; empty when none.
    const std::string& LastErrorText() const { return LastError; }
    // A message over every frame, screen and play alike, for a few seconds or until Enter or
    // Escape (which then do nothing else); also written to stderr. Messages that come while
    // one is shown wait their turn. The title says what happened, the detail what it concerns
    // and why; both are shown to the player, so in Japanese where they are the game's own.
    void ShowNotice(const std::string& text);
    void ShowNotice(const std::string& title, const std::string& detail);
    // The title of the notice on screen now; empty when none.
    const std::string& Notice() const;
    // Runs write on the ini file the game saves into (nothing when it has none); when it raises,
    // false, with the reason in *problem for a caller that tells the player itself, else in a
    // notice that the settings could not be saved.
    bool SaveSettingsFile(const std::function<void(const std::string& iniPath)>& write,
                          std::string* problem = nullptr);

    // What the window's start is doing, from FormShow to its first frame: each step with a
    // percentage, then 100 with an empty text just before the first frame is shown.
    std::function<void(std::int32_t percentDone, const std::string& step)> OnStartProgress;
    static constexpr const char* StartSynthText = "音源を準備しています...";
    static constexpr const char* StartDisplayText = "画面を開いています...";
    static constexpr const char* StartFontsText = "文字を準備しています...";
    static constexpr const char* StartGraphicsText = "画像を読み込んでいます...";

    // The clock comes first: the timer and the sequencer run on it.
    IClock& Clock;
    TDXDraw DXDraw;
    TDXTimer Timer;
    // The surfaces and bitmap text every screen draws with.
    ScreenArt Art;
    GameInput Input;
    GamePackages Packages;
    // The launcher's settings as handed over; the calibration changes InputOffsetMs.
    GameSettings Settings;
    // The song folders, their songs and the chosen folder's discs.
    TSongLibrary Library;
    // The song folders the scan walks, as the launcher chose them.
    std::vector<std::string> SongFolders;
    SongSelection Selection;
    PlayOptions Options;
    // The practice set-up screen's rows and the choices remembered per song.
    PracticeSetupState PracticeSetup;
    ScreenCounters Screen;
    // The program's one sequencer; null once FormClose has freed it.
    std::unique_ptr<TMidiDrive> MidiDrive;
    // The play screen and what it rests on: surfaces, bitmap text, capture, judgement.
    std::unique_ptr<GamePlay> Play;
    // The strikes of the latency calibration screen.
    CalibrationRun Calibrating;
    // Seeded at creation; the title screen draws the demonstration's song from it.
    std::mt19937 Random;
    // The notices shown and waiting, and the panel they are drawn in.
    GameMessageQueue Notices;
    MessagePanel NoticePanel;
    // The plays kept in the records beside the settings file (nothing kept without one).
    std::unique_ptr<RecordKeeper> Records;
    // The last finished play as recorded, and what the result screen's timing page shows of it.
    TimingPageData LastPlay;

private:
    // One screen: its frame and the action on entering it.
    struct ScreenHandlers {
        void (TMainForm::*Frame)();
        void (TMainForm::*Enter)();
    };
    static const ScreenHandlers& HandlersOf(tamtara::ScreenState state);

    void ConnectDisplayEvents();
    void DXDrawInitialize();
    void DXDrawFinalize();
    void DXDrawRestoreSurface();
    // Raises EGameStartError naming the font when the screens' fonts cannot be opened at all.
    void RequireFonts();
    void LeaveFullScreen();
    void EnterFullScreen();
    void TraceScreen(tamtara::ScreenState state);
    // "song start <path>" as the sequencer plays the first tick of a play (its thread).
    void TraceSongStart();
    // "strike lane 1 at 51234 ms: perfect" for every strike of a play as it is graded.
    void TraceStrike(const StrikeRecord& strike);
    void StartJingle(const char* fileName, bool loop, bool gmReset, bool gsReset);
    void StartEnterJingle();
    // Enter on the last screen before play: auto-play when every lane plays itself, the jingle,
    // and the frames of leaving start.
    void ConfirmPlay(PlayState& play);
    // Counts the frames after a confirmation; true when it has changed screen to next.
    bool LeaveAfterConfirmation(tamtara::ScreenState next);
    void DrawNotice();
    // A notice on screen takes the poll's Enter press that closes it.
    void TakeNoticeKeys(KeyHolds& holds);
    void ReportStart(std::int32_t percentDone, const std::string& step);
    // Once on the first title screen: the built-in synth cannot be heard.
    void NoticeSilentOutput();
    void DrawCurtain(std::int32_t height);

    // The queued strikes go to the screen that takes them: play grades them, the calibration
    // measures them; elsewhere they only count as presses through the next poll.
    void DeliverStrikes();
    // The kit's hits, and a check now and then that its port is still there.
    void ProcessKit();
    // The key thread: the window's focus handed to it, its strikes taken, its loss said.
    void ProcessKeyThread();

    // The screens, each in its own file: the frame, and the entry where it has one.
    void OpeningScreen();
    void EnterOpening();
    void TitleScreen();
    void EnterTitle();
    void StartDemonstration();
    bool IsDemonstrable(std::size_t k) const;
    void FolderSelectScreen();
    void EnterFolderSelect();
    void DiscSelectScreen();
    void EnterDiscSelect();
    void DrawDiscTexts(TDirectDrawSurface& back);
    void ModeSelectScreen();
    void EnterModeSelect();
    // The mode screen's rows as they stand, into the play state (length, speed, hidden notes).
    void ApplyModeOptions();
    // Practice: Tab on the mode screen opens the set-up; its Enter starts the practice play, its
    // Escape and BackSpace go back to the mode screen; both keep the choices for the song (and
    // the ini's part in the ini). In a practice play the practice keys act and Escape leaves to
    // the practice's result (PracticePlay.cpp).
    void OpenPracticeSetup();
    void PracticeSetupScreen();
    void EnterPracticeSetup();
    void KeepPracticeChoices();
    void LeavePracticeSetup();
    bool IsPracticePlay() const;
    // True when key was a practice key of a practice play (or its Escape) and has been acted on.
    bool PracticePlayKey(std::int32_t key);
    void PartSelectScreen();
    void EnterPartSelect();
    void PlayScreen();
    void EnterPlay();
    // Loads and starts SongFile for play; when it cannot be played, says why and leaves play.
    bool StartChosenSong();
    void LeaveUnplayableSong();
    // The scan's check of a disc (playable when it knows nothing).
    SongCheck DiscCheck(std::int32_t index) const;
    // Whether a disc may be chosen; for a marked one the player is told why, and it is not.
    bool MayChooseDisc(std::int32_t index);
    // F5 on the failed and result screens asks for the same play again, which their next frame
    // starts (play must be entered within a frame tick); Backspace on the mode and part screens
    // returns to the disc screen on the chosen song.
    bool MayRetry() const;
    void AskRetry();
    bool RetryIfAsked();
    void BackToChosenDisc();
    void StageEndScreen();
    void EnterFailed();
    void EnterCleared();
    void ResultScreen();
    void EnterResult();
    // The result screen's two pages: the counts and rank, and the timing.
    void DrawResultCounts(TDirectDrawSurface& back);
    void DrawResultTiming(TDirectDrawSurface& back);
    // The song as loaded for the play, for its records (the file may change while it plays).
    void DescribePlayedSong();
    // A cleared or failed play into the records (never a demonstration or automatic play).
    void RecordPlay(bool failed);
    // The records' notice, once, and the disc screen's badge of the highlighted song.
    void TakeRecordsNotice();
    void DrawDiscBadge(TDirectDrawSurface& back);
    // The latency calibration screen: its entry action (the clicks), its frame, and one strike
    // at a key-down's time (or, without a time, at the frame's poll); Enter takes the median as
    // the input offset and saves it.
    void CalibrationScreen();
    void EnterCalibration();
    void CalibrationStrike(std::optional<std::uint32_t> time);
    void SaveCalibration();
    void DrawCalibration();

    // Where the path of the key strikes is said (the key thread, or why not); null: nowhere.
    std::ostream* KeyPathLog;
    // Where ChangeScreen reports every screen change; null: nowhere.
    std::ostream* ScreenTrace;
    // The trace is written by the window and the sequencer thread.
    std::mutex TraceMutex;
    // The trace line for the first tick of the song being started ("song start <path>" for play,
    // "click start" for the calibration; empty for jingles); guarded by the sequencer lock.
    std::string SongStartLine;
    // The ini file the calibration saves the input offset into; empty: kept for this run only.
    std::string SettingsFile;
    bool SequencerThread;
    std::string Caption;
    // The window placement saved when full screen was entered.
    bool PlacementSaved = false;
    TWindowPlacement SavedPlacement;
    std::string LastError;
    // F5 was pressed on the failed or result screen; their next frame restarts the play.
    bool RetryAsked = false;
    // The result screen shows its timing page.
    bool TimingPageShown = false;
    // The records' ticket of the last play, for its comparison with the best; 0: none.
    std::uint64_t LastPlayTicket = 0;
    // The song of the play under way as it was loaded: its key, length and lane counts.
    SongInfo PlayedSong;
    // A stamped strike reached the calibration since its last poll.
    bool CalibrationStruckSincePoll = false;
    std::uint32_t KitCheckTime = 0;
    bool FirstFrameShown = false;
    bool SilenceNoticed = false;
};

} // namespace tamtara
