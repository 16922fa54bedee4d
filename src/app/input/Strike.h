// Strikes stamped at their own moment: a key-down as the window delivered it, or a pad of the
// kit. Both kinds wait in one queue until the window hands them to the screen that takes them.
#pragma once

#include <cstdint>
#include <vector>

namespace tamtara {

struct Strike {
    int Lane = 0;
    // On the sequencer's clock.
    std::uint32_t Time = 0;
    // 0 for a key: the note sounds at its own velocity.
    std::uint8_t Velocity = 0;
    // A window key-down the key thread strikes: nobody strikes it here.
    bool ByKeyThread = false;
};

// Filled and emptied on the window's thread only.
class StrikeQueue {
public:
    void Push(const Strike& strike) { Pending.push_back(strike); }
    // Hands every strike since the last call to take, oldest first, and empties the queue. The
    // queue keeps its storage: a strike on its way to the sound allocates nothing.
    template <typename Taker> void Drain(Taker&& take) {
        for (const Strike& strike : Pending)
            take(strike);
        Pending.clear();
    }

private:
    std::vector<Strike> Pending;
};

} // namespace tamtara
