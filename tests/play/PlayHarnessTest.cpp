// Whole plays through the headless game window: automatic play, a perfect player, a failing
// player, and what the play screen draws where.
#include "SongWriter.h"
#include "app/play/GamePlay.h"
#include "app/play/PreRoll.h"
#include "harness/GameHarness.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/Presenter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

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
    void Start(const std::vector<SongNote>& notes, std::int32_t level = 3, std::ostream* trace = nullptr) {
        SongPath = (Folder.Path() / "Songs" / "play.mid").string();
        WriteSong(SongPath, notes);
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.Level = level;
        options.Settings.MissPenalty = MissPenaltyFor(level);
        options.Settings.KeyA = LaneKeys;
        options.ScreenTrace = trace;
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

    // Saves the back buffer when TAMTARA_SHOTS names a folder, to look at.
    void Shot(const std::string& name) {
        if (const char* dir = std::getenv("TAMTARA_SHOTS"))
            Game->SavePng(std::string(dir) + "/" + name + ".png");
    }

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
            lanes.push_back(LaneMap::Standard().LaneOf(n.Note));
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
    EXPECT_FALSE(Drive().IsPlaying());
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
    EXPECT_FALSE(Drive().IsPlaying());
    EXPECT_TRUE(Game->StepUntil(ssOpening, 2));
}

// Drum notes at tick 0 (a doubled kick and a snare): at every scroll speed the song starts early
// enough for them to lie above the lanes in the first frame, no earlier than that needs, and
// they are due when the song's first tick plays, which the trace reports at that moment.
TEST_F(PlayGame, PreRollBringsTickZeroNotesInFromAboveTheLanesAtEverySpeed) {
    std::ostringstream trace;
    Start({{0, 36}, {0, 35, 9, 90}, {0, 38}, {960, 38}}, 3, &trace);
    for (std::int32_t speed : {75, 100, 150, 200}) {
        State().AutoLane.fill(false);
        State().AutoLane[dpSnare] = true;
        State().ScrollSpeed = speed;
        trace.str("");
        EnterPlay();
        const std::uint32_t entered = Game->Clock().Now();
        // One frame of 33 ms at 120 BPM is 31.68 ticks.
        const std::int32_t preRoll = ScrollInTicks(speed, 480) + 32;
        EXPECT_EQ(Drive().CurrentTick(), -preRoll) << speed;
        EXPECT_EQ(State().PlayStartTime, entered + std::uint32_t(std::lround(preRoll / 0.96))) << speed;
        Game->Step();
        if (speed == 100) Shot("preroll-first-frame");
        const std::int32_t top = HitLineY - ((0 - Drive().CurrentTick()) * 80 * speed / 100) / 480 - 8;
        EXPECT_LE(top + NoteHeight, 0) << speed;
        EXPECT_GT(top + NoteHeight, -12) << speed; // within one frame's scroll of the edge
        EXPECT_EQ(trace.str().find("song start"), std::string::npos);
        while (Drive().CurrentTick() < 0)
            Game->Step();
        EXPECT_NE(trace.str().find("song start " + SongPath + "\n"), std::string::npos) << trace.str();
        // The automatic snare sounded when the first tick played.
        std::optional<std::uint32_t> snare;
        for (const RecordedMessage& m : Game->MidiMessages())
            if (IsNoteOn(m, 0x99) && m.Data1() == 38 && !snare) snare = m.Time;
        ASSERT_TRUE(snare) << speed;
        EXPECT_NEAR(double(*snare), double(State().PlayStartTime), 2.0) << speed;
        Game->ChangeScreenInFrame(ssTitle);
    }
}

// The second doubled kick has a flam after it: only when the doubled notes are one note is the
// flam that note's partner, sounded by the same strike, rather than a note of its own.
TEST_F(PlayGame, DoubledKickIsOneStrikeSoundingBothAndOneGrade) {
    Start({{960, 36}, {960, 35, 9, 90}, {1920, 36}, {1921, 35, 9, 90}, {1950, 36, 9, 70}});
    State().AutoLane.fill(false);
    EnterPlay();
    int strikes = 0;
    for (int frame = 0; frame < 300 && Game->State() == ssPlay; ++frame) {
        const std::int32_t next = Drive().CurrentTick() + 32;
        const bool press = std::abs(next - 960) <= 16 || std::abs(next - 1920) <= 16;
        if (press) {
            Game->HoldKey(LaneKeys[dpKick]);
            ++strikes;
        }
        Game->Step();
        if (press) Game->ReleaseKey(LaneKeys[dpKick]);
    }
    EXPECT_EQ(strikes, 2);
    EXPECT_EQ(State().PerfectCount, 2);
    EXPECT_EQ(State().MissCount, 0);
    EXPECT_EQ(State().Score, 200);
    std::vector<std::uint8_t> kicks;
    for (const RecordedMessage& m : Game->MidiMessages())
        if (IsNoteOn(m, 0x99)) kicks.push_back(m.Data1());
    EXPECT_EQ(kicks, (std::vector<std::uint8_t>{36, 35, 36, 35, 36}));
}

