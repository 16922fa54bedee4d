// Whole plays through the headless game window: automatic play, a perfect player, a failing
// player, and what the play screen draws where.
#include "SongWriter.h"
#include "app/play/GamePlay.h"
#include "harness/GameHarness.h"
#include "platform/display/DirectDrawSurface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace tamtara::testing {

namespace {

// The player's first key per lane.
constexpr std::array<std::int32_t, 7> LaneKeys{65, 83, 68, 70, 71, 72, 74}; // A S D F G H J

// One note per beat from beat 2 on, walking across the lanes.
std::vector<SongNote> WalkingSong(int beats) {
    const std::uint8_t laneNotes[] = {42, 38, 36, 48, 45, 41, 49};
    std::vector<SongNote> notes;
    for (int beat = 2; beat < 2 + beats; ++beat) {
        notes.push_back({480 * beat, laneNotes[beat % 7]});
        notes.push_back({480 * beat, std::uint8_t(60 + beat % 12), 0});
    }
    return notes;
}

bool IsNoteOn(const RecordedMessage& m, std::uint8_t status) {
    return !m.IsLong && m.Status() == status && m.Data2() > 0;
}

} // namespace

class PlayGame : public ::testing::Test {
protected:
    void Start(const std::vector<SongNote>& notes, std::int32_t level = 3) {
        SongPath = (Folder.Path() / "Songs" / "play.mid").string();
        WriteSong(SongPath, notes);
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.Level = level;
        options.Settings.MissPenalty = MissPenaltyFor(level);
        options.Settings.KeyA = LaneKeys;
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
    }

    void EnterPlay() {
        Game->ClearMidiMessages();
        Game->EnterPlay(SongPath);
    }

    PlayState& State() { return Game->Form().Play->State; }
    ScreenSurfaces& Surfaces() { return Game->Form().Art.Surfaces; }
    TMidiDrive& Drive() { return *Game->Form().MidiDrive; }

    TestGameFolder Folder{"Play"};
    std::string SongPath;
    std::unique_ptr<GameHarness> Game;
};

TEST_F(PlayGame, AllAutomaticPlaysEveryDrumNoteWhenDueAndClears) {
    const std::vector<SongNote> notes = WalkingSong(14);
    Start(notes);
    State().AutoLane.fill(true);
    State().AutoPlayMode = true;
    EnterPlay();
    const std::uint32_t start = State().PlayStartTime;
    ASSERT_TRUE(Game->StepUntil(ssCleared, 400));

    std::vector<RecordedMessage> drums;
    for (const RecordedMessage& m : Game->MidiMessages())
        if (IsNoteOn(m, 0x99)) drums.push_back(m);
    std::vector<SongNote> expected;
    for (const SongNote& n : notes)
        if (n.Channel == 9) expected.push_back(n);
    ASSERT_EQ(drums.size(), expected.size());
    for (std::size_t i = 0; i < drums.size(); ++i) {
        EXPECT_EQ(drums[i].Data1(), expected[i].Note);
        const std::int64_t due = start + std::int64_t(expected[i].Tick) * 1000 / 960;
        EXPECT_NEAR(double(drums[i].Time), double(due), 6.0) << i;
    }
    EXPECT_EQ(State().PerfectCount + State().GreatCount + State().GoodCount + State().MissCount, 0);
    EXPECT_EQ(State().Score, 0);
}

TEST_F(PlayGame, PerfectPlayerGradesEveryNoteAndNeverMisses) {
    const std::vector<SongNote> notes = WalkingSong(14);
    Start(notes);
    State().AutoLane.fill(false);
    EnterPlay();
    std::vector<SongNote> pending;
    for (const SongNote& n : notes)
        if (n.Channel == 9) pending.push_back(n);
    const int total = int(pending.size());
    for (int frame = 0; frame < 400 && Game->State() == ssPlay; ++frame) {
        // The judge reads the song position one frame (33 ms, 31.68 ticks) from now.
        const std::int32_t next = Drive().CurrentTick() + 32;
        std::vector<int> lanes;
        std::erase_if(pending, [&](const SongNote& n) {
            if (std::abs(n.Tick - next) > 16) return false;
            lanes.push_back(LaneOfNote(n.Note));
            return true;
        });
        for (int lane : lanes)
            Game->HoldKey(LaneKeys[lane]);
        Game->Step();
        for (int lane : lanes)
            Game->ReleaseKey(LaneKeys[lane]);
    }
    EXPECT_EQ(Game->State(), ssCleared);
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(State().PerfectCount, total);
    EXPECT_EQ(State().MissCount, 0);
    EXPECT_EQ(State().Score, 100 * total);
    EXPECT_EQ(State().MaxCombo, total);
    EXPECT_EQ(State().Gauge, FullGauge);
}

