// bench_screens: frame times of the menu screens; "bench_screens [picture folder]".
#include "BenchSelectionScreens.h"

int main(int argc, char** argv) {
    tamtara::bench::BenchSelectionScreens(argc > 1 ? argv[1] : "");
    return 0;
}
