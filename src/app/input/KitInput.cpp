// Decoding of the kit's messages and their hand-over to the window's thread.
#include "app/input/KitInput.h"

namespace tamtara {

bool KitDecoder::Bounced(std::size_t slot, std::uint32_t time) {
    std::optional<std::uint32_t>& last = LastHit[slot];
    if (last && time - *last < static_cast<std::uint32_t>(Kit.DebounceMs)) return true;
    last = time;
    return false;
}

std::optional<KitHit> KitDecoder::Decode(const MidiInMessage& message) {
    if ((message.Status & 0xF0) != 0x90 || message.Data2 == 0) return std::nullopt;
    const std::uint8_t note = message.Data1;
    if (Kit.EnterNote >= 0 && note == Kit.EnterNote) {
        if (Bounced(LaneCount, message.Time)) return std::nullopt;
        return KitHit{-1, message.Data2, message.Time};
    }
    const int lane = KitLaneOfNote(Kit, note);
    if (lane < 0 || message.Data2 <= Kit.MinVelocity[static_cast<std::size_t>(lane)]) return std::nullopt;
    if (Bounced(static_cast<std::size_t>(lane), message.Time)) return std::nullopt;
    return KitHit{lane, message.Data2, message.Time};
}

KitInput::KitInput(IMidiInDriver& driver, std::function<void()> wake)
    : Driver(driver), Wake(std::move(wake)) {}

KitInput::~KitInput() {
    Close();
}

bool KitInput::Open(const std::string& portName, const KitSettings& kit) {
    Close();
    {
        std::lock_guard lock(Mutex);
        Decoder = KitDecoder(kit);
        Pending.clear();
    }
    Opened = Driver.Open(portName, [this](const MidiInMessage& message) { Receive(message); });
    return Opened;
}

void KitInput::Close() {
    if (!Opened) return;
    Driver.Close();
    Opened = false;
}

std::vector<KitHit> KitInput::TakeHits() {
    std::lock_guard lock(Mutex);
    std::vector<KitHit> hits;
    hits.swap(Pending);
    return hits;
}

void KitInput::SetLaneTaker(std::function<bool(const KitHit&)> taker) {
    std::lock_guard lock(Mutex);
    LaneTaker = std::move(taker);
}

void KitInput::Receive(const MidiInMessage& message) {
    {
        std::lock_guard lock(Mutex);
        const std::optional<KitHit> hit = Decoder.Decode(message);
        if (!hit) return;
        Pending.push_back(*hit);
        if (hit->Lane >= 0 && LaneTaker) Pending.back().Taken = LaneTaker(*hit);
    }
    if (Wake) Wake();
}

} // namespace tamtara
