// The folder and disc screens driven frame by frame: key repeat, the wheel, the disc list of a
// folder, the preview's timing, the delayed exits and the pictures they draw.
#include "NoticeChecks.h"
#include "app/MenuText.h"
#include "app/SelectionLabels.h"
#include "base/UserMessage.h"
#include "midi/MidiDrive.h"
#include "platform/text/SongText.h"
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tamtara::testing {
namespace {

constexpr int KeyReturn = 13;
constexpr int KeyLeft = 37;
constexpr int KeyUp = 38;
constexpr int KeyDown = 40;

TestGameFolderOptions LibraryFolderOptions() {
    TestGameFolderOptions options;
    options.Songs = {"Songs/a.mid", "Songs/b.mid", "Songs/c.mid", "Songs/Sub/d.mid", "e.mid"};
    return options;
}

class SongSelection : public ::testing::Test {
protected:
    explicit SongSelection(bool preview = true) { Start(preview); }

    void Start(bool preview) {
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.Prev = preview;
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Base = std::filesystem::current_path().string();
        // The library as the scan leaves it: folders sorted, songs in search order.
        Form().Library.Folders = {Base, Base + "/Songs", Base + "/Songs/Sub"};
        Form().Library.SongFiles = {Base + "/e.mid", Base + "/Songs/a.mid", Base + "/Songs/b.mid",
                                    Base + "/Songs/c.mid", Base + "/Songs/Sub/d.mid"};
        Form().Library.SongTitles = {"E", "A title", "\x83\x68\x83\x89\x83\x80", "", "D"};
        Game->Step();
    }

    TMainForm& Form() { return Game->Form(); }
    void Enter(ScreenState state) { Game->ChangeScreenInFrame(state); }
    // The disc screen of the "Songs" folder, entered from the folder screen.
    void EnterSongsDiscs() {
        Form().Selection.FolderIndex = 1;
        Enter(ssFolderSelect);
        Game->TapKey(KeyReturn);
        ASSERT_TRUE(Game->StepUntil(ssDiscSelect, 31));
    }
    bool Queued() { return Form().MidiDrive->IsPlayQueued(); }

    TestGameFolder Folder{"SongSelection", LibraryFolderOptions()};
    std::unique_ptr<GameHarness> Game;
    std::string Base;
};

class SongSelectionWithoutPreview : public SongSelection {
protected:
    SongSelectionWithoutPreview() : SongSelection(false) {}
};

TEST_F(SongSelection, HeldDownMovesOnTheFirstFrameThenEverySecondFromTheSixteenth) {
    Form().Library.Folders.resize(40, Base + "/Songs");
    Enter(ssFolderSelect);
    Game->HoldKey(KeyDown);
    std::vector<std::int32_t> moved;
    for (int held = 1; held <= 22; ++held) {
        const std::int32_t before = Form().Selection.FolderIndex;
        Game->Step();
        if (Form().Selection.FolderIndex != before) moved.push_back(held);
    }
    EXPECT_EQ(moved, (std::vector<std::int32_t>{1, 16, 18, 20, 22}));
    EXPECT_EQ(Form().Selection.WheelTarget, -12 * 5);
}

TEST_F(SongSelection, FolderMovesStopAtBothEndsAndTheWheelTurnsFourDegreesAFrame) {
    Enter(ssFolderSelect);
    Game->TapKey(KeyUp);
    EXPECT_EQ(Form().Selection.FolderIndex, 0);
    EXPECT_EQ(Form().Selection.WheelTarget, 0);

    Game->TapKey(KeyDown);
    EXPECT_EQ(Form().Selection.FolderIndex, 1);
    EXPECT_EQ(Form().Selection.WheelTarget, -12);
    EXPECT_EQ(Form().Selection.WheelAngle, -4); // the frame of the move already turns
    Game->Step();
    EXPECT_EQ(Form().Selection.WheelAngle, -8);
    Game->Step(5);
    EXPECT_EQ(Form().Selection.WheelAngle, -12);
    for (int press = 0; press < 4; ++press) {
        Game->TapKey(KeyDown);
        Game->Step();
    }
    EXPECT_EQ(Form().Selection.FolderIndex, 2);
    EXPECT_EQ(Form().Selection.WheelTarget, -24);
}

TEST_F(SongSelection, ReturningToTheFolderScreenCentresTheRememberedFolderWithoutAnimation) {
    Form().Selection.FolderIndex = 2;
    Enter(ssFolderSelect);
    EXPECT_EQ(Form().Selection.WheelAngle, -24);
    EXPECT_EQ(Form().Selection.WheelTarget, -24);
    Game->Step();
    EXPECT_EQ(Form().Selection.WheelAngle, -24);

    // The centre plate (slot 0 at 0 degrees: x 300 - 160, y 230) comes from its own picture row.
    const TDirectDrawSurface& sheet = *Form().Art.Surfaces.OverlaySurface;
    int compared = 0;
    for (int dy = 0; dy < 48; ++dy) {
        for (int dx = 0; dx < 50; ++dx) { // left of the label
            const std::uint32_t centre = sheet.Pixel(dx, 176 + dy);
            if (centre == sheet.TransparentColor()) continue;
            ASSERT_EQ(Game->Pixel(140 + dx, 230 + dy), centre) << dx << "," << dy;
            ++compared;
        }
    }
    EXPECT_GT(compared, 500);
}

TEST_F(SongSelection, EnterBuildsTheDiscListOfExactlyThatFolderAndLeavesThirtyFramesLater) {
    Form().Selection.FolderIndex = 1;
    Enter(ssFolderSelect);
    Game->ClearMidiMessages();
    Game->TapKey(KeyReturn);
    EXPECT_EQ(
        Form().Library.DiscFiles,
        (std::vector<std::string>{Base + "/Songs/a.mid", Base + "/Songs/b.mid", Base + "/Songs/c.mid"}));
    EXPECT_EQ(Form().Library.DiscTitles[1], "\x83\x68\x83\x89\x83\x80");
    // Input is ignored while the jingle plays and the screen waits.
    Game->HoldKey(KeyDown);
    Game->Step(29);
    Game->ReleaseKey(KeyDown);
    EXPECT_EQ(Form().Selection.FolderIndex, 1);
    EXPECT_EQ(Game->State(), ssFolderSelect);
    Game->Step();
    EXPECT_EQ(Game->State(), ssDiscSelect);
    EXPECT_EQ(ProgramChanges(Game->MidiMessages()).back(), EnterJingleProgram);
}

TEST_F(SongSelection, EnterOnAFolderWithoutDiscsIsIgnored) {
    // Letter case counts: "songs" holds no song even though "Songs" does.
    Form().Library.Folders = {Base + "/songs", Base + "/Song"};
    Enter(ssFolderSelect);
    Game->TapKey(KeyReturn);
    EXPECT_EQ(Form().Screen.LeaveFrame, 0);
    Game->Step();
    Game->TapKey(KeyDown);
    Game->TapKey(KeyReturn);
    EXPECT_EQ(Form().Screen.LeaveFrame, 0);
    EXPECT_TRUE(Form().Library.DiscFiles.empty());
}

TEST(SelectionLabels, FolderLabelsFileNamesAndCounters) {
    EXPECT_EQ(SongLabel("", "/g/Songs/My Song.mid"), "My Song");
    EXPECT_EQ(SongLabel(" \t", "/g/Songs/a.b.midi"), "a.b");
    EXPECT_EQ(SongLabel("\x83\x68", "/g/x.mid"), "ド");
    EXPECT_EQ(SongPathLabel(GameFolder() + "/Songs/\xE6\x9B.mid"), "Songs/??.mid");
    EXPECT_EQ(SongPathLabel("/elsewhere/x.mid"), "/elsewhere/x.mid");
    TSongLibrary library;
    library.Roots = {TScanRoot{"/home/p/game", true, 0}};
    library.RootNames = {"game"};
    EXPECT_EQ(FolderLabel("/home/p/game", library), "game");
    EXPECT_EQ(FolderLabel("/home/p/game/J-Pop/Best", library), "game/J-Pop/Best");
    EXPECT_EQ(FolderLabel("/home/p/game/\x83\x68", library), "game/?h");
    EXPECT_EQ(DiscFileName("/g/Songs/\xE6\x9B.mid"), "??.mid");
    EXPECT_EQ(CounterText(1, 1), " 1/ 1");
    EXPECT_EQ(CounterText(12, 345), "12/345");
}

TEST_F(SongSelection, PreviewStartsThirtyFramesAfterTheLastMoveAndIsNotRestartedWhileResting) {
    EnterSongsDiscs();
    Game->ClearMidiMessages();
    // The frame that changed screen drew nothing here; the screen's 30th frame asks for it.
    int firstRequest = 0;
    for (int frame = 1; frame <= 40 && firstRequest == 0; ++frame) {
        Game->Step();
        if (Queued()) firstRequest = frame;
    }
    EXPECT_EQ(firstRequest, 30);
    Game->Step();
    EXPECT_TRUE(Form().MidiDrive->IsPlaying());
    EXPECT_TRUE(Form().MidiDrive->Style().Loop);
    // A preview joins what is sounding: neither the GM nor the GS reset goes out before it.
    const std::vector<RecordedMessage> sent = Game->MidiMessages();
    const std::vector<std::uint8_t> programs = ProgramChanges(sent);
    EXPECT_NE(std::find(programs.begin(), programs.end(), SongProgram), programs.end());
    for (const RecordedMessage& message : sent) {
        if (!message.IsLong) continue;
        EXPECT_FALSE(std::equal(message.Bytes.begin(), message.Bytes.end(), GMSystemOnMessage.begin(),
                                GMSystemOnMessage.end()));
        EXPECT_FALSE(std::equal(message.Bytes.begin(), message.Bytes.end(), GSResetMessage.begin(),
                                GSResetMessage.end()));
    }
    for (int frame = 0; frame < 60; ++frame) {
        Game->Step();
        ASSERT_FALSE(Queued()) << frame;
    }

    Game->TapKey(KeyDown);
    EXPECT_FALSE(Form().MidiDrive->IsPlaying());
    EXPECT_EQ(Form().Selection.DiscIndex, 1);
    for (int frame = 2; frame <= 30; ++frame) {
        Game->Step();
        ASSERT_EQ(Queued(), frame == 30) << frame;
    }
}

TEST_F(SongSelection, UpOnTheFirstDiscStopsNothing) {
    EnterSongsDiscs();
    Game->Step(31);
    ASSERT_TRUE(Form().MidiDrive->IsPlaying());
    const std::int32_t delay = Form().Selection.PreviewDelay;
    Game->TapKey(KeyUp);
    EXPECT_TRUE(Form().MidiDrive->IsPlaying());
    EXPECT_EQ(Form().Selection.PreviewDelay, delay + 1);
    EXPECT_EQ(Form().Selection.WheelTarget, 0);
}

TEST_F(SongSelectionWithoutPreview, NoPreviewWhenTheSettingIsOff) {
    EnterSongsDiscs();
    for (int frame = 0; frame < 100; ++frame) {
        Game->Step();
        ASSERT_FALSE(Queued()) << frame;
    }
}

TEST_F(SongSelection, EnterStoresTheSongAndLeftGoesBackToTheFolders) {
    EnterSongsDiscs();
    Game->TapKey(KeyDown);
    Game->Step();
    Game->TapKey(KeyReturn);
    EXPECT_EQ(Form().Selection.SongFile, Base + "/Songs/b.mid");
    EXPECT_EQ(Form().Selection.SongTitle, "\x83\x68\x83\x89\x83\x80");
    Game->TapKey(KeyLeft); // ignored after the confirmation
    Game->Step(28);
    EXPECT_EQ(Game->State(), ssDiscSelect);
    Game->Step();
    EXPECT_EQ(Game->State(), ssModeSelect);

    EnterSongsDiscs();
    Game->TapKey(KeyLeft);
    EXPECT_EQ(Game->State(), ssFolderSelect);
    EXPECT_EQ(Form().Selection.WheelAngle, -12);
}

TEST_F(SongSelection, DiscScreenDrawsTheYellowBandBehindTheTexts) {
    EnterSongsDiscs();
    Game->Step();
    const std::uint32_t yellow = Game->BackBuffer().ColorMatch(clYellow);
    EXPECT_EQ(Game->Pixel(635, 211), yellow);
    EXPECT_EQ(Game->Pixel(635, 268), yellow);
    EXPECT_NE(Game->Pixel(635, 208), yellow);
    EXPECT_NE(Game->Pixel(635, 271), yellow);
    // The centre title is red over its black shadow, inside the band.
    bool red = false;
    for (int x = 270; x < 400; ++x)
        for (int y = 216; y < 240; ++y)
            red = red || Game->Pixel(x, y) == Game->BackBuffer().ColorMatch(clRed);
    EXPECT_TRUE(red);
}

TEST_F(SongSelection, AnUnplayableSongReturnsToTheDiscScreenOnThatSongAndSaysWhyInTheWindow) {
    // No separate box: the player is told inside the game window.
    int boxes = 0;
    const UserMessageHandler previous =
        SetUserMessageHandler([&](MessageKind, const std::string&, const std::string&) { ++boxes; });
    // b.mid is no MIDI file; c.mid has a header that gives 0 ticks per quarter note.
    const std::string notMidi = "not a MIDI file";
    std::ofstream(Base + "/Songs/b.mid", std::ios::binary) << notMidi;
    const char zeroDivision[] = "MThd\0\0\0\6\0\0\0\1\0\0MTrk\0\0\0\4\0\xFF\x2F\0";
    std::ofstream(Base + "/Songs/c.mid", std::ios::binary).write(zeroDivision, sizeof zeroDivision - 1);
    EnterSongsDiscs();
    for (const int index : {1, 2}) {
        Form().Selection.SongFile = Form().Library.DiscFiles[index];
        Game->ChangeScreenInFrame(ssPlay);
        EXPECT_EQ(Game->State(), ssDiscSelect);
        EXPECT_EQ(Form().Selection.DiscIndex, index);
        for (int frame = 0; frame < 40; ++frame) {
            Game->Step();
            ASSERT_EQ(Game->State(), ssDiscSelect);
        }
    }
    SetUserMessageHandler(previous);
    EXPECT_EQ(boxes, 0);
    // The first is on screen, naming the file and the reason; the second waits its turn.
    const GameMessageQueue& notices = Form().Notices;
    ASSERT_NE(notices.Current(), nullptr);
    EXPECT_EQ(notices.Current()->Title, UnplayableSongText);
    EXPECT_NE(notices.Current()->Detail.find("Songs/b.mid"), std::string::npos);
    EXPECT_NE(notices.Current()->Detail.find(NoHeaderText), std::string::npos);
    EXPECT_EQ(notices.Waiting(), 1u);
    EXPECT_TRUE(NoticePanelDrawn(*Game));
    // Enter closes it and is not taken by the disc screen as a choice of the song.
    Game->TapKey(KeyReturn);
    EXPECT_EQ(Form().Screen.LeaveFrame, 0);
    ASSERT_NE(notices.Current(), nullptr);
    EXPECT_NE(notices.Current()->Detail.find("Songs/c.mid"), std::string::npos);
    EXPECT_NE(notices.Current()->Detail.find(NoDivisionText), std::string::npos);
    EXPECT_TRUE(NoticePanelDrawn(*Game));
}

TEST_F(SongSelection, MarkedDiscsAreTaggedNeverPreviewedAndNotStarted) {
    // In SongFiles order: e, a, b (cannot be played), c (no drum note in a lane), d.
    Form().Library.SongChecks = {
        {}, {}, {SongMark::Unplayable, NoHeaderText}, {SongMark::NoDrumNotes, NoDrumNotesText}};
    EnterSongsDiscs();
    Game->TapKey(KeyDown);
    Game->ClearMidiMessages();
    for (int frame = 0; frame < 40; ++frame) {
        Game->Step();
        ASSERT_FALSE(Queued()) << frame;
    }
    // The tags sit at the right end of the file name rows: b in the centre, c below it, a above.
    const TDirectDrawSurface& back = Game->BackBuffer();
    EXPECT_EQ(Game->Pixel(630, 243), back.ColorMatch(ColorRGB(160, 0, 0)));
    EXPECT_EQ(Game->Pixel(630, 313), back.ColorMatch(ColorRGB(64, 64, 64)));
    EXPECT_NE(Game->Pixel(630, 173), back.ColorMatch(ColorRGB(160, 0, 0)));
    EXPECT_NE(Game->Pixel(630, 173), back.ColorMatch(ColorRGB(64, 64, 64)));

    for (const char* title : {UnplayableSongText, NoDrumNotesSongText}) {
        Game->TapKey(KeyReturn);
        EXPECT_EQ(Form().Notice(), title);
        EXPECT_EQ(Form().Screen.LeaveFrame, 0);
        Game->Step(40);
        EXPECT_EQ(Game->State(), ssDiscSelect);
        Game->WindowKey(WindowKeys::Escape); // closes the notice, and only that
        Game->Step();
        EXPECT_EQ(Game->State(), ssDiscSelect);
        EXPECT_TRUE(Form().Notice().empty());
        Game->TapKey(KeyDown);
    }
    const std::vector<std::uint8_t> programs = ProgramChanges(Game->MidiMessages());
    EXPECT_EQ(std::count(programs.begin(), programs.end(), EnterJingleProgram), 0);
}

TEST_F(SongSelection, LongTitlesAreCutInsideTheScreenAndUntitledSongsShowTheirFileName) {
    Form().Library.SongTitles[1] = std::string(120, 'W'); // a.mid, the first disc
    EnterSongsDiscs();
    Game->Step();
    const std::uint32_t red = Game->BackBuffer().ColorMatch(clRed);
    const std::uint32_t aqua = Game->BackBuffer().ColorMatch(clAqua);
    int rightmostRed = 0;
    for (int y = 214; y < 242; ++y)
        for (int x = 270; x < 640; ++x)
            if (Game->Pixel(x, y) == red) rightmostRed = std::max(rightmostRed, x);
    // The chosen disc's difficulty stands at the right end of its title row: the title stops
    // before it.
    EXPECT_GT(rightmostRed, 500);
    EXPECT_LE(rightmostRed, 632 - 70);
    // c.mid (two discs below, title row from y 356) has no title: its file name stands there.
    int titlePixels = 0;
    for (int y = 356; y < 382; ++y)
        for (int x = 270; x < 330; ++x)
            titlePixels += Game->Pixel(x, y) == aqua;
    EXPECT_GT(titlePixels, 10);
}

TEST_F(SongSelection, ABrokenSongsPreviewStaysSilentWithOneReport) {
    std::ofstream(Base + "/Songs/a.mid", std::ios::binary) << "broken";
    EnterSongsDiscs();
    const auto errorsBefore = Form().MidiDrive->ErrorCount();
    Game->Step(100);
    EXPECT_FALSE(Form().MidiDrive->IsPlaying());
    EXPECT_EQ(Form().MidiDrive->ErrorCount(), errorsBefore + 1);
}

} // namespace
} // namespace tamtara::testing
