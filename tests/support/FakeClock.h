// A clock that only moves when the test moves it; Sleep advances it by the time asked for. It
// counts microseconds, so a test can start the song between two milliseconds.
#pragma once

#include "base/Clock.h"

#include <atomic>

namespace tamtara::testing {

class FakeClock final : public IClock {
public:
    explicit FakeClock(std::uint32_t start = 1000) : Micros(static_cast<std::int64_t>(start) * 1000) {}
    std::uint32_t Now() override { return static_cast<std::uint32_t>(Micros.load() / 1000); }
    void Sleep(std::uint32_t milliseconds) override { Advance(milliseconds); }
    std::int64_t NowMicros() override { return Micros.load(); }
    void Advance(std::uint32_t milliseconds) { Micros += static_cast<std::int64_t>(milliseconds) * 1000; }
    void AdvanceMicros(std::int64_t microseconds) { Micros += microseconds; }
    void Set(std::uint32_t milliseconds) { Micros = static_cast<std::int64_t>(milliseconds) * 1000; }

private:
    std::atomic<std::int64_t> Micros;
};

} // namespace tamtara::testing
