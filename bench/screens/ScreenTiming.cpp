// Timed frames and pictures for the screen benchmarks.
#include "ScreenTiming.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace tamtara::bench {

namespace {

// The thread's CPU time: a busy machine's preemption does not count against the frame.
double ThreadCpuMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::size_t(p * double(values.size() - 1))];
}

} // namespace

void ScreenTimes::Step(testing::GameHarness& game) {
    const ScreenState before = game.State();
    const double start = ThreadCpuMillis();
    game.Step();
    const double millis = ThreadCpuMillis() - start;
    (game.State() == before ? Millis : ChangeMillis).push_back(millis);
}

void ScreenTimes::Print() const {
    std::printf("%s_frames: %zu\n", Screen.c_str(), Millis.size());
    std::printf("%s_frame_p50_ms: %.3f\n", Screen.c_str(), Percentile(Millis, 0.50));
    std::printf("%s_frame_p99_ms: %.3f\n", Screen.c_str(), Percentile(Millis, 0.99));
    // The first frames pay once for what later frames find cached (fonts, glyphs, bitmaps).
    std::printf("%s_frame_max_ms: %.3f\n", Screen.c_str(), Percentile(Millis, 1.0));
    // The frame that leaves also loads the next screen's bitmaps.
    if (!ChangeMillis.empty())
        std::printf("%s_change_frame_p50_ms: %.3f\n", Screen.c_str(), Percentile(ChangeMillis, 0.50));
    std::fflush(stdout);
}

void Shot(testing::GameHarness& game, const ScreenBenchOptions& options, const std::string& name) {
    if (options.ShotFolder.empty()) return;
    game.SavePng((options.ShotFolder / (name + ".png")).string());
}

} // namespace tamtara::bench
