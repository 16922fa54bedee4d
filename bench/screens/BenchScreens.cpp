// bench_screens: each screen drawn for at least 300 frames on the headless presenter, with the
// 99th percentile of its frame time. "bench_screens --shots DIR" also writes pictures.
#include "ScreenTiming.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    using namespace tamtara;
    bench::ScreenBenchOptions options;
    if (argc > 2 && std::string(argv[1]) == "--shots") {
        options.ShotFolder = std::filesystem::absolute(argv[2]);
        std::filesystem::create_directories(options.ShotFolder);
    }
    {
        testing::TestGameFolder folder("BenchScreens");
        options.GameFolder = folder.Path();
        bench::BenchTitleResultScreens(options);
        bench::BenchSelectionScreens(options);
    }
    return 0;
}
