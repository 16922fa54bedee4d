// Lookups, stream ownership and positions of TReadPackageFile on well-formed packages.
#include "resources/PackageFile.h"
#include "PackageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace tamtara {
namespace {

using test::Bytes;

class PackageLookup : public ::testing::Test {
protected:
    void Open(const std::vector<PackageSource>& entries) {
        Image = std::make_unique<TMemoryStream>(BuildPackage(entries));
        Reader.OpenStream(*Image);
        ASSERT_TRUE(Reader.IsOpen());
    }
    std::string ReadText(const std::string& name) {
        auto entry = Reader.ReadEntry(name);
        if (!entry) return "<absent>";
        return std::string(entry->Data().begin(), entry->Data().end());
    }
    test::MessageCapture Messages;
    std::unique_ptr<TMemoryStream> Image;
    TReadPackageFile Reader;
};

TEST_F(PackageLookup, NameMatchesInAnyLetterCase) {
    Open({{"Back.bmp", Bytes("pixels")}});
    EXPECT_EQ(Reader.FindEntry("Back.bmp"), 0);
    EXPECT_EQ(Reader.FindEntry("back.bmp"), 0);
    EXPECT_EQ(Reader.FindEntry("BACK.BMP"), 0);
    EXPECT_EQ(Reader.FindEntry("Back.bm"), -1);
    EXPECT_EQ(Reader.FindEntry("Back.bmp "), -1);
}

TEST_F(PackageLookup, LastOfSameNamedRecordsWins) {
    Open({{"Logo.bmp", Bytes("first")}, {"LOGO.BMP", Bytes("second")}, {"Other", Bytes("x")}});
    EXPECT_EQ(Reader.FindEntry("logo.bmp"), 1);
    EXPECT_EQ(Reader.FindEntry("Logo.bmp"), 1);
    EXPECT_EQ(Reader.FindEntry("LOGO.BMP"), 1);
    EXPECT_EQ(ReadText("Logo.bmp"), "second");
}

TEST_F(PackageLookup, EmptyPackageOpensSilentlyAndHoldsNothing) {
    Open({});
    EXPECT_TRUE(Messages.Messages.empty());
    EXPECT_EQ(Reader.EntryCount(), 0);
    EXPECT_EQ(Reader.DataStart(), 14);
    EXPECT_EQ(Reader.FindEntry(""), -1);
    EXPECT_EQ(Reader.SeekEntry("Back.bmp"), nullptr);
    EXPECT_EQ(Reader.ReadEntry("Back.bmp"), nullptr);
}

TEST_F(PackageLookup, MultiByteCharactersAreNotCaseFolded) {
    // UTF-8 "ａ" (full-width a) must not match full-width "Ａ"; only ASCII folds.
    Open({{"\xEF\xBD\x81.txt", Bytes("wide")}, {"ドラム.bmp", Bytes("drum")}});
    EXPECT_EQ(Reader.FindEntry("\xEF\xBD\x81.TXT"), 0);
    EXPECT_EQ(Reader.FindEntry("\xEF\xBC\xA1.txt"), -1);
    EXPECT_EQ(Reader.FindEntry("ドラム.BMP"), 1);
}

TEST_F(PackageLookup, ShiftJisTrailBytesAreLeftAlone) {
    // Shift_JIS katakana 0x83 0x4D and 0x83 0x6D differ only in a trail byte that happens to
    // be 'M' or 'm': folding it would make two different names one.
    std::string upperTrail = "\x83\x4D.bmp";
    std::string lowerTrail = "\x83\x6D.bmp";
    Open({{upperTrail, Bytes("one")}, {lowerTrail, Bytes("two")}});
    EXPECT_EQ(Reader.FindEntry(upperTrail), 0);
    EXPECT_EQ(Reader.FindEntry(lowerTrail), 1);
    EXPECT_EQ(Reader.FindEntry("\x83\x6D.BMP"), 1);
}

TEST_F(PackageLookup, NameOf255BytesIsMatched) {
    std::string longName(251, 'n');
    longName += ".bmp";
    Open({{longName, Bytes("long")}});
    EXPECT_EQ(Reader.Entries()[0].Name.size(), 255u);
    EXPECT_EQ(ReadText(longName), "long");
    EXPECT_EQ(Reader.FindEntry(longName.substr(0, 254)), -1);
}

TEST_F(PackageLookup, ReadEntryOfEmptyEntryGivesEmptyStream) {
    Open({{"Empty", {}}, {"Full", Bytes("abc")}});
    auto entry = Reader.ReadEntry("empty");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Size(), 0);
    EXPECT_EQ(entry->Position(), 0);
}

