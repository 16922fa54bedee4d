// The system millisecond clock.
#include "base/Clock.h"

#include <chrono>
#include <thread>

namespace tamtara {

std::int64_t MonotonicMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::uint32_t SystemClock::Now() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t SystemClock::NowMicros() {
    return MonotonicMicros();
}

void SystemClock::SleepMicros(std::int64_t microseconds) {
    if (microseconds > 0) std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}

} // namespace tamtara
