// Key-downs read on a thread of their own, away from the window's events, so a key can strike
// while the window's thread is busy with a frame. The events carry SDL scancodes, like the
// window's keys, and are stamped on the game's clock as they arrive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tamtara {

// SDL scancodes are below this (SDL_NUM_SCANCODES).
inline constexpr int ScancodeCount = 512;

struct RawKeyEvents {
    // On the reading thread, once, before the first key.
    std::function<void()> Started;
    // A key went down (a held key's repeats are not reported).
    std::function<void(int sdlScancode, std::uint32_t time)> KeyDown;
    // The connection broke; no key follows. Called on the reading thread, which then ends.
    std::function<void()> Lost;
};

class IRawKeyReader {
public:
    virtual ~IRawKeyReader() = default;
    // Starts reading; empty when the thread runs, else why raw keys are not to be had (English,
    // for the program's log line), and nothing is called.
    virtual std::string Start(RawKeyEvents events) = 0;
    // Ends the thread; nothing is called once it returns. Safe when not started.
    virtual void Stop() = 0;
};

} // namespace tamtara
