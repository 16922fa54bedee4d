// Memory and file streams: bounds, seeking and line splitting; files that are no regular files.
#include "base/Stream.h"

#include "PipeRelease.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace tamtara;

TEST(MemoryStream, ShortReadAtEndAndReadBufferRaises) {
    TMemoryStream s({1, 2, 3});
    std::uint8_t buf[4] = {};
    EXPECT_EQ(s.Read(buf, 4), 3u);
    EXPECT_EQ(s.Read(buf, 4), 0u);
    s.SetPosition(1);
    EXPECT_THROW(s.ReadBuffer(buf, 3), EStreamError);
}

TEST(MemoryStream, SeekPastEndThenWriteGrows) {
    TMemoryStream s;
    s.Seek(4, SeekOrigin::Begin);
    std::uint8_t b = 9;
    s.WriteBuffer(&b, 1);
    ASSERT_EQ(s.Size(), 5);
    EXPECT_EQ(s.Data()[4], 9);
    EXPECT_EQ(s.Seek(-100, SeekOrigin::Current), 0);
}

TEST(MemoryStream, LinesSplitOnEveryLineEnd) {
    std::string text = "a\r\nb\nc\rd";
    TMemoryStream s(std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(s.Lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(FileStream, MissingFileRaisesWithItsName) {
    try {
        TFileStream f("/nonexistent/x.mid");
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/x.mid"), std::string::npos);
    }
}

// A folder of the test's own, removed with it.
class FileStreamFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamtara-stream-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }
    std::string Path(const std::string& name) const { return (Folder / name).string(); }

    std::filesystem::path Folder;
};

TEST_F(FileStreamFolder, ReadAllStartsFromTheBeginning) {
    const std::string path = Path("stream.bin");
    {
        TFileStream f(path, FileMode::Create);
        f.WriteBuffer("hello", 5);
    }
    TFileStream f(path);
    f.SetPosition(3);
    auto all = f.ReadAll();
    EXPECT_EQ(std::string(all.begin(), all.end()), "hello");
    EXPECT_EQ(f.Size(), 5);
}

// A song swapped for a named pipe would make a plain open wait for a writer for ever; a folder
// or a device is no file to read either. Each is refused at once, saying what it is.
TEST_F(FileStreamFolder, AnythingButARegularFileIsRefusedWithoutWaiting) {
    const std::string pipe = Path("song.mid");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const tamtara::testing::PipeRelease release(pipe);
    const auto refusal = [](const std::string& path, FileMode mode) -> std::string {
        try {
            TFileStream f(path, mode);
        } catch (const EStreamError& e) {
            return e.what();
        }
        return "opened";
    };
    for (FileMode mode : {FileMode::OpenRead, FileMode::Create}) {
        const std::string said = refusal(pipe, mode);
        EXPECT_NE(said.find(pipe), std::string::npos) << said;
        EXPECT_NE(said.find("named pipe"), std::string::npos) << said;
    }
    EXPECT_THROW(ReadFileBytes(pipe), EStreamError);
    EXPECT_FALSE(release.Released()) << "an open waited on the pipe";
    EXPECT_NE(refusal(Folder.string(), FileMode::OpenRead).find("folder"), std::string::npos);
    EXPECT_NE(refusal("/dev/null", FileMode::OpenRead).find("device"), std::string::npos);
}
