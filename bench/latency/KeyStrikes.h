// The key thread of bench_latency: the game's key strike input over a reader whose thread is
// handed key-downs already stamped, as the X reader's thread stamps them when they arrive. What
// the X server and the socket take before the stamp is left out, as the kit's driver leaves out
// the MIDI cable's time.
#pragma once

#include "app/input/KeyStrikeInput.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace tamtara::bench {

class BenchKeyThread {
public:
    // Each key of a lane strikes it through taker (on the key thread); wake is called after
    // each strike, as the window is woken to grade it.
    BenchKeyThread(std::function<bool(int lane, std::uint32_t time)> taker, std::function<void()> wake);
    ~BenchKeyThread();
    BenchKeyThread(const BenchKeyThread&) = delete;
    BenchKeyThread& operator=(const BenchKeyThread&) = delete;

    // A key of lane went down at stampMicros (MonotonicMicros).
    void Hand(int lane, std::int64_t stampMicros);

private:
    class Reader;
    Reader* Keys = nullptr;
    std::unique_ptr<KeyStrikeInput> Input;
};

} // namespace tamtara::bench
