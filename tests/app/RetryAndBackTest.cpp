// The keys beyond the screens' own: F5 plays the same song again with the same mode and parts
// from the failed and result screens, Backspace goes back from the mode and part screens to the
// disc screen on the chosen song, and the part screen names each panel's keys.
#include "app/PartKeyNames.h"
#include "app/play/GamePlay.h"
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

namespace tamtara::testing {
namespace {

constexpr int KeyReturn = 13, KeyRight = 39, KeyDown = 40;

class RetryAndBack : public ::testing::Test {
protected:
    RetryAndBack() {
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.KeyA = {65, 70, 32, 74, 75, 76, 59};
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Form().ScanLibrary(nullptr, nullptr);
        Game->Step();
        Game->ChangeScreenInFrame(ssFolderSelect);
        Game->Step();
        Tap(KeyReturn);
        EXPECT_TRUE(Game->StepUntil(ssDiscSelect, 40));
        Game->Step();
    }

    // From the disc screen: the third song, then full song, speed 150, lower notes hidden.
    void ChooseThirdSongAndMode() {
        Tap(KeyDown);
        Tap(KeyDown);
        Tap(KeyReturn);
        ASSERT_TRUE(Game->StepUntil(ssModeSelect, 40));
        Game->Step();
        for (int row = 0; row < 3; ++row) {
            Tap(KeyRight);
            Tap(KeyReturn);
        }
        ASSERT_TRUE(Game->StepUntil(ssPartSelect, 40));
        Game->Step();
    }

    void ExpectChosenPlay(const std::string& song, const std::array<bool, LaneCount>& autoLanes) {
        const PlayState& play = Game->Form().Play->State;
        EXPECT_EQ(Game->State(), ssPlay);
        EXPECT_EQ(Game->Form().Selection.SongFile, song);
        EXPECT_FALSE(play.TwoMinutes);
        EXPECT_EQ(play.ScrollSpeed, 150);
        EXPECT_TRUE(play.HideLowerNotes);
        EXPECT_FALSE(play.HideUpperNotes);
        EXPECT_EQ(play.AutoLane, autoLanes);
        EXPECT_EQ(play.PerfectCount + play.GreatCount + play.GoodCount + play.MissCount, 0);
        EXPECT_TRUE(Game->Form().MidiDrive->IsPlaying());
    }

    static TestGameFolderOptions ThreeSongs() {
        TestGameFolderOptions options;
        options.Songs = {"Songs/a.mid", "Songs/b.mid", "Songs/c.mid"};
        return options;
    }

    // A press and a frame with the key up again, so the next press is seen as one.
    void Tap(int key) {
        Game->TapKey(key);
        Game->Step();
    }

