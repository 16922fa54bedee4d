// A clock that only moves when the test moves it; Sleep advances it by the time asked for.
#pragma once

#include "base/Clock.h"

#include <atomic>

namespace tamtara::testing {

class FakeClock final : public IClock {
public:
    explicit FakeClock(std::uint32_t start = 1000) : Millis(start) {}
    std::uint32_t Now() override { return Millis.load(); }
    void Sleep(std::uint32_t milliseconds) override { Millis += milliseconds; }
    void Advance(std::uint32_t milliseconds) { Millis += milliseconds; }
    void Set(std::uint32_t milliseconds) { Millis = milliseconds; }

private:
    std::atomic<std::uint32_t> Millis;
};

} // namespace tamtara::testing
