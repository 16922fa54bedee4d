// The game window's library scan: the game folder's songs into the window's lists, the
// callbacks with the window as sender, and the program's thinned progress lines.
#include "songgen/SmfWriter.h"
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tamtara::testing {
namespace {

TEST(ScanLibrary, FillsTheWindowsListsFromTheGameFolderAndCallsBack) {
    TestGameFolderOptions options;
    options.Songs = {"Songs/demo.mid", "More/b.mid", "More/a.MID", "_hidden.mid"};
    TestGameFolder folder("ScanLibrary", options);
    TSmfTrack named;
    named.Meta(0, MetaType::TrackName, "Bee Song");
    named.Note(0, 9, 38, 100, 480);
    WriteBinaryFile((folder.Path() / "More/b.mid").string(), EncodeSmf({named}, 480, 480));
    GameHarness game(folder.Path());
    TMainForm& form = game.Form();
    form.Library.DiscFiles = {"stale"};
    int completions = 0;
    int reports = 0;
    int lastPercent = -1;
    form.ScanLibrary(
        [&](TMainForm& sender) {
            EXPECT_EQ(&sender, &form);
            ++completions;
        },
        [&](TMainForm& sender, std::int32_t percent, const std::string&) {
            EXPECT_EQ(&sender, &form);
            ++reports;
            lastPercent = percent;
        });
    const std::string base = std::filesystem::current_path().string();
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(reports, 2 + 3 + 3); // two searches, three songs, three folders examined
    EXPECT_EQ(lastPercent, 100);
    EXPECT_EQ(form.Library.Folders, (std::vector<std::string>{base + "/More", base + "/Songs"}));
    EXPECT_EQ(form.Library.SongFiles, (std::vector<std::string>{base + "/More/a.MID", base + "/More/b.mid",
                                                                base + "/Songs/demo.mid"}));
    EXPECT_EQ(form.Library.SongTitles, (std::vector<std::string>{"", "Bee Song", ""}));
    EXPECT_TRUE(form.Library.DiscFiles.empty());
    // Without callbacks the scan runs all the same.
    form.ScanLibrary(nullptr, nullptr);
    EXPECT_EQ(form.Library.SongFiles.size(), 3u);
}

} // namespace
} // namespace tamtara::testing
