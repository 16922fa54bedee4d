// The latency calibration: the median and its outliers, and the whole screen on the headless
// game window with strikes scripted a fixed time after each click.
#include "app/Calibration.h"
#include "harness/GameHarness.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace tamtara::testing {

TEST(CalibrationMedian, OutliersAreDroppedAroundTheMedianOfAllStrikesNotAroundZero) {
    CalibrationRun run;
    EXPECT_FALSE(run.Median().has_value());
    // A steady 120 ms late, opened by two wild strikes: those go, all the rest stay.
    run.AddStrike(-200.0);
    run.AddStrike(-190.0);
    for (double d : {112.0, 131.0, 118.0, 125.0, 109.0, 122.0, 120.0, 127.0, 115.0, 119.0, 124.0, 116.0,
                     121.0, 128.0, 113.0, 123.0})
        run.AddStrike(d);
    EXPECT_EQ(run.Total(), 18);
    EXPECT_EQ(run.Kept(), 16);
    EXPECT_TRUE(run.Enough());
    EXPECT_EQ(run.Median(), 121); // (120 + 121) / 2, rounded half away from zero
    // Strikes beyond the offset's range are never kept, whatever the others are.
    run.AddStrike(260.0);
    EXPECT_EQ(run.Kept(), 16);
    EXPECT_FALSE(CalibrationRun::IsKept(-251.0, -240.0));
}

TEST(CalibrationMedian, EightyMillisecondsFromTheCentreIsKeptAndBeyondIsDropped) {
    EXPECT_TRUE(CalibrationRun::IsKept(180.0, 100.0));
    EXPECT_TRUE(CalibrationRun::IsKept(20.0, 100.0));
    EXPECT_FALSE(CalibrationRun::IsKept(180.001, 100.0));
    EXPECT_FALSE(CalibrationRun::IsKept(19.999, 100.0));
    EXPECT_FALSE(CalibrationRun::IsKept(0.0, std::nullopt));
    CalibrationRun run;
    for (double d : {-30.0, -20.0, 0.0, 10.0, 60.0, 100.0})
        run.AddStrike(d);
    EXPECT_EQ(run.Centre(), 5.0);
    EXPECT_EQ(run.Kept(), 5); // 100 lies 95 from the centre
    EXPECT_EQ(run.Median(), 0);
}

TEST(CalibrationMedian, TheCountStopsAtTheGoalAndThenSaysOk) {
    CalibrationRun run;
    EXPECT_EQ(run.CountText(), "0 / 16");
    for (int i = 1; i < CalibrationStrikesNeeded; ++i) {
        run.AddStrike(40.0 + i % 3);
        EXPECT_EQ(run.CountText(), std::to_string(i) + " / 16");
    }
    for (int i = 0; i < 5; ++i) {
        run.AddStrike(40.0);
        EXPECT_EQ(run.CountText(), "OK");
    }
}

TEST(CalibrationMedian, TheEndingSaysWhatBecameOfTheOffset) {
    EXPECT_EQ((CalibrationEnding{120, true, ""}).Text(), "保存しました: +120 ms");
    EXPECT_EQ((CalibrationEnding{-8, true, ""}).Text(), "保存しました: -8 ms");
    EXPECT_EQ((CalibrationEnding{0, false, ""}).Text(), "今回だけ使います: +0 ms");
    EXPECT_EQ((CalibrationEnding{35, false, "x に書き込めません"}).Text(),
              "保存できませんでした (今回だけ +35 ms を使います)");
}

TEST(CalibrationMedian, DeviationIsMeasuredFromTheNearestBeat) {
    // 100 beats per minute with 480 ticks per beat: 0.8 ticks per millisecond.
    EXPECT_DOUBLE_EQ(BeatDeviationMs(960 + 32, 480, 100), 40.0);
    EXPECT_DOUBLE_EQ(BeatDeviationMs(960 - 16, 480, 100), -20.0);
    EXPECT_DOUBLE_EQ(BeatDeviationMs(960 + 200, 480, 100), 250.0);
    EXPECT_DOUBLE_EQ(BeatDeviationMs(960 + 280, 480, 100), -250.0);
}

class CalibrationScreenTest : public ::testing::Test {
protected:
    void Start(bool precise) {
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.KeyA = {65, 83, 68, 70, 71, 72, 74};
        options.Settings.PreciseInput = precise;
        options.Settings.InputOffsetMs = 7;
        options.SettingsFile = SettingsFile();
        options.ScreenTrace = &Trace;
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
        Game->ChangeScreenInFrame(ssTitle);
        Game->Step();
        Game->WindowKey(WindowKeys::F3);
        Game->Step();
    }

    std::string SettingsFile() const { return (Folder.Path() / "tamtara.ini").string(); }

    std::vector<std::uint32_t> ClickTimes() {
        std::vector<std::uint32_t> times;
        for (const RecordedMessage& m : Game->MidiMessages())
            if (!m.IsLong && m.Status() == 0x99 && (m.Data1() == 76 || m.Data1() == 77) && m.Data2() > 0)
                times.push_back(m.Time);
        return times;
    }

