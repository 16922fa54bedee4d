// What the machine itself takes: a thread at the priority of the thread being measured that only
// sleeps to deadlines and notes how late it wakes. Run beside a latency measurement, it tells the
// stalls of a shared or virtual machine (the whole machine held up for milliseconds) from what
// the program adds.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace tamtara::bench {

struct WakeFigures {
    double P99Ms = 0;
    double MaxMs = 0;
    std::size_t Wakes = 0;
};

class WakeProbe {
public:
    // Starts the probe's thread: `raise` runs on it first (to take the measured thread's
    // priority), then it wakes every periodMicros on CLOCK_MONOTONIC. A stall of several periods
    // counts each deadline it held up, with its own lateness.
    explicit WakeProbe(std::function<void()> raise, int periodMicros = 1000);
    ~WakeProbe();
    WakeProbe(const WakeProbe&) = delete;
    WakeProbe& operator=(const WakeProbe&) = delete;

    // Stops the thread (if it runs) and gives its lateness figures.
    WakeFigures Stop();

private:
    void Run(const std::function<void()>& raise);

    const std::int64_t PeriodNanos;
    std::atomic<bool> Done{false};
    std::vector<double> LatenessMs;
    std::thread Worker;
};

// Prints `<name>_probe_wake_ms_p99`, `_max` and, for each (figure name, its p99 in ms), what the
// program adds beyond the probe's p99: `<figure>_excess_ms`.
void PrintWakeFigures(const std::string& name, const WakeFigures& probe,
                      const std::vector<std::pair<std::string, double>>& figures);

} // namespace tamtara::bench
