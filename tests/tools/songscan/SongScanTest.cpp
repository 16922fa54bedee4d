// songscan's output lines and exit codes.
#include "ProgramRun.h"
#include "library/TempTree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using tamtara::testing::ProgramRun;
using tamtara::testing::RunProgram;

ProgramRun RunSongScan(const std::string& arguments) {
    return RunProgram(SONGSCAN_PROGRAM, arguments);
}

TEST(SongScan, PrintsFoldersThenSongsWithTitlesInHexAndProgressFirst) {
    tamtara::testing::TempTree tree;
    tree.Song("top.mid", "Hi");
    tree.Song("B/x.mid", "");
    tree.Song("a/_jingle.mid", "J");
    tree.Song("a/y.MIDI", "\x83\x41");
    const ProgramRun plain = RunSongScan("'" + tree.Path() + "'");
    EXPECT_EQ(plain.ExitCode, 0);
    EXPECT_EQ(plain.Output, "folder .\nfolder a\nfolder B\n"
                            "song top.mid 4869\nsong a/y.MIDI 8341\nsong B/x.mid -\n");

    const ProgramRun withProgress = RunSongScan("--progress '" + tree.Path() + "/'");
    EXPECT_EQ(withProgress.ExitCode, 0);
    EXPECT_EQ(withProgress.Output.rfind("progress 0 フォルダ検索中...\nprogress 0 MIDIファイル検索中...\n"
                                        "progress 33 MIDIファイル情報を調べています...\n",
                                        0),
              0u)
        << withProgress.Output;
    EXPECT_NE(withProgress.Output.find("progress 100 フォルダ情報を整頓中...\nfolder .\n"),
              std::string::npos);
}

TEST(SongScan, AMissingDirectoryIsAOneLineErrorWithExitCodeOne) {
    tamtara::testing::TempTree tree;
    const ProgramRun run = RunSongScan("'" + tree.Path("missing") + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Output, "songscan: no such directory: " + tree.Path("missing") + "\n");
}

} // namespace
