// A headless game window for tests: the whole TMainForm on the headless presenter, a fake
// clock, a scripted keyboard and a recording MIDI driver, stepped one frame at a time.
//
//   TestGameFolder folder("StateMachine");      // packages, jingles, a song
//   GameHarness game(folder.Path());             // creates and shows the window
//   game.Step();                                 // first frame: ssOpening
//   game.WindowKey(WindowKeys::Escape);          // the window's own keys, seen at the next Step
//   game.HoldKey(13); game.Step(); game.ReleaseKey(13);   // the game's keys (key codes)
//   game.State(); game.Pixel(320, 240); game.MidiMessages(); game.SavePng("shot.png");
#pragma once

#include "app/MainForm.h"
#include "settings/Settings.h"
#include "support/FakeClock.h"
#include "support/doubles/HeadlessPresenter.h"
#include "support/doubles/RecordingMidiDriver.h"
#include "support/doubles/ScriptedKeySource.h"
#include "support/doubles/ScriptedMidiInDriver.h"
#include "support/doubles/ScriptedRawKeyReader.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tamtara::testing {

struct HarnessOptions {
    // Handed over before the window is shown; FullScreen false gives the 640 x 480 window.
    GameSettings Settings;
    // Run FormShow (opens the MIDI output and the display) at construction.
    bool Show = true;
    // The MIDI input ports the scripted kit driver lists.
    std::vector<std::string> MidiInPorts = {"Test Kit"};
    // Where the calibration saves the input offset (empty: nowhere) and where screen changes
    // are traced (null: nowhere).
    std::string SettingsFile;
    std::ostream* ScreenTrace = nullptr;
    // A scripted key thread (RawKeyDownAt); KeyThreadRefusal makes it refuse to start with that
    // reason, and KeyPathLog is where the window says which path the keys take.
    bool KeyThread = false;
    std::string KeyThreadRefusal;
    std::ostream* KeyPathLog = nullptr;
};

class GameHarness {
public:
    // Makes gameFolder the current directory for the harness's life and creates the window
    // there; raises what the window's creation raises (EGameStartError for missing packages).
    explicit GameHarness(const std::filesystem::path& gameFolder, HarnessOptions options = {});
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    TMainForm& Form() { return *Window; }
    ScreenState State() const { return Window->Screen.ScreenState; }

    // One frame per count: the pending window events and MIDI completions, then 33 ms of the
    // clock with the sequencer's passes, then TimerTimer.
    void Step(int frames = 1);
    // ChangeScreen as a screen's handler calls it within a frame tick, followed by the tick's
    // own FrameCount += 1 (so entering play leaves FrameCount at 1, not at the 0 that would
    // send the next frame to the opening screen).
    void ChangeScreenInFrame(ScreenState state);
    // Sets the song and enters play as the part selection screen does.
    void EnterPlay(const std::string& songFile);
    // Steps until the screen is state or maxFrames have run; true when it got there.
    bool StepUntil(ScreenState state, int maxFrames);

    // The game's keys, by key code (Return 13, "A" 65, arrows 37 to 40): held until released.
    void HoldKey(int keyCode) { Keys->Press(keyCode); }
    void ReleaseKey(int keyCode) { Keys->Release(keyCode); }
    // Holds the key for one frame, then releases it.
    void TapKey(int keyCode);
    // A key going down or up atMs (0 to 32) into the next Step, between two frame ticks: the
    // keyboard's state changes then and the window takes the key event at that moment, as the
    // game loop does while it waits for the next tick.
    void KeyDownAt(std::uint32_t atMs, int keyCode) { Scheduled.push_back({atMs, keyCode, true}); }
    void KeyUpAt(std::uint32_t atMs, int keyCode) { Scheduled.push_back({atMs, keyCode, false}); }
    // A message from the kit's port atMs (0 to 32) into the next Step, stamped at that moment on
    // the input thread's side and taken by the window at once (it wakes the loop's wait).
    void KitMessageAt(std::uint32_t atMs, std::uint8_t status, std::uint8_t note, std::uint8_t velocity) {
        Scheduled.push_back({atMs, 0, false, MidiInMessage{0, status, note, velocity}});
    }
    // A note-on of the kit (channel 10).
    void KitHitAt(std::uint32_t atMs, std::uint8_t note, std::uint8_t velocity = 100) {
        KitMessageAt(atMs, 0x99, note, velocity);
    }
    // A key-down read by the key thread atMs (0 to 32) into the next Step, stamped at that moment
    // (HarnessOptions::KeyThread); the window's own event of the key is KeyDownAt.
    void RawKeyDownAt(std::uint32_t atMs, int keyCode) {
        Scheduled.push_back({atMs, keyCode, true, std::nullopt, true});
    }
    // A key for the window's own handler (F2, F4, Escape: WindowKeys), delivered at the next Step.
    void WindowKey(std::int32_t virtualKey);
    // The window's close button, asked at the next Step.
    void RequestClose() { Presenter->PushCloseRequest(); }
    bool Closed() const { return Window->Closed(); }

