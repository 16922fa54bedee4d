// The PipeWire sink's monitor recorded in this process, as the reference probes record it: each
// graph cycle's samples are placed at the cycle's time (CLOCK_MONOTONIC, the clock the game stamps
// strikes on) plus their index at the rate. A sound's onset is its first sample above a threshold
// after a quiet spell. The graph's own count of missed cycles (its profiler's xrun count) counts
// what reached the sink late.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tamtara::bench {

class SinkCapture {
public:
    static constexpr int Rate = 48000;

    // Connects to the server of PIPEWIRE_RUNTIME_DIR and records `sink`'s monitor; onsets are
    // samples above `threshold` (full scale 1) after `quietMicros` below it.
    SinkCapture(const std::string& sink, float threshold, int quietMicros);
    ~SinkCapture();
    SinkCapture(const SinkCapture&) = delete;
    SinkCapture& operator=(const SinkCapture&) = delete;

    // Empty once recording; else why not.
    std::string Error() const;
    // Waits up to timeoutMs for the first recorded cycle.
    bool WaitForCycles(int timeoutMs);

    // Each onset's time at the sink, steady-clock microseconds.
    std::vector<std::int64_t> Onsets() const;
    // The graph's xruns since recording began (-1: its profiler told nothing), and the frames of
    // its latest cycle.
    std::int64_t GraphXruns() const;
    int QuantumFrames() const;

private:
    struct Impl;
    std::unique_ptr<Impl> P;
};

} // namespace tamtara::bench
