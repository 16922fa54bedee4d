// The game window's library scan: the game folder's songs into the window's lists, the
// callbacks with the window as sender, the program's thinned progress lines, the notice of
// paths too long, and a song that turns into a named pipe after the scan.
#include "app/RecordKeeper.h"
#include "app/SelectionLabels.h"
#include "base/PipeRelease.h"
#include "library/TempTree.h"
#include "midi/MidiDrive.h"
#include "songgen/SmfWriter.h"
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
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

// Folders and songs whose paths are longer than the system allows are left out, and the player
// is told once, by the end of the first path and the count of the others.
TEST(ScanLibrary, PathsTooLongAreNamedInOneNotice) {
    TestGameFolder folder("ScanLibraryLongPaths");
    TempTree tree;
    tree.Song("songs/ok.mid", "OK");
    const std::string deep = tree.DeepFolder("songs/deep", PATH_MAX - 30);
    tree.DeepFile(deep + "/" + std::string(40, 's') + ".mid", TempTree::SongBytes("Long"));
    tree.DeepFile(deep + "/" + std::string(30, 'h') + "/hidden.mid", TempTree::SongBytes("Hidden"));
    GameHarness game(folder.Path());
    TMainForm& form = game.Form();
    form.SongFolders = {tree.Path("songs")};
    form.ScanLibrary(nullptr, nullptr);
    EXPECT_EQ(form.Library.SongFiles, std::vector<std::string>{tree.Path("songs/ok.mid")});
    ASSERT_NE(form.Notices.Current(), nullptr);
    EXPECT_EQ(form.Notices.Current()->Title, TooLongPathText);
    EXPECT_EQ(form.Notices.Current()->Detail, "…/" + std::string(30, 'h') + "（ほかに 1 件）");
    EXPECT_EQ(form.Notices.Waiting(), 0u);
}

// A song swapped for a named pipe after the scan: its difficulty read, its records look-up, its
// preview and its play each refuse it at once; none waits for a writer (nor holds up the end).
TEST(ScanLibrary, ASongThatBecomesAPipeAfterTheScanIsRefusedWithoutWaiting) {
    TestGameFolderOptions options;
    options.Songs = {"Songs/a.mid", "Songs/b.mid"};
    TestGameFolder folder("ScanLibraryPipe", options);
    const std::string song = (folder.Path() / "Songs/a.mid").string();
    const PipeRelease release(song);
    HarnessOptions harness;
    harness.Settings.FullScreen = false;
    harness.Settings.Prev = true;
    GameHarness game(folder.Path(), harness);
    TMainForm& form = game.Form();
    form.ScanLibrary(nullptr, nullptr);
    ASSERT_EQ(form.Library.SongFiles.front(), song);
    std::filesystem::remove(song);
    ASSERT_EQ(::mkfifo(song.c_str(), 0600), 0);

    EXPECT_FALSE(form.Library.Difficulty(song).has_value());
    form.Library.FinishDifficultyRead();
    EXPECT_EQ(form.Library.Difficulty(song), 0.0);

    // The disc screen of the one folder: the highlighted song is looked up and then previewed.
    form.Selection.FolderIndex = 0;
    game.ChangeScreenInFrame(ssFolderSelect);
    game.TapKey(13);
    ASSERT_TRUE(game.StepUntil(ssDiscSelect, 31));
    game.Step(31);
    EXPECT_NE(form.MidiDrive->LastError().find("named pipe"), std::string::npos)
        << form.MidiDrive->LastError();

    game.EnterPlay(song);
    game.Step();
    ASSERT_NE(form.Notices.Current(), nullptr);
    EXPECT_EQ(form.Notices.Current()->Title, UnplayableSongText);
    EXPECT_NE(form.Notices.Current()->Detail.find("named pipe"), std::string::npos);
    EXPECT_EQ(game.State(), ssDiscSelect);
    if (form.Records) form.Records->WaitIdle();
    EXPECT_FALSE(release.Released()) << "an open of the song waited on the pipe";
}

} // namespace
} // namespace tamtara::testing
