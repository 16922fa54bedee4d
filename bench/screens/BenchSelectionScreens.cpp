// The selection screens driven through the headless game window: 1,000 folders on the wheel,
// a folder of 1,000 songs with long Japanese (Shift_JIS) titles, keys held as a player would.
#include "BenchSelectionScreens.h"

#include "app/MainForm.h"
#include "harness/GameHarness.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace tamtara::bench {

namespace {

using testing::GameHarness;
using testing::HarnessOptions;
using testing::TestGameFolder;

constexpr int KeyReturn = 13;
constexpr int KeyDown = 40;
constexpr int KeyRight = 39;
constexpr int KeyHighTom = 74; // "J"

double ThreadCpuMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::size_t(p * double(values.size() - 1))];
}

// Steps frames frames, calling beforeFrame(i) first, and prints the screen's frame times.
void Measure(GameHarness& game, const char* name, int frames, const std::function<void(int)>& beforeFrame) {
    std::vector<double> millis;
    std::vector<double> cpuMillis;
    for (int frame = 0; frame < frames; ++frame) {
        beforeFrame(frame);
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMillis();
        game.Step();
        cpuMillis.push_back(ThreadCpuMillis() - cpuStart);
        millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    // Wall time includes being preempted on a busy machine; the thread's CPU time does not.
    std::printf("%s_frame_p50_ms: %.3f\n", name, Percentile(millis, 0.50));
    std::printf("%s_frame_p99_ms: %.3f\n", name, Percentile(millis, 0.99));
    std::printf("%s_frame_cpu_p99_ms: %.3f\n", name, Percentile(cpuMillis, 0.99));
}

void Shot(GameHarness& game, const std::string& shotFolder, const char* name) {
    if (!shotFolder.empty()) game.SavePng((std::filesystem::path(shotFolder) / name).string());
}

// A long title in Shift_JIS bytes: "ドラムの練習曲 第n番 〜 長い長いタイトル".
std::string LongShiftJisTitle(int n) {
    return "\x83\x68\x83\x89\x83\x80\x82\xCC\x97\xFB\x8F\x4B\x8B\xC8 \x91\xE6" + std::to_string(n) +
           "\x94\xD4 \x81\x60 \x92\xB7\x82\xA2\x92\xB7\x82\xA2\x83\x5E\x83\x43\x83\x67\x83\x8B";
}

} // namespace

void BenchSelectionScreens(const std::string& shotFolder) {
    testing::TestGameFolderOptions folderOptions;
    folderOptions.Songs.clear();
    TestGameFolder folder("BenchSelection", folderOptions);
    HarnessOptions options;
    options.Settings.KeyA = {65, 70, 32, 74, 75, 76, 59};
    options.Settings.FullScreen = false;
    options.Settings.Prev = false; // the songs are names only: nothing to preview
    GameHarness game(folder.Path(), options);
    TMainForm& form = game.Form();
    const std::string base = std::filesystem::current_path().string();
    for (int i = 0; i < 1000; ++i) form.Folders.push_back(base + "/Songs/アーティスト" + std::to_string(i) + "/アルバム");
    const std::string& bigFolder = form.Folders[500];
    for (int i = 0; i < 1000; ++i) {
        form.SongFiles.push_back(bigFolder + "/練習曲_" + std::to_string(i) + "_long_file_name.mid");
        form.SongTitles.push_back(LongShiftJisTitle(i));
    }
    game.Step();

    game.ChangeScreenInFrame(ssFolderSelect);
    Measure(game, "folder", 600, [&](int frame) {
        // Down held for two seconds at a time, then released for a moment.
        if (frame % 80 == 0) game.HoldKey(KeyDown);
        if (frame % 80 == 60) game.ReleaseKey(KeyDown);
        if (frame == 70) Shot(game, shotFolder, "folder.png");
    });
    game.ReleaseKey(KeyDown);

    form.FolderIndex = 500;
    game.ChangeScreenInFrame(ssFolderSelect);
    game.TapKey(KeyReturn);
    game.StepUntil(ssDiscSelect, 40);
    Measure(game, "disc", 600, [&](int frame) {
        if (frame % 80 == 0) game.HoldKey(KeyDown);
        if (frame % 80 == 60) game.ReleaseKey(KeyDown);
        if (frame == 70) Shot(game, shotFolder, "disc.png");
    });
    game.ReleaseKey(KeyDown);

    game.ChangeScreenInFrame(ssModeSelect);
    Measure(game, "mode", 300, [&](int frame) {
        if (frame % 10 == 0) game.HoldKey(KeyRight);
        if (frame % 10 == 1) game.ReleaseKey(KeyRight);
        if (frame == 101) Shot(game, shotFolder, "mode.png");
    });

    game.ChangeScreenInFrame(ssPartSelect);
    Measure(game, "part", 300, [&](int frame) {
        // The high tom's key toggles the three toms.
        if (frame % 20 == 0) game.HoldKey(KeyHighTom);
        if (frame % 20 == 1) game.ReleaseKey(KeyHighTom);
        if (frame == 105) Shot(game, shotFolder, "part.png");
    });
}

} // namespace tamtara::bench
