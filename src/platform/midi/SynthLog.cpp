// FluidSynth log handling: errors always reach stderr, warnings only the first few times.
#include "platform/midi/SynthLog.h"

#include <fluidsynth.h>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace tamtara {
namespace {

constexpr int MaxWarnings = 5;
std::atomic<int> WarningCount{0};

void LogError(int, const char* message, void*) {
    std::fprintf(stderr, "tamtara: synth: %s\n", message);
}

// Warnings can come from the audio thread; past the limit they cost one atomic increment.
void LogWarning(int, const char* message, void*) {
    const int count = ++WarningCount;
    if (count <= MaxWarnings) {
        std::fprintf(stderr, "tamtara: synth warning: %s\n", message);
    }
    if (count == MaxWarnings) {
        std::fprintf(stderr, "tamtara: further synth warnings are not shown\n");
    }
}

void LogNothing(int, const char*, void*) {}

} // namespace

void InstallSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, LogError, nullptr);
        fluid_set_log_function(FLUID_ERR, LogError, nullptr);
        fluid_set_log_function(FLUID_WARN, LogWarning, nullptr);
        fluid_set_log_function(FLUID_INFO, LogNothing, nullptr);
        fluid_set_log_function(FLUID_DBG, LogNothing, nullptr);
    });
}

} // namespace tamtara
