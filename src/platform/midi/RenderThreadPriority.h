// The audio thread's priority, taken from inside the render callback on whichever thread calls
// it: SDL raises the audio thread it creates itself, but its PipeWire backend renders on the
// stream's event thread, which nobody raises.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace tamtara {

class RenderThreadPriority {
public:
    // `raise` runs on the rendering thread, the first time each thread renders.
    explicit RenderThreadPriority(std::function<void()> raise);

    // Called at the start of every rendered period; quick after the first call on a thread.
    void OnRender();

private:
    std::function<void()> Raise;
    // Tells this object from any other one that rendered on the same thread before.
    std::uint64_t Id;
    static std::atomic<std::uint64_t> NextId;
};

} // namespace tamtara
