// The millisecond clock and sleep that the sequencer and the frame timer run on, behind an
// interface so tests can step them on a fake clock.
#pragma once

#include <cstdint>

namespace tamtara {

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since an arbitrary start; wraps around like a 32-bit counter.
    virtual std::uint32_t Now() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// The real clock: std::chrono::steady_clock and std::this_thread::sleep_for.
class SystemClock final : public IClock {
public:
    std::uint32_t Now() override;
    void Sleep(std::uint32_t milliseconds) override;
    // The one instance the program shares.
    static SystemClock& Instance();
};

} // namespace tamtara
