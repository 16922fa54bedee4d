// Keys as the kit's pads: key-downs read on a thread of their own (raw key events), struck there
// at once and handed to the window's thread for the grade, so a key does not wait for the window
// to finish its frame. Where no such thread can run, the window's own key events strike as before.
#pragma once

#include "app/input/Strike.h"
#include "base/DrumParts.h"
#include "platform/input/RawKeyReader.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tamtara {

// Per SDL scancode, the lanes its key strikes: bit N for lane N.
using KeyLaneMasks = std::array<std::uint8_t, ScancodeCount>;

class KeyStrikeInput {
public:
    // wake ends the window's wait for events; it is called on the key thread.
    KeyStrikeInput(std::unique_ptr<IRawKeyReader> reader, std::function<void()> wake);
    ~KeyStrikeInput();
    KeyStrikeInput(const KeyStrikeInput&) = delete;
    KeyStrikeInput& operator=(const KeyStrikeInput&) = delete;

    // Starts the key thread and says on log (null: nowhere) which path strikes the keys; said
    // once, and once more if the thread is lost later.
    void Start(std::ostream* log);
    void Stop();
    // Whether the key thread strikes the keys now: it runs and the player plays with precise
    // input. While it does, the window's key events must not strike.
    bool InUse() const { return Running.load() && Enabled.load(); }
    // Called by the window's thread every time round its loop: a lost thread is said on log.
    void CheckLost(std::ostream* log);

    // Window's thread: precise input on (the key thread strikes) or off (the frame's poll
    // judges every key), the game window's keyboard focus (without it raw keys are someone
    // else's), and which keys strike which lanes.
    void SetEnabled(bool enabled) { Enabled.store(enabled); }
    void SetFocus(bool focused) { Focused.store(focused); }
    void SetLanes(const KeyLaneMasks& lanes);
    // The lanes the key thread strikes for this key.
    std::uint8_t LanesOfKey(int sdlScancode);
    // Offered every lane strike on the key thread; true when it struck there (the window then
    // only grades it). Setting it waits for a strike in progress.
    void SetLaneTaker(std::function<bool(int lane, std::uint32_t time)> taker);
    // The strikes the taker left, oldest first, for the window to queue as its own.
    std::vector<Strike> TakeStrikes();

    // The key thread's entry: a key-down stamped at time.
    void KeyDown(int sdlScancode, std::uint32_t time);

private:
    std::unique_ptr<IRawKeyReader> Reader;
    std::function<void()> Wake;
    std::atomic<bool> Running{false};
    std::atomic<bool> Enabled{true};
    std::atomic<bool> Focused{false};
    bool LostSaid = false;
    std::mutex Mutex;
    KeyLaneMasks Lanes{};
    std::function<bool(int, std::uint32_t)> LaneTaker;
    std::vector<Strike> Pending;
};

} // namespace tamtara
