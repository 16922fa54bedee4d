// The output port over a fake driver of two devices: id and name rules, texts, completions.
#include "midi/MidiOutput.h"
#include "support/doubles/RecordingMidiDriver.h"

#include "FakeClock.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

class MidiOutputTest : public ::testing::Test {
protected:
    tamtara::testing::FakeClock Clock;
    RecordingMidiDriver Driver{Clock, {"Synth A", "MIDI Mapper"}, "MIDI Mapper"};
    TMidiOutput Port{Driver};
};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EmidioutputError& e) {
        return e.what();
    }
    return "(nothing raised)";
}

TEST_F(MidiOutputTest, MapperIdIsAcceptedWhateverTheDeviceCount) {
    Port.SetDeviceID(MidiMapperId);
    EXPECT_EQ(Port.ProductName(), "MIDI Mapper");
    Port.SetDeviceID(0);
    EXPECT_EQ(Port.ProductName(), "Synth A");
}

TEST_F(MidiOutputTest, IdNotBelowDeviceCountIsInvalid) {
    Port.SetDeviceID(0);
    EXPECT_EQ(MessageOf([&] { Port.SetDeviceID(2); }), "Invalid device ID");
    EXPECT_EQ(Port.DeviceID(), 0);
}

TEST_F(MidiOutputTest, NegativeIdOtherThanMapperGetsDriverText) {
    std::string expected;
    StandardMidiErrorText(MidiError::BadDeviceId, expected);
    EXPECT_EQ(MessageOf([&] { Port.SetDeviceID(-2); }), expected);
    EXPECT_EQ(Port.DeviceID(), -2);
    EXPECT_EQ(Port.LastError(), MidiError::BadDeviceId);
}

TEST_F(MidiOutputTest, ProductNamePrefersTheMapperOverALaterDeviceOfTheSameName) {
    Port.SetDeviceID(0);
    Port.SetProductName("MIDI Mapper");
    EXPECT_EQ(Port.DeviceID(), MidiMapperId);
    Port.SetProductName("Synth A");
    EXPECT_EQ(Port.DeviceID(), 0);
}

TEST_F(MidiOutputTest, UnknownProductNameIsNotInstalled) {
    EXPECT_EQ(MessageOf([&] { Port.SetProductName("Nope"); }), "MIDI output Device Nope not installed");
    EXPECT_EQ(MessageOf([&] { Port.SetProductName("synth a"); }), "MIDI output Device synth a not installed");
}

TEST_F(MidiOutputTest, DeviceAndNameCannotChangeWhileOpen) {
    Port.SetDeviceID(0);
    ASSERT_TRUE(Port.Open());
    EXPECT_EQ(MessageOf([&] { Port.SetDeviceID(-1); }), "Change to DeviceID while device was open");
    EXPECT_EQ(MessageOf([&] { Port.SetProductName("Synth A"); }),
              "Change to ProductName while device was open");
    EXPECT_TRUE(Port.Close());
    EXPECT_FALSE(Port.Close());
}

TEST_F(MidiOutputTest, FailedOpenReportsThroughResultAndLeavesPortClosed) {
    Driver.SetFailures({.Open = MidiError::Allocated});
    EXPECT_FALSE(Port.Open());
    EXPECT_FALSE(Port.IsOpen());
    EXPECT_EQ(Port.LastError(), MidiError::Allocated);
    TMyMidiEvent event;
    event.Status = 0x90;
    EXPECT_EQ(MessageOf([&] { Port.SendEvent(event); }), "MIDI Output device not open");
    std::string invalidHandle;
    StandardMidiErrorText(MidiError::InvalidHandle, invalidHandle);
    EXPECT_EQ(MessageOf([&] { Port.SendShort(0x90, 1, 2); }), invalidHandle);
    const std::uint8_t sysex[] = {0xF0, 0xF7};
    EXPECT_EQ(MessageOf([&] { Port.SendLong(sysex, 2); }), invalidHandle);
    EXPECT_EQ(Port.PendingCount(), 0u);
}

TEST_F(MidiOutputTest, FailingCloseRaisesAndStaysOpen) {
    ASSERT_TRUE(Port.Open());
    Driver.SetFailures({.Close = MidiError::StillPlaying});
    EXPECT_NE(MessageOf([&] { Port.Close(); }), "(nothing raised)");
    EXPECT_TRUE(Port.IsOpen());
    Driver.SetFailures({});
}

TEST_F(MidiOutputTest, ShortMessagePacksStatusAndData) {
    ASSERT_TRUE(Port.Open());
    Port.SendShort(0x99, 38, 100);
    auto messages = Driver.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Short, 0x99u | 38u << 8 | 100u << 16);
}

TEST_F(MidiOutputTest, ExclusiveEventIgnoresStatusAndDataBytes) {
    ASSERT_TRUE(Port.Open());
    TMyMidiEvent event;
    event.Status = 0x90;
    event.Data1 = 1;
    event.ExclusiveLength = 3;
    const std::uint8_t block[] = {0xF0, 0x11, 0xF7};
    event.ExclusiveData = block;
    Port.SendEvent(event);
    auto messages = Driver.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].IsLong);
    EXPECT_EQ(messages[0].Bytes, (std::vector<std::uint8_t>{0xF0, 0x11, 0xF7}));
}

TEST_F(MidiOutputTest, CompletionIsReleasedAndNotifiedOnlyWhenDrained) {
    Driver.SetAutoComplete(false);
    ASSERT_TRUE(Port.Open());
    int notified = 0;
    Port.Onmidioutput = [&](TMidiOutput& sender) {
        EXPECT_EQ(&sender, &Port);
        ++notified;
    };
    const std::uint8_t gm[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    Port.SendLong(gm, 6);
    EXPECT_EQ(Port.PendingCount(), 1u);
    EXPECT_EQ(Port.ProcessCompletions(), 0);
    EXPECT_EQ(Driver.CompletePending(), 1u);
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(Port.ProcessCompletions(), 1);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(Port.PendingCount(), 0u);
    EXPECT_EQ(Port.ProcessCompletions(), 0);
    EXPECT_EQ(notified, 1);
}

TEST_F(MidiOutputTest, FailingLongSendReleasesItsBuffer) {
    ASSERT_TRUE(Port.Open());
    Driver.SetFailures({.LongMsg = MidiError::NotReady});
    const std::uint8_t sysex[] = {0xF0, 0xF7};
    std::string expected;
    StandardMidiErrorText(MidiError::NotReady, expected);
    EXPECT_EQ(MessageOf([&] { Port.SendLong(sysex, 2); }), expected);
    EXPECT_EQ(Port.PendingCount(), 0u);
    Driver.SetFailures({});
}

TEST_F(MidiOutputTest, UnknownErrorCodeHasFallbackText) {
    EXPECT_EQ(Port.ErrorText(999), "Specified error number is out of range");
    std::string text;
    EXPECT_TRUE(StandardMidiErrorText(MidiError::NoDevice, text));
    EXPECT_FALSE(text.empty());
}

TEST_F(MidiOutputTest, CompletionAfterThePortIsGoneIsHarmless) {
    Driver.SetAutoComplete(false);
    {
        TMidiOutput shortLived(Driver);
        ASSERT_TRUE(shortLived.Open());
        const std::uint8_t sysex[] = {0xF0, 0xF7};
        shortLived.SendLong(sysex, 2);
    }
    // Closing the device abandoned the message; nothing is delivered into freed memory.
    EXPECT_EQ(Driver.CompletePending(), 0u);
    EXPECT_EQ(Driver.OpenCount(), 0);
}

} // namespace
} // namespace tamtara