TEST_F(PlayGame, NoInputAtLevelSevenFailsOnTheSecondMissInThatFrame) {
    std::vector<SongNote> notes;
    for (int beat = 2; beat < 12; ++beat)
        notes.push_back({480 * beat, 38});
    Start(notes, 7);
    State().AutoLane.fill(false);
    EnterPlay();
    int frames = 0;
    while (Game->State() == ssPlay && frames < 300) {
        ASSERT_LT(State().MissCount, 2);
        Game->Step();
        ++frames;
    }
    ASSERT_EQ(Game->State(), ssFailed);
    EXPECT_EQ(State().MissCount, 2);
    EXPECT_EQ(State().Gauge, -75);
    EXPECT_FALSE(Drive().Playing);
    std::map<int, bool> allNotesOff;
    for (const RecordedMessage& m : Game->MidiMessages())
        if (!m.IsLong && (m.Status() & 0xF0) == 0xB0 && m.Data1() == 123)
            allNotesOff[m.Status() & 0x0F] = true;
    EXPECT_EQ(allNotesOff.size(), 16u);
}

TEST_F(PlayGame, TwoMinutePlayFadesAfter120SecondsAndClears) {
    std::vector<SongNote> notes;
    for (int beat = 2; beat < 400; ++beat)
        notes.push_back({480 * beat, 36});
    Start(notes);
    State().AutoLane.fill(true);
    State().AutoPlayMode = true;
    State().TwoMinutes = true;
    EnterPlay();
    while (!Drive().IsFading() && Game->State() == ssPlay)
        Game->Step();
    const std::uint32_t elapsed = Game->Clock().Now() - State().PlayStartTime;
    EXPECT_GT(elapsed, 120000u);
    EXPECT_LE(elapsed, 120000u + 33u);
    ASSERT_TRUE(Game->StepUntil(ssCleared, 30 * 15));
    EXPECT_GE(Game->Clock().Now() - State().PlayStartTime, 130000u);
}

TEST_F(PlayGame, DemonstrationEndsOnTheOpeningScreenWhenReturnIsPressed) {
    Start(WalkingSong(60));
    State().AutoLane.fill(true);
    State().AutoPlayMode = true;
    State().DemoMode = true;
    EnterPlay();
    Game->Step(40);
    ASSERT_EQ(Game->State(), ssPlay);
    Game->TapKey(13);
    EXPECT_FALSE(Drive().Playing);
    EXPECT_TRUE(Game->StepUntil(ssOpening, 2));
}

class PlayScreenPixels : public PlayGame {
protected:
    void SetUp() override {
        std::vector<SongNote> notes;
        for (int beat = 6; beat < 40; ++beat)
            notes.push_back({480 * beat, 38});
        Start(notes);
        State().AutoLane.fill(false);
    }

    // The first pixel of the snare note's middle row that is not transparent.
    std::int32_t OpaqueColumn() {
        const TDirectDrawSurface& sheet = *Surfaces().NoteSurface;
        for (std::int32_t x = 0; x < 64; ++x)
            if (sheet.Pixel(x, 16 + 8) != sheet.TransparentColor()) return x;
        return -1;
    }

    // Where the top of the oldest pending snare note is drawn in the last frame.
    std::int32_t SnareTop() {
        const std::int32_t now = Drive().CurrentTick();
        const std::int32_t tick = State().Slot(dpSnare, State().QueueHead[dpSnare]).Main.Tick;
        return HitLineY - ((tick - now) * 80 * State().ScrollSpeed / 100) / 480 - 8;
    }

    bool SnareDrawnAt(std::int32_t top) {
        const std::int32_t x = OpaqueColumn();
        return Game->Pixel(LaneX[dpSnare] + x, top + 8) == Surfaces().NoteSurface->Pixel(x, 16 + 8);
    }
};

TEST_F(PlayScreenPixels, NotesScrollAtTheirDocumentedHeights) {
    EnterPlay();
    ASSERT_GE(OpaqueColumn(), 0);
    for (int frame = 0; frame < 90; ++frame) {
        Game->Step();
        const std::int32_t top = SnareTop();
        if (top > 100 && top < 370) {
            EXPECT_TRUE(SnareDrawnAt(top)) << "frame " << frame << " top " << top;
        }
    }
}

