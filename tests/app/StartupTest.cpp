// Creating and showing the game window: its packages, caption, key bindings, the settings
// hand-over and a missing MIDI output.
#include "support/harness/GameHarness.h"

#include "platform/input/InputStates.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace tamtara::testing {
namespace {

std::string StartErrorOf(const TestGameFolderOptions& options) {
    TestGameFolder folder("Startup", options);
    try {
        GameHarness game(folder.Path());
    } catch (const EGameStartError& error) {
        return error.what();
    }
    return {};
}

TEST(Startup, MissingPackageFileStopsWithItsName) {
    TestGameFolderOptions noGraphics;
    noGraphics.GraphicsPackage = false;
    EXPECT_NE(StartErrorOf(noGraphics).find("Graphics.pb"), std::string::npos) << StartErrorOf(noGraphics);

    TestGameFolderOptions noData;
    noData.DataPackage = false;
    EXPECT_NE(StartErrorOf(noData).find("Data.pb"), std::string::npos);
}

TEST(Startup, MissingInstrumentNamesStopWithTheEntryName) {
    TestGameFolderOptions noNames;
    noNames.InstrumentNames = false;
    const std::string message = StartErrorOf(noNames);
    EXPECT_NE(message.find("InstName.txt"), std::string::npos) << message;
    EXPECT_NE(message.find("Data.pb"), std::string::npos) << message;
}

TEST(Startup, NotAPackageIsAMissingPackage) {
    TestGameFolder folder("StartupBadPackage");
    { std::ofstream(folder.Path() / "Graphics.pb") << "this is not a package"; }
    EXPECT_THROW(GameHarness game(folder.Path()), EGameStartError);
}

TEST(Startup, BrokenBitmapStopsNamingThePackageAndEntry) {
    TestGameFolderOptions options;
    options.BrokenGraphics = {"Ank.bmp"};
    TestGameFolder folder("StartupBrokenBitmap", options);
    try {
        GameHarness game(folder.Path());
        FAIL() << "the window started";
    } catch (const EDirectDrawError& error) {
        FAIL() << "reported as a display failure: " << error.what();
    } catch (const std::exception& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("Graphics.pb"), std::string::npos) << message;
        EXPECT_NE(message.find("\"Ank.bmp\""), std::string::npos) << message;
        EXPECT_NE(message.find("不正な DIB です"), std::string::npos) << message; // and why
    }
}

TEST(Startup, WithoutAnyFontStopsNamingTheFont) {
    // The font catalogue lives as long as the process: look at it from a fresh one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const auto config = std::filesystem::temp_directory_path() /
                                ("tamtara-no-fonts-" + std::to_string(::getpid()) + ".conf");
            std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
            ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
            TestGameFolder folder("StartupNoFonts");
            try {
                GameHarness game(folder.Path());
            } catch (const EGameStartError& error) {
                std::cerr << error.what() << std::endl;
                std::exit(0);
            }
            std::exit(1);
        },
        ::testing::ExitedWithCode(0), "No font can be used for \"ＭＳ Ｐゴシック\"");
}

TEST(Startup, WindowReadsInstrumentNamesAndSetsItsCaption) {
    TestGameFolder folder("StartupCaption");
    GameHarness game(folder.Path());
    ASSERT_EQ(game.Form().Packages.InstrumentNames.size(), 2u);
    EXPECT_EQ(game.Form().Packages.InstrumentNames[0], "Acoustic Grand Piano");
    EXPECT_EQ(game.Form().DXDraw.Caption, "Tamtara  Version 1.82");
    EXPECT_EQ(game.Display().Caption, "Tamtara  Version 1.82");
    EXPECT_EQ(game.State(), ssOpening);
    EXPECT_EQ(game.Form().Screen.FrameCount, 0);
}

