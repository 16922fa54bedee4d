// The headless game harness and the game folders it runs in.
#include "support/harness/GameHarness.h"

#include "launcher/SettingsHandOver.h"
#include "platform/display/WindowKeyCodes.h"
#include "platform/input/SdlKeyTables.h"
#include "program/MainFormGameWindow.h"
#include "resources/PackageFile.h"
#include "resources/PackageWriter.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>

namespace tamtara::testing {

namespace {

constexpr std::uint32_t FrameMilliseconds = 33;
// More passes than any frame needs; a sequencer that stops moving the clock cannot hang a test.
constexpr int MaxPassesPerFrame = 10000;
// Harnesses alive, oldest first. Each moves the process into its game folder and back at its
// end; one that ends before a harness made after it (a fixture replacing its harness) leaves
// the folder to that one and hands it the folder to go back to, or the process would end up in
// a game folder its test has already removed.
std::vector<GameHarness*> LiveHarnesses;

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void PutBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count) {
    for (int shift = (count - 1) * 8; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Every entry of the package at path, those named in broken with their headers after "BM"
// zeroed (the size stays, so the damage does not spill into the next entry).
std::vector<PackageSource> WithBrokenEntries(const std::string& path,
                                             const std::vector<std::string>& broken) {
    TReadPackageFile package;
    package.OpenFile(path);
    if (!package.IsOpen()) throw std::runtime_error("cannot open " + path);
    std::vector<PackageSource> entries;
    for (int i = 0; i < package.EntryCount(); ++i) {
        const std::string& name = package.Entries()[static_cast<std::size_t>(i)].Name;
        std::vector<std::uint8_t> bytes = package.ReadEntry(name)->Data();
        if (std::find(broken.begin(), broken.end(), name) != broken.end())
            std::fill(bytes.begin() + 2, bytes.begin() + std::min<std::ptrdiff_t>(54, std::ssize(bytes)), 0);
        entries.push_back({name, std::move(bytes)});
    }
    return entries;
}

} // namespace

std::vector<std::uint8_t> TinySong(std::uint8_t program) {
    const std::vector<std::uint8_t> events = {
        0x00, 0xFF, 0x51,    0x03, 0x07, 0xA1, 0x20, // 120 beats per minute
        0x00, 0xC0, program, 0x00, 0x90, 60,   100,  0x00,
        0x99, 38,   100,     0x83, 0x60, 0x80, 60,   0, // a quarter note later
        0x00, 0x89, 38,      0,    0x00, 0xFF, 0x2F, 0x00};
    std::vector<std::uint8_t> bytes = {'M', 'T', 'h', 'd'};
    PutBigEndian(bytes, 6, 4);
    PutBigEndian(bytes, 0, 2);
    PutBigEndian(bytes, 1, 2);
    PutBigEndian(bytes, 480, 2);
    bytes.insert(bytes.end(), {'M', 'T', 'r', 'k'});
    PutBigEndian(bytes, static_cast<std::uint32_t>(events.size()), 4);
    bytes.insert(bytes.end(), events.begin(), events.end());
    return bytes;
}

std::vector<std::uint8_t> ProgramChanges(const std::vector<RecordedMessage>& messages) {
    std::vector<std::uint8_t> programs;
    for (const RecordedMessage& message : messages) {
        if (!message.IsLong && (message.Status() & 0xF0) == 0xC0) programs.push_back(message.Data1());
    }
    return programs;
}

TestGameFolder::TestGameFolder(const std::string& name, TestGameFolderOptions options) {
    std::random_device random;
    Folder = std::filesystem::temp_directory_path() / ("tamtara-" + name + "-" + std::to_string(random()));
    std::filesystem::create_directories(Folder);
    const std::filesystem::path builtGraphics = std::filesystem::path(TAMTARA_GAME_DIR) / "Graphics.pb";
    if (options.GraphicsPackage && !options.BrokenGraphics.empty()) {
        WritePackage((Folder / "Graphics.pb").string(),
                     WithBrokenEntries(builtGraphics.string(), options.BrokenGraphics));
    } else if (options.GraphicsPackage && options.GraphicsEntries.empty() &&
               std::filesystem::exists(builtGraphics)) {
        std::filesystem::copy_file(builtGraphics, Folder / "Graphics.pb");
    } else if (options.GraphicsPackage) {
        std::vector<PackageSource> entries;
        for (auto& [entryName, bytes] : options.GraphicsEntries)
            entries.push_back({entryName, bytes});
        WritePackage((Folder / "Graphics.pb").string(), entries);
    }
    if (options.DataPackage) {
        std::vector<PackageSource> entries;
        if (options.InstrumentNames) {
            const std::string names = "Acoustic Grand Piano\r\nBright Acoustic Piano\r\n";
            entries.push_back({"InstName.txt", std::vector<std::uint8_t>(names.begin(), names.end())});
        }
        WritePackage((Folder / "Data.pb").string(), entries);
    }
    if (options.Jingles) {
        WriteFile(Folder / "_enter.mid", TinySong(EnterJingleProgram));
        WriteFile(Folder / "_select.mid", TinySong(SelectJingleProgram));
        WriteFile(Folder / "_failed.mid", TinySong(FailedJingleProgram));
        WriteFile(Folder / "_cleared.mid", TinySong(ClearedJingleProgram));
    }
    for (const std::string& song : options.Songs)
        WriteFile(Folder / song, TinySong(SongProgram));
}

TestGameFolder::~TestGameFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

GameHarness::GameHarness(const std::filesystem::path& gameFolder, HarnessOptions options)
    : PreviousFolder(std::filesystem::current_path()), FrameClock(std::make_unique<FakeClock>()),
      Midi(std::make_unique<RecordingMidiDriver>(*FrameClock)),
      KitDriver(std::make_unique<ScriptedMidiInDriver>(options.MidiInPorts)) {
    std::filesystem::current_path(gameFolder);
    auto presenter = std::make_unique<THeadlessPresenter>();
    auto keys = std::make_unique<TScriptedKeySource>();
    Presenter = presenter.get();
    Keys = keys.get();

    GameServices services;
    services.Clock = FrameClock.get();
    services.MidiDriver = Midi.get();
    services.MidiIn = KitDriver.get();
    services.Presenter = std::move(presenter);
    services.Keys = std::move(keys);
    services.SequencerThread = false;
    services.SettingsFile = options.SettingsFile;
    services.ScreenTrace = options.ScreenTrace;
    if (options.KeyThread) {
        auto reader = std::make_unique<ScriptedRawKeyReader>(options.KeyThreadRefusal);
        RawReader = reader.get();
        services.RawKeys = std::move(reader);
        services.KeyPathLog = options.KeyPathLog;
    }
    try {
        Window = std::make_unique<TMainForm>(std::move(services));
        MainFormGameWindow gameWindow(*Window);
        HandOverSettings(gameWindow, options.Settings);
        if (options.Show) Window->FormShow();
    } catch (...) {
        Window.reset();
        std::filesystem::current_path(PreviousFolder);
        throw;
    }
    LiveHarnesses.push_back(this);
}

GameHarness::~GameHarness() {
    Window.reset();
    const auto self = std::find(LiveHarnesses.begin(), LiveHarnesses.end(), this);
    if (self + 1 != LiveHarnesses.end()) {
        (*(self + 1))->PreviousFolder = PreviousFolder;
    } else {
        std::error_code ignored;
        std::filesystem::current_path(PreviousFolder, ignored);
    }
    LiveHarnesses.erase(self);
}

void GameHarness::Step(int frames) {
    for (int frame = 0; frame < frames; ++frame) {
        Window->ProcessMessages();
        if (Window->Closed()) return;
        const std::uint32_t frameStart = FrameClock->Now();
        std::vector<ScheduledKey> keys;
        keys.swap(Scheduled);
        std::stable_sort(keys.begin(), keys.end(),
                         [](const ScheduledKey& a, const ScheduledKey& b) { return a.AtMs < b.AtMs; });
        for (const ScheduledKey& key : keys) {
            RunSequencerTo(frameStart, key.AtMs);
            DeliverKey(frameStart, key);
            if (Window->Closed()) return;
        }
        RunSequencerTo(frameStart, FrameMilliseconds);
        Window->RunHandler([this] { Window->TimerTimer(); });
    }
}

bool GameHarness::StepUntil(ScreenState state, int maxFrames) {
    for (int frame = 0; frame < maxFrames && State() != state; ++frame)
        Step();
    return State() == state;
}

void GameHarness::ChangeScreenInFrame(ScreenState state) {
    Window->ChangeScreen(state);
    Window->Screen.FrameCount += 1;
}

void GameHarness::EnterPlay(const std::string& songFile) {
    Window->Selection.SongFile = songFile;
    Window->Selection.SongTitle = songFile;
    ChangeScreenInFrame(ssPlay);
}

void GameHarness::TapKey(int keyCode) {
    Keys->Press(keyCode);
    Step();
    Keys->Release(keyCode);
}

void GameHarness::WindowKey(std::int32_t virtualKey) {
    TDisplayEvent down;
    down.Kind = TDisplayEventKind::KeyDown;
    down.Key = virtualKey;
    Presenter->PushEvent(down);
    TDisplayEvent up = down;
    up.Kind = TDisplayEventKind::KeyUp;
    Presenter->PushEvent(up);
}

void GameHarness::RunSequencerTo(std::uint32_t frameStart, std::uint32_t atMs) {
    const std::uint32_t done = FrameClock->Now() - frameStart;
    if (done < atMs) RunSequencer(atMs - done);
}

void GameHarness::DeliverKey(std::uint32_t frameStart, const ScheduledKey& key) {
    if (key.Kit) {
        MidiInMessage message = *key.Kit;
        message.Time = frameStart + key.AtMs;
        KitDriver->Receive(message);
        Window->ProcessMessages();
        return;
    }
    if (key.Raw) {
        RawReader->KeyDown(SdlScancodeOfKeyCode(key.KeyCode), frameStart + key.AtMs);
        Window->ProcessMessages();
        return;
    }
    if (key.Down)
        Keys->Press(key.KeyCode);
    else
        Keys->Release(key.KeyCode);
    TDisplayEvent event;
    event.Kind = key.Down ? TDisplayEventKind::KeyDown : TDisplayEventKind::KeyUp;
    event.Scancode = SdlScancodeOfKeyCode(key.KeyCode);
    event.Key = VirtualKeyOfScancode(event.Scancode);
    // The sequencer's last pass may have carried the clock a little past the moment.
    event.Age = FrameClock->Now() - frameStart - key.AtMs;
    Presenter->PushEvent(event);
    Window->ProcessMessages();
}

void GameHarness::RunSequencer(std::uint32_t milliseconds) {
    const std::uint32_t start = FrameClock->Now();
    if (!Window->MidiDrive) {
        FrameClock->Advance(milliseconds);
        return;
    }
    for (int pass = 0; pass < MaxPassesPerFrame && FrameClock->Now() - start < milliseconds; ++pass) {
        Window->MidiDrive->RunCycle();
    }
    // A sequencer that did not sleep (no pass needed it) still lets the frame's time pass.
    if (FrameClock->Now() - start < milliseconds) FrameClock->Set(start + milliseconds);
}

} // namespace tamtara::testing
