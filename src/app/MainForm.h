// TMainForm, the game window: the state every screen shares, the frame tick that runs the
// current screen, ChangeScreen, the window's key and close handlers and the full-screen toggle.
#pragma once

#include "app/Calibration.h"
#include "app/GameServices.h"
#include "app/KitInput.h"
#include "app/ScreenState.h"
#include "app/play/GamePlay.h"
#include "library/SearchDir.h"
#include "library/SearchFile.h"
#include "midi/MidiDrive.h"
#include "platform/display/DXDraw.h"
#include "platform/display/DXTimer.h"
#include "platform/input/DXInput.h"
#include "resources/PackageFile.h"

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tamtara {

// The window cannot start: a package file or entry it needs is missing, or no font is usable.
class EGameStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TMainForm {
public:
    static constexpr const char* ResourceCaption = "Tamtara ";
    static constexpr const char* VersionText = "Version 1.82";
    static constexpr const char* GraphicsPackageName = "Graphics.pb";
    static constexpr const char* DataPackageName = "Data.pb";
    static constexpr const char* InstrumentNamesEntry = "InstName.txt";

    // FormCreate. Relative names resolve against the current directory, the game folder.
    // Raises EGameStartError naming the package file or entry that is missing.
    explicit TMainForm(GameServices services);
    // FormClose (if it has not run) and FormDestroy.
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Handlers of the window.
    void FormShow();
    void FormClose();
    void DXDrawInitialize();
    void DXDrawFinalize();
    void DXDrawRestoreSurface();
    void TimerTimer();
    void FormKeyDown(std::int32_t key);
    void FormCloseQuery(bool& canClose);

    // The only way between screens: resets the per-screen counters, loads the screen's
    // bitmaps and runs the new screen's entry action.
    void ChangeScreen(tamtara::ScreenState state);
    void ToggleFullScreen();
    // Loads the bitmaps of the current screen. When they cannot be loaded, reports the error and
    // returns false (the screen must not be entered); on the opening screen it raises it.
    bool ScreenGraphics();
    // Raises EGameStartError naming the font when the screens' fonts cannot be opened at all.
    void RequireFonts();

    // The two halves of ToggleFullScreen's option change, without closing or opening the
    // display; the settings hand-over uses LeaveFullScreen before the window is shown.
    void LeaveFullScreen();
    void EnterFullScreen();
    // Writes the player's keys into slot 0 of the lane states (first and second key per part).
    void SetPlayerKeys(const std::array<std::int32_t, 7>& keyA,
                       const std::array<std::int32_t, 7>& keyB);

    // The message loop: window events, MIDI completions and frame ticks until the window
    // has closed. Errors end the handler that met them and are reported.
    void Run();
    // One pass over the pending window events and finished MIDI messages.
    void ProcessMessages();
    // A key-down as the window delivered it, stamped time on the sequencer's clock: in precise
    // mode it strikes its lanes at once and is latched for the next poll.
    void TimedKeyDown(const TDisplayEvent& key, std::uint32_t time);
    // A lane struck at time (by a key or a pad, velocity 0 for a key): play grades it, the
    // calibration measures it; other screens only see it through the next poll.
    void LaneStruck(int lane, std::uint32_t time, std::uint8_t velocity);
    // The kit's hits since the last pass: each strikes its lane at its own time and counts as a
    // press of the lane's first key (or of Enter) at the next poll; a vanished port is closed.
    void ProcessKit();
    // A line over the top of every frame for a few seconds (also written to stderr).
    void ShowNotice(const std::string& text);
    // The notice on screen now; empty when none.
    const std::string& Notice() const { return NoticeText; }
    bool Closed() const { return DXDraw.CloseRequested(); }
    // Runs handler; an error it raises is reported (once while it repeats) and swallowed, so
    // the next frame runs normally.
    void RunHandler(const std::function<void()>& handler);
    // The text of the last error a handler raised; empty when none.
    const std::string& LastErrorText() const { return LastError; }

    // Current screen and its counters.
    tamtara::ScreenState ScreenState = ssOpening;
    std::int32_t FrameCount = 0;
    std::int32_t ScreenFrame = 0;
    std::int32_t LeaveFrame = 0;

    // Copies of the launcher's settings.
    bool Prev = false;
    bool Demo = false;
    bool Combo = false;
    bool NoBank = false;
    std::int32_t MidiDevice = 0;
    std::int32_t MissPenalty = 0;
    std::int32_t Level = 0;
    // Strikes judged at the key-down's own moment (off: only the frame's poll sees keys).
    bool PreciseInput = true;
    // The player's latency: a strike at time t is graded as at t - InputOffsetMs.
    std::int32_t InputOffsetMs = 0;
    // The ini file the calibration saves InputOffsetMs into; empty: kept for this run only.
    std::string SettingsFile;
    // The kit's MIDI input port (empty: none) and its map.
    std::string MidiIn;
    KitSettings KitMap = DefaultKit();

    std::string Caption;
    // Seeded at creation; the title screen draws the demonstration's song from it.
    std::mt19937 Random;

    // Song library scan: fills Folders, SongFiles and SongTitles from the game folder (the
    // current directory) and empties the disc lists. Either callback may be empty.
    void ScanLibrary(const std::function<void(TMainForm& Sender)>& OnComplete,
                     const std::function<void(TMainForm& Sender, std::int32_t PercentDone,
                                              const std::string& Msg)>& OnProgress);
    void SearchDirFind(TSearchDir& Sender, const std::string& Name, const TSearchFileData& Data,
                       bool& IgnoreSubDir, bool& Continue);
    void SearchFileFind(TSearchFile& Sender, const std::string& Name, const TSearchFileData& Data,
                        bool& Continue);
    TSearchDir SearchDir;
    TSearchFile SearchFile;

    // Song library and selection.
    std::vector<std::string> Folders;
    std::vector<std::string> SongFiles;
    std::vector<std::string> SongTitles;
    std::vector<std::string> DiscFiles;
    std::vector<std::string> DiscTitles;
    std::string SongFile;
    std::string SongTitle;
    std::int32_t FolderIndex = 0;
    std::int32_t DiscIndex = 0;
    std::int32_t WheelAngle = 0;
    std::int32_t WheelTarget = 0;
    std::int32_t PreviewDelay = 0;

    // Choices of the mode screen.
    std::uint8_t PlayTimeChoice = 0;
    std::uint8_t SpeedChoice = 0;
    std::uint8_t SpecialChoice = 0;

    // The clock comes first: the timer and the sequencer run on it.
    IClock& Clock;
    TDXDraw DXDraw;
    TDXTimer Timer;
    // What the keyboard component reads; it must outlive DXInput.
    std::unique_ptr<TKeySource> KeySource;
    TDXInput DXInput;
    TReadPackageFile GraphicsPackage;
    TReadPackageFile DataPackage;
    std::vector<std::string> InstrumentNames;
    // The program's one sequencer; null once FormClose has freed it.
    std::unique_ptr<TMidiDrive> MidiDrive;
    // The play screen and what it rests on: surfaces, bitmap text, capture, judgement.
    std::unique_ptr<GamePlay> Play;
    // The strikes of the latency calibration screen.
    CalibrationRun Calibrating;
    // The kit's input; null when the program has no MIDI input driver.
    std::unique_ptr<KitInput> Kit;
    // Where ChangeScreen reports every screen change ("screen ssTitle"); null: nowhere.
    std::ostream* ScreenTrace = nullptr;

private:
    void ConnectDisplayEvents();
    void ConnectLibrarySearch();
    void FixMenuKeys();
    void OpenPackages();
    void StartJingle(const char* fileName, bool loop, bool gmReset, bool gsReset);
    void RunScreen();
    // The latency calibration screen: its entry action (the clicks), its frame, and one strike
    // at a key-down's time (or, without a time, at the frame's poll).
    void EnterCalibration();
    void CalibrationScreen();
    void CalibrationStrike(std::optional<std::uint32_t> time);
    void DrawNotice();
    // The opening, title, stage-end and result screens: one frame each.
    void OpeningScreen();
    void TitleScreen();
    void StartDemonstration();
    void StageEndScreen();
    void ResultScreen();
    void DrawCurtain(std::int32_t height);
    void StartEnterJingle();
    // The song selection screens: folder, disc, mode and part.
    void FolderSelectScreen();
    void DiscSelectScreen();
    void ModeSelectScreen();
    void PartSelectScreen();
    void DrawDiscTexts(TDirectDrawSurface& back);
    void TurnWheel();
    std::uint8_t& ModeChoice(std::int32_t row);
    // Counts the frames after a confirmation; true when it has changed screen to next.
    bool LeaveAfterConfirmation(tamtara::ScreenState next);
    // Loads and starts SongFile for play; when it cannot be played, says why and leaves play.
    bool StartChosenSong();
    void LeaveUnplayableSong();

    bool SequencerThread;
    // The window placement saved when full screen was entered.
    bool PlacementSaved = false;
    TWindowPlacement SavedPlacement;
    std::string LastError;
    // A stamped strike reached the calibration since its last poll.
    bool CalibrationStruckSincePoll = false;
    std::uint32_t KitCheckTime = 0;
    std::string NoticeText;
    std::uint32_t NoticeStart = 0;
};

} // namespace tamtara
