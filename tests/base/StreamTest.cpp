// Memory and file streams: bounds, seeking and line splitting.
#include "base/Stream.h"

#include <gtest/gtest.h>

#include <cstdio>
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

TEST(FileStream, ReadAllStartsFromTheBeginning) {
    auto path = std::filesystem::temp_directory_path() / "tamtara_stream_test.bin";
    {
        TFileStream f(path.string(), FileMode::Create);
        f.WriteBuffer("hello", 5);
    }
    TFileStream f(path.string());
    f.SetPosition(3);
    auto all = f.ReadAll();
    EXPECT_EQ(std::string(all.begin(), all.end()), "hello");
    EXPECT_EQ(f.Size(), 5);
    std::filesystem::remove(path);
}
