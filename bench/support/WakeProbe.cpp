#include "WakeProbe.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace tamtara::bench {
namespace {

std::int64_t Nanos(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

timespec Time(std::int64_t nanos) {
    return timespec{static_cast<time_t>(nanos / 1000000000), static_cast<long>(nanos % 1000000000)};
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

} // namespace

WakeProbe::WakeProbe(std::function<void()> raise, int periodMicros)
    : PeriodNanos(static_cast<std::int64_t>(std::max(100, periodMicros)) * 1000) {
    LatenessMs.reserve(1 << 20);
    Worker = std::thread([this, raise = std::move(raise)] { Run(raise); });
}

WakeProbe::~WakeProbe() {
    Stop();
}

void WakeProbe::Run(const std::function<void()>& raise) {
    if (raise) raise();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::int64_t deadline = Nanos(now) + PeriodNanos;
    while (!Done.load(std::memory_order_relaxed)) {
        const timespec at = Time(deadline);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
        }
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::int64_t woke = Nanos(now);
        // Every deadline a stall swallowed counts, each as late as it was: the figures say how
        // late a thread woken at any moment would have been, as a strike at any moment is.
        for (; deadline <= woke; deadline += PeriodNanos)
            if (LatenessMs.size() < LatenessMs.capacity())
                LatenessMs.push_back(static_cast<double>(woke - deadline) / 1e6);
    }
}

WakeFigures WakeProbe::Stop() {
    if (Worker.joinable()) {
        Done = true;
        Worker.join();
    }
    return WakeFigures{Quantile(LatenessMs, 0.99), Quantile(LatenessMs, 1.0), LatenessMs.size()};
}

void PrintWakeFigures(const std::string& name, const WakeFigures& probe,
                      const std::vector<std::pair<std::string, double>>& figures) {
    std::printf("%s_probe_wakes: %zu\n", name.c_str(), probe.Wakes);
    std::printf("%s_probe_wake_ms_p99: %.3f\n", name.c_str(), probe.P99Ms);
    std::printf("%s_probe_wake_ms_max: %.3f\n", name.c_str(), probe.MaxMs);
    for (const auto& [figure, p99] : figures)
        std::printf("%s_excess_ms: %.3f\n", figure.c_str(), p99 - probe.P99Ms);
}

} // namespace tamtara::bench
