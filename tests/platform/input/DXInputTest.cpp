// TDXInput polling: states from bound keys, press and release edges, focus, failed reads.
#include "platform/input/DXInput.h"
#include "support/doubles/ScriptedKeySource.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

class Input : public ::testing::Test {
protected:
    TScriptedKeySource Keys;
    TDXInput DXInput{Keys};
};

TEST_F(Input, StoredBindingsAnswerFromTheStart) {
    Keys.Press(90); // Z
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
    Keys.Press(104); // keypad 8
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inUp));
    EXPECT_EQ(DXInput.Keyboard.Assigns[inButton9][0], 113);
}

TEST_F(Input, StateFollowsPressAndRelease) {
    Keys.Press(88); // X
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton2));
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton2));
    Keys.Release(88);
    DXInput.Update();
    EXPECT_FALSE(DXInput.States.Contains(inButton2));
}

TEST_F(Input, TwoKeysOfOneStateCountOnce) {
    Keys.Press(90);
    Keys.Press(32); // both bound to inButton1
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
    Keys.Release(90);
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
    Keys.Release(32);
    DXInput.Update();
    EXPECT_FALSE(DXInput.States.Contains(inButton1));
}

TEST_F(Input, StateRemovedByConsumerStaysOffUntilPressedAgain) {
    Keys.Press(90);
    DXInput.Update();
    DXInput.States.Exclude(inButton1);
    DXInput.Update();
    EXPECT_FALSE(DXInput.States.Contains(inButton1));
    Keys.Release(90);
    DXInput.Update();
    Keys.Press(90);
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
}

TEST_F(Input, CodesOutsideOneTo255NeverMatch) {
    DXInput.Keyboard.Assigns[inButton5] = {0, 256, -1};
    for (int code = 1; code < 256; ++code)
        Keys.Press(code);
    DXInput.Update();
    EXPECT_FALSE(DXInput.States.Contains(inButton5));
    EXPECT_FALSE(DXInput.States.Contains(inButton18));
}

TEST_F(Input, AssignChangesTakeEffectAtNextUpdate) {
    Keys.Press(65);
    DXInput.Update();
    EXPECT_FALSE(DXInput.States.Contains(inButton3));
    DXInput.Keyboard.Assigns[inButton3][0] = 65;
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton3));
}

TEST_F(Input, WithoutFocusEveryStateTurnsOff) {
    Keys.Press(90);
    DXInput.Update();
    Keys.Focus = false;
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Empty());
    EXPECT_EQ(DXInput.Keyboard.Keys[90], 0);
    DXInput.ActiveOnly = false;
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
}

TEST_F(Input, FocusRegainedWithKeyHeldCountsAsPress) {
    Keys.Press(90);
    Keys.Focus = false;
    DXInput.Update();
    Keys.Focus = true;
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
}

TEST_F(Input, DirectInputReadsByScanCode) {
    DXInput.SetUseDirectInput(true);
    EXPECT_TRUE(DXInput.UseDirectInput());
    Keys.PressScanCode(44); // Z
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
    EXPECT_EQ(DXInput.Keyboard.Keys[90], 0x80);
}

TEST_F(Input, DirectInputApostropheActsAsRightArrow) {
    DXInput.Keyboard.Assigns[inButton2] = {68, 39, 0};
    DXInput.SetUseDirectInput(true);
    Keys.PressScanCode(40);
    DXInput.Update();
    EXPECT_TRUE(DXInput.States.Contains(inButton2));
    EXPECT_TRUE(DXInput.States.Contains(inRight));
}

TEST_F(Input, UnmappedScanCodeGivesNoKey) {
    DXInput.SetUseDirectInput(true);
    Keys.PressScanCode(12);
    Keys.PressScanCode(250);
    DXInput.Update();
    for (std::uint8_t value : DXInput.Keyboard.Keys)
        EXPECT_EQ(value, 0);
}

TEST_F(Input, FailedDirectInputReadIsRetriedOnceAfterAcquire) {
    DXInput.SetUseDirectInput(true);
    Keys.PressScanCode(44);
    Keys.FailingReads = 1;
    DXInput.Update();
    EXPECT_EQ(Keys.AcquireCount, 1);
    EXPECT_TRUE(DXInput.States.Contains(inButton1));
}

TEST_F(Input, TwiceFailedReadCountsAsAllKeysUp) {
    DXInput.SetUseDirectInput(true);
    Keys.PressScanCode(44);
    DXInput.Update();
    Keys.FailingReads = 2;
    DXInput.Update();
    EXPECT_FALSE(DXInput.States.Contains(inButton1));
    Keys.Press(90);
    Keys.FailingReads = 1; // without DirectInput there is no retry
    DXInput.SetUseDirectInput(false);
    EXPECT_FALSE(DXInput.Keyboard.States.Contains(inButton1));
    EXPECT_EQ(Keys.AcquireCount, 1);
    DXInput.Update();
    EXPECT_TRUE(DXInput.Keyboard.States.Contains(inButton1));
}

TEST_F(Input, SwitchingModeRecreatesAndPollsOnce) {
    Keys.Press(90);
    DXInput.SetUseDirectInput(true);
    EXPECT_TRUE(DXInput.States.Contains(inButton1)); // no Update needed
    EXPECT_TRUE(DXInput.Keyboard.Initialized());
}

TEST_F(Input, DisabledKeyboardReportsNothing) {
    DXInput.Keyboard.Enabled = false;
    DXInput.SetUseDirectInput(true);
    Keys.Press(90);
    DXInput.Update();
    EXPECT_FALSE(DXInput.Keyboard.Initialized());
    EXPECT_TRUE(DXInput.States.Empty());
}

TEST_F(Input, AcquireSkippedWithoutFocus) {
    Keys.Focus = false;
    DXInput.Acquire();
    EXPECT_EQ(Keys.AcquireCount, 0);
    Keys.Focus = true;
    DXInput.Acquire();
    EXPECT_EQ(Keys.AcquireCount, 1);
}

} // namespace
} // namespace tamtara
