// The electronic drum kit as input: note-ons decoded into lane hits (or Enter) on the input
// thread, with velocity minimums and debounce, and handed to the window's thread.
#pragma once

#include "base/DrumParts.h"
#include "midi/MidiInDriver.h"
#include "settings/KitSettings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tamtara {

struct KitHit {
    // The lane struck, or -1 for the Enter pad.
    int Lane = -1;
    std::uint8_t Velocity = 0;
    std::uint32_t Time = 0;
    // Struck on the input thread by the lane taker: the window neither queues it as a strike
    // nor latches it as a press of the lane's key.
    bool Taken = false;
};

// Note-on with a velocity above its lane's minimum strikes the lane its note maps to; a hit
// closer than the debounce window to the lane's last counted hit is the same stroke. Note-off,
// velocity 0, aftertouch, controllers and clock are ignored.
class KitDecoder {
public:
    explicit KitDecoder(KitSettings kit = DefaultKit()) : Kit(std::move(kit)) {}
    std::optional<KitHit> Decode(const MidiInMessage& message);

private:
    bool Bounced(std::size_t slot, std::uint32_t time);

    KitSettings Kit;
    // Per lane, and the Enter pad last: the time of the last counted hit.
    std::array<std::optional<std::uint32_t>, LaneCount + 1> LastHit;
};

class KitInput {
public:
    // wake ends the window's wait for events; it is called on the input thread.
    KitInput(IMidiInDriver& driver, std::function<void()> wake);
    ~KitInput();
    KitInput(const KitInput&) = delete;
    KitInput& operator=(const KitInput&) = delete;

    // Opens the named port with this map; false when there is no such port.
    bool Open(const std::string& portName, const KitSettings& kit);
    void Close();
    bool IsOpen() const { return Opened; }
    // Whether the open port is still present.
    bool Connected() { return Driver.Connected(); }
    bool AnyPorts() { return !Driver.PortNames().empty(); }
    // The hits received since the last call, oldest first (window thread).
    std::vector<KitHit> TakeHits();
    // Offered every lane hit on the input thread as it arrives; true when it struck the lane
    // there (the hit is then marked Taken). Setting it waits for a hit in progress.
    void SetLaneTaker(std::function<bool(const KitHit&)> taker);

private:
    void Receive(const MidiInMessage& message);

    IMidiInDriver& Driver;
    std::function<void()> Wake;
    bool Opened = false;
    std::mutex Mutex;
    KitDecoder Decoder;
    std::vector<KitHit> Pending;
    std::function<bool(const KitHit&)> LaneTaker;
};

} // namespace tamtara
