// Packed short messages unpack into the bytes the MIDI wire protocol has for their status.
#include "platform/midi/MidiMessageBytes.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

TEST(ShortMessageLength, FollowsTheStatusByte) {
    EXPECT_EQ(ShortMessageLength(0x90), 3u);
    EXPECT_EQ(ShortMessageLength(0xEF), 3u);
    EXPECT_EQ(ShortMessageLength(0xC5), 2u);
    EXPECT_EQ(ShortMessageLength(0xD0), 2u);
    EXPECT_EQ(ShortMessageLength(0xF2), 3u);
    EXPECT_EQ(ShortMessageLength(0xF3), 2u);
    EXPECT_EQ(ShortMessageLength(0xF8), 1u);
    EXPECT_EQ(ShortMessageLength(0xFF), 1u);
}

TEST(ShortMessageLength, DataBytesAndExclusiveStatusCannotTravelShort) {
    EXPECT_EQ(ShortMessageLength(0x40), 0u);
    EXPECT_EQ(ShortMessageLength(0xF0), 0u);
    EXPECT_EQ(ShortMessageLength(0xF7), 0u);
}

TEST(UnpackShortMessage, SplitsAndMasksTheDataBytes) {
    const ShortMessageBytes bytes = UnpackShortMessage(0x99 | (38u << 8) | (0xFFu << 16) | (0xAAu << 24));
    ASSERT_EQ(bytes.Length, 3u);
    EXPECT_EQ(bytes.Bytes[0], 0x99);
    EXPECT_EQ(bytes.Bytes[1], 38);
    EXPECT_EQ(bytes.Bytes[2], 0x7F);
}

} // namespace
} // namespace tamtara
