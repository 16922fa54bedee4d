// The key thread's strikes and their hand-over to the window's thread.
#include "app/input/KeyStrikeInput.h"

#include "midi/ThreadPriority.h"

#include <ostream>

namespace tamtara {

namespace {

void Say(std::ostream* log, const std::string& path) {
    if (log) *log << "tamtara: key strikes: " << path << std::endl;
}

} // namespace

KeyStrikeInput::KeyStrikeInput(std::unique_ptr<IRawKeyReader> reader, std::function<void()> wake)
    : Reader(std::move(reader)), Wake(std::move(wake)) {}

KeyStrikeInput::~KeyStrikeInput() {
    Stop();
}

void KeyStrikeInput::Start(std::ostream* log) {
    Stop();
    LostSaid = false;
    RawKeyEvents events;
    events.Started = [] { ReportThreadPriority(PriorityRole::Keys, RaiseCurrentThread()); };
    events.KeyDown = [this](int sdlScancode, std::uint32_t time) { KeyDown(sdlScancode, time); };
    events.Lost = [this] {
        Running.store(false);
        if (Wake) Wake();
    };
    // Running before the thread may report its loss.
    Running.store(true);
    const std::string reason = Reader->Start(std::move(events));
    if (!reason.empty()) {
        Running.store(false);
        LostSaid = true;
        Say(log, "window events (" + reason + ")");
        return;
    }
    Say(log, "raw X input thread");
}

void KeyStrikeInput::Stop() {
    Reader->Stop();
    Running.store(false);
}

void KeyStrikeInput::CheckLost(std::ostream* log) {
    if (Running.load() || LostSaid) return;
    LostSaid = true;
    Say(log, "window events (the X connection of the key thread was lost)");
}

void KeyStrikeInput::SetLanes(const KeyLaneMasks& lanes) {
    std::lock_guard lock(Mutex);
    Lanes = lanes;
}

std::uint8_t KeyStrikeInput::LanesOfKey(int sdlScancode) {
    if (sdlScancode <= 0 || sdlScancode >= ScancodeCount) return 0;
    std::lock_guard lock(Mutex);
    return Lanes[static_cast<std::size_t>(sdlScancode)];
}

void KeyStrikeInput::SetLaneTaker(std::function<bool(int lane, std::uint32_t time)> taker) {
    std::lock_guard lock(Mutex);
    LaneTaker = std::move(taker);
}

std::vector<Strike> KeyStrikeInput::TakeStrikes() {
    std::lock_guard lock(Mutex);
    std::vector<Strike> strikes;
    strikes.swap(Pending);
    return strikes;
}

void KeyStrikeInput::KeyDown(int sdlScancode, std::uint32_t time) {
    // Raw keys come whichever window has the focus; only the game's are the player's.
    if (!InUse() || !Focused.load() || sdlScancode <= 0 || sdlScancode >= ScancodeCount) return;
    {
        std::lock_guard lock(Mutex);
        const std::uint8_t lanes = Lanes[static_cast<std::size_t>(sdlScancode)];
        for (int lane = 0; lane < LaneCount; ++lane) {
            if (!(lanes & (1u << lane))) continue;
            if (LaneTaker && LaneTaker(lane, time)) continue;
            Pending.push_back(Strike{lane, time, 0});
        }
        if (lanes == 0) return;
    }
    // A taken strike waits for its grade, an untaken one for the window to strike it.
    if (Wake) Wake();
}

} // namespace tamtara
