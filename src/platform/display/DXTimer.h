// The frame timer: calls OnTimer once per Interval milliseconds from the main loop's idle
// processing, and sleeps until the next tick instead of spinning.
#pragma once

#include "base/Clock.h"

#include <cstdint>
#include <functional>

namespace tamtara {

class TDXTimer;
using TDXTimerEvent = std::function<void(TDXTimer& sender, std::int32_t lagCount)>;

class TDXTimer {
public:
    explicit TDXTimer(IClock& clock = SystemClock::Instance());

    TDXTimerEvent OnTimer;

    std::uint32_t Interval() const { return IntervalMs; }
    void SetInterval(std::uint32_t interval) { IntervalMs = interval; }
    bool Enabled() const { return IsEnabled; }
    // Enabling starts the timer afresh: the next idle call ticks at once.
    void SetEnabled(bool enabled);
    // With ActiveOnly the timer runs only while the application is active.
    bool ActiveOnly = true;
    // The window's focus, as the display reports it (TDXDraw::OnActivate). Becoming active
    // restarts the timer afresh, so no burst of ticks follows.
    void SetApplicationActive(bool active);
    bool ApplicationActive() const { return AppActive; }

    // Frames counted in the last measured second.
    std::int32_t FrameRate() const { return Rate; }

    // One pass of the main loop's idle processing: raises OnTimer when a tick is due, then
    // sleeps on the clock until the next one is (or one interval while stopped).
    void Idle();
    // Raises OnTimer when a tick is due and returns at once; true when it ticked.
    bool Step();
    // Milliseconds until the next tick is due (0 when due now); one interval while stopped.
    std::uint32_t MillisecondsToNextTick();
    bool Running() const { return IsEnabled && (!ActiveOnly || AppActive); }

private:
    void Restart();

    IClock& Clock;
    std::uint32_t IntervalMs = 33;
    bool IsEnabled = true;
    bool AppActive = true;
    bool Fresh = true;
    std::uint32_t LastTick = 0;
    std::uint32_t WindowStart = 0;
    std::int32_t FrameCount = 0;
    std::int32_t Rate = 0;
};

} // namespace tamtara
