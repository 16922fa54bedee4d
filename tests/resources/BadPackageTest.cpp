// Damaged and foreign files given to TReadPackageFile: rejected or failing clearly, never read
// outside the file.
#include "PackageTestSupport.h"
#include "resources/PackageError.h"
#include "resources/PackageFile.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

using test::Bytes;

const char* const HeaderText = "ヘッダエラー。データ形式が違います。";
const char* const HeaderCaption = "TReadPackageFile.OpenStream";

class BadPackage : public ::testing::Test {
protected:
    void Open(std::vector<std::uint8_t> image) {
        Image = std::make_unique<TMemoryStream>(std::move(image));
        Reader.OpenStream(*Image);
    }
    void ExpectHeaderWarning() {
        ASSERT_EQ(Messages.Messages.size(), 1u);
        EXPECT_EQ(Messages.Messages[0].Kind, MessageKind::Warning);
        EXPECT_EQ(Messages.Messages[0].Caption, HeaderCaption);
        EXPECT_EQ(Messages.Messages[0].Text, HeaderText);
        EXPECT_FALSE(Reader.IsOpen());
        EXPECT_EQ(Reader.EntryCount(), 0);
    }
    test::MessageCapture Messages;
    std::unique_ptr<TMemoryStream> Image;
    TReadPackageFile Reader;
};

TEST_F(BadPackage, MagicWithoutLengthByteIsRejected) {
    std::vector<std::uint8_t> image = Bytes("PackageFile");
    image.resize(14 + 264, 0);
    Open(image);
    ExpectHeaderWarning();
}

TEST_F(BadPackage, WrongLengthByteIsRejected) {
    std::vector<std::uint8_t> image = BuildPackage({});
    image[0] = 10;
    Open(image);
    ExpectHeaderWarning();
}

TEST_F(BadPackage, FileShorterThanHeaderIsRejected) {
    std::vector<std::uint8_t> image = BuildPackage({});
    image.resize(12);
    Open(image);
    ExpectHeaderWarning();
    Open({});
    EXPECT_EQ(Messages.Messages.size(), 2u);
}

TEST_F(BadPackage, NegativeCountIsRejectedAsHeaderError) {
    std::vector<std::uint8_t> image = BuildPackage({{"A", Bytes("x")}});
    image[12] = 0xFF;
    image[13] = 0xFF;
    Open(image);
    ExpectHeaderWarning();
}

TEST_F(BadPackage, RejectedFileOpenedByNameIsReleased) {
    std::string path = ::testing::TempDir() + "tamtara_bad_magic.pb";
    TFileStream(path, FileMode::Create).WriteBuffer("not a package at all", 20);
    Reader.OpenFile(path);
    ExpectHeaderWarning();
    EXPECT_FALSE(Reader.OwnsStream());
    std::remove(path.c_str());
}

TEST_F(BadPackage, TruncatedDirectoryOpensButEntriesFailClearly) {
    std::vector<std::uint8_t> image = BuildPackage({{"A", Bytes("aaa")}, {"B", Bytes("bbb")}});
    image.resize(14 + 264 + 100); // second record cut off, no data area
    Open(image);
    EXPECT_TRUE(Messages.Messages.empty());
    ASSERT_TRUE(Reader.IsOpen());
    EXPECT_EQ(Reader.EntryCount(), 2);
    EXPECT_EQ(Reader.FindEntry("A"), 0);
    EXPECT_EQ(Reader.FindEntry("B"), 1); // its name was read before the file ended
    EXPECT_THROW(Reader.ReadEntry("A"), EPackageError);
    EXPECT_THROW(Reader.ReadEntry("B"), EPackageError);
    EXPECT_THROW(Reader.SeekEntry("A"), EPackageError);
}

TEST_F(BadPackage, EntryOutsideDataAreaFailsWithItsName) {
    std::vector<std::uint8_t> image = BuildPackage({{"Good", Bytes("good")}, {"Past.bmp", Bytes("bad")}});
    test::PutInt32At(image, test::OffsetField(1), 1000);
    Open(image);
    try {
        Reader.ReadEntry("past.bmp");
        FAIL() << "no error";
    } catch (const EPackageError& error) {
        EXPECT_NE(std::string(error.what()).find("Past.bmp"), std::string::npos);
    }
    EXPECT_THROW(Reader.SeekEntry("Past.bmp"), EPackageError);
    auto good = Reader.ReadEntry("Good"); // the rest of the package stays usable
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->Size(), 4);
}

TEST_F(BadPackage, NegativeOffsetOrSizeFails) {
    std::vector<std::uint8_t> image = BuildPackage({{"Back", Bytes("abcd")}, {"Neg", Bytes("xy")}});
    test::PutInt32At(image, test::OffsetField(0), -14);
    test::PutInt32At(image, test::SizeField(1), -1);
    Open(image);
    EXPECT_THROW(Reader.ReadEntry("Back"), EPackageError);
    EXPECT_THROW(Reader.SeekEntry("Back"), EPackageError);
    EXPECT_THROW(Reader.ReadEntry("Neg"), EPackageError);
}

TEST_F(BadPackage, SizeRunningPastTheEndFailsAndKeepsStreamPosition) {
    std::vector<std::uint8_t> image = BuildPackage({{"A", Bytes("aaaa")}, {"B", Bytes("bbbb")}});
    test::PutInt32At(image, test::SizeField(1), 0x7FFFFFFF);
    Open(image);
    TStream* stream = Reader.SeekEntry("A");
    ASSERT_NE(stream, nullptr);
    std::int64_t before = stream->Position();
    EXPECT_THROW(Reader.ReadEntry("B"), EPackageError);
    EXPECT_EQ(stream->Position(), before);
}

TEST(HeaderWarning, DefaultHandlerWritesCaptionAndTextToStderr) {
    TMemoryStream stream(Bytes("not a package, clearly"));
    TReadPackageFile reader;
    ::testing::internal::CaptureStderr();
    reader.OpenStream(stream);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              std::string(HeaderCaption) + ": " + HeaderText + "\n");
}

} // namespace
} // namespace tamtara
