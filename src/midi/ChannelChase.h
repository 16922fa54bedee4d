// The state of every channel at a point of the song: the last value of each controller, the
// program, the pitch bend and the channel pressure written before it, to be sent again when
// playback jumps there (a loop's restart), as sequencers chase.
#pragma once

#include "midi/MidiEvent.h"

#include <array>
#include <cstdint>
#include <functional>

namespace tamtara {

class ChannelChase {
public:
    ChannelChase() { Clear(); }
    // Forgets everything.
    void Clear();
    // Notes a short channel message of the song at tick; only those before `before` become the
    // state, every one marks its channel as used.
    void Feed(std::int32_t tick, const TMyMidiEvent& event, std::int32_t before);
    // The state as messages, channel by channel: bank select, program, the other controllers,
    // pitch bend, channel pressure. On a used channel whose pitch bend, modulation, expression
    // or sustain was not written before the point, their power-on values are sent, so a loop
    // that bends or holds the pedal starts again as the song reached it.
    void Replay(const std::function<void(std::uint8_t status, std::uint8_t d1, std::uint8_t d2)>& send) const;

private:
    // -1: not written. Pitch bend as 14 bits.
    struct Channel {
        std::array<std::int16_t, 120> Controllers;
        std::array<std::int32_t, 120> ControllerTicks;
        std::int16_t Program = -1;
        std::int32_t ProgramTick = 0;
        std::int32_t Bend = -1;
        std::int32_t BendTick = 0;
        std::int16_t Pressure = -1;
        std::int32_t PressureTick = 0;
        bool Used = false;
    };
    std::array<Channel, 16> Channels{};
};

} // namespace tamtara
