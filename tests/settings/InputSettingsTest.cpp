// The input settings beyond the keys: precise input, the input offset (and its calibration
// save), the kit's input port and its learned map, through real ini files.
#include "settings/KitSettings.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace tamtara {
namespace {

namespace fs = std::filesystem;

class InputSettingsFile : public ::testing::Test {
protected:
    InputSettingsFile() {
        Dir = fs::path(::testing::TempDir()) /
              ("input_settings_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
        Path = (Dir / "tamtara.ini").string();
    }
    ~InputSettingsFile() override { fs::remove_all(Dir); }
    void Write(const std::string& text) { std::ofstream(Path, std::ios::binary) << text; }
    fs::path Dir;
    std::string Path;
};

TEST(KitMap, DefaultFollowsGeneralMidiAndLeavesTheHiHatPedalUnmapped) {
    const KitSettings kit = DefaultKit();
    const std::vector<std::pair<int, std::vector<std::uint8_t>>> lanes = {{0, {42, 46, 22, 26, 23}},
                                                                          {1, {38, 40, 37}},
                                                                          {2, {35, 36}},
                                                                          {3, {48, 50}},
                                                                          {4, {45, 47}},
                                                                          {5, {41, 43, 58}},
                                                                          {6, {49, 57, 55, 52, 51, 59, 53}}};
    for (const auto& [lane, notes] : lanes)
        for (std::uint8_t note : notes)
            EXPECT_EQ(KitLaneOfNote(kit, note), lane) << int(note);
    EXPECT_EQ(KitLaneOfNote(kit, 44), -1);
    EXPECT_EQ(KitLaneOfNote(kit, 60), -1);
    EXPECT_EQ(kit.EnterNote, 44);
    EXPECT_EQ(kit.DebounceMs, 15);
    for (std::int32_t minimum : kit.MinVelocity)
        EXPECT_EQ(minimum, 10);
}

TEST(KitMap, LearningMovesANoteAndTheFirstHitReplacesTheLane) {
    KitSettings kit = DefaultKit();
    AssignKitNote(kit, 3, 38, true);  // the snare pad now plays the high tom
    AssignKitNote(kit, 3, 40, false); // and its rim too
    EXPECT_EQ(kit.Notes[3], (std::vector<std::uint8_t>{38, 40}));
    EXPECT_EQ(kit.Notes[1], (std::vector<std::uint8_t>{37}));
    AssignKitNote(kit, 0, 44, false); // the pedal learned as a lane stops being Enter
    EXPECT_EQ(kit.EnterNote, NoKitNote);
}

TEST_F(InputSettingsFile, LearnedMapAndInputSettingsSaveAndReload) {
    LauncherSettings settings = DefaultSettings();
    settings.PreciseInput = false;
    settings.InputOffsetMs = -35;
    settings.MidiIn = "TD-17:TD-17 MIDI 1";
    AssignKitNote(settings.Kit, 6, 99, true);
    settings.Kit.MinVelocity[2] = 30;
    settings.Kit.DebounceMs = 25;
    settings.Kit.EnterNote = 36;
    SaveSettings(Path, settings);

    const LauncherSettings loaded = LoadSettings(Path);
    EXPECT_FALSE(loaded.PreciseInput);
    EXPECT_EQ(loaded.InputOffsetMs, -35);
    EXPECT_EQ(loaded.MidiIn, "TD-17:TD-17 MIDI 1");
    EXPECT_EQ(loaded.Kit.Notes, settings.Kit.Notes);
    EXPECT_EQ(loaded.Kit.MinVelocity, settings.Kit.MinVelocity);
    EXPECT_EQ(loaded.Kit.DebounceMs, 25);
    EXPECT_EQ(loaded.Kit.EnterNote, 36);

    const GameSettings game = MakeGameSettings(loaded, {"MIDI Mapper"});
    EXPECT_FALSE(game.PreciseInput);
    EXPECT_EQ(game.MidiIn, "TD-17:TD-17 MIDI 1");
    EXPECT_EQ(KitLaneOfNote(game.Kit, 99), 6);
}

TEST_F(InputSettingsFile, HandEditsAreClampedOrFallBack) {
    Write("[Input]\nInputOffsetMs=900\nMidiIn=(なし)\n"
          "[Kit]\nLane2Notes=38, x, 200,40,38\nLane3MinVelocity=500\nDebounceMs=-4\nEnterNote=300\n");
    const LauncherSettings loaded = LoadSettings(Path);
    EXPECT_EQ(loaded.InputOffsetMs, 250);
    EXPECT_TRUE(loaded.PreciseInput);
    EXPECT_EQ(loaded.Kit.Notes[1], (std::vector<std::uint8_t>{38, 40}));
    EXPECT_EQ(loaded.Kit.MinVelocity[2], 127);
    EXPECT_EQ(loaded.Kit.DebounceMs, 0);
    EXPECT_EQ(loaded.Kit.EnterNote, NoKitNote);
    EXPECT_EQ(MakeGameSettings(loaded, {"MIDI Mapper"}).MidiIn, "");
}

TEST_F(InputSettingsFile, CalibrationSavesOnlyTheOffset) {
    Write("[Config]\nMidi=Other Synth\n; the player's note\n[Input]\nPreciseInput=0\nInputOffsetMs=5\n");
    SaveInputOffset(Path, 41);
    const LauncherSettings loaded = LoadSettings(Path);
    EXPECT_EQ(loaded.InputOffsetMs, 41);
    EXPECT_FALSE(loaded.PreciseInput);
    EXPECT_EQ(loaded.Midi, "Other Synth");
    SaveInputOffset(Path, -400);
    EXPECT_EQ(LoadSettings(Path).InputOffsetMs, -250);
}

} // namespace
} // namespace tamtara
