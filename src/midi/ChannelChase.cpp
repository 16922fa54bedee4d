// Chasing channel state.
#include "midi/ChannelChase.h"

namespace tamtara {

namespace {

// Keeps the later of two writes; of two at one tick the one fed last.
template <class V> void Keep(V& value, std::int32_t& at, V next, std::int32_t tick) {
    if (value < 0 || tick >= at) {
        value = next;
        at = tick;
    }
}

} // namespace

void ChannelChase::Clear() {
    for (Channel& c : Channels) {
        c = Channel{};
        c.Controllers.fill(-1);
        c.ControllerTicks.fill(0);
    }
}

void ChannelChase::Feed(std::int32_t tick, const TMyMidiEvent& event, std::int32_t before) {
    if (event.IsExclusive() || event.Status < 0x80 || event.Status >= 0xF0) return;
    Channel& c = Channels[event.Status & 0x0F];
    c.Used = true;
    if (tick >= before) return;
    switch (event.Status & 0xF0) {
    case 0xB0:
        if (event.Data1 < 120)
            Keep<std::int16_t>(c.Controllers[event.Data1], c.ControllerTicks[event.Data1], event.Data2, tick);
        break;
    case 0xC0:
        Keep<std::int16_t>(c.Program, c.ProgramTick, event.Data1, tick);
        break;
    case 0xD0:
        Keep<std::int16_t>(c.Pressure, c.PressureTick, event.Data1, tick);
        break;
    case 0xE0:
        Keep<std::int32_t>(c.Bend, c.BendTick, event.Data1 | event.Data2 << 7, tick);
        break;
    default:
        break;
    }
}

void ChannelChase::Replay(
    const std::function<void(std::uint8_t status, std::uint8_t d1, std::uint8_t d2)>& send) const {
    // Power-on values of the controllers a loop is most likely to leave changed.
    constexpr std::array<std::pair<int, int>, 3> resets{{{1, 0}, {11, 127}, {64, 0}}};
    for (int ch = 0; ch < 16; ++ch) {
        const Channel& c = Channels[ch];
        if (!c.Used) continue;
        const auto cc = static_cast<std::uint8_t>(0xB0 | ch);
        for (int bank : {0, 32})
            if (c.Controllers[bank] >= 0)
                send(cc, static_cast<std::uint8_t>(bank), static_cast<std::uint8_t>(c.Controllers[bank]));
        if (c.Program >= 0)
            send(static_cast<std::uint8_t>(0xC0 | ch), static_cast<std::uint8_t>(c.Program), 0);
        for (int n = 0; n < 120; ++n) {
            std::int16_t value = c.Controllers[n];
            if (n == 0 || n == 32) continue;
            for (const auto& [controller, initial] : resets)
                if (value < 0 && n == controller) value = static_cast<std::int16_t>(initial);
            if (value >= 0) send(cc, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(value));
        }
        const std::int32_t bend = c.Bend >= 0 ? c.Bend : 8192;
        send(static_cast<std::uint8_t>(0xE0 | ch), static_cast<std::uint8_t>(bend & 0x7F),
             static_cast<std::uint8_t>(bend >> 7));
        if (c.Pressure >= 0)
            send(static_cast<std::uint8_t>(0xD0 | ch), static_cast<std::uint8_t>(c.Pressure), 0);
    }
}

} // namespace tamtara
