// bench_play: the play screen's frame time with a dense song on screen, then the whole game
// process's share of one core during an automatic play through the built-in synth.
#include "SongWriter.h"
#include "app/MainForm.h"
#include "harness/GameHarness.h"
#include "platform/midi/SystemMidiDriver.h"
#include "resources/PackageWriter.h"
#include "support/doubles/HeadlessPresenter.h"
#include "support/doubles/ScriptedKeySource.h"

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace tamtara;
using namespace tamtara::testing;

namespace {

// Sixteenth notes on all seven lanes for the whole song (so eight quarter notes of notes are
// always on screen), with chords on four other channels to keep the meters moving.
std::vector<SongNote> DenseSong(int beats) {
    const std::uint8_t laneNotes[] = {42, 38, 36, 48, 45, 41, 49};
    std::vector<SongNote> notes;
    for (int sixteenth = 8; sixteenth < beats * 4; ++sixteenth) {
        const std::int32_t tick = 120 * sixteenth;
        for (std::uint8_t note : laneNotes)
            notes.push_back({tick, note});
        if (sixteenth % 2 == 0)
            for (std::uint8_t ch = 0; ch < 4; ++ch)
                notes.push_back(
                    {tick, std::uint8_t(48 + 7 * ch + sixteenth % 5), ch, std::uint8_t(60 + 15 * ch)});
    }
    return notes;
}

double ThreadCpuMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::size_t(p * double(values.size() - 1))];
}

void FrameTimes(const std::filesystem::path& folder, const std::string& song) {
    HarnessOptions options;
    options.Settings.FullScreen = false;
    GameHarness game(folder, options);
    game.Step();
    PlayState& state = game.Form().Play->State;
    state.AutoLane.fill(true);
    state.AutoPlayMode = true;
    game.EnterPlay(song);
    game.Step(30); // the first eight quarter notes are on screen
    std::vector<double> millis;
    std::vector<double> cpuMillis;
    for (int frame = 0; frame < 1200 && game.State() == ssPlay; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMillis();
        game.Step();
        cpuMillis.push_back(ThreadCpuMillis() - cpuStart);
        millis.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    // Wall time includes being preempted on a busy machine; the thread's CPU time does not.
    std::printf("frames: %zu\n", millis.size());
    std::printf("frame_p50_ms: %.3f\n", Percentile(millis, 0.50));
    std::printf("frame_p99_ms: %.3f\n", Percentile(millis, 0.99));
    std::printf("frame_cpu_p50_ms: %.3f\n", Percentile(cpuMillis, 0.50));
    std::printf("frame_cpu_p99_ms: %.3f\n", Percentile(cpuMillis, 0.99));
    std::fflush(stdout);
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void ProcessCpu(const std::filesystem::path& folder, const std::string& song, int seconds) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
        SystemMidiDriver synth;
        GameServices services;
        services.MidiDriver = &synth;
        services.Presenter = std::make_unique<THeadlessPresenter>();
        services.Keys = std::make_unique<TScriptedKeySource>();
        TMainForm form(std::move(services));
        form.Settings.MidiDevice = MidiMapperId;
        form.FormShow();
        // Reach the opening screen through the frame loop, then start an automatic play.
        while (form.Screen.FrameCount == 0) {
            form.ProcessMessages();
            form.Timer.Idle();
        }
        form.Play->State.AutoLane.fill(true);
        form.Play->State.AutoPlayMode = true;
        form.Selection.SongFile = song;
        form.Selection.SongTitle = "bench";
        form.ChangeScreen(ssPlay);
        form.Screen.FrameCount = 1;
        const double cpuStart = CpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - wallStart < std::chrono::seconds(seconds)) {
            form.ProcessMessages();
            form.Timer.Idle();
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        std::printf("play_screen_after_run: %d\n", int(form.Screen.ScreenState));
        std::printf("process_cpu_percent: %.1f\n", 100.0 * (CpuSeconds() - cpuStart) / wall);
        form.FormClose();
    }
    std::filesystem::current_path(previous);
}

// The harness's folder carries two instrument names; the meters read better with all of them.
void UseGameInstrumentNames(const std::filesystem::path& folder) {
    const std::vector<std::uint8_t> names = ReadFileBytes(TAMTARA_ASSETS_DIR "/InstName.txt");
    WritePackage((folder / "Data.pb").string(), {{"InstName.txt", names}});
}

