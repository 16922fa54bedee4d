// The practice section of the ini file: the round trip, hand-edited values brought into range,
// and practice keys that can never be lane keys or the window's own keys in play.
#include "settings/PracticeSettings.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tamtara {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t F1 = 0x70, F2 = 0x71, F4 = 0x73, F5 = 0x74, F6 = 0x75, F7 = 0x76, F8 = 0x77, F9 = 0x78;

class PracticeSettingsFile : public ::testing::Test {
protected:
    PracticeSettingsFile() {
        Dir = fs::path(::testing::TempDir()) /
              ("practice_settings_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
        Path = (Dir / "tamtara.ini").string();
    }
    ~PracticeSettingsFile() override { fs::remove_all(Dir); }
    void Write(const std::string& text) { std::ofstream(Path, std::ios::binary) << text; }
    std::string Read() const {
        std::ifstream in(Path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path Dir;
    std::string Path;
};

TEST_F(PracticeSettingsFile, RoundTripKeepsTheRestOfTheFileAndTheLauncherLeavesTheSectionAlone) {
    Write("[Config]\nMidi=Port A\n; a comment\n");
    PracticeSettings practice;
    practice.TempoPercent = 65;
    practice.CountInBars = 2;
    practice.Metronome = true;
    practice.DrumVolume = 90;
    practice.AccompanimentVolume = 0;
    practice.ClickVolume = 127;
    practice.Keys = {F9, 'Q', 0x09, F8};
    SavePracticeSettings(Path, practice);
    const PracticeSettings loaded = LoadPracticeSettings(Path);
    EXPECT_EQ(loaded.TempoPercent, 65);
    EXPECT_EQ(loaded.CountInBars, 2);
    EXPECT_TRUE(loaded.Metronome);
    EXPECT_EQ(loaded.DrumVolume, 90);
    EXPECT_EQ(loaded.AccompanimentVolume, 0);
    EXPECT_EQ(loaded.ClickVolume, 127);
    EXPECT_EQ(loaded.Keys, practice.Keys);
    const std::string text = Read();
    EXPECT_NE(text.find("[Config]\nMidi=Port A\n"), std::string::npos) << text;
    EXPECT_NE(text.find("; a comment"), std::string::npos) << text;
    EXPECT_NE(text.find("TempoDownKey=F9"), std::string::npos) << text;
    EXPECT_NE(text.find("RestartLoopKey=Tab"), std::string::npos) << text;

    // The launcher reads the section and hands it over, but its own save does not write it.
    LauncherSettings launcher = LoadSettings(Path);
    EXPECT_EQ(launcher.Practice.TempoPercent, 65);
    launcher.Practice.TempoPercent = 150;
    SaveSettings(Path, launcher);
    EXPECT_EQ(LoadPracticeSettings(Path).TempoPercent, 65);
}

TEST_F(PracticeSettingsFile, HandEditedValuesAreClampedAndUnknownKeysKeepTheirDefaults) {
    Write("[Practice]\nTempo=7\nCountIn=9\nMetronome=maybe\nDrumVolume=300\nAccompanimentVolume=-4\n"
          "ClickVolume=abc\nTempoDownKey=F13\nTempoUpKey=f10\nRestartLoopKey=\nMetronomeKey=Shift\n");
    const PracticeSettings p = LoadPracticeSettings(Path);
    EXPECT_EQ(p.TempoPercent, MinPracticeTempo);
    EXPECT_EQ(p.CountInBars, MaxCountInBars);
    EXPECT_FALSE(p.Metronome);
    EXPECT_EQ(p.DrumVolume, 127);
    EXPECT_EQ(p.AccompanimentVolume, 0);
    EXPECT_EQ(p.ClickVolume, 100);
    EXPECT_EQ(p.Keys, (std::array<std::int32_t, PracticeKeyCount>{F5, 0x79, F7, F8}));

    Write("[Practice]\nTempo=1000\n");
    EXPECT_EQ(LoadPracticeSettings(Path).TempoPercent, MaxPracticeTempo);
    Write("[Practice]\nTempo=62\n");
    EXPECT_EQ(LoadPracticeSettings(Path).TempoPercent, 60);
}

TEST(PracticeKeys, NeverALaneKeyNorAWindowKeyOfPlayNorTwiceTheSame) {
    const std::array<std::int32_t, LaneCount> keyA{'A', 'F', ' ', 'J', 'K', 'L', ';'};
    const std::array<std::int32_t, LaneCount> keyB{'S', 'D', 0, 'I', 'O', 'P', 0};
    using Keys = std::array<std::int32_t, PracticeKeyCount>;
    EXPECT_EQ(UsablePracticeKeys({F5, F6, F7, F8}, keyA, keyB), (Keys{F5, F6, F7, F8}));
    // Lane keys and the pause, clear and full-screen keys fall back to the defaults.
    EXPECT_EQ(UsablePracticeKeys({'A', F1, F2, F4}, keyA, keyB), (Keys{F5, F6, F7, F8}));
    // A key taken twice keeps its first use; a default already taken leaves the key unbound.
    EXPECT_EQ(UsablePracticeKeys({F6, F6, F5, 'Q'}, keyA, keyB), (Keys{F6, 0, F5, 'Q'}));
    // Letters bound as practice keys give way to the lane keys of another layout.
    const std::array<std::int32_t, LaneCount> letters{'Q', 'W', 'E', 'R', 'T', 'Y', 'U'};
    EXPECT_EQ(UsablePracticeKeys({'Q', 'W', F7, F8}, letters, keyB), (Keys{F5, F6, F7, F8}));

    LauncherSettings launcher = DefaultSettings();
    launcher.Practice.Keys = {'J', F6, F7, F8};
    EXPECT_EQ(MakeGameSettings(launcher, {}).Practice.Keys, (Keys{F5, F6, F7, F8}));
}

TEST(PracticeKeys, NamesAndCodesGoBothWays) {
    for (std::int32_t code :
         {F1, F9, 0x7B, 0x09, static_cast<std::int32_t>('Q'), static_cast<std::int32_t>('7')})
        EXPECT_EQ(PracticeKeyOfName(PracticeKeyName(code)), code) << PracticeKeyName(code);
    EXPECT_EQ(PracticeKeyOfName("f5"), F5);
    EXPECT_EQ(PracticeKeyOfName("F0"), 0);
    EXPECT_EQ(PracticeKeyOfName("Space"), 0);
    EXPECT_EQ(PracticeKeyName(' '), "");
}

} // namespace
} // namespace tamtara
