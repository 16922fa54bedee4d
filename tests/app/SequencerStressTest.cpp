// The real sequencer thread on the real clock beside the whole game window (headless presenter)
// and a kit striking pads from its own input thread: random key strikes, song loads, jingles, screen changes,
// pauses and display toggles for a while, then checks that the window kept running and the sequencer met no
// error. Run for 20 s under ThreadSanitizer in CI (TAMTARA_STRESS_SECONDS), for a few seconds in the normal
// suite.
#include "app/MainForm.h"
#include "base/UserMessage.h"
#include "launcher/SettingsHandOver.h"
#include "program/MainFormGameWindow.h"
#include "songgen/SmfWriter.h"
#include "support/doubles/HeadlessPresenter.h"
#include "support/doubles/RecordingMidiDriver.h"
#include "support/doubles/ScriptedKeySource.h"
#include "support/doubles/ScriptedMidiInDriver.h"
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

namespace tamtara::testing {
namespace {

namespace fs = std::filesystem;

int StressSeconds() {
    const char* text = std::getenv("TAMTARA_STRESS_SECONDS");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 3;
}

// A busy drum part on every lane (sixteenth hi-hats, kick and snare, tom fills, crashes) over
// a piano, bars long at the given tempo, after leadIn empty bars (two need no pre-roll).
std::vector<std::uint8_t> BusySong(int bars, int beatsPerMinute, int leadIn = 0) {
    constexpr int division = 480;
    constexpr int sixteenth = division / 4;
    TSmfTrack track;
    track.Tempo(0, beatsPerMinute);
    track.ProgramChange(0, 0, SongProgram);
    for (int bar = leadIn; bar < bars; ++bar) {
        const int start = bar * 4 * division;
        track.Note(start, 9, 49, 110, sixteenth);
        track.Note(start, 0, 60 + bar % 12, 90, 4 * division);
        for (int step = 0; step < 16; ++step) {
            const int tick = start + step * sixteenth;
            track.Note(tick, 9, step % 8 == 6 ? 46 : 42, 80, sixteenth);
            if (step % 8 == 0) track.Note(tick, 9, 36, 120, sixteenth);
            if (step % 8 == 4) track.Note(tick, 9, 38, 120, sixteenth);
            if (bar % 4 == 3 && step >= 12) track.Note(tick, 9, 50 - 2 * (step - 12), 100, sixteenth);
        }
    }
    return EncodeSmf({track}, division, bars * 4 * division);
}

TEST(SequencerStress, RealThreadBesideTheWindowThroughRandomPlay) {
    TestGameFolderOptions options;
    options.Songs = {};
    TestGameFolder folder("Stress", options);
    const std::vector<std::string> songs = {"Songs/busy.mid", "Songs/long.mid"};
    fs::create_directories(folder.Path() / "Songs");
    WriteBinaryFile((folder.Path() / songs[0]).string(), BusySong(4, 200));
    // One song starts with a pre-roll, the other plays its first tick (and program) at once.
    WriteBinaryFile((folder.Path() / songs[1]).string(), BusySong(40, 160, 2));
    const fs::path previousFolder = fs::current_path();
    fs::current_path(folder.Path());

    std::vector<std::string> errors;
    UserMessageHandler previousHandler =
        SetUserMessageHandler([&](MessageKind kind, const std::string&, const std::string& text) {
            if (kind == MessageKind::Error) errors.push_back(text);
        });

    IClock& clock = SystemClock::Instance();
    RecordingMidiDriver midi(clock);
    auto keys = std::make_unique<TScriptedKeySource>();
    TScriptedKeySource& keySource = *keys;
    GameServices services;
    services.Clock = &clock;
    services.MidiDriver = &midi;
    services.Presenter = std::make_unique<THeadlessPresenter>();
    services.Keys = std::move(keys);
    services.SequencerThread = true;
    ScriptedMidiInDriver kit({"Stress Kit"});
    services.MidiIn = &kit;

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::int64_t frames = 0;
    {
        auto form = std::make_unique<TMainForm>(std::move(services));
        GameSettings settings;
        settings.FullScreen = false;
        settings.KeyA = {65, 70, 32, 74, 75, 76, 59};
        settings.KeyB = {83, 68, 0, 73, 79, 80, 0};
        settings.MidiIn = "Stress Kit";
        MainFormGameWindow gameWindow(*form);
        HandOverSettings(gameWindow, settings);
        form->FormShow();
        form->ScanLibrary(nullptr, nullptr);
        ASSERT_EQ(form->Library.SongFiles.size(), songs.size());

        const std::vector<int> strikeKeys = {65, 83, 70, 68, 32, 74, 73, 75, 79,
                                             76, 80, 59, 13, 37, 38, 39, 40};
        const std::vector<const char*> jingles = {"_enter.mid", "_select.mid", "_failed.mid", "_cleared.mid"};
        // The first play is of the song whose program comes at once, until the thread has sent
        // it: the random changes below may never leave a play long enough for that.
        form->RunHandler([&] {
            form->Selection.SongFile = songs[1];
            form->Selection.SongTitle = songs[1];
            form->ChangeScreen(ssPlay);
            form->Screen.FrameCount += 1;
        });
        const auto started = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() < started + std::chrono::seconds(5)) {
            const std::vector<std::uint8_t> sent = ProgramChanges(midi.Messages());
            if (std::find(sent.begin(), sent.end(), SongProgram) != sent.end()) break;
            form->ProcessMessages();
            form->Timer.Step();
            clock.Sleep(1);
        }

        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(StressSeconds());
        // Pads of every lane (and the pedal, Enter) every few milliseconds, as a drummer's fill.
        std::thread pads([&kit, &clock, end, seed] {
            std::mt19937 padRandom(seed + 1);
            const std::vector<std::uint8_t> notes = {42, 38, 36, 48, 45, 41, 49, 44};
            while (std::chrono::steady_clock::now() < end) {
                kit.Receive(MidiInMessage{clock.Now(), 0x99, notes[padRandom() % notes.size()], 100});
                std::this_thread::sleep_for(std::chrono::milliseconds(1 + padRandom() % 8));
            }
        });
        while (std::chrono::steady_clock::now() < end) {
            const int roll = static_cast<int>(random() % 1000);
            if (roll < 300) {
                keySource.Press(strikeKeys[random() % strikeKeys.size()]);
            } else if (roll < 600) {
                keySource.Release(strikeKeys[random() % strikeKeys.size()]);
            } else if (roll < 660) {
                form->RunHandler([&] {
                    form->Selection.SongFile = songs[random() % songs.size()];
                    form->Selection.SongTitle = form->Selection.SongFile;
                    // Play half the time: its start and end are where the two threads meet most.
                    const bool play = random() % 2 == 0;
                    form->ChangeScreen(play ? ssPlay : static_cast<ScreenState>(random() % 10));
                    // As inside a frame, which counts itself after the screen's change.
                    form->Screen.FrameCount += 1;
                });
            } else if (roll < 680) {
                form->MidiDrive->QueuePlay({jingles[random() % jingles.size()], {}});
            } else if (roll < 685) {
                form->RunHandler([&] { form->ToggleFullScreen(); });
            } else if (roll < 700) {
                // The pause key: pause, count-in and resume meet the thread mid-cycle.
                form->RunHandler([&] { form->FormKeyDown(WindowKeys::F1); });
            }
            // The message loop's pass (TMainForm::Run), counting the frames that really ticked.
            form->ProcessMessages();
            if (form->Timer.Step())
                ++frames;
            else if (std::uint32_t wait = form->Timer.MillisecondsToNextTick())
                clock.Sleep(wait);
        }
        pads.join();
        EXPECT_EQ(form->MidiDrive->ErrorCount(), 0u) << form->MidiDrive->LastError();
        form->FormClose(); // stops the sequencer thread while the window is still whole
    }
    SetUserMessageHandler(previousHandler);
    fs::current_path(previousFolder);

    EXPECT_GE(frames, StressSeconds() * 5) << "the window loop stalled";
    std::printf("stress: %lld frames in %d s\n", static_cast<long long>(frames), StressSeconds());
    EXPECT_TRUE(errors.empty()) << errors.front();
    // Songs were loaded and played by the thread, and drums sounded on the drum channel.
    const std::vector<RecordedMessage> messages = midi.Messages();
    const std::vector<std::uint8_t> programs = ProgramChanges(messages);
    EXPECT_NE(std::find(programs.begin(), programs.end(), SongProgram), programs.end());
    EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const RecordedMessage& message) {
        return !message.IsLong && message.Status() == 0x99 && message.Data2() > 0;
    }));
}

} // namespace
} // namespace tamtara::testing
