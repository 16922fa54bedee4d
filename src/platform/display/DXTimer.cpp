// The frame timer's tick rule on an IClock.
#include "platform/display/DXTimer.h"

#include <algorithm>

namespace tamtara {

TDXTimer::TDXTimer(IClock& clock) : Clock(clock) {}

void TDXTimer::SetEnabled(bool enabled) {
    if (enabled && !IsEnabled) Fresh = true;
    IsEnabled = enabled;
}

void TDXTimer::SetApplicationActive(bool active) {
    if (active && !AppActive) Fresh = true;
    AppActive = active;
}

void TDXTimer::Restart() {
    const std::uint32_t now = Clock.Now();
    // The first tick after a (re)start is due at once; later ones follow Interval apart.
    LastTick = now - IntervalMs;
    WindowStart = LastTick;
    FrameCount = 0;
    Fresh = false;
}

bool TDXTimer::Step() {
    if (!Running()) return false;
    if (Fresh) Restart();
    const std::uint32_t now = Clock.Now();
    const std::uint32_t elapsed = now - LastTick;
    if (elapsed < IntervalMs) return false;
    const auto lag = std::int32_t(elapsed / std::max<std::uint32_t>(IntervalMs, 1));
    LastTick = now;
    ++FrameCount;
    const std::uint32_t window = now - WindowStart;
    if (window >= 1000) {
        Rate = std::int32_t((std::uint64_t(FrameCount) * 1000 + window / 2) / window);
        FrameCount = 0;
        WindowStart = now;
    }
    if (OnTimer) OnTimer(*this, std::max(lag, 1));
    return true;
}

std::uint32_t TDXTimer::MillisecondsToNextTick() {
    if (!Running()) return std::max<std::uint32_t>(IntervalMs, 1);
    if (Fresh) return 0;
    const std::uint32_t elapsed = Clock.Now() - LastTick;
    return elapsed >= IntervalMs ? 0 : IntervalMs - elapsed;
}

void TDXTimer::Idle() {
    Step();
    if (std::uint32_t wait = MillisecondsToNextTick()) Clock.Sleep(wait);
}

} // namespace tamtara