// Presses every lane whose oldest pending note falls due nearest the next frame.
void PlayPerfectFrame(GameHarness& game) {
    static constexpr std::array<std::int32_t, 7> keys{65, 83, 68, 70, 71, 72, 74};
    static constexpr std::array<std::int32_t, 7> secondKeys{90, 88, 67, 86, 66, 78, 77};
    // Alternating hands: a stroke in the very next frame needs the lane's other key.
    static std::array<bool, 7> useSecond{};
    PlayState& state = game.Form().Play->State;
    const std::int32_t next = game.Form().MidiDrive->CurrentTick() + 32;
    std::vector<int> lanes;
    for (int lane = 0; lane < LaneCount; ++lane) {
        if (state.AutoLane[lane] || state.QueueCount[lane] == 0) continue;
        if (state.Slot(lane, state.QueueHead[lane]).Main.Tick <= next + 16) lanes.push_back(lane);
    }
    const auto key = [&](int lane) { return useSecond[lane] ? secondKeys[lane] : keys[lane]; };
    for (int lane : lanes)
        game.HoldKey(key(lane));
    game.Step();
    for (int lane : lanes) {
        game.ReleaseKey(key(lane));
        useSecond[lane] = !useSecond[lane];
    }
}

// Back-buffer pictures of one play of song: start, middle and the cleared screen.
void Shots(const std::filesystem::path& folder, const std::string& song, bool automatic,
           const std::string& out) {
    HarnessOptions options;
    options.Settings.FullScreen = false;
    options.Settings.KeyA = {65, 83, 68, 70, 71, 72, 74};
    options.Settings.KeyB = {90, 88, 67, 86, 66, 78, 77};
    GameHarness game(folder, options);
    game.Step();
    PlayState& state = game.Form().Play->State;
    state.AutoLane.fill(automatic);
    state.AutoLane[dpHiHat] = true;
    state.AutoPlayMode = automatic;
    game.EnterPlay(song);
    game.Form().Selection.SongTitle = std::filesystem::path(song).stem().string();
    game.Form().ScreenGraphics();
    const std::string mode = automatic ? "auto" : "normal";
    int frame = 0;
    for (; frame < 20000 && game.State() == ssPlay; ++frame) {
        const int misses = state.MissCount;
        PlayPerfectFrame(game);
        if (std::getenv("SHOW_MISSES") && state.MissCount != misses)
            for (int lane = 0; lane < LaneCount; ++lane)
                if (state.JudgeTimer[lane] == 10 && state.JudgeGrade[lane] == Miss)
                    std::printf("miss lane %d near tick %d head %d count %d\n", lane,
                                game.Form().MidiDrive->CurrentTick(), state.QueueHead[lane].load(),
                                state.QueueCount[lane].load());
        if (frame == 60 || frame == 1500)
            game.SavePng(out + "/" + mode + "_" + std::to_string(frame) + ".png");
        if (!game.Form().MidiDrive->IsPlaying() && game.State() == ssPlay)
            game.SavePng(out + "/" + mode + "_stopped.png");
    }
    game.Step(40);
    game.SavePng(out + "/" + mode + "_end.png");
    std::printf("%s: %d frames, state %d, perfect %d great %d good %d miss %d score %d max combo %d\n",
                mode.c_str(), frame, int(game.State()), state.PerfectCount, state.GreatCount, state.GoodCount,
                state.MissCount, state.Score, state.MaxCombo);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::string(argv[1]) == "--shots") {
        // bench_play --shots SONG.mid OUTDIR: pictures of one song in both modes.
        TestGameFolder folder("PlayShots");
        UseGameInstrumentNames(folder.Path());
        const std::filesystem::path source(argv[2]);
        for (const char* extension : {".mid", ".bmp", ".jpg"}) {
            std::filesystem::path twin = source;
            twin.replace_extension(extension);
            if (std::filesystem::exists(twin))
                std::filesystem::copy_file(twin, folder.Path() / "Songs" / twin.filename());
        }
        const std::string song = (folder.Path() / "Songs" / source.filename()).string();
        Shots(folder.Path(), song, true, argv[3]);
        Shots(folder.Path(), song, false, argv[3]);
        return 0;
    }
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    TestGameFolder folder("BenchPlay");
    UseGameInstrumentNames(folder.Path());
    const std::string song = (folder.Path() / "Songs" / "dense.mid").string();
    WriteSong(song, DenseSong(200));
    FrameTimes(folder.Path(), song);
    ProcessCpu(folder.Path(), song, seconds);
    return 0;
}
