// TMainForm, the game window: the state every screen shares, the frame tick that runs the
// current screen, ChangeScreen, the window's key and close handlers and the full-screen toggle.
#pragma once

#include "app/GameServices.h"
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
    // Where ChangeScreen reports every screen change ("screen ssTitle"); null: nowhere.
    std::ostream* ScreenTrace = nullptr;

private:
    void ConnectDisplayEvents();
    void ConnectLibrarySearch();
    void FixMenuKeys();
    void OpenPackages();
    void StartJingle(const char* fileName, bool loop, bool gmReset, bool gsReset);
    void RunScreen();
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
};

} // namespace tamtara