// The pause key freezes the song and its notes, takes no strikes, and dims the screen; the
// same key resumes after a bar of clicks, from the very position.
TEST_F(PlayGame, PauseFreezesPlayTakesNoStrikesAndResumesWhereItStopped) {
    std::vector<SongNote> notes;
    for (int beat = 8; beat < 40; ++beat)
        notes.push_back({480 * beat, 38});
    Start(notes);
    State().AutoLane.fill(false);
    EnterPlay();
    Game->Step(20);
    const auto brightness = [&] {
        int sum = 0;
        for (std::int32_t y = 40; y < 120; ++y) {
            const TColor c = DeviceToColor(Game->Pixel(LaneCentre(dpSnare), y));
            sum += RedOf(c) + GreenOf(c) + BlueOf(c);
        }
        return sum;
    };
    const int lit = brightness();
    Game->WindowKey(WindowKeys::F1);
    Game->Step();
    ASSERT_TRUE(Drive().IsPaused());
    const std::int32_t tick = Drive().CurrentTick();
    const std::int32_t songMs = Drive().SongMilliseconds(Game->Clock().Now());
    Game->ClearMidiMessages();
    Game->TapKey(LaneKeys[dpSnare]);
    Game->KeyDownAt(10, LaneKeys[dpSnare]);
    Game->KeyUpAt(20, LaneKeys[dpSnare]);
    Game->Step(60);
    Shot("paused");
    EXPECT_EQ(Drive().CurrentTick(), tick);
    EXPECT_EQ(Drive().SongMilliseconds(Game->Clock().Now()), songMs);
    for (const RecordedMessage& m : Game->MidiMessages())
        EXPECT_FALSE(IsNoteOn(m, 0x99)) << int(m.Data1());
    EXPECT_EQ(State().PadTimer[dpSnare], 0);
    EXPECT_EQ(State().MissCount, 0);
    // Dimmed: the same background pixel is darker.
    ASSERT_GT(lit, 0);
    EXPECT_LT(brightness() * 2, lit);

    Game->WindowKey(WindowKeys::F1);
    const std::uint32_t resumed = Game->Clock().Now();
    Game->Step();
    EXPECT_TRUE(Drive().IsCountingIn());
    // 4/4 at 120 BPM: two seconds of count-in.
    while (Game->Clock().Now() + 40 < resumed + 2000) {
        Game->Step();
        EXPECT_EQ(Drive().CurrentTick(), tick);
    }
    Game->Step(2);
    EXPECT_FALSE(Drive().IsPaused());
    EXPECT_GT(Drive().CurrentTick(), tick);
    int clicks = 0;
    for (const RecordedMessage& m : Game->MidiMessages())
        clicks += IsNoteOn(m, 0x99) &&
                  (m.Data1() == TMidiDrive::CountInBeatNote || m.Data1() == TMidiDrive::CountInDownbeatNote);
    EXPECT_EQ(clicks, 4);
    // Escape while paused leaves play as it always has.
    Game->WindowKey(WindowKeys::F1);
    Game->Step();
    Game->WindowKey(WindowKeys::Escape);
    Game->Step();
    EXPECT_EQ(Game->State(), ssOpening);
    EXPECT_FALSE(Drive().IsPaused());
}

TEST_F(PlayGame, DemonstrationCannotBePaused) {
    Start(WalkingSong(30));
    State().AutoLane.fill(true);
    State().AutoPlayMode = true;
    State().DemoMode = true;
    EnterPlay();
    Game->Step(5);
    Game->WindowKey(WindowKeys::F1);
    Game->Step();
    EXPECT_FALSE(Drive().IsPaused());
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
