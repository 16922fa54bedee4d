// A sequencer on a fake clock with the recording driver, and a play state wired to it, for
// driving capture and judgement without a window.
#pragma once

#include "FakeClock.h"
#include "SequencerTestAccess.h"
#include "app/play/Judge.h"
#include "app/play/NoteCapture.h"
#include "app/play/PlayState.h"
#include "midi/MidiDrive.h"
#include "support/doubles/RecordingMidiDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tamtara::testing {

class PlayFixture : public ::testing::Test {
protected:
    PlayFixture() {
        Drive.OpenOutput(MidiMapperId);
        SequencerTestAccess::SetDivision(Drive, 480);
        State.AutoLane.fill(false);
        State.ResetForPlay();
        Driver.ClearMessages();
    }

    SequencerEvent Note(std::int32_t tick, std::uint8_t note, std::uint8_t velocity = 100) {
        SequencerEvent event;
        event.Tick = tick;
        event.Event.Status = 0x99;
        event.Event.Data1 = note;
        event.Event.Data2 = velocity;
        return event;
    }

    void Announce(std::int32_t tick, std::uint8_t note, std::uint8_t velocity = 100) {
        const SequencerEvent event = Note(tick, note, velocity);
        auto lock = Drive.ScopedLock();
        Capture.CaptureDrumNote(&event);
    }

    void SetTick(std::int32_t tick) { SequencerTestAccess::SetPosition(Drive, tick); }

    // Presses the lane's first key for one frame (released in the frame after).
    void Strike(int lane) {
        Holds.KeyHoldA.fill(0);
        Holds.KeyHoldB.fill(0);
        Holds.KeyHoldA[lane] = 1;
        Judgement.JudgePresses(Holds);
        Holds.KeyHoldA[lane] = 0;
    }

    std::vector<std::uint32_t> Sent() const {
        std::vector<std::uint32_t> shorts;
        for (const RecordedMessage& m : Driver.Messages())
            if (!m.IsLong) shorts.push_back(m.Short);
        return shorts;
    }

    static std::uint32_t Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        return status | (data1 << 8) | (data2 << 16);
    }

    FakeClock Clock;
    RecordingMidiDriver Driver{Clock};
    TMidiDrive Drive{Driver, Clock, false};
    PlayState State;
    KeyHolds Holds;
    bool OnPlayScreen = true;
    NoteCapture Capture{State, Drive, [this] { return OnPlayScreen; }};
    Judge Judgement{State, Drive};
};

} // namespace tamtara::testing
