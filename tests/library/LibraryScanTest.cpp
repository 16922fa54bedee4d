// The library scan over real trees: which folders and songs it keeps, in which order, the
// titles, the progress reports, and files that cannot be read.
#include "library/SongLibrary.h"

#include "TempTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace tamtara {
namespace {

using testing::TempTree;
using Report = std::pair<std::int32_t, std::string>;

std::vector<Report> ScanWithReports(TSongLibrary& library, const std::string& base) {
    std::vector<Report> reports;
    library.Scan(base,
                 [&](std::int32_t percent, const std::string& msg) { reports.emplace_back(percent, msg); });
    return reports;
}

TEST(LibraryScan, KeepsFoldersThatHoldSongsAndListsSongsInWalkOrder) {
    TempTree tree;
    tree.Song("_enter.mid", "jingle");          // jingles only: the base is no folder...
    tree.Song("Jingles/_select.mid", "jingle"); // ...nor is a folder of jingles
    tree.Song("rock/b.mid", "B side");
    tree.Song("rock/A.MID", "A side"); // capital extension, listed first
    tree.Song("rock/c.midi", "");      // no title
    tree.File("rock/notes.txt");
    tree.Dir("rock/folder.mid");              // a directory is never a song
    tree.Song("Album/Disc 1/one.mid", "One"); // "Album" holds songs only below it
    tree.Song("ballads/slow.mid", "Slow");
    tree.Song("Zebra/z.mid", "Z");
    tree.Song("Zebra/Live/encore.mid", "Encore"); // second level again: found after "Disc 1"
    const std::string r = tree.Path();

    TSongLibrary library;
    library.DiscFiles = {"stale"};
    library.DiscTitles = {"stale"};
    library.Scan(r);
    EXPECT_EQ(library.Folders, (std::vector<std::string>{r + "/Album/Disc 1", r + "/ballads", r + "/rock",
                                                         r + "/Zebra", r + "/Zebra/Live"}));
    EXPECT_EQ(library.SongFiles,
              (std::vector<std::string>{r + "/ballads/slow.mid", r + "/rock/A.MID", r + "/rock/b.mid",
                                        r + "/rock/c.midi", r + "/Zebra/z.mid", r + "/Album/Disc 1/one.mid",
                                        r + "/Zebra/Live/encore.mid"}));
    EXPECT_EQ(library.SongTitles,
              (std::vector<std::string>{"Slow", "A side", "B side", "", "Z", "One", "Encore"}));
    EXPECT_TRUE(library.DiscFiles.empty());
    EXPECT_TRUE(library.DiscTitles.empty());

    std::vector<std::string> discs, titles;
    CollectDiscs(r + "/rock", library.SongFiles, library.SongTitles, discs, titles);
    EXPECT_EQ(discs, (std::vector<std::string>{r + "/rock/A.MID", r + "/rock/b.mid", r + "/rock/c.midi"}));
    EXPECT_EQ(titles, (std::vector<std::string>{"A side", "B side", ""}));
}

TEST(LibraryScan, SongsInTheBaseMakeItAFolderAndOrderIgnoresLetterCase) {
    TempTree tree;
    tree.Song("base.mid", "Base");
    for (const char* song : {"b/1.mid", "A/1.mid", "a/1.mid", "C/1.mid"})
        tree.Song(song, "x");
    const std::string r = tree.Path();
    TSongLibrary library;
    library.Scan(r + "/");
    EXPECT_EQ(library.Folders, (std::vector<std::string>{r, r + "/A", r + "/a", r + "/b", r + "/C"}));
    EXPECT_EQ(library.SongFiles.front(), r + "/base.mid");
}

TEST(LibraryScan, ReportsEachStepWithItsTextAndPercent) {
    TempTree tree;
    for (const char* song : {"x/1.mid", "x/2.mid", "y/3.mid"})
        tree.Song(song, "t");
    tree.Dir("empty");
    TSongLibrary library;
    const std::vector<Report> reports = ScanWithReports(library, tree.Path());
    const std::vector<Report> expected = {
        {0, "フォルダ検索中..."},
        {0, "MIDIファイル検索中..."},
        {33, "MIDIファイル情報を調べています..."},
        {66, "MIDIファイル情報を調べています..."},
        {100, "MIDIファイル情報を調べています..."},
        // once per folder examined (base, empty, x, y), the dropped ones included
        {100, "フォルダ情報を整頓中..."},
        {100, "フォルダ情報を整頓中..."},
        {100, "フォルダ情報を整頓中..."},
        {100, "フォルダ情報を整頓中..."}};
    EXPECT_EQ(reports, expected);
}

TEST(LibraryScan, AnEmptyOrMissingGameFolderLeavesEveryListEmpty) {
    TempTree tree;
    for (const std::string& base : {tree.Path(), tree.Path("missing")}) {
        TSongLibrary library;
        const std::vector<Report> reports = ScanWithReports(library, base);
        EXPECT_TRUE(library.Folders.empty());
        EXPECT_TRUE(library.SongFiles.empty());
        EXPECT_TRUE(library.SongTitles.empty());
        EXPECT_EQ(reports.size(), base == tree.Path() ? 3u : 2u);
    }
}

TEST(LibraryScan, ASongThatCannotBeReadKeepsAnEmptyTitleAndTheScanGoesOn) {
    TempTree tree;
    tree.Song("s/a.mid", "A");
    std::filesystem::create_symlink(tree.Path("nowhere.mid"), tree.Path("s/broken.mid"));
    tree.Song("s/c.mid", "C");
    TSongLibrary library;
    ::testing::internal::CaptureStderr();
    library.Scan(tree.Path());
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(library.SongFiles.size(), 3u);
    EXPECT_EQ(library.SongTitles, (std::vector<std::string>{"A", "", "C"}));
    EXPECT_EQ(library.Folders, std::vector<std::string>{tree.Path("s")});
    EXPECT_NE(errors.find(tree.Path("s/broken.mid")), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

TEST(LibraryScan, NamesThatAreNotUtf8AreKeptAsBytes) {
    TempTree tree;
    const std::string folder = "\x83\x5E\x83\x80"; // Shift_JIS bytes
    const std::string song = "caf\xE9.mid";        // Latin-1
    const std::string title = "\x83\x68\x83\x89\x83\x80";
    tree.Song(folder + "/" + song, title);
    TSongLibrary library;
    library.Scan(tree.Path());
    EXPECT_EQ(library.Folders, std::vector<std::string>{tree.Path() + "/" + folder});
    EXPECT_EQ(library.SongFiles, std::vector<std::string>{tree.Path() + "/" + folder + "/" + song});
    EXPECT_EQ(library.SongTitles, std::vector<std::string>{title});
}

TEST(LibraryScan, MarksSongsThatCannotBePlayedOrHaveNoDrumNoteInALane) {
    using namespace testing;
    TempTree tree;
    tree.Song("s/drums.mid", "Drums"); // a kick on channel 10
    // A snare note-on of velocity 0, a channel-10 note of no lane and a kick on channel 1.
    tree.File("s/quiet.mid",
              Smf(96, {Cat({Ev(0, {0xFF, 0x03, 1, 'Q'}), Ev(0, {0x99, 38, 0}), Ev(0, {0x99, 39, 100}),
                            Ev(0, {0x90, 36, 100}), Ev(0, {0xFF, 0x2F, 0})})}));
    tree.File("s/zero.mid", Smf(0, {Cat({Ev(0, {0x99, 36, 100}), Ev(0, {0xFF, 0x2F, 0})})}));
    tree.File("s/text.mid", Bytes{'n', 'o', 't', ' ', 'M', 'I', 'D', 'I'});
    std::filesystem::create_symlink(tree.Path("nowhere.mid"), tree.Path("s/gone.mid"));
    TSongLibrary library;
    ::testing::internal::CaptureStderr();
    library.Scan(tree.Path());
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(library.SongFiles.size(), 5u);
    const std::vector<std::string> files = {"drums.mid", "gone.mid", "quiet.mid", "text.mid", "zero.mid"};
    std::vector<SongMark> marks;
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(library.SongFiles[i], tree.Path("s/" + files[i]));
        marks.push_back(library.SongChecks[i].Mark);
    }
    EXPECT_EQ(marks, (std::vector<SongMark>{SongMark::Playable, SongMark::Unplayable, SongMark::NoDrumNotes,
                                            SongMark::Unplayable, SongMark::Unplayable}));
    EXPECT_EQ(library.SongTitles, (std::vector<std::string>{"Drums", "", "Q", "", ""}));
    EXPECT_TRUE(library.SongChecks[0].Problem.empty());
    EXPECT_NE(library.SongChecks[1].Problem.find("gone.mid"), std::string::npos);
    EXPECT_EQ(library.SongChecks[2].Problem, NoDrumNotesText);
    EXPECT_EQ(library.SongChecks[3].Problem, NoHeaderText);
    EXPECT_EQ(library.SongChecks[4].Problem, NoDivisionText);

    // The disc lists carry the checks of their songs; a scan that reads only titles marks none.
    library.CollectDiscs(tree.Path("s"));
    EXPECT_EQ(library.DiscChecks.size(), 5u);
    EXPECT_EQ(library.DiscChecks[2].Mark, SongMark::NoDrumNotes);
    library.Scan(tree.Path(), {}, [](const std::string&) { return std::string("t"); });
    for (const SongCheck& check : library.SongChecks)
        EXPECT_EQ(check.Mark, SongMark::Playable);
}

} // namespace
} // namespace tamtara
