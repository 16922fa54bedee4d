// Integer, boolean and string value forms of the ini file.
#include "settings/ProfileValues.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

TEST(ProfileInt, DecimalAndSigned) {
    EXPECT_EQ(ParseProfileInt("12", 3), 12);
    EXPECT_EQ(ParseProfileInt("-1", 3), -1);
    EXPECT_EQ(ParseProfileInt("+7", 3), 7);
    EXPECT_EQ(ParseProfileInt("007", 3), 7);
    EXPECT_EQ(ParseProfileInt("2147483647", 3), 2147483647);
    EXPECT_EQ(ParseProfileInt("-2147483648", 3), INT32_MIN);
}

TEST(ProfileInt, HexadecimalAfterZeroXOrDollar) {
    EXPECT_EQ(ParseProfileInt("0x5", 3), 5);
    EXPECT_EQ(ParseProfileInt("0X1f", 3), 31);
    EXPECT_EQ(ParseProfileInt("$10", 3), 16);
    EXPECT_EQ(ParseProfileInt("$FFFFFFFF", 3), -1);
    EXPECT_EQ(ParseProfileInt("-$10", 3), -16);
}

TEST(ProfileInt, AnythingElseGivesTheDefault) {
    EXPECT_EQ(ParseProfileInt("", 3), 3);
    EXPECT_EQ(ParseProfileInt("Normal", 3), 3);
    EXPECT_EQ(ParseProfileInt("0x", 3), 3);
    EXPECT_EQ(ParseProfileInt("$", 3), 3);
    EXPECT_EQ(ParseProfileInt("-", 3), 3);
    EXPECT_EQ(ParseProfileInt("12a", 3), 3);
    EXPECT_EQ(ParseProfileInt("1 2", 3), 3);
    EXPECT_EQ(ParseProfileInt("0xG", 3), 3);
    EXPECT_EQ(ParseProfileInt("2147483648", 3), 3);
    EXPECT_EQ(ParseProfileInt("$100000000", 3), 3);
    EXPECT_EQ(ParseProfileInt("1.5", 3), 3);
}

TEST(ProfileBool, AnyNonZeroNumberIsTrue) {
    EXPECT_TRUE(ParseProfileBool("1", false));
    EXPECT_TRUE(ParseProfileBool("0x1", false));
    EXPECT_TRUE(ParseProfileBool("-5", false));
    EXPECT_FALSE(ParseProfileBool("0", true));
    EXPECT_FALSE(ParseProfileBool("$0", true));
}

TEST(ProfileBool, NonNumberGivesTheDefault) {
    EXPECT_TRUE(ParseProfileBool("yes", true));
    EXPECT_FALSE(ParseProfileBool("true", false));
    EXPECT_TRUE(ParseProfileBool("", true));
}

TEST(ProfileStringValue, EnclosingQuotesAreRemoved) {
    EXPECT_EQ(ProfileString("\"MIDI Mapper\""), "MIDI Mapper");
    EXPECT_EQ(ProfileString("'x'"), "x");
    EXPECT_EQ(ProfileString("\"half"), "\"half");
    EXPECT_EQ(ProfileString("\""), "\"");
}

TEST(ProfileStringValue, CutTo1023BytesOnACharacterBoundary) {
    EXPECT_EQ(ProfileString(std::string(1023, 'a')).size(), 1023u);
    EXPECT_EQ(ProfileString(std::string(5000, 'a')).size(), 1023u);
    // 1022 ASCII bytes, then a three-byte character that does not fit whole.
    std::string text = std::string(1022, 'a') + "ド";
    EXPECT_EQ(ProfileString(text), std::string(1022, 'a'));
}

} // namespace
} // namespace tamtara