TEST_F(PlayScreenPixels, HiddenLowerNotesVanishBelowTheMiddle) {
    State().HideLowerNotes = true;
    EnterPlay();
    int hidden = 0;
    int shown = 0;
    for (int frame = 0; frame < 90; ++frame) {
        Game->Step();
        const std::int32_t top = SnareTop();
        if (top > 250 && top < 370) {
            EXPECT_FALSE(SnareDrawnAt(top)) << top;
            ++hidden;
        } else if (top > 60 && top <= 230) {
            EXPECT_TRUE(SnareDrawnAt(top)) << top;
            ++shown;
        }
    }
    EXPECT_GT(hidden, 0);
    EXPECT_GT(shown, 0);
}

TEST_F(PlayScreenPixels, HiddenUpperNotesAppearOnlyBelowTheMiddle) {
    State().HideUpperNotes = true;
    EnterPlay();
    int hidden = 0;
    int shown = 0;
    for (int frame = 0; frame < 90; ++frame) {
        Game->Step();
        const std::int32_t top = SnareTop();
        if (top > 250 && top < 370) {
            EXPECT_TRUE(SnareDrawnAt(top)) << top;
            ++shown;
        } else if (top > 60 && top <= 230) {
            EXPECT_FALSE(SnareDrawnAt(top)) << top;
            ++hidden;
        }
    }
    EXPECT_GT(hidden, 0);
    EXPECT_GT(shown, 0);
}

TEST_F(PlayScreenPixels, AutomaticLaneShowsADarkBandOnlyInNormalPlay) {
    State().AutoLane[dpKick] = true;
    EnterPlay();
    Game->Step(3);
    const std::int32_t x = LaneCentre(dpKick) - 11;
    const auto darker = [&](std::int32_t y) {
        const TColor shown = DeviceToColor(Game->Pixel(x, y));
        const TColor back = DeviceToColor(Surfaces().BackSurface->Pixel(x, y));
        return RedOf(shown) * 255 <= RedOf(back) * 170 + 800 &&
               GreenOf(shown) * 255 <= GreenOf(back) * 170 + 800 &&
               BlueOf(shown) * 255 <= BlueOf(back) * 170 + 800;
    };
    EXPECT_TRUE(darker(170));
    EXPECT_TRUE(darker(300));
    // Just outside the band the background shows as composed.
    EXPECT_EQ(Game->Pixel(x - 2, 300), Surfaces().BackSurface->Pixel(x - 2, 300));
}

TEST_F(PlayScreenPixels, FullGaugeIs336PixelsLong) {
    EnterPlay();
    Game->Step(2);
    ASSERT_EQ(State().Gauge, FullGauge);
    EXPECT_EQ(Game->Pixel(152 + 335, 470), Surfaces().GaugeSurface->Pixel(335, 10));
    EXPECT_EQ(Game->Pixel(152 + 336, 470), Surfaces().BackSurface->Pixel(152 + 336, 470));
}

TEST_F(PlayScreenPixels, ComboShowsItsLastDigitOnceTwoNotesAreStruck) {
    EnterPlay();
    int struck = 0;
    for (int frame = 0; frame < 200 && struck < 3; ++frame) {
        const std::int32_t next = Drive().CurrentTick() + 32;
        const std::int32_t due = State().QueueCount[dpSnare] > 0
                                     ? State().Slot(dpSnare, State().QueueHead[dpSnare]).Main.Tick
                                     : -1000;
        const bool press = std::abs(due - next) <= 16;
        if (press) Game->HoldKey(LaneKeys[dpSnare]);
        Game->Step();
        if (press) {
            Game->ReleaseKey(LaneKeys[dpSnare]);
            ++struck;
        }
    }
    ASSERT_EQ(State().ComboCount, 3);
    Game->Step(5); // the bounce settles before the next note
    ASSERT_EQ(State().ComboBounce, 0);
    const TDirectDrawSurface& digits = *Surfaces().ComboFont;
    std::int32_t probe = -1;
    for (std::int32_t y = 0; y < 48 && probe < 0; ++y)
        if (digits.Pixel(32 * 3 + 16, y) != digits.TransparentColor()) probe = y;
    ASSERT_GE(probe, 0);
    EXPECT_EQ(Game->Pixel(300 + 78 + 16, 30 + probe), digits.Pixel(32 * 3 + 16, probe));
}

} // namespace tamtara::testing
