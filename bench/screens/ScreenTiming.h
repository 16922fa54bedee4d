// What every screen benchmark shares: timed frames on the headless harness, the p99 line, and
// optional pictures of chosen frames.
#pragma once

#include "support/harness/GameHarness.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tamtara::bench {

struct ScreenBenchOptions {
    // The game folder the harness runs in (packages, jingles, songs).
    std::filesystem::path GameFolder;
    // When not empty, pictures of chosen frames are written here.
    std::filesystem::path ShotFolder;
};

// Frame times of one screen, in milliseconds of the frame tick's own thread.
class ScreenTimes {
public:
    explicit ScreenTimes(std::string screen) : Screen(std::move(screen)) {}
    // One timed frame of game; a frame that changes the screen is counted apart.
    void Step(testing::GameHarness& game);
    std::size_t Frames() const { return Millis.size() + ChangeMillis.size(); }
    // Prints "<screen>_frame_p99_ms: value" (and the median and the slowest frame).
    void Print() const;

private:
    std::string Screen;
    std::vector<double> Millis;
    std::vector<double> ChangeMillis;
};

// Saves the back buffer as <ShotFolder>/<name>.png when pictures were asked for.
void Shot(testing::GameHarness& game, const ScreenBenchOptions& options, const std::string& name);

// The opening, title, stage-end and result screens.
void BenchTitleResultScreens(const ScreenBenchOptions& options);

// The folder, disc, mode and part screens with 1,000 folders and a folder of 1,000 songs.
void BenchSelectionScreens(const ScreenBenchOptions& options);

} // namespace tamtara::bench