    // The back buffer, where the screens draw.
    const TDirectDrawSurface& BackBuffer() { return Window->DXDraw.Surface(); }
    std::uint32_t Pixel(int x, int y) { return BackBuffer().Pixel(x, y); }
    bool SavePng(const std::string& path) { return BackBuffer().SaveToPng(path); }

    std::vector<RecordedMessage> MidiMessages() const { return Midi->Messages(); }
    void ClearMidiMessages() { Midi->ClearMessages(); }

    FakeClock& Clock() { return *FrameClock; }
    THeadlessPresenter& Display() { return *Presenter; }
    TScriptedKeySource& KeySource() { return *Keys; }
    RecordingMidiDriver& MidiDriver() { return *Midi; }
    ScriptedMidiInDriver& MidiIn() { return *KitDriver; }
    // Null without HarnessOptions::KeyThread.
    ScriptedRawKeyReader* RawKeys() { return RawReader; }

private:
    struct ScheduledKey {
        std::uint32_t AtMs;
        int KeyCode;
        bool Down;
        std::optional<MidiInMessage> Kit = std::nullopt;
        bool Raw = false;
    };
    // Runs the sequencer's passes until the clock has moved on by milliseconds.
    void RunSequencer(std::uint32_t milliseconds);
    // Runs the sequencer up to atMs after frameStart (if it is not there yet).
    void RunSequencerTo(std::uint32_t frameStart, std::uint32_t atMs);
    void DeliverKey(std::uint32_t frameStart, const ScheduledKey& key);

    std::vector<ScheduledKey> Scheduled;

    std::filesystem::path PreviousFolder;
    std::unique_ptr<FakeClock> FrameClock;
    std::unique_ptr<RecordingMidiDriver> Midi;
    std::unique_ptr<ScriptedMidiInDriver> KitDriver;
    THeadlessPresenter* Presenter = nullptr;
    TScriptedKeySource* Keys = nullptr;
    ScriptedRawKeyReader* RawReader = nullptr;
    std::unique_ptr<TMainForm> Window;
};

// Options of a game folder made for one test.
struct TestGameFolderOptions {
    // Graphics.pb: a copy of the built game folder's (every bitmap the screens load), or,
    // when that has not been built or GraphicsEntries are given, a package of those entries.
    bool GraphicsPackage = true;
    bool DataPackage = true;
    bool InstrumentNames = true;
    // Extra entries of Graphics.pb (bitmaps), by name.
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> GraphicsEntries;
    // Entries of the built game's Graphics.pb made into damaged bitmaps (headers zeroed), the
    // rest copied as they are.
    std::vector<std::string> BrokenGraphics;
    // Jingles "_enter.mid", "_select.mid", "_failed.mid", "_cleared.mid".
    bool Jingles = true;
    // Song files to write, as paths relative to the folder ("Demo/song.mid").
    std::vector<std::string> Songs = {"Songs/demo.mid"};
};

// A fresh folder under the system's temporary folder, removed again with the object.
class TestGameFolder {
public:
    explicit TestGameFolder(const std::string& name, TestGameFolderOptions options = {});
    ~TestGameFolder();
    TestGameFolder(const TestGameFolder&) = delete;
    TestGameFolder& operator=(const TestGameFolder&) = delete;
    const std::filesystem::path& Path() const { return Folder; }

private:
    std::filesystem::path Folder;
};

// The program change number each jingle starts with, so tests can tell which one played.
constexpr std::uint8_t EnterJingleProgram = 1;
constexpr std::uint8_t SelectJingleProgram = 2;
constexpr std::uint8_t FailedJingleProgram = 3;
constexpr std::uint8_t ClearedJingleProgram = 4;
constexpr std::uint8_t SongProgram = 5;

// A one-track Standard MIDI File (480 ticks per quarter note, 120 beats per minute): a program
// change on channel 1, one note on it, and a snare (38) on channel 10, each a quarter long.
std::vector<std::uint8_t> TinySong(std::uint8_t program);

// Program changes (status 0xC0 to 0xCF) among messages, in order.
std::vector<std::uint8_t> ProgramChanges(const std::vector<RecordedMessage>& messages);

} // namespace tamtara::testing
