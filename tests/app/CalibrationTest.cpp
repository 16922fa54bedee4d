// The latency calibration: the median and its outliers, and the whole screen on the headless
// game window with strikes scripted a fixed time after each click.
#include "app/Calibration.h"
#include "harness/GameHarness.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <set>

namespace tamtara::testing {

TEST(CalibrationMedian, DropsOutliersBeyondEightyMilliseconds) {
    CalibrationRun run;
    EXPECT_FALSE(run.Median().has_value());
    for (double d : {30.0, 34.0, 36.0, -150.0, 38.0, 81.0, 90.0, 40.0, 200.0})
        run.AddStrike(d);
    EXPECT_EQ(run.Total(), 9);
    EXPECT_EQ(run.Kept(), 5);
    EXPECT_EQ(run.Median(), 36);
    run.AddStrike(-80.0); // the limit itself is kept
    EXPECT_EQ(run.Kept(), 6);
    EXPECT_EQ(run.Median(), 35); // (34 + 36) / 2
    EXPECT_FALSE(run.Enough());
    for (int i = 0; i < 10; ++i)
        run.AddStrike(12.4);
    EXPECT_TRUE(run.Enough());
}

// The readme: strikes more than 80 ms off are dropped, so 80 ms either way still counts.
TEST(CalibrationMedian, EightyMillisecondsEitherWayIsKeptAndBeyondIsDropped) {
    CalibrationRun run;
    for (double d : {80.0, -80.0, 80.001, -80.001})
        run.AddStrike(d);
    EXPECT_EQ(run.Kept(), 2);
    EXPECT_EQ(run.Median(), 0);
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

    TestGameFolder Folder{"Calibration"};
    std::unique_ptr<GameHarness> Game;
};

TEST_F(CalibrationScreenTest, StrikesFortyMillisecondsLateCalibrateToFortyAndEnterSavesIt) {
    Start(true);
    ASSERT_EQ(Game->State(), ssCalibration);
    StrikeAfterClicks(40, 18);
    ASSERT_GE(Game->Form().Calibrating.Kept(), 16);
    ASSERT_TRUE(Game->Form().Calibrating.Median().has_value());
    EXPECT_NEAR(*Game->Form().Calibrating.Median(), 40, 2);
    // Clicks go out on the drum channel at 100 beats per minute.
    const std::vector<std::uint32_t> clicks = ClickTimes();
    ASSERT_GE(clicks.size(), 10u);
    EXPECT_NEAR(double(clicks[9] - clicks[1]) / 8, 600.0, 1.0);

    Game->TapKey(13);
    EXPECT_EQ(Game->State(), ssTitle);
    EXPECT_NEAR(Game->Form().Settings.InputOffsetMs, 40, 2);
    EXPECT_EQ(LoadSettings(SettingsFile()).InputOffsetMs, Game->Form().Settings.InputOffsetMs);
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
