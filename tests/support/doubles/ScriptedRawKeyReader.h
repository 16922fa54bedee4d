// A raw key reader driven by code: the test stands in for the key thread and calls KeyDown and
// Lose itself; Refusal, when set, is what Start answers instead of starting.
#pragma once

#include "platform/input/RawKeyReader.h"

namespace tamtara {

class ScriptedRawKeyReader final : public IRawKeyReader {
public:
    explicit ScriptedRawKeyReader(std::string refusal = {}) : Refusal(std::move(refusal)) {}

    std::string Start(RawKeyEvents events) override {
        if (!Refusal.empty()) return Refusal;
        Events = std::move(events);
        Reading = true;
        return {};
    }
    void Stop() override { Reading = false; }

    // The key thread's part: a key-down as it arrives, and the connection's end.
    void KeyDown(int sdlScancode, std::uint32_t time) {
        if (Reading && Events.KeyDown) Events.KeyDown(sdlScancode, time);
    }
    void Lose() {
        if (!Reading) return;
        Reading = false;
        if (Events.Lost) Events.Lost();
    }
    bool IsReading() const { return Reading; }

private:
    std::string Refusal;
    RawKeyEvents Events;
    bool Reading = false;
};

} // namespace tamtara
