// The hand-written game data: instrument names and the two readme texts.
#include "base/Stream.h"

#include <gtest/gtest.h>

#include <string>

namespace tamtara {
namespace {

const std::string Assets = TAMTARA_ASSETS_DIR;

TEST(GameData, InstrumentNamesHaveOneLinePerProgramAndOneForNoProgram) {
    TMemoryStream stream(ReadFileBytes(Assets + "/InstName.txt"));
    const std::vector<std::string> lines = stream.Lines();
    ASSERT_EQ(lines.size(), 129u);
    EXPECT_EQ(lines[0], "Acoustic Grand Piano");
    EXPECT_EQ(lines[33], "Electric Bass (finger)");
    EXPECT_EQ(lines[77], "Shakuhachi");
    EXPECT_EQ(lines[127], "Gunshot");
    for (const std::string& line : lines)
        EXPECT_FALSE(line.empty());
}

TEST(GameData, RichTextReadmeIsPlainAsciiRtfWithUnicodeEscapes) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(Assets + "/tamtara.rtf");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(text.find("\\u12461?"), std::string::npos); // キ, as in the key list
    for (unsigned char c : text)
        EXPECT_LT(c, 0x80);
    int depth = 0;
    for (char c : text)
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    EXPECT_EQ(depth, 0);
}

TEST(GameData, PlainReadmeNamesTheDifficultyLevelsAndDemoFolders) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(Assets + "/Readme.txt");
    const std::string text(bytes.begin(), bytes.end());
    for (const char* needle : {"0.No Miss (0)", "7.Hell (-250)", "Warmup", "Workout", ".jpg", "_"})
        EXPECT_NE(text.find(needle), std::string::npos) << needle;
}

} // namespace
} // namespace tamtara
