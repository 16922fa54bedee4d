// The package writer and the pbpack tool: layout, determinism, limits, round trip.
#include "PackageTestSupport.h"
#include "resources/PackageError.h"
#include "resources/PackageFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tamtara {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

TEST(PackageWriter, LaysOutHeaderDirectoryAndDataInGivenOrder) {
    std::vector<std::uint8_t> image = BuildPackage({{"Zeta", Bytes("zz")}, {"Alpha", Bytes("aaa")}});
    ASSERT_EQ(image.size(), 14u + 2 * 264 + 5);
    EXPECT_EQ(image[0], 11);
    EXPECT_EQ(std::string(image.begin() + 1, image.begin() + 12), "PackageFile");
    EXPECT_EQ(image[12], 2);
    EXPECT_EQ(image[13], 0);
    EXPECT_EQ(image[14], 4);
    EXPECT_EQ(std::string(image.begin() + 15, image.begin() + 19), "Zeta");
    EXPECT_EQ(image[19], 0);                   // unused name bytes are zero, so output is reproducible
    EXPECT_EQ(image[test::OffsetField(1)], 2); // Alpha starts after Zeta's two bytes
    EXPECT_EQ(image[test::SizeField(1)], 3);
    EXPECT_EQ(std::string(image.end() - 5, image.end()), "zzaaa");
}

TEST(PackageWriter, RejectsNamesLongerThan255Bytes) {
    EXPECT_NO_THROW(BuildPackage({{std::string(255, 'x'), {}}}));
    EXPECT_THROW(BuildPackage({{std::string(256, 'x'), {}}}), EPackageError);
}

TEST(PackageWriter, RejectsMoreEntriesThanTheCountHolds) {
    std::vector<PackageSource> entries(32768, PackageSource{"e", {}});
    EXPECT_THROW(BuildPackage(entries), EPackageError);
}

TEST(PackageWriter, FailedWriteRaisesAndLeavesNothing) {
    EXPECT_THROW(WritePackage("/nonexistent-dir/out.pb", {{"A", {}}}), EPackageError);
}

class PbpackTool : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::path(::testing::TempDir()) / ("pbpack_" + std::to_string(::getpid()));
        fs::create_directories(Dir / "sub");
    }
    void TearDown() override { fs::remove_all(Dir); }
    int Run(const std::string& arguments) {
        std::string command = "cd '" + Dir.string() + "' && '" PBPACK_PATH "' " + arguments + " 2>/dev/null";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(Dir / name, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(Dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path Dir;
};

TEST_F(PbpackTool, CreateNamesEntriesByBaseNameInGivenOrder) {
    Write("sub/Back.bmp", "BMpixels");
    Write("InstName.txt", "Kick\n");
    ASSERT_EQ(Run("create out.pb sub/Back.bmp InstName.txt"), 0);
    TReadPackageFile reader;
    reader.OpenFile((Dir / "out.pb").string());
    ASSERT_EQ(reader.EntryCount(), 2);
    EXPECT_EQ(reader.Entries()[0].Name, "Back.bmp");
    EXPECT_EQ(reader.Entries()[1].Name, "InstName.txt");
    auto back = reader.ReadEntry("back.bmp");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::string(back->Data().begin(), back->Data().end()), "BMpixels");
}

TEST_F(PbpackTool, CreateIsDeterministic) {
    Write("a.txt", "alpha");
    Write("b.txt", "");
    ASSERT_EQ(Run("create one.pb a.txt b.txt"), 0);
    ASSERT_EQ(Run("create two.pb a.txt b.txt"), 0);
    EXPECT_EQ(Read("one.pb"), Read("two.pb"));
}

TEST_F(PbpackTool, ExtractRoundTripsToFileAndStdout) {
    std::string binary("\x00\x01\xFF\r\n", 5);
    Write("Data.bin", binary);
    ASSERT_EQ(Run("create p.pb Data.bin"), 0);
    ASSERT_EQ(Run("extract p.pb DATA.BIN copy.bin"), 0);
    EXPECT_EQ(Read("copy.bin"), binary);
    ASSERT_EQ(Run("extract p.pb Data.bin > piped.bin"), 0);
    EXPECT_EQ(Read("piped.bin"), binary);
}

TEST_F(PbpackTool, ListPrintsNameOffsetAndSize) {
    Write("a.txt", "alpha");
    Write("b.txt", "be");
    ASSERT_EQ(Run("create p.pb a.txt b.txt"), 0);
    ASSERT_EQ(Run("list p.pb > list.txt"), 0);
    EXPECT_EQ(Read("list.txt"), "a.txt\t0\t5\nb.txt\t5\t2\n");
}

TEST_F(PbpackTool, FailuresExitNonZero) {
    Write("a.txt", "alpha");
    ASSERT_EQ(Run("create p.pb a.txt"), 0);
    EXPECT_NE(Run("extract p.pb missing.txt"), 0);
    EXPECT_NE(Run("list a.txt"), 0);
    EXPECT_NE(Run("list nothing.pb"), 0);
    EXPECT_NE(Run("create q.pb nothing.txt"), 0);
    EXPECT_FALSE(fs::exists(Dir / "q.pb"));
    EXPECT_NE(Run("frobnicate"), 0);
}

} // namespace
} // namespace tamtara