    // Strikes a lane key lateMs after each click until `strikes` strikes were made; an early
    // strike (negative lateMs) is aimed at the click that follows a heard one, 600 ms later.
    void StrikeAfterClicks(std::int32_t lateMs, int strikes) {
        std::set<std::uint32_t> done;
        for (int frame = 0; frame < 2000 && int(done.size()) < strikes; ++frame) {
            const std::uint32_t now = Game->Clock().Now();
            for (std::uint32_t click : ClickTimes()) {
                const std::uint32_t target = click + std::uint32_t(lateMs < 0 ? 600 + lateMs : lateMs);
                if (done.count(click) || target < now || target >= now + 33) continue;
                Game->KeyDownAt(target - now, 70);
                done.insert(click);
            }
            // Held up to the frame's tick, so the written mode's poll sees it too.
            Game->Step();
            Game->ReleaseKey(70);
        }
        Game->Step();
    }

    std::ostringstream Trace;
    TestGameFolder Folder{"Calibration"};
    std::unique_ptr<GameHarness> Game;
};

// A latency far beyond the outlier limit is measured whole: every strike is kept.
TEST_F(CalibrationScreenTest, StrikesAHundredAndTwentyMillisecondsLateCalibrateToThatAndEnterSavesIt) {
    Start(true);
    ASSERT_EQ(Game->State(), ssCalibration);
    StrikeAfterClicks(120, 18);
    const CalibrationRun& run = Game->Form().Calibrating;
    EXPECT_EQ(run.Total(), 18);
    EXPECT_EQ(run.Kept(), 18);
    ASSERT_TRUE(run.Median().has_value());
    EXPECT_NEAR(*run.Median(), 120, 2);
    EXPECT_EQ(run.CountText(), "OK");
    // Clicks go out on the drum channel at 100 beats per minute.
    const std::vector<std::uint32_t> clicks = ClickTimes();
    ASSERT_GE(clicks.size(), 10u);
    EXPECT_NEAR(double(clicks[9] - clicks[1]) / 8, 600.0, 1.0);

    // Saved at once; the screen confirms it for a second, taking no more strikes, then leaves.
    Game->TapKey(13);
    EXPECT_EQ(Game->State(), ssCalibration);
    EXPECT_NEAR(Game->Form().Settings.InputOffsetMs, 120, 2);
    EXPECT_EQ(LoadSettings(SettingsFile()).InputOffsetMs, Game->Form().Settings.InputOffsetMs);
    ASSERT_TRUE(run.Ending.has_value());
    EXPECT_TRUE(run.Ending->Saved);
    EXPECT_EQ(run.Ending->OffsetMs, Game->Form().Settings.InputOffsetMs);
    Game->KeyDownAt(5, 70);
    Game->Step();
    Game->ReleaseKey(70);
    EXPECT_EQ(run.Total(), 18);
    int frames = 1;
    for (; Game->State() == ssCalibration && frames < 40; ++frames)
        Game->Step();
    EXPECT_EQ(Game->State(), ssTitle);
    EXPECT_GE(frames, 25);
}

TEST_F(CalibrationScreenTest, AnOffsetThatCannotBeSavedIsSaidSoAndStillUsed) {
    Start(true);
    // The settings "file" is a folder: the write fails.
    std::filesystem::create_directory(SettingsFile());
    StrikeAfterClicks(-60, 17);
    Game->TapKey(13);
    const CalibrationRun& run = Game->Form().Calibrating;
    ASSERT_TRUE(run.Ending.has_value());
    EXPECT_FALSE(run.Ending->Saved);
    EXPECT_NE(run.Ending->Problem.find("書き込めません"), std::string::npos) << run.Ending->Problem;
    EXPECT_NEAR(Game->Form().Settings.InputOffsetMs, -60, 2);
    EXPECT_EQ(Game->State(), ssCalibration);
    EXPECT_TRUE(Game->StepUntil(ssTitle, 31));
}

TEST_F(CalibrationScreenTest, EscapeLeavesTheOffsetUnchanged) {
    Start(true);
    StrikeAfterClicks(-30, 17);
    EXPECT_NEAR(*Game->Form().Calibrating.Median(), -30, 2);
    Game->WindowKey(WindowKeys::Escape);
    Game->Step();
    EXPECT_EQ(Game->State(), ssTitle);
    EXPECT_EQ(Game->Form().Settings.InputOffsetMs, 7);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    // The clicks' first tick was traced once, for scripts that time their strikes from it; the
    // title's jingle after it is not.
    for (int frame = 0; frame < 30; ++frame)
        Game->Step();
    const std::string trace = Trace.str();
    const std::size_t start = trace.find("screen ssCalibration\nclick start\n");
    EXPECT_NE(start, std::string::npos) << trace;
    EXPECT_EQ(trace.find("start", start + 28), std::string::npos) << trace;
}

TEST_F(CalibrationScreenTest, EnterBeforeSixteenStrikesSavesNothing) {
    Start(false);
    StrikeAfterClicks(20, 5);
    EXPECT_EQ(Game->Form().Calibrating.Total(), 5);
    Game->TapKey(13);
    EXPECT_EQ(Game->State(), ssCalibration);
    EXPECT_EQ(Game->Form().Settings.InputOffsetMs, 7);
}

} // namespace tamtara::testing
