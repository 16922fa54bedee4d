// The game's binding table, in both reading modes: lanes, arrows, Enter, the unbound row end.
#include "platform/input/GameBindings.h"
#include "support/doubles/ScriptedKeySource.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

// Hi-hat A/S, snare F/D, kick space/none, toms J/I K/O L/P, cymbal ;/none.
const std::array<std::int32_t, 7> DefaultKeyA = {65, 70, 32, 74, 75, 76, 59};
const std::array<std::int32_t, 7> DefaultKeyB = {83, 68, 0, 73, 79, 80, 0};

class GameBindings : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ApplyGameBindings(DXInput.Keyboard);
        BindPlayerKeys(DXInput.Keyboard, DefaultKeyA, DefaultKeyB);
        DXInput.SetUseDirectInput(GetParam());
    }
    TInputStates StatesFor(int keyCode) {
        Keys.ReleaseAll();
        DXInput.Update();
        Keys.Press(keyCode);
        DXInput.Update();
        return DXInput.States;
    }
    TScriptedKeySource Keys;
    TDXInput DXInput{Keys};
};

TEST_P(GameBindings, HiHatKeysAndLeftArrow) {
    TInputStates a = StatesFor(65);
    EXPECT_TRUE(a.Contains(inButton1));
    EXPECT_FALSE(a.Contains(inButton11));
    TInputStates s = StatesFor(83);
    EXPECT_TRUE(s.Contains(inButton11));
    EXPECT_FALSE(s.Contains(inButton1));
    EXPECT_TRUE(StatesFor(37).Contains(inButton1));
}

TEST_P(GameBindings, ArrowsDoubleAsLaneKeys) {
    EXPECT_TRUE(StatesFor(39).Contains(inButton2));
    EXPECT_TRUE(StatesFor(38).Contains(inButton4));
    EXPECT_TRUE(StatesFor(40).Contains(inButton6));
}

TEST_P(GameBindings, EnterDecidesAndNothingReachesTheEndOfTheSecondRow) {
    EXPECT_TRUE(StatesFor(13).Contains(inButton8));
    for (int code = 1; code < 256; ++code)
        Keys.Press(code);
    DXInput.Update();
    EXPECT_FALSE(DXInput.States.Contains(inButton18));
}

TEST_P(GameBindings, KeyOfNoneNeverTurnsItsStateOn) {
    for (int code = 1; code < 256; ++code)
        Keys.Press(code);
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton11));
    EXPECT_FALSE(DXInput.States.Contains(inButton13)); // kick's second key is (なし)
    EXPECT_FALSE(DXInput.States.Contains(inButton17));
}

TEST_P(GameBindings, CymbalSemicolonWorksInBothModes) {
    EXPECT_TRUE(StatesFor(59).Contains(inButton7));
    EXPECT_TRUE(StatesFor(32).Contains(inButton3));
}

INSTANTIATE_TEST_SUITE_P(BothReadingModes, GameBindings, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "DirectInput" : "KeyboardState"; });

} // namespace
} // namespace tamtara
