// Which notes the sequencer has started and not yet ended, per channel and key, so a jump in
// the song (a loop's end) can end each of them instead of leaving it hanging.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace tamtara {

class SoundingNotes {
public:
    void Clear() { Counts.fill(0); }
    // Notes a channel message as sent: a note-on adds a sounding note, a note-off (or a note-on
    // of velocity 0) ends one.
    void Sent(std::uint8_t status, std::uint8_t key, std::uint8_t velocity) {
        const std::uint8_t kind = status & 0xF0;
        std::uint8_t& count = Counts[(status & 0x0F) * 128 + (key & 0x7F)];
        if (kind == 0x90 && velocity > 0) {
            if (count < 255) ++count;
        } else if ((kind == 0x80 || kind == 0x90) && count > 0) {
            --count;
        }
    }
    // Sends a note-off for every sounding note (once per note-on) and forgets them.
    void Release(const std::function<void(std::uint8_t status, std::uint8_t key)>& noteOff) {
        for (int i = 0; i < 16 * 128; ++i)
            for (; Counts[i] > 0; --Counts[i])
                noteOff(static_cast<std::uint8_t>(0x80 | i / 128), static_cast<std::uint8_t>(i % 128));
    }

private:
    std::array<std::uint8_t, 16 * 128> Counts{};
};

} // namespace tamtara
