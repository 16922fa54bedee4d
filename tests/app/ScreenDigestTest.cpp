// Every screen as a player walks through them, held against the pictures the game drew when the
// digests were last taken (ScreenDigests.txt beside this file). A change to any pixel of any of
// these frames fails here: work that must leave the game's look alone (a restructure, a new
// language beside Japanese) proves it with this walk.
//
//   TAMTARA_SCREEN_SHOTS=folder       saves each frame of the walk as folder/<name>.png
//   TAMTARA_UPDATE_SCREEN_DIGESTS=1   writes the digests of this run as the new reference
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tamtara::testing {
namespace {

constexpr int Enter = 13;
constexpr int RightKey = 39;

// FNV-1a over every pixel of the back buffer, row by row.
std::uint64_t FrameDigest(GameHarness& game) {
    std::uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            std::uint32_t pixel = game.Pixel(x, y);
            for (int b = 0; b < 4; ++b, pixel >>= 8) {
                hash ^= pixel & 0xFF;
                hash *= 1099511628211ull;
            }
        }
    return hash;
}

std::map<std::string, std::string> ReadDigests(const std::string& path) {
    std::map<std::string, std::string> digests;
    std::ifstream in(path);
    std::string name, digest;
    while (in >> name >> digest)
        digests[name] = digest;
    return digests;
}

class ScreenWalk {
public:
    explicit ScreenWalk(GameHarness& game) : Game(game) {
        if (const char* folder = std::getenv("TAMTARA_SCREEN_SHOTS")) ShotFolder = folder;
    }

    void Take(const std::string& name) {
        std::ostringstream digest;
        digest << std::hex << FrameDigest(Game);
        Frames.push_back({name, digest.str()});
        if (!ShotFolder.empty()) Game.SavePng((std::filesystem::path(ShotFolder) / (name + ".png")).string());
    }

    const std::vector<std::pair<std::string, std::string>>& Taken() const { return Frames; }

private:
    GameHarness& Game;
    std::string ShotFolder;
    std::vector<std::pair<std::string, std::string>> Frames;
};

TEST(ScreenDigests, EveryScreenOfAPlayersWalkDrawsAsBefore) {
    TestGameFolder folder("ScreenDigests");
    GameHarness game(folder.Path());
    ScreenWalk walk(game);
    // The game folder's own name changes from run to run; the songs' folder is named alike.
    game.Form().SongFolders = {(folder.Path() / "Songs").string()};
    game.Form().ScanLibrary(nullptr, nullptr);

    game.Step();
    walk.Take("opening-first-frame");
    game.Step(40);
    walk.Take("opening-logo");
    game.TapKey(Enter);
    ASSERT_TRUE(game.StepUntil(ssTitle, 12));
    game.Step(20);
    walk.Take("title");
    game.TapKey(Enter);
    ASSERT_TRUE(game.StepUntil(ssFolderSelect, 31));
    game.Step(10);
    walk.Take("folder-select");
    game.TapKey(Enter);
    ASSERT_TRUE(game.StepUntil(ssDiscSelect, 40));
    game.Step(10);
    walk.Take("disc-select");
    game.TapKey(Enter);
    ASSERT_TRUE(game.StepUntil(ssModeSelect, 40));
    game.Step(10);
    walk.Take("mode-select");
    for (int press = 0; press < 3; ++press) {
        game.TapKey(Enter);
        game.Step();
    }
    ASSERT_TRUE(game.StepUntil(ssPartSelect, 40));
    game.Step(10);
    walk.Take("part-select");
    game.TapKey(Enter);
    ASSERT_TRUE(game.StepUntil(ssPlay, 40));
    game.Step(15);
    walk.Take("play-early");
    game.Step(25);
    walk.Take("play-later");
    game.WindowKey(WindowKeys::F1);
    game.Step(2);
    walk.Take("play-paused");
    game.WindowKey(WindowKeys::F2);
    ASSERT_TRUE(game.StepUntil(ssCleared, 3));
    game.Step(30);
    walk.Take("stage-cleared");
    ASSERT_TRUE(game.StepUntil(ssResult, 200));
    game.Step(10);
    walk.Take("result");
    game.TapKey(RightKey);
    game.Step(2);
    walk.Take("result-timing-page");

    game.ChangeScreenInFrame(ssFailed);
    game.Step(30);
    walk.Take("stage-failed");
    game.ChangeScreenInFrame(ssPracticeSetup);
    game.Step(5);
    walk.Take("practice-setup");
    game.ChangeScreenInFrame(ssCalibration);
    game.Step(5);
    walk.Take("calibration");
    game.ChangeScreenInFrame(ssFolderSelect);
    game.Form().ShowNotice("曲を読めませんでした", "Songs/demo.mid：ファイルが見つかりません");
    game.Step(3);
    walk.Take("notice");

    const std::string reference = TAMTARA_SCREEN_DIGESTS;
    if (std::getenv("TAMTARA_UPDATE_SCREEN_DIGESTS")) {
        std::ofstream out(reference);
        for (const auto& [name, digest] : walk.Taken())
            out << name << ' ' << digest << '\n';
        ASSERT_TRUE(out.good()) << "cannot write " << reference;
        return;
    }
    const std::map<std::string, std::string> expected = ReadDigests(reference);
    ASSERT_FALSE(expected.empty()) << "no digests in " << reference;
    EXPECT_EQ(expected.size(), walk.Taken().size());
    for (const auto& [name, digest] : walk.Taken()) {
        const auto found = expected.find(name);
        ASSERT_NE(found, expected.end()) << name << " has no reference digest";
        EXPECT_EQ(digest, found->second)
            << name << " draws differently (TAMTARA_SCREEN_SHOTS saves the frames)";
    }
}

} // namespace
} // namespace tamtara::testing
