// Frame times and pictures of the opening, title, calibration, stage-end and result screens, the
// result screen's timing page and the disc screen's records badge.
#include "ScreenTiming.h"

#include "app/PlayCapture.h"
#include "app/play/GamePlay.h"
#include "records/RecordStore.h"

#include <filesystem>

#include <set>
#include <string>

namespace tamtara::bench {

namespace {

constexpr int MinimumFrames = 300;

testing::HarnessOptions WindowedGame() {
    testing::HarnessOptions options;
    options.Settings.FullScreen = false;
    options.Settings.Level = 3;
    return options;
}

// The whole opening, again and again; pictures of the spin, the hold and the stretch.
void Opening(const ScreenBenchOptions& options) {
    testing::GameHarness game(options.GameFolder, WindowedGame());
    ScreenTimes times("opening");
    const std::set<int> shots{4, 20, 50, 84, 96};
    while (times.Frames() < MinimumFrames) {
        if (game.State() != ssOpening) game.ChangeScreenInFrame(ssOpening);
        const bool first = times.Frames() < 122;
        const int frame = game.Form().Screen.ScreenFrame;
        times.Step(game);
        if (first && game.Form().Screen.FrameCount > 1 && shots.count(frame))
            Shot(game, options, "opening_" + std::to_string(frame));
    }
    times.Print();
}

void Title(const ScreenBenchOptions& options) {
    testing::GameHarness game(options.GameFolder, WindowedGame());
    game.Step();
    game.ChangeScreenInFrame(ssTitle);
    ScreenTimes times("title");
    while (times.Frames() < MinimumFrames) {
        times.Step(game);
        if (times.Frames() == 20) Shot(game, options, "title");
    }
    times.Print();
}

// The stage-end animation, entered again until enough frames were drawn.
void StageEnd(const ScreenBenchOptions& options, ScreenState state, const std::string& name) {
    testing::GameHarness game(options.GameFolder, WindowedGame());
    game.Step();
    // After a play of the player's own, which the failed screen offers to repeat.
    game.Form().Selection.SongFile = "Songs/demo.mid";
    ScreenTimes times(name);
    const std::set<int> shots{3, 8, 14, 40};
    while (times.Frames() < MinimumFrames) {
        if (game.State() != state) game.ChangeScreenInFrame(state);
        const bool first = times.Frames() < 65;
        const int frame = game.Form().Screen.ScreenFrame;
        times.Step(game);
        if (first && shots.count(frame)) Shot(game, options, name + "_" + std::to_string(frame));
    }
    times.Print();
}

void Result(const ScreenBenchOptions& options) {
    testing::GameHarness game(options.GameFolder, WindowedGame());
    game.Step();
    game.Form().Selection.SongFile = "Songs/demo.mid";
    PlayState& play = game.Form().Play->State;
    ScreenTimes times("result");
    // Alternating plays, so the letter changes as it does between real plays.
    const struct {
        const char* Name;
        std::int32_t Perfect, Great, Good, Miss, MaxCombo;
    } plays[] = {{"result_s", 812, 96, 31, 12, 377}, {"result_e", 102, 233, 181, 310, 24}};
    for (int round = 0; times.Frames() < MinimumFrames; ++round) {
        const auto& p = plays[round % 2];
        play.PerfectCount = p.Perfect;
        play.GreatCount = p.Great;
        play.GoodCount = p.Good;
        play.MissCount = p.Miss;
        play.MaxCombo = p.MaxCombo;
        game.ChangeScreenInFrame(ssResult);
        for (int frame = 0; frame < 100; ++frame)
            times.Step(game);
        if (round < 2) Shot(game, options, p.Name);
    }
    times.Print();
}

// The calibration with strikes some 120 ms late, a few of them astray: counting, at its goal,
// and the confirmation after Enter.
void Calibration(const ScreenBenchOptions& options) {
    testing::HarnessOptions settings = WindowedGame();
    settings.SettingsFile = (options.GameFolder / "tamtara.ini").string();
    testing::GameHarness game(options.GameFolder, settings);
    game.Step();
    game.ChangeScreenInFrame(ssTitle);
    game.WindowKey(WindowKeys::F3);
    game.Step();
    CalibrationRun& run = game.Form().Calibrating;
    ScreenTimes times("calibration");
    for (int strike = 0; times.Frames() < MinimumFrames; ++strike) {
        if (strike < 24) run.AddStrike(strike % 7 == 3 ? -150.0 + strike : 120.0 + (strike * 37) % 29 - 14);
        times.Step(game);
        if (strike == 9) Shot(game, options, "calibration_counting");
        if (strike == 30) Shot(game, options, "calibration_ok");
        if (strike == 40) game.TapKey(13);
        if (strike == 44) Shot(game, options, "calibration_saved");
        if (game.State() != ssCalibration) {
            game.WindowKey(WindowKeys::F3);
            strike = -1;
        }
    }
    times.Print();
}

// A play of 240 strikes spread around +8 ms, lanes in turn, scored as counts give it.
PlayRecord SpreadPlay(std::int32_t seed, std::int32_t perfect, std::int32_t great, std::int32_t miss) {
    PlayRecord play;
    play.PlayedAt = 1765300000 + seed;
    play.Perfect = perfect;
    play.Great = great;
    play.Miss = miss;
    play.Score = 100 * perfect + 50 * great;
    play.MaxCombo = perfect / 2;
    play.Rank = RankLetterOf(perfect, great, 0, miss);
    play.Cleared = true;
    for (std::int32_t i = 0; i < 240; ++i) {
        const auto error =
            static_cast<std::int16_t>(8 + (i * 37 + seed) % 41 - 20 + (i * 13) % 23 - 11 + (i % 7) * 2);
        play.Strikes.push_back(
            {static_cast<std::uint8_t>(i % 7), error, static_cast<std::uint8_t>(i % 5 == 0 ? 2 : 3)});
    }
    return play;
}

// The records: two plays of a song written by the records' thread, the timing page of the second
// against the first, and the disc screen with the song's badge.
void Records(const ScreenBenchOptions& options) {
    testing::HarnessOptions settings = WindowedGame();
    settings.SettingsFile = (options.GameFolder / "tamtara.ini").string();
    std::filesystem::remove(options.GameFolder / RecordsFileName);
    testing::GameHarness game(options.GameFolder, settings);
    game.Step();
    TMainForm& form = game.Form();
    const std::string song = "Songs/demo.mid";
    const PlayRecord first = SpreadPlay(1, 150, 60, 30);
    const PlayRecord second = SpreadPlay(2, 190, 40, 10);
    SongInfo played;
    played.Key = "bench-demo";
    played.Title = "デモ曲";
    form.Records->Record(song, played, first);
    form.Records->Record(song, played, second);
    form.Records->WaitIdle();

    form.LastPlay = TimingPageData{ComputeTimingStats(second.Strikes), 12, second, BestLookup::Found, first};
    form.Selection.SongFile = song;
    game.ChangeScreenInFrame(ssResult);
    game.Step(3);
    game.TapKey(39);
    ScreenTimes timing("result_timing");
    while (timing.Frames() < MinimumFrames)
        timing.Step(game);
    Shot(game, options, "result_timing");
    timing.Print();

    form.Library.DiscFiles = {song, "Songs/none.mid"};
    form.Library.DiscTitles = {"デモ曲", "まだ演奏していない曲"};
    game.ChangeScreenInFrame(ssDiscSelect);
    game.Step(2);
    form.Records->WaitIdle();
    ScreenTimes disc("disc_badge");
    while (disc.Frames() < MinimumFrames)
        disc.Step(game);
    Shot(game, options, "disc_badge");
    disc.Print();
}

} // namespace

void BenchTitleResultScreens(const ScreenBenchOptions& options) {
    Opening(options);
    Title(options);
    Calibration(options);
    StageEnd(options, ssCleared, "cleared");
    StageEnd(options, ssFailed, "failed");
    Result(options);
    Records(options);
}

} // namespace tamtara::bench