TEST_F(PackageLookup, ReadEntryHoldsExactlyTheEntryAtPositionZero) {
    Open({{"A", Bytes("first")}, {"B", Bytes("second")}, {"C", Bytes("third")}});
    auto entry = Reader.ReadEntry("b");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Position(), 0);
    EXPECT_EQ(std::string(entry->Data().begin(), entry->Data().end()), "second");
}

TEST_F(PackageLookup, SeekEntryPositionsTheReadersOwnStream) {
    Open({{"A", Bytes("first")}, {"B", Bytes("second")}});
    TStream* stream = Reader.SeekEntry("B");
    ASSERT_EQ(stream, Image.get());
    EXPECT_EQ(stream->Position(), Reader.DataStart() + 5);
    // Not limited to the entry: the consumer may read on into what follows.
    char text[6] = {};
    stream->ReadBuffer(text, 6);
    EXPECT_EQ(std::string(text, 6), "second");
}

TEST_F(PackageLookup, ReadEntryLeavesSeekEntryStreamWhereItWas) {
    Open({{"A", Bytes("first")}, {"B", Bytes("second")}});
    TStream* stream = Reader.SeekEntry("A");
    char two[2];
    stream->ReadBuffer(two, 2);
    std::int64_t before = stream->Position();
    EXPECT_EQ(ReadText("B"), "second");
    EXPECT_EQ(stream->Position(), before);
}

TEST_F(PackageLookup, ClosedReaderFindsNothing) {
    Open({{"A", Bytes("first")}});
    Reader.Close();
    EXPECT_FALSE(Reader.IsOpen());
    EXPECT_EQ(Reader.EntryCount(), 0);
    EXPECT_EQ(Reader.FindEntry("A"), -1);
    EXPECT_EQ(Reader.SeekEntry("A"), nullptr);
    EXPECT_EQ(Reader.ReadEntry("A"), nullptr);
}

TEST_F(PackageLookup, DirectoryIsReadFromTheStreamsCurrentPosition) {
    std::vector<std::uint8_t> image = {'j', 'u', 'n', 'k'};
    std::vector<std::uint8_t> package = BuildPackage({{"A", Bytes("data")}});
    image.insert(image.end(), package.begin(), package.end());
    TMemoryStream stream(image);
    stream.SetPosition(4);
    Reader.OpenStream(stream);
    EXPECT_EQ(Reader.DataStart(), 4 + 14 + 264);
    EXPECT_EQ(ReadText("a"), "data");
}

TEST(PackageOpenFile, MissingFileLeavesReaderClosedWithoutMessage) {
    test::MessageCapture messages;
    TReadPackageFile reader;
    reader.OpenFile("/nonexistent/Graphics.pb");
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_FALSE(reader.OwnsStream());
    EXPECT_EQ(reader.FindEntry("Back.bmp"), -1);
    EXPECT_TRUE(messages.Messages.empty());
}

TEST(PackageOpenFile, OpenedFileIsOwnedAndReleasedByClose) {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("tamtara_open_file_test_" + std::to_string(::getpid()) + ".pb"))
                           .string();
    WritePackage(path, {{"InstName.txt", Bytes("Kick\nSnare\n")}});
    TReadPackageFile reader;
    reader.OpenFile(path);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_TRUE(reader.OwnsStream());
    auto entry = reader.ReadEntry("instname.txt");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Lines(), (std::vector<std::string>{"Kick", "Snare"}));
    reader.Close();
    EXPECT_FALSE(reader.OwnsStream());
    EXPECT_EQ(reader.GetStream(), nullptr);
    std::filesystem::remove(path);
}

} // namespace
} // namespace tamtara
