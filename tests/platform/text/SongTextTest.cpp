// Song texts and file names decoded to UTF-8: the order of the guesses and what is never lost.
#include "platform/text/SongText.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

TEST(SongText, ValidUtf8IsKeptAsItIs) {
    EXPECT_EQ(SongTextToUtf8("Plain title"), "Plain title");
    EXPECT_EQ(SongTextToUtf8("太鼓の歌 Ω"), "太鼓の歌 Ω");
    EXPECT_EQ(SongTextToUtf8(""), "");
}

TEST(SongText, ShiftJisBytesAreDecodedAsCodePage932) {
    // "ドラム" and a CP932-only character (the circled 1, NEC row 13) in Shift_JIS.
    EXPECT_EQ(SongTextToUtf8("\x83\x68\x83\x89\x83\x80 \x87\x40"), "ドラム ①");
    // Half-width katakana are single bytes in Shift_JIS, invalid as UTF-8.
    EXPECT_EQ(SongTextToUtf8("\xB1\xB2"), "ｱｲ");
}

TEST(SongText, BytesThatAreNeitherFallBackToLatin1) {
    // 0xE9 0x20 is no UTF-8, and 0x80/0xA0 lone are not Shift_JIS either.
    EXPECT_EQ(SongTextToUtf8("Caf\xE9 \x80"), "Caf\xC3\xA9 \xC2\x80");
    // A lead byte cut off at the end is no Shift_JIS text.
    EXPECT_EQ(SongTextToUtf8("ab\x83"), "ab\xC2\x83");
}

TEST(SongText, OverlongAndSurrogateFormsAreNotTakenForUtf8) {
    // An overlong slash would otherwise slip through as valid text.
    EXPECT_EQ(FileNameToUtf8("a\xC0\xAF"
                             "b"),
              "a??b");
    EXPECT_EQ(FileNameToUtf8("\xED\xA0\x80"), "???");
    EXPECT_EQ(FileNameToUtf8("\xF4\x90\x80\x80"), "????");
}

TEST(SongText, FileNamesShowEachInvalidByteAsQuestionMark) {
    EXPECT_EQ(FileNameToUtf8("song.mid"), "song.mid");
    EXPECT_EQ(FileNameToUtf8("曲.mid"), "曲.mid");
    // A Shift_JIS name on a UTF-8 file system: each stray byte one "?", the rest kept.
    EXPECT_EQ(FileNameToUtf8("\x83\x68"
                             "1.mid"),
              "?h1.mid");
    EXPECT_EQ(FileNameToUtf8("x\xE6\x9B.mid"), "x??.mid");
}

} // namespace
} // namespace tamtara
