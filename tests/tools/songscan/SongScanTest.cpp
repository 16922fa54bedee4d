// songscan's output lines and exit codes.
#include "library/TempTree.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct ProgramRun {
    std::string Output;
    int ExitCode = -1;
};

ProgramRun RunSongScan(const std::string& arguments) {
    ProgramRun run;
    const std::string command = std::string(SONGSCAN_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Output.append(buffer, count);
    run.ExitCode = WEXITSTATUS(pclose(pipe));
    return run;
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
                                        "progress 33 MIDIファイル情報を調べています...\n", 0), 0u)
        << withProgress.Output;
    EXPECT_NE(withProgress.Output.find("progress 100 フォルダ情報を整頓中...\nfolder .\n"), std::string::npos);
}

TEST(SongScan, AMissingDirectoryIsAOneLineErrorWithExitCodeOne) {
    tamtara::testing::TempTree tree;
    const ProgramRun run = RunSongScan("'" + tree.Path("missing") + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Output, "songscan: no such directory: " + tree.Path("missing") + "\n");
}

} // namespace