    TestGameFolder Folder{"RetryAndBack", ThreeSongs()};
    std::unique_ptr<GameHarness> Game;
};

TEST_F(RetryAndBack, F5OnTheFailedAndResultScreensPlaysTheSameSongWithTheSameModeAndParts) {
    ChooseThirdSongAndMode();
    Tap(KeyRight); // the snare's cursor key hands the snare to the computer as well
    Tap(KeyReturn);
    ASSERT_TRUE(Game->StepUntil(ssPlay, 40));
    Game->Step(3);
    const std::string song = Game->Form().Selection.SongFile;
    EXPECT_NE(song.find("c.mid"), std::string::npos);
    const std::array<bool, LaneCount> autoLanes = Game->Form().Play->State.AutoLane;
    EXPECT_TRUE(autoLanes[dpSnare]);
    ExpectChosenPlay(song, autoLanes);

    Game->Form().Play->State.MissCount = 9;
    Game->ChangeScreenInFrame(ssFailed);
    Game->Step(5);
    Game->WindowKey(WindowKeys::F5);
    Game->Step();
    ExpectChosenPlay(song, autoLanes);
    // Play goes on from there as from any entry.
    Game->Step(3);
    EXPECT_EQ(Game->State(), ssPlay);

    Game->WindowKey(WindowKeys::F2);
    ASSERT_TRUE(Game->StepUntil(ssResult, 80));
    Game->Step(3);
    Game->WindowKey(WindowKeys::F5);
    Game->Step();
    ExpectChosenPlay(song, autoLanes);
}

TEST_F(RetryAndBack, F5ElsewhereOrAfterADemonstrationStartsNothing) {
    Game->WindowKey(WindowKeys::F5);
    Game->Step(2);
    EXPECT_EQ(Game->State(), ssDiscSelect);
    // A clear forced before any song was chosen has nothing to repeat.
    Game->WindowKey(WindowKeys::F2);
    ASSERT_TRUE(Game->StepUntil(ssResult, 80));
    Game->WindowKey(WindowKeys::F5);
    Game->Step(2);
    EXPECT_EQ(Game->State(), ssResult);
    Game->Form().Selection.SongFile = "Songs/a.mid";
    Game->Form().Play->State.DemoMode = true;
    Game->WindowKey(WindowKeys::F5);
    Game->Step(2);
    EXPECT_EQ(Game->State(), ssResult);
}

TEST_F(RetryAndBack, BackspaceOnTheModeAndPartScreensReturnsToTheChosenDisc) {
    Tap(KeyDown);
    Tap(KeyDown);
    Tap(KeyReturn);
    ASSERT_TRUE(Game->StepUntil(ssModeSelect, 40));
    Game->Step();
    Game->WindowKey(WindowKeys::Back);
    Game->Step();
    EXPECT_EQ(Game->State(), ssDiscSelect);
    EXPECT_EQ(Game->Form().Selection.DiscIndex, 2);

    // Enter takes the same disc again; from the part screen Backspace leads back to it as well.
    Game->Step(2);
    Tap(KeyReturn);
    ASSERT_TRUE(Game->StepUntil(ssModeSelect, 40));
    Game->Step();
    for (int row = 0; row < 3; ++row)
        Tap(KeyReturn);
    ASSERT_TRUE(Game->StepUntil(ssPartSelect, 40));
    Game->WindowKey(WindowKeys::Back);
    Game->Step();
    EXPECT_EQ(Game->State(), ssDiscSelect);
    EXPECT_EQ(Game->Form().Selection.DiscIndex, 2);
    // Escape keeps its way to the opening.
    Tap(KeyReturn);
    ASSERT_TRUE(Game->StepUntil(ssModeSelect, 40));
    Game->WindowKey(WindowKeys::Escape);
    Game->Step();
    EXPECT_EQ(Game->State(), ssOpening);
}

TEST_F(RetryAndBack, ThePartScreenNamesTheKeysBoundToEachPanel) {
    const KeyAssigns& assigns = Game->Form().Input.DXInput.Keyboard.Assigns;
    EXPECT_EQ(PartKeyNames(assigns, {dpHiHat}), "A  ←");
    EXPECT_EQ(PartKeyNames(assigns, {dpSnare}), "F  →");
    EXPECT_EQ(PartKeyNames(assigns, {dpKick}), "スペース");
    EXPECT_EQ(PartKeyNames(assigns, {dpHighTom, dpMidTom, dpLowTom}), "J  K  L  ↑  ↓");
    EXPECT_EQ(PartKeyNames(assigns, {dpCymbal}), ";");
    // The launcher's keys as handed over, "(なし)" where a part has none.
    Game->Form().HandOver([] {
        GameSettings settings;
        settings.FullScreen = false;
        settings.KeyA = {90, 0, 0, 0, 0, 0, 47};
        return settings;
    }());
    EXPECT_EQ(PartKeyNames(assigns, {dpHiHat}), "Z  ←");
    EXPECT_EQ(PartKeyNames(assigns, {dpKick}), "(なし)");
    EXPECT_EQ(PartKeyNames(assigns, {dpCymbal}), "/");
}

} // namespace
} // namespace tamtara::testing
