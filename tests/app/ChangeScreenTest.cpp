// ChangeScreen's entry actions: the jingles with their sequencer flags, the stop on the title
// and opening, the start of play, and the menus' counters.
#include "support/harness/GameHarness.h"

#include "app/SelectionLabels.h"
#include "base/UserMessage.h"
#include "midi/MidiDrive.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tamtara::testing {
namespace {

bool SentLong(const std::vector<RecordedMessage>& messages, const std::vector<std::uint8_t>& bytes) {
    return std::any_of(messages.begin(), messages.end(), [&](const RecordedMessage& message) {
        return message.IsLong && message.Bytes == bytes;
    });
}

const std::vector<std::uint8_t> GMReset(GMSystemOnMessage.begin(), GMSystemOnMessage.end());
const std::vector<std::uint8_t> GSReset(GSResetMessage.begin(), GSResetMessage.end());

struct JingleCase {
    ScreenState State;
    std::uint8_t Program;
    bool Loop;
    bool GMReset;
    bool GSReset;
};

class ChangeScreenEntry : public ::testing::TestWithParam<JingleCase> {
protected:
    TestGameFolder Folder{"ChangeScreen"};
    GameHarness Game{Folder.Path()};
};

TEST_P(ChangeScreenEntry, StartsTheScreensJingleWithItsFlags) {
    const JingleCase& jingle = GetParam();
    Game.Step();
    Game.ClearMidiMessages();
    Game.Form().ChangeScreen(jingle.State);

    TMidiDrive& drive = *Game.Form().MidiDrive;
    EXPECT_TRUE(drive.IsPlayQueued());
    const PlayStyle style = drive.Style();
    EXPECT_TRUE(style.SkipLeadIn);
    EXPECT_FALSE(style.AnnounceNotes);
    EXPECT_EQ(style.Loop, jingle.Loop);
    EXPECT_EQ(style.GMReset, jingle.GMReset);
    EXPECT_EQ(style.GSReset, jingle.GSReset);

    Game.Step();
    const auto messages = Game.MidiMessages();
    EXPECT_TRUE(drive.IsPlaying());
    EXPECT_EQ(ProgramChanges(messages), std::vector<std::uint8_t>{jingle.Program});
    EXPECT_EQ(SentLong(messages, GMReset), jingle.GMReset);
    EXPECT_EQ(SentLong(messages, GSReset), jingle.GSReset);
}

INSTANTIATE_TEST_SUITE_P(Jingles, ChangeScreenEntry,
                         ::testing::Values(JingleCase{ssFailed, FailedJingleProgram, false, true, true},
                                           JingleCase{ssCleared, ClearedJingleProgram, false, true, true},
                                           JingleCase{ssPartSelect, SelectJingleProgram, true, true, true},
                                           JingleCase{ssModeSelect, SelectJingleProgram, true, true, false},
                                           JingleCase{ssFolderSelect, SelectJingleProgram, true, false,
                                                      true}),
                         [](const auto& info) { return std::string(ScreenStateName(info.param.State)); });

class ChangeScreenTest : public ::testing::Test {
protected:
    TestGameFolder Folder{"ChangeScreenTest"};
    GameHarness Game{Folder.Path()};
};

TEST_F(ChangeScreenTest, TitleAndOpeningStopTheSequencer) {
    Game.Step();
    for (ScreenState state : {ssTitle, ssOpening}) {
        Game.Form().ChangeScreen(ssCleared);
        Game.Step();
        ASSERT_TRUE(Game.Form().MidiDrive->IsPlaying());
        Game.Form().ChangeScreen(state);
        EXPECT_FALSE(Game.Form().MidiDrive->IsPlaying()) << ScreenStateName(state);
    }
}

TEST_F(ChangeScreenTest, PlayLoadsAndStartsTheSongForTheGame) {
    Game.Step(3);
    Game.Form().ChangeScreen(ssCleared); // leaves the jingle flags behind
    Game.Step();
    Game.ClearMidiMessages();
    Game.EnterPlay("Songs/demo.mid");

    TMidiDrive& drive = *Game.Form().MidiDrive;
    EXPECT_EQ(Game.Form().Screen.FrameCount, 1);
    EXPECT_TRUE(drive.IsPlaying());
    EXPECT_TRUE(drive.IsLoaded());
    EXPECT_TRUE(drive.Style().AnnounceNotes);
    EXPECT_FALSE(drive.Style().SkipLeadIn);
    EXPECT_FALSE(drive.Style().Loop);
    const auto messages = Game.MidiMessages();
    EXPECT_TRUE(SentLong(messages, GMReset));
    EXPECT_TRUE(SentLong(messages, GSReset));

    Game.Step();
    EXPECT_EQ(Game.State(), ssPlay);
    EXPECT_EQ(Game.Form().Screen.FrameCount, 2);
    // The song's tick 0 plays once the pre-roll has let its first note scroll in.
    while (drive.CurrentTick() < 0)
        Game.Step();
    EXPECT_EQ(ProgramChanges(Game.MidiMessages()), std::vector<std::uint8_t>{SongProgram});
}

TEST_F(ChangeScreenTest, PlayOfAMissingSongIsReportedAndTheGameGoesOn) {
    Game.Step();
    // Told in the game window, never in a separate box.
    int boxes = 0;
    const UserMessageHandler previous =
        SetUserMessageHandler([&](MessageKind, const std::string&, const std::string&) { ++boxes; });
    Game.Form().Selection.SongFile = "Songs/missing.mid";
    Game.Form().RunHandler([&] { Game.Form().ChangeScreen(ssPlay); });
    SetUserMessageHandler(previous);
    EXPECT_EQ(boxes, 0);
    ASSERT_NE(Game.Form().Notices.Current(), nullptr);
    EXPECT_EQ(Game.Form().Notice(), UnplayableSongText);
    EXPECT_NE(Game.Form().Notices.Current()->Detail.find("missing.mid"), std::string::npos);
    // No play that never started: without a disc list the way back is the folder screen.
    EXPECT_EQ(Game.State(), ssFolderSelect);
    EXPECT_FALSE(Game.Form().MidiDrive->IsPlaying());
}

TEST(ChangeScreenGraphics, BrokenPlayBitmapReturnsToTheOpeningWithoutStartingPlay) {
    TestGameFolderOptions options;
    options.BrokenGraphics = {"skin2.bmp"};
    TestGameFolder folder("ChangeScreenBroken", options);
    GameHarness game(folder.Path());
    game.Step();
    game.ChangeScreenInFrame(ssPartSelect);
    game.Step(5);
    game.ClearMidiMessages();

    game.EnterPlay("Songs/demo.mid");
    EXPECT_EQ(game.State(), ssOpening);
    EXPECT_NE(game.Form().LastErrorText().find("\"skin2.bmp\""), std::string::npos)
        << game.Form().LastErrorText();
    game.Step(60);
    // Neither the song nor the looping selection jingle plays; the game goes on from the opening.
    EXPECT_FALSE(game.Form().MidiDrive->IsPlaying());
    EXPECT_EQ(ProgramChanges(game.MidiMessages()), std::vector<std::uint8_t>{});
    EXPECT_NE(game.State(), ssPlay);
}

} // namespace
} // namespace tamtara::testing
