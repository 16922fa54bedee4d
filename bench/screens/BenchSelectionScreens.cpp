// Frame times and pictures of the selection screens: 1,000 folders on the wheel, a folder of
// 1,000 songs with long Japanese (Shift_JIS) titles, keys held as a player would.
#include "ScreenTiming.h"

#include "app/play/GamePlay.h"

#include <string>

namespace tamtara::bench {

namespace {

constexpr int KeyReturn = 13;
constexpr int KeyRight = 39;
constexpr int KeyDown = 40;
constexpr int KeyHighTom = 74; // "J"
constexpr int Frames = 600;

// A long title in Shift_JIS bytes: "ドラムの練習曲 第n番 〜 長い長いタイトル".
std::string LongShiftJisTitle(int n) {
    return "\x83\x68\x83\x89\x83\x80\x82\xCC\x97\xFB\x8F\x4B\x8B\xC8 \x91\xE6" + std::to_string(n) +
           "\x94\xD4 \x81\x60 \x92\xB7\x82\xA2\x92\xB7\x82\xA2\x83\x5E\x83\x43\x83\x67\x83\x8B";
}

testing::HarnessOptions SelectionGame() {
    testing::HarnessOptions options;
    options.Settings.FullScreen = false;
    options.Settings.Prev = false; // the songs are names only: nothing to preview
    options.Settings.KeyA = {65, 70, 32, 74, 75, 76, 59};
    return options;
}

void FillLibrary(TMainForm& form) {
    const std::string base = std::filesystem::current_path().string();
    for (int i = 0; i < 1000; ++i)
        form.Library.Folders.push_back(base + "/Songs/アーティスト" + std::to_string(i) + "/アルバム");
    const std::string& bigFolder = form.Library.Folders[500];
    for (int i = 0; i < 1000; ++i) {
        form.Library.SongFiles.push_back(bigFolder + "/練習曲_" + std::to_string(i) + "_long_file_name.mid");
        form.Library.SongTitles.push_back(LongShiftJisTitle(i));
    }
}

// Down held for two seconds, then released for a moment, again and again.
void HoldDownInBursts(testing::GameHarness& game, std::size_t frame) {
    if (frame % 80 == 0) game.HoldKey(KeyDown);
    if (frame % 80 == 60) game.ReleaseKey(KeyDown);
}

} // namespace

void BenchSelectionScreens(const ScreenBenchOptions& options) {
    testing::GameHarness game(options.GameFolder, SelectionGame());
    TMainForm& form = game.Form();
    FillLibrary(form);
    game.Step();

    game.ChangeScreenInFrame(ssFolderSelect);
    ScreenTimes folder("folder");
    while (folder.Frames() < Frames) {
        HoldDownInBursts(game, folder.Frames());
        folder.Step(game);
        if (folder.Frames() == 71) Shot(game, options, "folder_turning");
    }
    folder.Print();
    game.ReleaseKey(KeyDown);

    form.Selection.FolderIndex = 500;
    game.ChangeScreenInFrame(ssFolderSelect);
    game.TapKey(KeyReturn);
    game.StepUntil(ssDiscSelect, 40);
    ScreenTimes disc("disc");
    while (disc.Frames() < Frames) {
        HoldDownInBursts(game, disc.Frames());
        disc.Step(game);
        if (disc.Frames() == 70) Shot(game, options, "disc");
    }
    disc.Print();
    game.ReleaseKey(KeyDown);

    game.ChangeScreenInFrame(ssModeSelect);
    ScreenTimes mode("mode");
    while (mode.Frames() < Frames / 2) {
        // Right now and then; the row blinks, so the picture is of a frame that shows it.
        if (mode.Frames() % 10 == 0) game.HoldKey(KeyRight);
        if (mode.Frames() % 10 == 1) game.ReleaseKey(KeyRight);
        const bool lit = form.Screen.FrameCount % 3 != 0;
        mode.Step(game);
        if (mode.Frames() > 100 && mode.Frames() < 104 && lit) Shot(game, options, "mode");
    }
    mode.Print();

    game.ChangeScreenInFrame(ssPartSelect);
    ScreenTimes part("part");
    while (part.Frames() < Frames / 2) {
        // The high tom's key toggles the three toms.
        if (part.Frames() % 20 == 0) game.HoldKey(KeyHighTom);
        if (part.Frames() % 20 == 1) game.ReleaseKey(KeyHighTom);
        const bool lit = (form.Screen.FrameCount / 2) % 5 != 0;
        part.Step(game);
        if (part.Frames() > 105 && part.Frames() < 110 && lit) Shot(game, options, "part");
    }
    part.Print();
}

} // namespace tamtara::bench
