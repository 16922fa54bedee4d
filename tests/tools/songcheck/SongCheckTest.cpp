// songcheck's verdicts, title decoding, timing, lane counts and picture states, and exit codes.
#include "HostileFiles.h"
#include "ProgramRun.h"
#include "library/TempTree.h"
#include "midi/DrumPartKey.h"
#include "midi/SmfReader.h"
#include "midi/SongModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace tamtara::testing {
namespace {

ProgramRun RunSongCheck(const std::string& arguments) {
    return RunProgram(SONGCHECK_PROGRAM, arguments);
}

std::string LineOf(const std::string& output, const std::string& path) {
    const auto at = output.find(path + "\t");
    if (at == std::string::npos) return {};
    return output.substr(at, output.find('\n', at) - at);
}

// 480 ticks at 120 and 480 at 60 beats per minute: 1.5 s. Two kicks, a hi-hat, a crash, a
// note-off written as a silent note-on, a ride only the extended map gives a lane, and a kick on
// channel 1 that the game leaves alone.
Bytes DrumSong(const std::string& title) {
    Bytes title_bytes(title.begin(), title.end());
    return Smf(480, {Cat({Tempo(0, 500000), Meta(0, 0x03, title_bytes), Tempo(480, 1000000)}),
                     Cat({Ev(0, {0x99, 36, 100}), Ev(0, {0x99, 42, 90}), Ev(240, {0x99, 36, 0}),
                          Ev(0, {0x90, 36, 100}), Ev(240, {0x99, 35, 80}), Ev(0, {0x99, 49, 70}),
                          Ev(0, {0x99, 51, 60}), Ev(480, {0x89, 49, 0})})});
}

// The line printed after the song's line.
std::string LineAfter(const std::string& output, const std::string& path) {
    const auto at = output.find(path + "\t");
    if (at == std::string::npos) return {};
    const auto next = output.find('\n', at);
    return next == std::string::npos ? std::string()
                                     : output.substr(next + 1, output.find('\n', next + 1) - next - 1);
}

TEST(SongCheck, ReportsEverySongAndFailsWhenOneCannotBePlayed) {
    TempTree tree;
    tree.File("a/good.mid", DrumSong("\x83\x65\x83\x58\x83\x67\x1B[2J")); // "テスト" in Shift_JIS, then ESC
    tree.File("a/good.jpg", hostile::JpegBomb(16384, 4096));
    tree.File("a/_jingle.mid", DrumSong("J"));
    tree.File("b/notmidi.mid", Bytes{'h', 'e', 'l', 'l', 'o'});
    tree.File("b/notmidi.bmp", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0});
    tree.File("big.mid", Bytes{});
    std::filesystem::resize_file(tree.Path("big.mid"), MaxSongFileBytes + 1); // sparse

    const ProgramRun run = RunSongCheck("'" + tree.Path() + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Output.find("_jingle"), std::string::npos) << run.Output;
    EXPECT_EQ(LineOf(run.Output, tree.Path("a/good.mid")),
              tree.Path("a/good.mid") +
                  "\tok\t\"テスト?[2J\"\t1.5 s\tHH 1 SD 0 BD 2 HT 0 MT 0 LT 0 CY 1\tin lanes 80.0% extended "
                  "100.0%\tdifficulty 1.3"
                  "\tpicture refused: invalid JPEG image (image of 16384 x 4096 pixels is too large)");
    const std::string notMidi = LineOf(run.Output, tree.Path("b/notmidi.mid"));
    EXPECT_NE(notMidi.find("\tnot a MIDI file"), std::string::npos) << notMidi;
    EXPECT_NE(notMidi.find("\tpicture refused: "), std::string::npos) << notMidi;
    const std::string big = LineOf(run.Output, tree.Path("big.mid"));
    EXPECT_NE(big.find("64 MB limit"), std::string::npos) << big;
    EXPECT_NE(big.find("\tpicture none"), std::string::npos) << big;

    EXPECT_EQ(LineAfter(run.Output, tree.Path("b/notmidi.mid")).rfind("key ", 0), std::string::npos)
        << "an unplayable song has no key";

    // The song's line, then its drum-part key on a line of its own.
    const ProgramRun one = RunSongCheck("'" + tree.Path("a/good.mid") + "'");
    EXPECT_EQ(one.ExitCode, 0);
    auto song = std::make_unique<TSongModel>();
    ParseSmf(DrumSong("any title"), *song);
    EXPECT_EQ(one.Output, LineOf(run.Output, tree.Path("a/good.mid")) + "\nkey " +
                              DrumPartKey(*song, LaneMap::Standard()) + "\n");
}

TEST(SongCheck, ASongOfStrayBytesAndADaysLongSilentTailLastsToItsLastSound) {
    // A stray "01 3F" where no running status is in force, two beats of kicks at 120, then the
    // end of track after a delta of 2^31 ticks behind a note-off of no sounding note.
    TempTree tree;
    tree.File("tail.mid",
              Smf(480, {Cat({Tempo(0, 500000), Ev(0, {0x01, 0x3F}), Ev(0, {0x99, 36, 100}),
                             Ev(480, {0x99, 36, 100}), Ev(0x80000000u, {0x89, 35, 0}), EndOfTrack()})}));
    const ProgramRun run = RunSongCheck("'" + tree.Path("tail.mid") + "'");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(LineOf(run.Output, tree.Path("tail.mid")).find("\tok\t\"\"\t0.5 s\tHH 0 SD 0 BD 2 "),
              std::string::npos)
        << run.Output;
}

TEST(SongCheck, MissingFileCannotBePlayed) {
    TempTree tree;
    const ProgramRun run = RunSongCheck("'" + tree.Path("gone.mid") + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Output.find("Cannot open file"), std::string::npos) << run.Output;
}

} // namespace
} // namespace tamtara::testing