TEST(Startup, HandOverWritesSettingsAndThePlayersKeys) {
    TestGameFolder folder("StartupHandOver");
    HarnessOptions options;
    options.Settings.Level = 5;
    options.Settings.MissPenalty = 50;
    options.Settings.NoBank = true;
    options.Settings.Demo = false;
    options.Settings.KeyA = {65, 70, 32, 74, 75, 76, 59};
    options.Settings.KeyB = {83, 68, 0, 73, 79, 80, 0};
    options.Settings.Scaling = ScalingFit;
    GameHarness game(folder.Path(), options);

    TMainForm& form = game.Form();
    EXPECT_EQ(form.DXDraw.Scaling, TPictureScaling::Fit);
    EXPECT_EQ(form.Settings.Level, 5);
    EXPECT_EQ(form.Settings.MissPenalty, 50);
    EXPECT_FALSE(form.Settings.Demo);
    EXPECT_TRUE(form.MidiDrive->NoBankSelect());
    const auto& assigns = form.Input.DXInput.Keyboard.Assigns;
    EXPECT_EQ(assigns[inButton1][0], 65);
    EXPECT_EQ(assigns[inButton1][1], 37); // the cursor keys stay for the menus
    EXPECT_EQ(assigns[inButton6][1], 40);
    EXPECT_EQ(assigns[inButton8][0], 13);
    EXPECT_EQ(assigns[inButton11][0], 83);
    EXPECT_EQ(assigns[inButton17][0], 0);
}

TEST(Startup, WithoutAMidiOutputTheGameStillRuns) {
    TestGameFolder folder("StartupNoMidi");
    HarnessOptions options;
    options.Show = false;
    GameHarness game(folder.Path(), options);
    RecordingMidiDriver::Failures failures;
    failures.Open = MidiError::Allocated;
    game.MidiDriver().SetFailures(failures);
    game.Form().FormShow();

    game.Step();
    game.TapKey(13);
    ASSERT_TRUE(game.StepUntil(ssTitle, 12));
    game.TapKey(13);
    EXPECT_TRUE(game.StepUntil(ssFolderSelect, 31));
    EXPECT_EQ(game.MidiDriver().MessageCount(), 0u);
    game.WindowKey(WindowKeys::Escape);
    game.Step();
    EXPECT_EQ(game.State(), ssOpening);
}

// The built-in synth's SoundFont loads while the display opens: the output is prepared before
// the display opens and opened (waiting for the load) once it is open, before the first frame.
TEST(Startup, TheOutputIsPreparedBeforeTheDisplayOpensAndOpenBeforeTheFirstFrame) {
    TestGameFolder folder("StartupPrepared");
    HarnessOptions options;
    options.Show = false;
    GameHarness game(folder.Path(), options);
    std::vector<std::string> calls;
    game.MidiDriver().OnCall = [&](const std::string& call, int deviceId) {
        calls.push_back(call + " " + std::to_string(deviceId) +
                        (game.Form().DXDraw.Initialized() ? " display open" : " no display"));
    };
    game.Form().FormShow();
    EXPECT_EQ(calls, (std::vector<std::string>{"prepare -1 no display", "open -1 display open"}));
    EXPECT_NE(game.Form().MidiDrive->Output(), nullptr);
    game.MidiDriver().OnCall = nullptr;
}

TEST(Startup, ASilentSynthIsNoticedOnceOnTheTitle) {
    TestGameFolder folder("StartupSilentSynth");
    HarnessOptions options;
    options.Show = false;
    GameHarness game(folder.Path(), options);
    const std::string reason = "no audio output device: ALSA: Couldn't open audio device";
    game.MidiDriver().SetSynthSilenceReason(reason);
    std::vector<std::pair<std::int32_t, std::string>> steps;
    game.Form().OnStartProgress = [&](std::int32_t percent, const std::string& step) {
        steps.emplace_back(percent, step);
    };
    game.Form().FormShow();
    // The window's start tells its steps in order, and 100 only with its first frame.
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), std::make_pair(0, std::string(TMainForm::StartSynthText)));
    EXPECT_NE(steps.back().first, 100);
    game.Step();
    EXPECT_EQ(steps.back(), std::make_pair(100, std::string()));
    for (std::size_t i = 1; i < steps.size(); ++i)
        EXPECT_LT(steps[i - 1].first, steps[i].first);

    EXPECT_TRUE(game.Form().Notice().empty());
    game.TapKey(13);
    ASSERT_TRUE(game.StepUntil(ssTitle, 12));
    EXPECT_EQ(game.Form().Notice(), "音が出ません: 音声出力装置か音色 (SoundFont) を使えません");
    // Once: after the notice has gone, a later visit to the title says nothing again.
    game.Step(200);
    game.WindowKey(WindowKeys::Escape);
    game.Step();
    game.TapKey(13);
    ASSERT_TRUE(game.StepUntil(ssTitle, 12));
    game.Step();
    EXPECT_TRUE(game.Form().Notice().empty());
}

} // namespace
} // namespace tamtara::testing
