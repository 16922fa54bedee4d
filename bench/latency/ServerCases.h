// bench_latency's cases through a sound server: a private PipeWire of its own (the script
// beside this file), the built-in synth on SDL's native PipeWire backend and on its PulseAudio one
// (through PipeWire's PulseAudio front), at several periods, quiet and with two busy threads.
#pragma once

#include <string>
#include <vector>

namespace tamtara::bench {

struct ServerCaseOptions {
    int Seconds = 60;
    std::vector<int> Periods{64, 128};
    std::vector<std::string> Drivers{"pipewire", "pulseaudio"};
    bool BusyOnly = false;
};

// Runs every case and prints its figures; false when the server could not be started.
bool RunServerCases(const ServerCaseOptions& options);

} // namespace tamtara::bench
