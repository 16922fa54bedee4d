// The millisecond clock and sleep that the sequencer and the frame timer run on, behind an
// interface so tests can step them on a fake clock.
#pragma once

#include <cstdint>

namespace tamtara {

// Microseconds on the steady clock the system clock reads; the time base of the sequencer's due
// times and of the built-in synth's rendering.
std::int64_t MonotonicMicros();

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since an arbitrary start; wraps around like a 32-bit counter.
    virtual std::uint32_t Now() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // The same clock in microseconds (not wrapping). A clock without a finer count gives its
    // milliseconds times 1000.
    virtual std::int64_t NowMicros() { return static_cast<std::int64_t>(Now()) * 1000; }
    // Sleeps about this long; a clock without a finer sleep rounds up to whole milliseconds.
    virtual void SleepMicros(std::int64_t microseconds) {
        if (microseconds > 0) Sleep(static_cast<std::uint32_t>((microseconds + 999) / 1000));
    }
};

// The real clock: std::chrono::steady_clock and std::this_thread::sleep_for.
class SystemClock final : public IClock {
public:
    std::uint32_t Now() override;
    void Sleep(std::uint32_t milliseconds) override;
    std::int64_t NowMicros() override;
    void SleepMicros(std::int64_t microseconds) override;
    // The one instance the program shares.
    static SystemClock& Instance();
};

} // namespace tamtara
