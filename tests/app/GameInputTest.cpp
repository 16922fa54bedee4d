// The window's input part on its own: key-downs and pad hits become queued strikes and latched
// presses that the next poll counts, whatever reading mode the keyboard is in.
#include "app/input/GameInput.h"
#include "platform/input/SdlKeyTables.h"
#include "support/doubles/ScriptedKeySource.h"
#include "support/doubles/ScriptedMidiInDriver.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamtara::testing {
namespace {

constexpr int KeyS = 'S'; // the snare's first key below
constexpr std::uint8_t KitSnare = 38;

class GameInputTest : public ::testing::Test {
protected:
    GameInputTest() {
        auto keys = std::make_unique<TScriptedKeySource>();
        Keys = keys.get();
        Input = std::make_unique<GameInput>(std::move(keys), &Kit, [] {});
        Input->SetPlayerKeys({'A', KeyS, 'D', 'F', 'G', 'H', 'J'}, {0, 0, 0, 0, 0, 0, 0});
        Input->PollKeys();
    }

    std::vector<Strike> Drain() {
        std::vector<Strike> strikes;
        Input->Strikes.Drain([&](const Strike& strike) { strikes.push_back(strike); });
        return strikes;
    }

    ScriptedMidiInDriver Kit{{"Pads"}};
    TScriptedKeySource* Keys = nullptr;
    std::unique_ptr<GameInput> Input;
};

TEST_F(GameInputTest, ATapBetweenPollsIsOneStampedStrikeAndOnePressAtTheNextPoll) {
    for (bool directInput : {false, true}) {
        Input->DXInput.SetUseDirectInput(directInput);
        Input->PollKeys();
        Keys->Press(KeyS);
        Input->KeyDown(SdlScancodeOfKeyCode(KeyS), 1234);
        Keys->Release(KeyS); // up again before the frame polls
        const std::vector<Strike> strikes = Drain();
        ASSERT_EQ(strikes.size(), 1u) << directInput;
        EXPECT_EQ(strikes[0].Lane, dpSnare);
        EXPECT_EQ(strikes[0].Time, 1234u);
        EXPECT_EQ(strikes[0].Velocity, 0);
        EXPECT_TRUE(Drain().empty()) << "a drained queue is empty";

        Input->PollKeys();
        EXPECT_EQ(Input->Holds.KeyHoldA[dpSnare], 1) << directInput;
        Input->PollKeys();
        EXPECT_EQ(Input->Holds.KeyHoldA[dpSnare], 0) << "the latch lasts one poll";
    }
}

TEST_F(GameInputTest, KeysBoundToNoLaneQueueNothing) {
    Input->KeyDown(SdlScancodeOfKeyCode('Q'), 10);
    // Enter is a menu key, not a lane: it is latched for the menus but strikes nothing.
    Input->KeyDown(SdlScancodeOfKeyCode(13), 20);
    EXPECT_TRUE(Drain().empty());
    Input->PollKeys();
    EXPECT_EQ(Input->Holds.KeyHoldA[7], 1);
}

TEST_F(GameInputTest, PadHitsStrikeWithTheirVelocityAndPressTheLanesMenuKey) {
    ASSERT_TRUE(Input->Kit->Open("Pads", DefaultKit()));
    Kit.Receive(MidiInMessage{500, 0x99, KitSnare, 90});
    Kit.Receive(MidiInMessage{520, 0x99, 36, 70});
    Kit.Receive(MidiInMessage{540, 0x99, 44, 100}); // the hi-hat pedal: Enter
    Input->TakeKitHits();
    const std::vector<Strike> strikes = Drain();
    ASSERT_EQ(strikes.size(), 2u);
    EXPECT_EQ(strikes[0].Lane, dpSnare);
    EXPECT_EQ(strikes[0].Time, 500u);
    EXPECT_EQ(strikes[0].Velocity, 90);
    EXPECT_EQ(strikes[1].Lane, dpKick);
    Input->PollKeys();
    EXPECT_EQ(Input->Holds.KeyHoldA[dpSnare], 1);
    EXPECT_EQ(Input->Holds.KeyHoldA[dpKick], 1);
    EXPECT_EQ(Input->Holds.KeyHoldA[7], 1);
    EXPECT_EQ(Input->Holds.KeyHoldA[dpHiHat], 0);
}

} // namespace
} // namespace tamtara::testing
