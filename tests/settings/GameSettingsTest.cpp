// The key and level lists, the ini path, and the GameSettings handed to the game window.
#include "settings/Choices.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

TEST(KeyChoiceList, PositionsGiveTheirKeyCodes) {
    EXPECT_EQ(KeyCodeOfChoice(0), 0);
    EXPECT_EQ(KeyCodeOfChoice(1), 32);
    EXPECT_EQ(KeyCodeOfChoice(2), 65);
    EXPECT_EQ(KeyCodeOfChoice(27), 90);
    const std::int32_t punctuation[] = {59, 58, 91, 93, 64, 44, 46, 47};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(KeyCodeOfChoice(28 + i), punctuation[i]) << 28 + i;
    EXPECT_EQ(KeyChoice[29].Text, ":");
    EXPECT_EQ(KeyCodeOfChoice(-1), 0);
    EXPECT_EQ(KeyCodeOfChoice(36), 0);
}

TEST(SettingsPath, ReplacesExtensionAndLowersOnlyTheFileName) {
    EXPECT_EQ(SettingsPathForProgram("/opt/Play/Game.EXE"), "/opt/Play/game.ini");
    EXPECT_EQ(SettingsPathForProgram("/opt/Play/tamtara"), "/opt/Play/tamtara.ini");
    EXPECT_EQ(SettingsPathForProgram("/Games/v1.5/Tamtara"), "/Games/v1.5/tamtara.ini");
    EXPECT_EQ(SettingsPathForProgram("Tamtara.bin"), "tamtara.ini");
}

TEST(MakeGameSettingsFromRecord, MidiDeviceIsListPositionMinusOne) {
    std::vector<std::string> devices = {"MIDI Mapper", "Port A", "Port B"};
    LauncherSettings settings = DefaultSettings();
    EXPECT_EQ(MakeGameSettings(settings, devices).MidiDevice, -1);
    settings.Midi = "Port A";
    EXPECT_EQ(MakeGameSettings(settings, devices).MidiDevice, 0);
    settings.Midi = "port b";
    EXPECT_EQ(MakeGameSettings(settings, devices).MidiDevice, 1);
    settings.Midi = "Unplugged";
    EXPECT_EQ(MakeGameSettings(settings, devices).MidiDevice, -1);
    EXPECT_EQ(MakeGameSettings(settings, {}).MidiDevice, -1);
}

TEST(MakeGameSettingsFromRecord, LevelGivesItsMissPenalty) {
    LauncherSettings settings = DefaultSettings();
    const std::int32_t penalties[] = {0, 5, 10, 20, 30, 50, 100, 250};
    for (int level = 0; level < LevelCount; ++level) {
        settings.Level = level;
        GameSettings game = MakeGameSettings(settings, {});
        EXPECT_EQ(game.Level, level);
        EXPECT_EQ(game.MissPenalty, penalties[level]);
    }
}

TEST(MakeGameSettingsFromRecord, NoLevelSelectionPlaysAsNormal) {
    LauncherSettings settings = DefaultSettings();
    settings.Level = -1;
    GameSettings game = MakeGameSettings(settings, {});
    EXPECT_EQ(game.Level, 3);
    EXPECT_EQ(game.MissPenalty, 20);
}

TEST(MakeGameSettingsFromRecord, KeysBecomeKeyCodes) {
    LauncherSettings settings = DefaultSettings();
    settings.KeyA[2] = 1;  // スペース
    settings.KeyA[6] = 28; // ;
    settings.KeyB[0] = -1; // no selection
    GameSettings game = MakeGameSettings(settings, {});
    EXPECT_EQ(game.KeyA, (std::array<std::int32_t, 7>{65, 70, 32, 74, 75, 76, 59}));
    EXPECT_EQ(game.KeyB, (std::array<std::int32_t, 7>{0, 68, 0, 73, 79, 80, 0}));
}

TEST(DefaultButtons, ResetOnlyTheirOwnPage) {
    LauncherSettings settings;
    settings.Midi = "Port A";
    settings.Prev = false;
    settings.NoBank = true;
    settings.DInput = false;
    settings.FullScreen = false;
    settings.Level = 6;
    settings.KeyA.fill(5);
    ResetAppDefaults(settings);
    EXPECT_EQ(settings.Midi, "MIDI Mapper");
    EXPECT_TRUE(settings.Prev && settings.DInput && settings.FullScreen && !settings.NoBank);
    EXPECT_EQ(settings.Level, 6);
    EXPECT_EQ(settings.KeyA[0], 5);
    ResetKeyDefaults(settings);
    EXPECT_EQ(settings.KeyA, DefaultSettings().KeyA);
    EXPECT_EQ(settings.Level, 6);
}

} // namespace
} // namespace tamtara
